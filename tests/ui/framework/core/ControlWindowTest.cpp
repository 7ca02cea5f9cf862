#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "tests/support/PointerInput.h"
#include "tests/ui/framework/ControlTestSupport.h"
#include "ui/framework/core/Control.h"
#include "ui/framework/core/LayeredChildren.h"

using controltest::ChangedLog;
using controltest::HostWindow;
using controltest::Pump;
using controltest::PumpUntil;
using controltest::WatchChanged;
using Names = std::vector<std::string>;

namespace {

std::string Format(const char* format, ...)
{
    char buffer[160];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    return buffer;
}

// Records every routed operation with its arguments instead of acting, and
// every message that reaches the default procedure.
class RoutingProbe : public Control {
public:
    RoutingProbe() { m_pfnDefaultProc = DefaultRecorder; }
    ~RoutingProbe() override { s_current = nullptr; }

    int CreateTopLevel()
    {
        s_current = this;
        return Create(nullptr, 10, 10, 40, 30);
    }
    void StartRecording()
    {
        calls.clear();
        recording = true;
    }

    Names calls;
    bool recording = false;

    void Render() override { Note("Render"); }
    LRESULT OnCreate(CREATESTRUCTW*) override { return Note("OnCreate") ? 11 : 0; }
    LRESULT OnClose() override { return Note("OnClose") ? 12 : DefaultProc(); }
    LRESULT OnDestroy() override { return Note("OnDestroy") ? 13 : DefaultProc(); }
    void SetIsVisible(int shown, int status) override
    {
        if (!Note(Format("SetIsVisible %d %d", shown, status))) Control::SetIsVisible(shown, status);
    }
    void OnWindowPosChanged(WINDOWPOS* pos) override
    {
        if (!Note(Format("OnWindowPosChanged %d %d %d %d", pos->x, pos->y, pos->cx, pos->cy)))
            Control::OnWindowPosChanged(pos);
    }
    LRESULT OnEraseBkgnd(HDC dc) override { return Note(Format("OnEraseBkgnd %p", (void*)dc)) ? 14 : 1; }
    void OnPaint(HDC) override { Note("OnPaint"); }
    void OnMouseMove(UINT k, POINTS p) override { Note(Format("OnMouseMove %u %d %d", k, p.x, p.y)); }
    void OnMouseLeave() override { Note("OnMouseLeave"); }
    void OnLButtonDown(UINT k, POINTS p) override { Note(Format("OnLButtonDown %u %d %d", k, p.x, p.y)); }
    void OnMButtonDown(UINT k, POINTS p) override { Note(Format("OnMButtonDown %u %d %d", k, p.x, p.y)); }
    void OnRButtonDown(UINT k, POINTS p) override { Note(Format("OnRButtonDown %u %d %d", k, p.x, p.y)); }
    void OnLButtonUp(UINT k, POINTS p) override { Note(Format("OnLButtonUp %u %d %d", k, p.x, p.y)); }
    void OnMButtonUp(UINT k, POINTS p) override { Note(Format("OnMButtonUp %u %d %d", k, p.x, p.y)); }
    void OnRButtonUp(UINT k, POINTS p) override { Note(Format("OnRButtonUp %u %d %d", k, p.x, p.y)); }
    void OnLButtonDblClk(UINT k, POINTS p) override { Note(Format("OnLButtonDblClk %u %d %d", k, p.x, p.y)); }
    void OnMouseWheel(UINT k, short d, POINTS p) override { Note(Format("OnMouseWheel %u %d %d %d", k, d, p.x, p.y)); }
    void OnSetFocus(HWND w) override { Note(Format("OnSetFocus %p", (void*)w)); }
    void OnKillFocus(HWND w) override { Note(Format("OnKillFocus %p", (void*)w)); }
    void OnKeyUp(UINT k, UINT r, UINT f) override { Note(Format("OnKeyUp %u %u %u", k, r, f)); }
    void OnKeyDown(UINT k, UINT r, UINT f) override { Note(Format("OnKeyDown %u %u %u", k, r, f)); }
    void OnChar(UINT c, UINT r, UINT f) override { Note(Format("OnChar %u %u %u", c, r, f)); }
    void OnStyleChanged(int which, STYLESTRUCT* s) override
    {
        if (!Note(Format("OnStyleChanged %d %lx %lx", which, s->styleOld, s->styleNew))) Control::OnStyleChanged(which, s);
    }
    LRESULT OnGetDlgCode(WPARAM w, LPARAM l) override
    {
        return Note(Format("OnGetDlgCode %u %d", (unsigned)w, (int)l)) ? 15 : DefaultProc();
    }
    LRESULT OnCommand(UINT m, WPARAM w, LPARAM l) override
    {
        return Note(Format("OnCommand %u %u %d", m, (unsigned)w, (int)l)) ? 16 : 0;
    }

private:
    bool Note(const std::string& call)
    {
        if (recording) calls.push_back(call);
        return recording;
    }
    static LRESULT CALLBACK DefaultRecorder(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (s_current && s_current->recording) {
            s_current->calls.push_back(Format("default %u %u %d", message, (unsigned)wParam, (int)lParam));
            return 0x5A;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }
    static RoutingProbe* s_current;
};
RoutingProbe* RoutingProbe::s_current = nullptr;

// Lets tests see the style arguments, the fields and a few protected steps.
class OpenControl : public Control {
public:
    DWORD requestedStyle = 0;
    DWORD extraExStyle = 0;
    DWORD extraStyle = 0;
    bool failOnCreate = false;
    int renders = 0;

