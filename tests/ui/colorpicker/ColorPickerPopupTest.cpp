// The picker popup and its panel in real windows with the real pointer:
// the blurred backdrop in the popup's render DC, number boxes, swatches, OK
// and Cancel, colour reports on the UI thread, and deleting the popup while
// a drag runs.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>

#include <cstring>
#include <memory>
#include <vector>

#include "tests/support/MessagePump.h"
#include "tests/support/MessageWatch.h"
#include "tests/support/WindowCreationRefusal.h"
#include "tests/ui/colorpicker/HalvesWindow.h"
#include "tests/ui/windows/WindowsTestSupport.h"
#include "ui/colorpicker/LumoColorPickerDlg.h"
#include "ui/windows/buttons/LightButton.h"

namespace {

using windowstest::LeftButton;
using windowstest::MoveCursorTo;
using windowstest::Pump;
using windowstest::PumpUntil;

constexpr int kHostWidth = 1400, kHostHeight = 788;

int ThreadsOfThisProcess()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry = {};
    entry.dwSize = sizeof(entry);
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
        if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++count;
    }
    CloseHandle(snapshot);
    return count;
}

struct Report {
    uint32_t color;
    DWORD thread;
};

class PickerPopup : public testing::Test {
protected:
    void SetUp() override
    {
        windowstest::EnsureUiEnvironment();
        // The main window's stand-in.
        m_host = pickertest::CreateHalvesWindow(0, 0, kHostWidth, kHostHeight, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN,
                                                RGB(255, 0, 0), RGB(0, 0, 255));
        ASSERT_TRUE(m_host);
        m_popup = std::make_unique<LumoColorPickerDlg>();
        ASSERT_TRUE(m_popup->Create(m_host, 0, 0, kHostWidth, kHostHeight));
        m_popup->IsVisible = 0;
        auto reports = m_reports;
        m_popup->ColorChanged.Subscribe([reports](void*, Gdiplus::Color& color) {
            reports->push_back({color.GetValue(), GetCurrentThreadId()});
        });
        // The backdrop is copied from the host's window.
        ASSERT_TRUE(testsupport::PumpUntilPainted(m_host, 5000));
    }

    void TearDown() override
    {
        LeftButton(false);
        m_popup.reset();
        DestroyWindow(m_host);
        Pump(0);
    }

    LumoColorPicker& Panel() { return m_popup->Picker(); }
    HSVColorPicker& Picker() { return Panel().Picker(); }