    using Control::OnCreated;
    void Render() override
    {
        ++renders;
        Control::Render();
    }
    int MemoryWidth() const { return m_memDC.Width(); }
    int MemoryHeight() const { return m_memDC.Height(); }
    int TabStopField() const { return m_bTabStop; }
    int LayeredField() const { return m_bLayered; }

protected:
    DWORD AdjustStyle(DWORD style) override
    {
        requestedStyle = style;
        return style | extraStyle;
    }
    DWORD AdjustExStyle(DWORD exStyle) override { return exStyle | extraExStyle; }
    LRESULT OnCreate(CREATESTRUCTW*) override { return failOnCreate ? -1 : 0; }
};

// Every mouse event's arguments, in order.
void WatchMouse(Control& control, std::shared_ptr<Names> log)
{
    auto watch = [&](MouseEvent& event, const char* name) {
        std::string text = name;
        event.Subscribe([log, text](void*, MouseEventArgs& a) {
            log->push_back(Format("%s %u %u %d %d %d", text.c_str(), a.Keys, a.ClickCount, a.X, a.Y, a.Delta));
        });
    };
    watch(control.MouseEnter, "MouseEnter");
    watch(control.MouseMove, "MouseMove");
    watch(control.MouseLeave, "MouseLeave");
    watch(control.LButtonDown, "LButtonDown");
    watch(control.RButtonDown, "RButtonDown");
    watch(control.MButtonDown, "MButtonDown");
    watch(control.MouseDown, "MouseDown");
    watch(control.LButtonUp, "LButtonUp");
    watch(control.RButtonUp, "RButtonUp");
    watch(control.MButtonUp, "MButtonUp");
    watch(control.MouseUp, "MouseUp");
    watch(control.MouseWheel, "MouseWheel");
}

LPARAM Packed(int x, int y)
{
    return MAKELPARAM(static_cast<WORD>(static_cast<SHORT>(x)), static_cast<WORD>(static_cast<SHORT>(y)));
}

}  // namespace

// --- Creation ------------------------------------------------------------------

TEST(ControlCreation, StyleFollowsWhetherTheParentIsAWindow)
{
    HostWindow host(0, 0, 200, 200);
    OpenControl child;
    ASSERT_EQ(child.Create(host.Get(), 5, 6, 50, 40), 1);
    EXPECT_EQ(child.requestedStyle, 0x54000000u);
    EXPECT_EQ(GetParent(child.Handle.Get()), host.Get());

    OpenControl topLevel;
    ASSERT_EQ(topLevel.Create(nullptr, 30, 40, 50, 20), 1);
    EXPECT_EQ(topLevel.requestedStyle, 0x14000000u);
    HWND window = topLevel.Handle.Get();
    EXPECT_EQ(GetParent(window), nullptr);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD);
    EXPECT_TRUE(IsWindowVisible(window));
    // Top-level: the fields are screen coordinates.
    EXPECT_EQ(topLevel.X.Get(), 30);
    EXPECT_EQ(topLevel.Y.Get(), 40);
    wchar_t className[32] = {};
    GetClassNameW(window, className, 32);
    EXPECT_STREQ(className, L"Control");
    EXPECT_FALSE(GetClassLongW(window, GCL_STYLE) & CS_DBLCLKS);
}

TEST(ControlCreation, OnCreatedReadsTheWindowAndRaisesChangedInOrder)
{
    HostWindow host(0, 0, 200, 200);
    OpenControl control;
    control.extraStyle = WS_TABSTOP;
    control.extraExStyle = WS_EX_TRANSPARENT;
    ASSERT_EQ(control.Create(host.Get(), 7, 8, 60, 25), 1);
    EXPECT_GE(control.renders, 1);
    EXPECT_EQ(control.Bounds.Get().X, 7);
    EXPECT_EQ(control.Bounds.Get().Y, 8);
    EXPECT_EQ(control.Width.Get(), 60);
    EXPECT_EQ(control.Height.Get(), 25);
    EXPECT_EQ(control.MemoryWidth(), 60);
    EXPECT_EQ(control.MemoryHeight(), 25);
    EXPECT_EQ(control.IsEnabled.Get(), 1);
    EXPECT_EQ(control.IsVisible.Get(), 1);
    EXPECT_EQ(control.IsHitTestVisible.Get(), 0);
    // The creation keeps the style bit itself; setters store 0 or 1.
    EXPECT_EQ(control.TabStopField(), WS_TABSTOP);
    ASSERT_NE(control.CurrentState(L"CommonStates"), nullptr);
    EXPECT_EQ(*control.CurrentState(L"CommonStates"), L"Normal");

    ChangedLog log = WatchChanged(control);
    EXPECT_EQ(control.OnCreated(), 1);
    EXPECT_EQ(*log, (Names{"X", "Y", "Width", "Height", "Location", "Size", "Bounds", "IsEnabled", "IsVisible",
                           "IsLayered", "IsTabStop", "IsHitTestVisible"}));
}

TEST(ControlCreation, FailuresLeaveNoWindowAndRenderNothing)
{
    OpenControl refused;
    refused.failOnCreate = true;  // WM_CREATE answers -1: no window
    EXPECT_EQ(refused.Create(nullptr, 0, 0, 20, 20), 0);
    EXPECT_EQ(refused.Handle.Get(), nullptr);
    EXPECT_EQ(refused.IsCreated.Get(), 0);
    EXPECT_EQ(refused.OnCreated(), 0);

    // A second Create on a live control makes no second window.
    OpenControl once;
    ASSERT_EQ(once.Create(nullptr, 0, 0, 20, 20), 1);
    HWND first = once.Handle.Get();
    EXPECT_EQ(once.Create(nullptr, 0, 0, 20, 20), 0);
    EXPECT_EQ(once.Handle.Get(), first);
}

// --- Routing ---------------------------------------------------------------------

TEST(ControlRouting, EachMessageReachesItsOperationWithItsArguments)
{
    RoutingProbe probe;
    ASSERT_EQ(probe.CreateTopLevel(), 1);
    HWND window = probe.Handle.Get();

    WINDOWPOS pos = {window, nullptr, 3, 4, 50, 60, 0};
    STYLESTRUCT style = {0x10, 0x80020};
    CREATESTRUCTW create = {};
    const HWND other = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x1234));
    const HDC dc = reinterpret_cast<HDC>(static_cast<INT_PTR>(0x5678));
    struct Row {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::string call;
        LRESULT result;
    };
    const Row rows[] = {
        {WM_CREATE, 0, reinterpret_cast<LPARAM>(&create), "OnCreate", 11},
        {WM_DESTROY, 0, 0, "OnDestroy", 13},
        {WM_SETFOCUS, reinterpret_cast<WPARAM>(other), 0, Format("OnSetFocus %p", (void*)other), 0},
        {WM_KILLFOCUS, reinterpret_cast<WPARAM>(other), 0, Format("OnKillFocus %p", (void*)other), 0},
        {WM_ENABLE, 1, 0, "", 0},
        {WM_PAINT, 0, 0, "OnPaint", 0},
        {WM_CLOSE, 0, 0, "OnClose", 12},
        {WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0, Format("OnEraseBkgnd %p", (void*)dc), 14},
        {WM_SHOWWINDOW, 1, 3, "SetIsVisible 1 3", 0},
        {WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos), "OnWindowPosChanged 3 4 50 60", 0},
        {WM_STYLECHANGED, static_cast<WPARAM>(GWL_EXSTYLE), reinterpret_cast<LPARAM>(&style),
         "OnStyleChanged -20 10 80020", 0},
        {WM_GETDLGCODE, 9, 0, "OnGetDlgCode 9 0", 15},
        {WM_KEYDOWN, 0x41, MAKELPARAM(3, 0x1E), "OnKeyDown 65 3 30", 0},
        {WM_KEYUP, 0x41, MAKELPARAM(1, 0xC01E), "OnKeyUp 65 1 49182", 0},
        {WM_CHAR, L'a', MAKELPARAM(2, 0x1E), "OnChar 97 2 30", 0},
        {WM_COMMAND, 5, 6, "OnCommand 273 5 6", 16},
        {WM_MOUSEMOVE, MK_LBUTTON, Packed(-3, 7), "OnMouseMove 1 -3 7", 0},
        {WM_LBUTTONDOWN, MK_LBUTTON, Packed(1, 2), "OnLButtonDown 1 1 2", 0},
        {WM_LBUTTONUP, 0, Packed(1, 2), "OnLButtonUp 0 1 2", 0},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, Packed(4, 5), "OnLButtonDblClk 1 4 5", 0},
        {WM_RBUTTONDOWN, MK_RBUTTON, Packed(6, 7), "OnRButtonDown 2 6 7", 0},
        {WM_RBUTTONUP, 0, Packed(6, 7), "OnRButtonUp 0 6 7", 0},
        {WM_MBUTTONDOWN, MK_MBUTTON, Packed(8, 9), "OnMButtonDown 16 8 9", 0},
        {WM_MBUTTONUP, 0, Packed(8, 9), "OnMButtonUp 0 8 9", 0},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_SHIFT, static_cast<WORD>(-120)), Packed(1000, -20), "OnMouseWheel 4 -120 1000 -20",
         0},
        {WM_MOUSELEAVE, 0, 0, "OnMouseLeave", 0},
        {WM_CONTROL_RENDER, 0, 0, "Render", 0},
        {WM_MBUTTONDBLCLK, MK_MBUTTON, Packed(2, 3), Format("default %u %u %d", WM_MBUTTONDBLCLK, MK_MBUTTON,
                                                           (int)Packed(2, 3)), 0x5A},
        {WM_RBUTTONDBLCLK, MK_RBUTTON, Packed(2, 3), Format("default %u %u %d", WM_RBUTTONDBLCLK, MK_RBUTTON,
                                                           (int)Packed(2, 3)), 0x5A},
        {WM_APP + 5, 77, -88, Format("default %u 77 -88", WM_APP + 5), 0x5A},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Format("message 0x%04x", row.message));
        probe.StartRecording();
        EXPECT_EQ(SendMessageW(window, row.message, row.wParam, row.lParam), row.result);
        probe.recording = false;
        EXPECT_EQ(probe.calls, row.call.empty() ? Names{} : Names{row.call});
    }
    EXPECT_TRUE(IsWindow(window));
}

TEST(ControlRouting, CloseAndDestroyPassTheMessageToTheDefaultProcedure)
{
    Control control;
    ASSERT_EQ(control.Create(nullptr, 0, 0, 20, 20), 1);
    HWND window = control.Handle.Get();
    // DefWindowProc answers WM_CLOSE by destroying the window.
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(control.Handle.Get(), nullptr);
    EXPECT_EQ(control.IsCreated.Get(), 0);
}

// --- Mouse events ------------------------------------------------------------------