    void Show(uint32_t color)
    {
        m_popup->Color = Gdiplus::Color(color);
        m_popup->IsVisible = 1;
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(Panel().Handle.Get()) != FALSE; }, 5000));
        ASSERT_TRUE(testsupport::PumpUntilPainted(m_popup->Handle.Get(), 5000));
        ASSERT_TRUE(testsupport::PumpUntilPainted(Panel().Handle.Get(), 5000));
        m_reports->clear();
    }

    int PressesTaken(HWND window) const
    {
        return m_watch.Taken(WM_LBUTTONDOWN, window) + m_watch.Taken(WM_LBUTTONDBLCLK, window);
    }

    // A real click at a point of a window's client area, over once the
    // window has taken the release and what it posted is handled.
    void ClickAt(HWND window, int x, int y)
    {
        POINT p = {x, y};
        ClientToScreen(window, &p);
        MoveCursorTo(p.x, p.y);
        const int presses = PressesTaken(window), releases = m_watch.Taken(WM_LBUTTONUP, window);
        LeftButton(true);
        ASSERT_TRUE(PumpUntil([&] { return PressesTaken(window) > presses; }, 5000)) << "the press went elsewhere";
        LeftButton(false);
        ASSERT_TRUE(PumpUntil([&] { return m_watch.Taken(WM_LBUTTONUP, window) > releases; }, 5000))
            << "the release went elsewhere";
        Pump(0);
    }

    void ClickCentre(HWND window)
    {
        RECT r;
        GetClientRect(window, &r);
        ClickAt(window, r.right / 2, r.bottom / 2);
    }

    bool AnimationEnds() { return PumpUntil([&] { return !Picker().IsAnimating.Get(); }, 5000); }
    // The end of a move is reported.
    bool MoveReported() { return PumpUntil([&] { return !m_reports->empty(); }, 5000); }

    // Whether the boxes and the close button take the mouse and OK and Cancel are on.
    void ExpectPanelTakesInput(bool takes)
    {
        for (LumoNumberTextBox* box : {&Panel().RedBox(), &Panel().GreenBox(), &Panel().BlueBox()})
            EXPECT_EQ(box->IsHitTestVisible.Get() != 0, takes);
        EXPECT_EQ(Panel().CloseButton().IsHitTestVisible.Get() != 0, takes);
        EXPECT_EQ(IsWindowEnabled(Panel().OkButton()->GetSafeHwnd()) != FALSE, takes);
        EXPECT_EQ(IsWindowEnabled(Panel().CancelButton()->GetSafeHwnd()) != FALSE, takes);
    }

    // A typed colour was taken: the picker and the panel hold it, the boxes
    // keep the entry and it was reported once.
    void ExpectTypedColourTaken(uint32_t color)
    {
        EXPECT_EQ(Picker().Color.Get().GetValue(), color);
        EXPECT_EQ(PanelColor(), color);
        EXPECT_EQ(Boxes(), color);
        EXPECT_EQ(ReportedColors(), std::vector<uint32_t>{color});
    }

    uint32_t PanelColor() { return Panel().Color.Get().GetValue(); }
    std::vector<uint32_t> ReportedColors() const
    {
        std::vector<uint32_t> colors;
        for (const Report& r : *m_reports) colors.push_back(r.color);
        return colors;
    }
    uint32_t Boxes()
    {
        return 0xFF000000u | static_cast<uint32_t>(Panel().RedBox().Value.Get()) << 16 |
               static_cast<uint32_t>(Panel().GreenBox().Value.Get()) << 8 |
               static_cast<uint32_t>(Panel().BlueBox().Value.Get());
    }

    testsupport::MessageWatch m_watch;
    HWND m_host = nullptr;
    std::unique_ptr<LumoColorPickerDlg> m_popup;
    std::shared_ptr<std::vector<Report>> m_reports = std::make_shared<std::vector<Report>>();
    // Read by the picker's animation once a test drives its frames.
    double m_now = 0.0;
};

TEST_F(PickerPopup, BackdropIsTheBlurredWindowInTheRenderDc)
{
    Show(0xFFFF0000);
    ASSERT_TRUE(m_popup->Backdrop());
    EXPECT_EQ(m_popup->Backdrop()->GetWidth(), static_cast<UINT>(kHostWidth / 2));
    testsupport::Pixels pixels = windowstest::PixelsOf(m_popup->RenderDC.Get());
    ASSERT_EQ(pixels.width, kHostWidth);
    EXPECT_EQ(pixels.At(40, 40), 0xFFFF0000u);
    EXPECT_EQ(pixels.At(kHostWidth - 40, kHostHeight - 40), 0xFF0000FFu);
    // Softened across the edge between the halves, and opaque everywhere.
    const uint32_t edge = pixels.At(kHostWidth / 2, 40);
    EXPECT_NE(edge, 0xFFFF0000u);
    EXPECT_NE(edge, 0xFF0000FFu);
    for (uint32_t p : pixels.data) ASSERT_EQ(p >> 24, 0xFFu);

    // Each show takes a new snapshot.
    m_popup->IsVisible = 0;
    pickertest::SetHalvesColours(m_host, RGB(0, 255, 0), RGB(0, 0, 255));
    InvalidateRect(m_host, nullptr, TRUE);
    ASSERT_TRUE(testsupport::PumpUntilPainted(m_host, 5000));
    Show(0xFFFF0000);
    pixels = windowstest::PixelsOf(m_popup->RenderDC.Get());
    EXPECT_EQ(pixels.At(40, 40), 0xFF00FF00u);
}

TEST_F(PickerPopup, FirstShowRightAfterMakingItIsOverTheWindowUnderIt)
{
    // As when a click opens it the first time: made and shown with no
    // message handled in between, so the window under it has not repainted.
    LumoColorPickerDlg first;
    first.CreateWhenShown(m_host, 0, 0, kHostWidth, kHostHeight);
    ASSERT_TRUE(first.EnsureCreated());
    first.Color = Gdiplus::Color(0xFFFF0000);
    first.IsVisible = 1;
    ASSERT_TRUE(first.Backdrop());
    const testsupport::Pixels pixels = windowstest::PixelsOf(first.RenderDC.Get());
    ASSERT_EQ(pixels.width, kHostWidth);
    EXPECT_EQ(pixels.At(40, 40), 0xFFFF0000u);
    EXPECT_EQ(pixels.At(kHostWidth - 40, kHostHeight - 40), 0xFF0000FFu);
    // Red, blue or a blend of the two everywhere: nothing dark came in.
    int dark = 0;
    for (uint32_t p : pixels.data) dark += ((p >> 16) & 0xFF) + (p & 0xFF) < 250;
    EXPECT_EQ(dark, 0);
}