TEST(ControlMouse, EventsCarryTheDocumentedArguments)
{
    Control control;
    ASSERT_EQ(control.Create(nullptr, 0, 0, 40, 40), 1);
    HWND window = control.Handle.Get();
    auto log = std::make_shared<Names>();
    WatchMouse(control, log);

    struct Row {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        Names events;
    };
    const Row rows[] = {
        {WM_MOUSEMOVE, MK_SHIFT, Packed(3, 4), {"MouseEnter 4 0 3 4 0", "MouseMove 4 0 3 4 0"}},
        {WM_MOUSEMOVE, 0, Packed(5, -6), {"MouseMove 0 0 5 -6 0"}},
        {WM_RBUTTONDOWN, MK_RBUTTON, Packed(1, 1), {"RButtonDown 2 0 1 1 0", "MouseDown 2 1 1 1 0"}},
        {WM_LBUTTONDOWN, MK_LBUTTON, Packed(2, 2), {"LButtonDown 1 1 2 2 0", "MouseDown 1 1 2 2 0"}},
        {WM_LBUTTONUP, 0, Packed(2, 2), {"LButtonUp 0 1 2 2 0", "MouseUp 0 1 2 2 0"}},
        {WM_RBUTTONDOWN, MK_RBUTTON, Packed(1, 1), {"RButtonDown 2 1 1 1 0", "MouseDown 2 1 1 1 0"}},
        {WM_MBUTTONDOWN, MK_MBUTTON, Packed(9, 8), {"MButtonDown 16 1 9 8 0", "MouseDown 16 1 9 8 0"}},
        {WM_RBUTTONUP, 0, Packed(1, 1), {"RButtonUp 0 1 1 1 0", "MouseUp 0 1 1 1 0"}},
        {WM_MBUTTONUP, 0, Packed(9, 8), {"MButtonUp 0 1 9 8 0", "MouseUp 0 1 9 8 0"}},
        {WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, static_cast<WORD>(-240)), Packed(700, 500),
         {"MouseWheel 8 0 700 500 -240"}},
        {WM_MOUSELEAVE, 0, 0, {"MouseLeave 0 0 0 0 0"}},
        {WM_MOUSELEAVE, 0, 0, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(Format("message 0x%04x", row.message));
        log->clear();
        SendMessageW(window, row.message, row.wParam, row.lParam);
        EXPECT_EQ(*log, row.events);
    }
}

TEST(ControlMouse, LeftPressesAreCountedWithinTheDoubleClickTime)
{
    struct ClickCounter : Control {
        bool SequenceOpen() const { return m_uClickTimerId != 0; }
    } control;
    ASSERT_EQ(control.Create(nullptr, 0, 0, 40, 40), 1);
    HWND window = control.Handle.Get();
    auto counts = std::make_shared<std::vector<uint32_t>>();
    control.LButtonDown.Subscribe([counts](void*, MouseEventArgs& a) { counts->push_back(a.ClickCount); });
    auto mouseDown = std::make_shared<std::vector<uint32_t>>();
    control.MouseDown.Subscribe([mouseDown](void*, MouseEventArgs& a) { mouseDown->push_back(a.ClickCount); });
    auto right = std::make_shared<std::vector<uint32_t>>();
    control.RButtonDown.Subscribe([right](void*, MouseEventArgs& a) { right->push_back(a.ClickCount); });

    // Sent, so no message is taken from the queue in between: the timer
    // cannot end the sequence however long the presses take.
    const DWORD started = GetTickCount();
    for (int i = 0; i < 3; ++i) SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Packed(5, 5));
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, Packed(5, 5));
    EXPECT_EQ(*counts, (std::vector<uint32_t>{1, 2, 3}));
    EXPECT_EQ(*mouseDown, (std::vector<uint32_t>{1, 1, 1, 1}));
    EXPECT_EQ(*right, (std::vector<uint32_t>{3}));

    // The timer ends the sequence one double-click time after the first
    // press; a timer never fires early (the slack is the tick count's step).
    ASSERT_TRUE(control.SequenceOpen());
    ASSERT_TRUE(PumpUntil([&] { return !control.SequenceOpen(); }, 10000)) << "the click timer never fired";
    EXPECT_GE(GetTickCount() - started, GetDoubleClickTime() - 20) << "the sequence ended early";
    SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, Packed(5, 5));
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, Packed(5, 5));
    EXPECT_EQ(*counts, (std::vector<uint32_t>{1, 2, 3, 1}));
    EXPECT_EQ(*right, (std::vector<uint32_t>{3, 0}));
}

TEST(ControlMouse, RealClicksAreCountedWithoutDoubleClickMessages)
{
    struct DoubleClickCounter : Control {
        int doubleClicks = 0;
        void OnLButtonDblClk(UINT keys, POINTS pt) override
        {
            ++doubleClicks;
            Control::OnLButtonDblClk(keys, pt);
        }
    } control;
    // Made away from the pointer, so that the move below is the first it sees.
    testsupport::MoveCursorTo(5, 5);
    ASSERT_EQ(control.Create(nullptr, 300, 300, 60, 60), 1);
    auto counts = std::make_shared<std::vector<uint32_t>>();
    control.LButtonDown.Subscribe([counts](void*, MouseEventArgs& a) { counts->push_back(a.ClickCount); });
    testsupport::MoveCursorTo(330, 330);
    ASSERT_TRUE(PumpUntil([&] { return control.IsMouseOver.Get() != 0; }, 5000)) << "SendInput did not reach the window";
    // Stamped as a hand's two quick clicks, however late either arrives.
    testsupport::LeftClick(testsupport::LeftClick() + 1);
    // A double-click message would stand in for the second press.
    ASSERT_TRUE(PumpUntil([&] { return counts->size() + static_cast<size_t>(control.doubleClicks) >= 2; }, 5000))
        << "the clicks did not reach the window";
    EXPECT_EQ(*counts, (std::vector<uint32_t>{1, 2}));
    EXPECT_EQ(control.doubleClicks, 0);
}

TEST(ControlMouse, HoverEntersOnceAndLeavesOnceWithTheRealPointer)
{
    // Made away from the pointer: nothing reaches the control before the test moves in.
    testsupport::MoveCursorTo(5, 5);
    HostWindow host(100, 100, 200, 150);
    Control control;
    ASSERT_EQ(control.Create(host.Get(), 10, 10, 80, 60), 1);  // screen 110..190, 110..170
    // Where the pointer goes last: once it has seen the pointer, every move
    // meant for the control before has been taken.
    Control beyond;
    ASSERT_EQ(beyond.Create(nullptr, 340, 340, 120, 120), 1);
    auto log = std::make_shared<Names>();
    WatchMouse(control, log);
    ChangedLog changed = WatchChanged(control);
    auto states = std::make_shared<Names>();
    control.SetMouseOverAction([states] { states->push_back("MouseOver"); });
    control.SetNormalAction([states] { states->push_back("Normal"); });
    states->clear();  // registering the current state's action ran it

    testsupport::MoveCursorTo(130, 130);
    ASSERT_TRUE(PumpUntil([&] { return !log->empty(); }, 5000)) << "no WM_MOUSEMOVE from SendInput";
    testsupport::MoveCursorTo(140, 135);
    ASSERT_TRUE(PumpUntil([&] { return log->size() >= 3; }, 5000));
    EXPECT_EQ(control.IsMouseOver.Get(), 1);
    testsupport::MoveCursorTo(400, 400);
    ASSERT_TRUE(PumpUntil([&] { return beyond.IsMouseOver.Get() != 0; }, 5000)) << "the pointer did not arrive";
    ASSERT_TRUE(PumpUntil([&] { return control.IsMouseOver.Get() == 0; }, 5000)) << "no WM_MOUSELEAVE";

    ASSERT_EQ(log->size(), 4u);
    EXPECT_EQ((*log)[0].rfind("MouseEnter 0 0 20 20", 0), 0u) << (*log)[0];
    EXPECT_EQ((*log)[1].rfind("MouseMove 0 0 20 20", 0), 0u) << (*log)[1];
    EXPECT_EQ((*log)[2].rfind("MouseMove 0 0 30 25", 0), 0u) << (*log)[2];
    EXPECT_EQ((*log)[3], "MouseLeave 0 0 0 0 0");
    EXPECT_EQ(*states, (Names{"MouseOver", "Normal"}));
    EXPECT_EQ(*changed, (Names{"IsMouseOver", "IsMouseOver"}));
}

// --- Window-backed properties ------------------------------------------------------

TEST(ControlWindowState, WritesReachTheFieldsThroughWindowNotifications)
{
    struct Row {
        const char* name;
        void (*write)(Control&);
        Names changed;
        bool renders;
        RECT bounds;  // expected x, y, width, height
    };
    const Row rows[] = {
        {"X", [](Control& c) { c.X = 15; }, {"X", "Location", "Bounds"}, false, {15, 20, 40, 30}},
        {"X same", [](Control& c) { c.X = 10; }, {}, false, {10, 20, 40, 30}},
        {"Y", [](Control& c) { c.Y = 25; }, {"Y", "Location", "Bounds"}, false, {10, 25, 40, 30}},
        {"Width", [](Control& c) { c.Width = 50; }, {"Width", "Size", "Bounds"}, true, {10, 20, 50, 30}},
        {"Height", [](Control& c) { c.Height = 35; }, {"Height", "Size", "Bounds"}, true, {10, 20, 40, 35}},
        {"Location", [](Control& c) { c.Location = Gdiplus::Point(1, 2); }, {"X", "Y", "Location", "Bounds"}, false,
         {1, 2, 40, 30}},
        {"Location same", [](Control& c) { c.Location = Gdiplus::Point(10, 20); }, {}, false, {10, 20, 40, 30}},
        {"Size", [](Control& c) { c.Size = Gdiplus::Size(41, 31); }, {"Width", "Height", "Size", "Bounds"}, true,
         {10, 20, 41, 31}},
        {"Size same", [](Control& c) { c.Size = Gdiplus::Size(40, 30); }, {}, false, {10, 20, 40, 30}},
        {"Bounds", [](Control& c) { c.Bounds = Gdiplus::Rect(2, 3, 4, 5); },
         {"X", "Y", "Location", "Width", "Height", "Size", "Bounds"}, true, {2, 3, 4, 5}},
        {"WM_WINDOWPOSCHANGED in place",
         [](Control& c) {
             WINDOWPOS pos = {c.Handle.Get(), nullptr, 10, 20, 40, 30, SWP_NOZORDER};
             SendMessageW(c.Handle.Get(), WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
         },
         {"Bounds"}, false, {10, 20, 40, 30}},
    };
    HostWindow host(0, 0, 200, 200);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        OpenControl control;
        ASSERT_EQ(control.Create(host.Get(), 10, 20, 40, 30), 1);
        ChangedLog log = WatchChanged(control);
        control.renders = 0;
        row.write(control);
        EXPECT_EQ(*log, row.changed);
        EXPECT_EQ(control.renders > 0, row.renders);
        EXPECT_EQ(control.X.Get(), row.bounds.left);
        EXPECT_EQ(control.Y.Get(), row.bounds.top);
        EXPECT_EQ(control.Width.Get(), row.bounds.right);
        EXPECT_EQ(control.Height.Get(), row.bounds.bottom);
        // The surface follows the size.
        EXPECT_EQ(control.MemoryWidth(), row.bounds.right);
        EXPECT_EQ(control.MemoryHeight(), row.bounds.bottom);
        RECT rect = {};
        GetWindowRect(control.Handle.Get(), &rect);
        MapWindowPoints(nullptr, host.Get(), reinterpret_cast<POINT*>(&rect), 2);
        EXPECT_EQ(rect.left, row.bounds.left);
        EXPECT_EQ(rect.bottom - rect.top, row.bounds.bottom);
    }
}