TEST_F(PickerPopup, PanelShowsOverTheBackdropAtItsPlace)
{
    Show(0xFFFF0000);
    RECT panel, popup;
    GetWindowRect(Panel().Handle.Get(), &panel);
    GetWindowRect(m_popup->Handle.Get(), &popup);
    EXPECT_EQ(panel.left, popup.left);
    EXPECT_EQ(panel.top - popup.top, (kHostHeight - LumoColorPickerDlg::kPickerHeight) / 2);
    EXPECT_EQ(panel.right - panel.left, LumoColorPickerDlg::kPickerWidth);
    EXPECT_EQ(Boxes(), 0xFFFF0000u);
}

TEST_F(PickerPopup, PanelFaceIsBlendedOverTheBackdropTakenAtItsPlace)
{
    Show(0xFFFF0000);
    // An opaque backdrop whose every row and column differs.
    CMemoryDC backdrop;
    ASSERT_TRUE(backdrop.Resize(kHostWidth, kHostHeight));
    auto* bits = static_cast<uint32_t*>(backdrop.Bits());
    for (int y = 0; y < kHostHeight; ++y)
        for (int x = 0; x < kHostWidth; ++x)
            bits[static_cast<size_t>(y) * kHostWidth + x] = 0xFF000000u | (y & 0xFF) << 16 | (x & 0xFF) << 8 | 0x40;
    Panel().BackgroundDC = backdrop.GetSafeHdc();
    Panel().Render();
    const testsupport::Pixels shown = windowstest::PixelsOf(Panel().RenderDC.Get());
    const int width = shown.width, height = static_cast<int>(shown.data.size()) / shown.width;

    // Over a clear backdrop the surface holds the panel's own face.
    CMemoryDC clear;
    ASSERT_TRUE(clear.Resize(kHostWidth, kHostHeight));
    Panel().BackgroundDC = clear.GetSafeHdc();
    Panel().Render();
    const testsupport::Pixels face = windowstest::PixelsOf(Panel().RenderDC.Get());
    Panel().BackgroundDC = m_popup->RenderDC.Get();

    // The same face blended over the backdrop's pixels behind the panel.
    RECT panel, popup;
    GetWindowRect(Panel().Handle.Get(), &panel);
    GetWindowRect(m_popup->Handle.Get(), &popup);
    CMemoryDC faceDC, expected;
    ASSERT_TRUE(faceDC.Resize(width, height));
    ASSERT_TRUE(expected.Resize(width, height));
    std::memcpy(faceDC.Bits(), face.data.data(), face.data.size() * 4);
    BitBlt(expected, 0, 0, width, height, backdrop, panel.left - popup.left, panel.top - popup.top, SRCCOPY);
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    AlphaBlend(expected, 0, 0, width, height, faceDC, 0, 0, width, height, blend);
    GdiFlush();
    const testsupport::Pixels want = windowstest::PixelsOf(expected.GetSafeHdc());
    int differing = 0;
    for (size_t i = 0; i < want.data.size(); ++i) differing += want.data[i] != shown.data[i];
    EXPECT_EQ(differing, 0);
    EXPECT_NE(face.data, shown.data) << "the backdrop did not show through anywhere";
}