TEST(ControlWindowState, StyleFlagsFollowTheWindowStyle)
{
    struct Row {
        const char* name;
        void (*write)(Control&);
        int which;
        LONG_PTR bit;
        bool bitSet;
        Names changed;
        int (*read)(Control&);
        int value;
    };
    const Row rows[] = {
        {"tab stop off", [](Control& c) { c.IsTabStop = 1; c.IsTabStop = 0; }, GWL_STYLE, WS_TABSTOP, false,
         {"IsTabStop", "IsTabStop"}, [](Control& c) { return c.IsTabStop.Get(); }, 0},
        {"layered same", [](Control& c) { c.IsLayered = 0; }, GWL_EXSTYLE, WS_EX_LAYERED, false, {},
         [](Control& c) { return c.IsLayered.Get(); }, 0},
        {"tab stop on", [](Control& c) { c.IsTabStop = 1; }, GWL_STYLE, WS_TABSTOP, true, {"IsTabStop"},
         [](Control& c) { return c.IsTabStop.Get(); }, 1},
        // A painted child is not clipped out of its parent with WS_EX_TRANSPARENT:
        // it lets the mouse through by WM_NCHITTEST instead.
        {"hit test off", [](Control& c) { c.IsHitTestVisible = 0; }, GWL_EXSTYLE, WS_EX_TRANSPARENT, false,
         {"IsHitTestVisible"}, [](Control& c) { return c.IsHitTestVisible.Get(); }, 0},
        {"hit test same", [](Control& c) { c.IsHitTestVisible = 5; }, GWL_EXSTYLE, WS_EX_TRANSPARENT, false, {},
         [](Control& c) { return c.IsHitTestVisible.Get(); }, 1},
        {"style from outside",
         [](Control& c) {
             HWND w = c.Handle.Get();
             SetWindowLongPtrW(w, GWL_EXSTYLE, GetWindowLongPtrW(w, GWL_EXSTYLE) | WS_EX_TRANSPARENT | WS_EX_LAYERED);
         },
         GWL_EXSTYLE, WS_EX_TRANSPARENT, true, {"IsLayered", "IsHitTestVisible"},
         [](Control& c) { return c.IsLayered.Get() * 10 + c.IsHitTestVisible.Get(); }, 10},
    };
    HostWindow host(0, 0, 200, 200);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        Control control;
        ASSERT_EQ(control.Create(host.Get(), 0, 0, 30, 30), 1);
        ChangedLog log = WatchChanged(control);
        row.write(control);
        EXPECT_EQ(*log, row.changed);
        EXPECT_EQ((GetWindowLongPtrW(control.Handle.Get(), row.which) & row.bit) != 0, row.bitSet);
        EXPECT_EQ(row.read(control), row.value);
    }
}

// --- Layered children ------------------------------------------------------------

TEST(LayeredChildren, OnlyWindows8OrLaterOutsideWineUsesThem)
{
    struct Row {
        bool windows8OrLater;
        bool underWine;
        bool allowed;
    };
    const Row rows[] = {{true, false, true}, {true, true, false}, {false, false, false}, {false, true, false}};
    for (const Row& row : rows)
        EXPECT_EQ(LayeredChildrenAllowed(row.windows8OrLater, row.underWine), row.allowed)
            << row.windows8OrLater << row.underWine;

    // These tests run under Wine, which every program can tell by ntdll's export.
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    ASSERT_NE(GetProcAddress(ntdll, "wine_get_version"), nullptr);
    EXPECT_FALSE(UseLayeredChildWindows());
    EXPECT_EQ(ChildLayeredExStyle(WS_EX_LAYERED | WS_EX_TOPMOST), static_cast<DWORD>(WS_EX_TOPMOST));
}

TEST(LayeredChildren, AChildAskedToBeLayeredIsPaintedWhileATopLevelOneStaysLayered)
{
    ASSERT_FALSE(UseLayeredChildWindows());
    HostWindow host(0, 0, 200, 200);
    OpenControl child;
    child.extraExStyle = WS_EX_LAYERED;
    ASSERT_EQ(child.Create(host.Get(), 10, 10, 40, 30), 1);
    EXPECT_FALSE(GetWindowLongPtrW(child.Handle.Get(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(child.IsLayered.Get(), 0);
    // Asked again later: the created window is never switched.
    ChangedLog log = WatchChanged(child);
    child.IsLayered = 1;
    EXPECT_FALSE(GetWindowLongPtrW(child.Handle.Get(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(child.IsLayered.Get(), 0);
    EXPECT_TRUE(log->empty());

    OpenControl topLevel;
    topLevel.extraExStyle = WS_EX_LAYERED;
    ASSERT_EQ(topLevel.Create(nullptr, 10, 10, 40, 30), 1);
    EXPECT_TRUE(GetWindowLongPtrW(topLevel.Handle.Get(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_NE(topLevel.IsLayered.Get(), 0);
    OpenControl later;
    ASSERT_EQ(later.Create(nullptr, 60, 10, 40, 30), 1);
    later.IsLayered = 1;
    EXPECT_TRUE(GetWindowLongPtrW(later.Handle.Get(), GWL_EXSTYLE) & WS_EX_LAYERED);
    EXPECT_EQ(later.IsLayered.Get(), 1);
}

TEST(LayeredChildren, AClickThroughChildLetsThePointerReachWhatLiesUnderIt)
{
    HostWindow host(300, 300, 200, 200);
    Control under;
    Control over;
    ASSERT_EQ(under.Create(host.Get(), 10, 10, 100, 60), 1);
    ASSERT_EQ(over.Create(host.Get(), 20, 20, 60, 30), 1);
    SetWindowPos(over.Handle.Get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    const POINT inside = {300 + 40, 300 + 30};
    EXPECT_EQ(WindowFromPoint(inside), over.Handle.Get());

    over.IsHitTestVisible = 0;
    EXPECT_EQ(SendMessageW(over.Handle.Get(), WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTTRANSPARENT);
    EXPECT_EQ(WindowFromPoint(inside), under.Handle.Get());
    // No WS_EX_TRANSPARENT: the parent's WS_CLIPCHILDREN still clips the child out.
    EXPECT_FALSE(GetWindowLongPtrW(over.Handle.Get(), GWL_EXSTYLE) & WS_EX_TRANSPARENT);

    over.IsHitTestVisible = 1;
    EXPECT_EQ(WindowFromPoint(inside), over.Handle.Get());
}

TEST(LayeredChildren, AControlThatLetsTheMousePassAnswersTheHitTestItselfOnlyAsAChild)
{
    struct Row {
        const char* name;
        bool child;
        DWORD exStyle;
        bool passes;  // whether the pointer reaches the host under it
    };
    const Row rows[] = {
        // WS_EX_TRANSPARENT alone does not let the mouse through a window.
        {"top-level", false, 0, false},
        {"layered top-level", false, WS_EX_LAYERED, true},
        {"child", true, 0, true},
        {"child asked to be layered", true, WS_EX_LAYERED, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        HostWindow host(300, 300, 200, 200);
        OpenControl control;
        control.extraExStyle = row.exStyle;
        ASSERT_EQ(row.child ? control.Create(host.Get(), 20, 20, 60, 30) : control.Create(nullptr, 320, 320, 60, 30),
                  1);
        control.Background = Gdiplus::Color(0xFF204060);  // no see-through pixels
        const HWND window = control.Handle.Get();
        const POINT inside = {300 + 40, 300 + 30};
        ASSERT_EQ(WindowFromPoint(inside), window);

        control.IsHitTestVisible = 0;
        EXPECT_EQ(control.IsHitTestVisible.Get(), 0);
        const LONG_PTR exStyle = GetWindowLongPtrW(window, GWL_EXSTYLE);
        // A painted child keeps the bit off: its parent would not clip it out.
        const bool paintedChild = row.child && !(exStyle & WS_EX_LAYERED);
        EXPECT_EQ((exStyle & WS_EX_TRANSPARENT) != 0, !paintedChild);
        const LPARAM at = MAKELPARAM(inside.x, inside.y);
        EXPECT_EQ(SendMessageW(window, WM_NCHITTEST, 0, at),
                  row.child ? HTTRANSPARENT : DefWindowProcW(window, WM_NCHITTEST, 0, at));
        EXPECT_EQ(WindowFromPoint(inside), row.passes ? host.Get() : window);
    }
}

TEST(LayeredChildren, AChildMadeLayeredWhileLettingTheMousePassKeepsLettingItPassUntilAsked)
{
    HostWindow host(300, 300, 200, 200);
    OpenControl control;
    ASSERT_EQ(control.Create(host.Get(), 20, 20, 60, 30), 1);
    control.Background = Gdiplus::Color(0xFF204060);
    const HWND window = control.Handle.Get();
    control.IsHitTestVisible = 0;
    control.IsLayered = 1;
    EXPECT_EQ(control.IsLayered.Get() != 0, UseLayeredChildWindows());
    // Still click-through, now by WS_EX_TRANSPARENT where it became layered.
    EXPECT_EQ(control.IsHitTestVisible.Get(), 0);
    EXPECT_EQ((GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT) != 0, UseLayeredChildWindows());
    EXPECT_EQ(WindowFromPoint(POINT{300 + 40, 300 + 30}), host.Get());

    ChangedLog log = WatchChanged(control);
    control.IsHitTestVisible = 1;
    EXPECT_EQ(*log, Names{"IsHitTestVisible"});
    EXPECT_EQ(control.IsHitTestVisible.Get(), 1);
    EXPECT_FALSE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    EXPECT_EQ(WindowFromPoint(POINT{300 + 40, 300 + 30}), window);
}

TEST(ControlWindowState, EnabledAndVisibleFollowOnlyTheirSetters)
{
    HostWindow host(0, 0, 200, 200);
    OpenControl control;
    ASSERT_EQ(control.Create(host.Get(), 0, 0, 30, 30), 1);
    HWND window = control.Handle.Get();
    ChangedLog log = WatchChanged(control);

    control.renders = 0;
    control.IsEnabled = 0;
    EXPECT_EQ(*log, Names{"IsEnabled"});
    EXPECT_EQ(control.renders, 1);
    EXPECT_FALSE(IsWindowEnabled(window));
    // WM_ENABLE from elsewhere changes nothing.
    log->clear();
    EnableWindow(window, TRUE);
    EXPECT_TRUE(IsWindowEnabled(window));
    EXPECT_EQ(control.IsEnabled.Get(), 0);
    EXPECT_TRUE(log->empty());

    control.IsVisible = 0;
    EXPECT_FALSE(IsWindowVisible(window));
    EXPECT_EQ(control.IsVisible.Get(), 0);
    control.IsVisible = 1;
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(control.IsVisible.Get(), 1);
    // Showing and hiding move no field; only Bounds' Changed of every
    // WM_WINDOWPOSCHANGED comes.
    for (const std::string& name : *log) EXPECT_EQ(name, "Bounds");
    // Shown or hidden from elsewhere: the flag follows WM_SHOWWINDOW.
    ShowWindow(window, SW_HIDE);
    EXPECT_EQ(control.IsVisible.Get(), 0);
}

TEST(ControlWindowState, FocusRaisesChangedThenGoesToItsState)
{
    Control first;
    Control second;
    ASSERT_EQ(first.Create(nullptr, 0, 0, 30, 30), 1);
    ASSERT_EQ(second.Create(nullptr, 40, 0, 30, 30), 1);
    auto log = std::make_shared<Names>();
    first.IsFocused.Changed.Subscribe([log, &first](void*, PropertyChangedArgs) {
        log->push_back(first.IsFocused.Get() ? "Changed focused" : "Changed unfocused");
    });
    first.SetFocusedAction([log] { log->push_back("Focused"); });
    first.SetUnfocusedAction([log] { log->push_back("Unfocused"); });
    log->clear();  // showing the second window took the focus: that action ran at once

    SetFocus(first.Handle.Get());
    ASSERT_EQ(GetFocus(), first.Handle.Get());
    SetFocus(second.Handle.Get());
    EXPECT_EQ(*log, (Names{"Changed focused", "Focused", "Changed unfocused", "Unfocused"}));
    EXPECT_EQ(*first.CurrentState(L"FocusStates"), L"Unfocused");
}

// --- Destruction ----------------------------------------------------------------------

namespace {

// A subclass whose handlers touch its own state, as styled controls do.
class Styled : public Control {
public:
    explicit Styled(std::shared_ptr<Names> log) : m_log(std::move(log)), m_alive(std::make_shared<bool>(true))
    {
        std::shared_ptr<bool> alive = m_alive;
        std::shared_ptr<Names> target = m_log;
        auto note = [alive, target](const char* what) {
            target->push_back(std::string(what) + (*alive ? "" : " after the subclass was destroyed"));
        };
        SetFocusedAction([note] { note("Focused"); });
        SetUnfocusedAction([note] { note("Unfocused"); });
        SetNormalAction([note] { note("Normal"); });
        Bounds.Changed.Subscribe([note](void*, PropertyChangedArgs) { note("Bounds"); });
        IsFocused.Changed.Subscribe([note](void*, PropertyChangedArgs) { note("IsFocused"); });
        MouseLeave.Subscribe([note](void*, MouseEventArgs&) { note("MouseLeave"); });
    }
    ~Styled() override { *m_alive = false; }

private:
    std::shared_ptr<Names> m_log;
    std::shared_ptr<bool> m_alive;
};

}  // namespace

TEST(ControlDestruction, NoHandlerRunsOnceTheSubclassIsGone)
{
    auto log = std::make_shared<Names>();
    HWND window = nullptr;
    {
        Styled control(log);
        ASSERT_EQ(control.Create(nullptr, 0, 0, 30, 30), 1);
        window = control.Handle.Get();
        SetFocus(window);
        ASSERT_EQ(GetFocus(), window);
        SendMessageW(window, WM_MOUSEMOVE, 0, Packed(1, 1));  // hovered, leave tracking armed
        log->clear();
    }
    EXPECT_FALSE(IsWindow(window));
    // Destroying a focused, visible window sends WM_KILLFOCUS and a hiding
    // WM_WINDOWPOSCHANGED: neither may reach the dead subclass's handlers.
    EXPECT_EQ(*log, Names{});
    Pump(0);  // what the destruction left in the queue
    EXPECT_EQ(*log, Names{});
}

TEST(ControlDestruction, AWindowDestroyedElsewhereIsForgotten)
{
    HostWindow host(0, 0, 100, 100);
    auto child = std::make_unique<Control>();
    ASSERT_EQ(child->Create(host.Get(), 0, 0, 20, 20), 1);
    HWND old = child->Handle.Get();
    // A press starts the click timer, which must not outlive the window.
    SendMessageW(old, WM_LBUTTONDOWN, MK_LBUTTON, Packed(1, 1));
    DestroyWindow(old);
    EXPECT_EQ(child->Handle.Get(), nullptr);
    EXPECT_EQ(child->IsCreated.Get(), 0);
    child->Render();  // nothing to draw into, nothing happens

    // Whatever window now holds a handle, destroying the object leaves it be.
    Control other;
    ASSERT_EQ(other.Create(host.Get(), 0, 0, 20, 20), 1);
    HWND fresh = other.Handle.Get();
    child.reset();
    EXPECT_TRUE(IsWindow(fresh));
    EXPECT_TRUE(IsWindow(host.Get()));
    // The press's click timer, had it outlived its window, has come due by now.
    testsupport::PumpTimerPeriods(GetDoubleClickTime(), 1);
    EXPECT_TRUE(IsWindow(fresh));
    EXPECT_EQ(other.Handle.Get(), fresh);
}