TEST_F(PickerPopup, NumberBoxesAnimateThePickerAndReportOnceAtTheEnd)
{
    Show(0xFFFF0000);
    // Every frame of the move: the picker's colour, and the boxes and the
    // panel's colour once the panel has taken that frame.
    struct Frame {
        uint32_t picker, boxes, panel;
    };
    auto frames = std::make_shared<std::vector<Frame>>();
    Picker().ColorChanged.Subscribe([this, frames](void*, Gdiplus::Color& color) {
        if (Picker().IsAnimating.Get()) frames->push_back({color.GetValue(), Boxes(), PanelColor()});
    });
    Picker().SetAnimationClock([this] { return m_now; });
    Panel().GreenBox().Text = L"128";
    ASSERT_TRUE(Picker().IsAnimating.Get());
    // While it moves, the boxes and the close button let the mouse through
    // and OK and Cancel are off.
    ExpectPanelTakesInput(false);
    // The animation's time in five steps of the clock, a frame each.
    for (int frame = 1; frame <= 5; ++frame) {
        const size_t taken = frames->size();
        m_now = Picker().AnimationDuration.Get() * frame / 5;
        ASSERT_TRUE(PumpUntil([&] { return frames->size() > taken; }, 5000)) << "no frame at step " << frame;
    }
    EXPECT_FALSE(Picker().IsAnimating.Get());
    ExpectPanelTakesInput(true);
    ExpectTypedColourTaken(0xFFFF8000u);
    // While it moved, the boxes held the entry and the preview went along.
    ASSERT_EQ(frames->size(), 5u);
    int between = 0;
    for (const Frame& frame : *frames) {
        EXPECT_EQ(frame.boxes, 0xFFFF8000u) << "the boxes were rewritten during the move";
        EXPECT_EQ(frame.panel, frame.picker) << "the preview did not follow the picker";
        between += frame.picker != 0xFFFF0000u && frame.picker != 0xFFFF8000u;
    }
    EXPECT_GT(between, 0) << "no frame between the two colours";

    // Without animation the picker follows at once.
    m_reports->clear();
    Picker().IsAnimationEnabled = 0;
    Panel().BlueBox().Text = L"255";
    EXPECT_FALSE(Picker().IsAnimating.Get());
    EXPECT_EQ(Picker().Color.Get().GetValue(), 0xFFFF80FFu);
    EXPECT_EQ(ReportedColors(), std::vector<uint32_t>{0xFFFF80FFu});
}

TEST_F(PickerPopup, AnAnimationWithoutFramesEndsOnItsColourAndFreesThePanel)
{
    Show(0xFFFF0000);
    {
        // The animation's frame timer cannot be made.
        testsupport::WindowCreationRefusal refusal;
        Panel().GreenBox().Text = L"128";
    }
    EXPECT_FALSE(Picker().IsAnimating.Get());
    EXPECT_TRUE(Picker().IsHitTestVisible.Get());
    ExpectPanelTakesInput(true);
    ExpectTypedColourTaken(0xFFFF8000u);
}

TEST_F(PickerPopup, SwatchClicksAnimateToTheirColour)
{
    Show(0xFFFF0000);
    // Default swatch 5 is blue.
    ClickCentre(Panel().DefaultSwatch(5).Handle.Get());
    ASSERT_TRUE(AnimationEnds());
    ASSERT_TRUE(MoveReported());
    EXPECT_EQ(PanelColor(), 0xFF0000FFu);
    EXPECT_EQ(Boxes(), 0xFF0000FFu);
    EXPECT_EQ(ReportedColors(), std::vector<uint32_t>{0xFF0000FFu});

    // White keeps the hue (the triangle does not turn).
    m_reports->clear();
    const float hue = Picker().Hue.Get();
    ClickCentre(Panel().DefaultSwatch(8).Handle.Get());
    ASSERT_TRUE(AnimationEnds());
    ASSERT_TRUE(MoveReported());
    EXPECT_EQ(Picker().Hue.Get(), hue);
    // S and V come back from the marker's place, cut to three decimals.
    EXPECT_NEAR(Picker().Saturation.Get(), 0.0f, 0.001f);
    EXPECT_NEAR(Picker().Value.Get(), 1.0f, 0.001f);
    EXPECT_EQ(PanelColor(), 0xFFFFFFFFu);
    EXPECT_EQ(ReportedColors(), std::vector<uint32_t>{0xFFFFFFFFu});

    // A swatch of the colour held only takes the focus.
    ClickCentre(Panel().DefaultSwatch(0).Handle.Get());  // red: animates away
    ASSERT_TRUE(AnimationEnds());
    m_reports->clear();
    HWND red = Panel().DefaultSwatch(0).Handle.Get();
    ClickCentre(red);
    EXPECT_FALSE(Picker().IsAnimating.Get());
    EXPECT_TRUE(m_reports->empty());
    EXPECT_EQ(GetFocus(), red);
}

TEST_F(PickerPopup, OkHidesKeepsTheColourAndPutsItFirstInRecent)
{
    Show(0xFFFF0000);
    ClickCentre(Panel().DefaultSwatch(3).Handle.Get());  // green
    ASSERT_TRUE(AnimationEnds());
    ASSERT_TRUE(MoveReported());
    m_reports->clear();
    ClickCentre(Panel().OkButton()->GetSafeHwnd());
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(m_popup->Handle.Get()); }, 5000));
    EXPECT_FALSE(IsWindowVisible(Panel().Handle.Get()));
    EXPECT_EQ(m_popup->Color.Get().GetValue(), 0xFF00FF00u);
    ASSERT_FALSE(Panel().RecentColors().empty());
    EXPECT_EQ(Panel().RecentColors().front(), 0xFF00FF00u);
    EXPECT_EQ(Panel().RecentSwatch(0).Color.Get().GetValue(), 0xFF00FF00u);
    EXPECT_TRUE(Panel().RecentSwatch(0).IsEnabled.Get());
    EXPECT_FALSE(Panel().RecentSwatch(1).IsEnabled.Get());
    EXPECT_TRUE(m_reports->empty());
}

TEST_F(PickerPopup, MadeOnFirstUseWithTheRecentColoursKnownBefore)
{
    LumoColorPickerDlg later;
    later.CreateWhenShown(m_host, 0, 0, kHostWidth, kHostHeight);
    later.Picker().AddRecentColor(0xFF102030);
    later.Picker().AddRecentColor(0xFF405060);
    EXPECT_EQ(later.Handle.Get(), nullptr);

    ASSERT_TRUE(later.EnsureCreated());
    const HWND made = later.Handle.Get();
    ASSERT_NE(made, nullptr);
    EXPECT_FALSE(IsWindowVisible(made));
    RECT bounds{};
    GetWindowRect(made, &bounds);
    EXPECT_EQ(bounds.right - bounds.left, kHostWidth);
    EXPECT_EQ(bounds.bottom - bounds.top, kHostHeight);
    EXPECT_EQ(later.Picker().RecentSwatch(0).Color.Get().GetValue(), 0xFF405060u);
    EXPECT_TRUE(later.Picker().RecentSwatch(1).IsEnabled.Get());
    EXPECT_FALSE(later.Picker().RecentSwatch(2).IsEnabled.Get());
    EXPECT_TRUE(later.EnsureCreated());
    EXPECT_EQ(later.Handle.Get(), made) << "made once";

    LumoColorPickerDlg never;
    EXPECT_FALSE(never.EnsureCreated()) << "nowhere to go";
    HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(gone);
    LumoColorPickerDlg orphan;
    orphan.CreateWhenShown(gone, 0, 0, 10, 10);
    DestroyWindow(gone);
    EXPECT_FALSE(orphan.EnsureCreated()) << "its parent is gone";
    EXPECT_EQ(orphan.Handle.Get(), nullptr);
}

TEST_F(PickerPopup, CancelRestoresAndReportsTheColourShownWith)
{
    Picker().IsAnimationEnabled = 0;
    Show(0xFFFF0000);
    Panel().GreenBox().Text = L"200";
    Panel().RedBox().Text = L"10";
    ASSERT_EQ(PanelColor(), 0xFF0AC800u);
    ClickCentre(Panel().CancelButton()->GetSafeHwnd());
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(m_popup->Handle.Get()); }, 5000));
    EXPECT_FALSE(IsWindowVisible(Panel().Handle.Get()));
    EXPECT_EQ(m_popup->Color.Get().GetValue(), 0xFFFF0000u);
    EXPECT_EQ(Picker().Color.Get().GetValue(), 0xFFFF0000u);
    ASSERT_FALSE(m_reports->empty());
    EXPECT_EQ(m_reports->back().color, 0xFFFF0000u);
    EXPECT_TRUE(Panel().RecentColors().empty());

    // The close button cancels as well.
    Show(0xFF123456);
    Panel().BlueBox().Text = L"0";
    ClickCentre(Panel().CloseButton().Handle.Get());
    ASSERT_TRUE(PumpUntil([&] { return !IsWindowVisible(m_popup->Handle.Get()); }, 5000));
    EXPECT_EQ(m_popup->Color.Get().GetValue(), 0xFF123456u);
}

TEST_F(PickerPopup, DragReportsReachHandlersOnTheUiThread)
{
    Show(0xFFFF0000);
    HWND picker = Picker().Handle.Get();
    // Shared: the handlers outlive this body, as the picker does.
    auto moved = std::make_shared<POINT>(POINT{-1, -1});
    Picker().MouseMove.Subscribe([moved](void*, MouseEventArgs& a) { *moved = POINT{a.X, a.Y}; });
    auto pickerReports = std::make_shared<std::vector<uint32_t>>();
    Picker().ColorChanged.Subscribe(
        [pickerReports](void*, Gdiplus::Color& color) { pickerReports->push_back(color.GetValue()); });
    RECT r;
    GetWindowRect(picker, &r);
    const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
    MoveCursorTo(cx, cy);
    LeftButton(true);
    ASSERT_TRUE(PumpUntil([&] { return Picker().IsTriangleDragging.Get() != 0; }, 5000));
    ASSERT_TRUE(PumpUntil([&] { return m_reports->size() == 1; }, 5000)) << "no report when the drag began";
    for (int step = 1; step <= 6; ++step) {
        SCOPED_TRACE(step);
        POINT at = {cx - 8 * step, cy + 5 * step};
        MoveCursorTo(at.x, at.y);
        ScreenToClient(picker, &at);
        ASSERT_TRUE(PumpUntil([&] { return moved->x == at.x && moved->y == at.y; }, 5000)) << "the picker missed the move";
        // The picker's colour timer reports where the move went; the boxes follow it.
        ASSERT_TRUE(PumpUntil(
            [&] { return !pickerReports->empty() && pickerReports->back() == Picker().Color.Get().GetValue(); }, 5000));
        EXPECT_EQ(Boxes(), pickerReports->back());
    }
    LeftButton(false);
    ASSERT_TRUE(PumpUntil([&] { return Picker().IsTriangleDragging.Get() == 0; }, 5000));
    // Once when it begins, once when it ends.
    ASSERT_EQ(m_reports->size(), 2u);
    EXPECT_NE(m_reports->front().color, m_reports->back().color);
    for (const Report& report : *m_reports) EXPECT_EQ(report.thread, GetCurrentThreadId());
    EXPECT_EQ(m_reports->back().color, PanelColor());
    EXPECT_EQ(Boxes(), PanelColor());
}

TEST_F(PickerPopup, DeletingWhileADragRunsLeavesNoThreadOrMessage)
{
    auto dragThenDelete = [&] {
        auto popup = std::make_unique<LumoColorPickerDlg>();
        ASSERT_TRUE(popup->Create(m_host, 0, 0, kHostWidth, kHostHeight));
        auto reports = std::make_shared<int>(0);
        popup->ColorChanged.Subscribe([reports](void*, Gdiplus::Color&) { ++*reports; });
        popup->IsVisible = 1;
        HSVColorPicker& picker = popup->Picker().Picker();
        ASSERT_TRUE(PumpUntil([&] { return IsWindowVisible(popup->Picker().Handle.Get()) != FALSE; }, 5000));
        ASSERT_TRUE(testsupport::PumpUntilPainted(popup->Picker().Handle.Get(), 5000));
        RECT r;
        GetWindowRect(picker.Handle.Get(), &r);
        MoveCursorTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        LeftButton(true);
        ASSERT_TRUE(PumpUntil([&] { return picker.IsTriangleDragging.Get() != 0; }, 5000));
        // The notify thread has reported and the timers have come due: all are running.
        ASSERT_TRUE(PumpUntil([&] { return *reports > 0; }, 5000));
        testsupport::PumpTimerPeriods(HSVColorPicker::kTimerPeriodMs, 2);
        popup.reset();
        const int releases = m_watch.Taken(WM_LBUTTONUP);
        LeftButton(false);
        // Taken by whatever lies under the pointer now.
        ASSERT_TRUE(PumpUntil([&] { return m_watch.Taken(WM_LBUTTONUP) > releases; }, 5000));
        Pump(0);
    };
    m_popup.reset();
    ASSERT_NO_FATAL_FAILURE(dragThenDelete());  // whatever the system starts once is running now
    const int before = ThreadsOfThisProcess();
    ASSERT_NO_FATAL_FAILURE(dragThenDelete());
    EXPECT_EQ(ThreadsOfThisProcess(), before);
    MSG msg;
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_LUMOPICKER_NOTIFY, WM_LUMOPICKER_NOTIFY, PM_NOREMOVE));
    EXPECT_FALSE(PeekMessageW(&msg, nullptr, WM_HSVPICKER_COLORCHANGED, WM_HSVPICKER_COLORCHANGED, PM_NOREMOVE));
}

}  // namespace
