#include <gtest/gtest.h>

#include <array>
#include <cwchar>
#include <ostream>
#include <string>
#include <vector>

#include "backend/profiles/ProfileFolders.h"
#include "tests/backend/service/FakeMediator.h"
#include "tests/backend/service/ServiceTestSupport.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/HeldFile.h"
#include "tests/support/LoggingProcess.h"
#include "tests/support/MessageWatch.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"
#include "tests/ui/windows/WindowsTestSupport.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/windows/sync/PowerStates.h"
#include "ui/windows/sync/SwitchFaces.h"
#include "ui/windows/sync/SyncWnd.h"

using namespace windowstest;
using testsupport::TempDir;
using PowerValues = std::array<int32_t, kPowerStateCount>;

TEST(PowerStateMaskTest, EachOnKeyLightsItsTwoBits)
{
    const struct {
        PowerValues values;
        uint32_t mask;
    } cases[] = {
        {{1, 1, 0, 1}, 0xCF}, {{1, 1, 1, 1}, 0xFF}, {{0, 0, 0, 0}, 0x00}, {{0, 5, 0, 0}, 0x0C},
        {{0, 0, 1, 0}, 0x30}, {{-1, 0, 0, 0}, 0x03}, {{0, 0, 0, 7}, 0xC0},
    };
    for (const auto& c : cases) EXPECT_EQ(PowerStateMask(c.values), c.mask);
}

TEST(PowerStateIniTest, ValuesAreReadAsStoredAndWrittenBack)
{
    TempDir dir;
    const std::wstring path = dir.File(L"Basic.ini");
    EXPECT_EQ(ReadPowerStates(path.c_str()), (PowerValues{0, 0, 0, 0})) << "no file: all off";

    testsupport::WriteFileBytes(path, "[Setting]\r\nBOOTUP=1\r\nAWAKE=5\r\nSHUTDOWN= 7x\r\n[Other]\r\nSLEEPING=1\r\n");
    EXPECT_EQ(ReadPowerStates(path.c_str()), (PowerValues{1, 5, 0, 7}));

    WritePowerStates(path.c_str(), {0, 5, 1, 1});
    EXPECT_EQ(ReadPowerStates(path.c_str()), (PowerValues{0, 5, 1, 1}));
    const std::string text = testsupport::ReadFileBytes(path);
    EXPECT_NE(text.find("AWAKE=5"), std::string::npos) << text;
    EXPECT_NE(text.find("SLEEPING=1"), std::string::npos) << "only [Setting] is written: " << text;
    EXPECT_EQ(ReadPowerStates(nullptr), (PowerValues{0, 0, 0, 0}));
}

namespace {

constexpr int kHostX = 20, kHostY = 20, kHostW = 1300, kHostH = 560;
constexpr int kPageX = 20, kPageY = 20, kPageW = 1255, kPageH = 516;
// Only keeps a broken build from hanging.
constexpr DWORD kWaitMs = 5000;
const UINT kClickMessage = ::RegisterWindowMessageW(L"Light Button Click Message");
const UINT kSyncMessage = ::RegisterWindowMessageW(L"VORN VYL Lumo Profile Sync Windows Message");

// The second process that hears the broadcast; it logs each as "mask lParam".
class BroadcastRecorder : public testsupport::LoggingProcess {
public:
    BroadcastRecorder()
        : LoggingProcess(testsupport::ExecutableDir() + L"\\sync_broadcast_recorder.exe", {},
                         L"LumoTestSyncBroadcastRecorder", nullptr)
    {
    }
};

struct Broadcast {
    WPARAM mask;
    LPARAM lParam;
    bool operator==(const Broadcast& other) const { return mask == other.mask && lParam == other.lParam; }
};

std::ostream& operator<<(std::ostream& out, const Broadcast& b)
{
    return out << "(" << b.mask << ", " << b.lParam << ")";
}

// The page in a host window that stands for the main window, with
// Basic.ini in a fresh profile folder.
class SyncPage : public ::testing::Test {
protected:
    void SetUp() override
    {
        EnsureUiEnvironment();
        MoveCursorTo(5, 5);
        wcsncpy(m_tszIniDir, folder.Path().c_str(), MAX_PATH - 1);
        background = SolidBackground(kHostW, kHostH, 0x101010);
    }
    void TearDown() override
    {
        LeftButton(false);
        MoveCursorTo(5, 5);
        page.reset();
        Pump(0);
        m_tszIniDir[0] = L'\0';
    }

    std::wstring BasicIni() const { return folder.File(L"Basic.ini"); }
    void StoreSettings(const char* values)
    {
        testsupport::WriteFileBytes(BasicIni(), std::string("[Setting]\r\n") + values);
    }
    void CreatePage()
    {
        page = std::make_unique<CSyncWnd>(service);
        ASSERT_TRUE(page->Create(&host, background->GetSafeHdc(), kPageX, kPageY, kPageW, kPageH));
        // The start broadcast, posted while the page was made.
        Pump(0);
    }
    // The broadcasts the host (our own main window) has received. A
    // broadcast is in the host's queue once this thread has posted it.
    std::vector<Broadcast> HostBroadcasts()
    {
        Pump(0);
        std::vector<Broadcast> out;
        for (const RecordingHost::Record& r : host.Received(kSyncMessage)) out.push_back({r.wParam, r.lParam});
        return out;
    }
    // Clicks the switch with the real pointer and leaves it again; the
    // click's message and the page's broadcast have been handled on return.
    void ClickSwitch(int key)
    {
        CLightButton* button = page->PowerSwitch(key);
        WindowWatch watch(button->GetSafeHwnd());
        RECT r = {};
        GetWindowRect(button->GetSafeHwnd(), &r);
        MoveCursorTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ASSERT_TRUE(DispatchUntil([&] { return button->GetHoverState() != 0; }, kWaitMs)) << "no hover";
        LeftButton(true);
        LeftButton(false);
        ASSERT_TRUE(DispatchUntil([&] { return watch.Handled(WM_LBUTTONUP) > 0; }, kWaitMs)) << "no release";
        Pump(0);
        MoveCursorTo(5, 5);
        ASSERT_TRUE(DispatchUntil([&] { return button->GetHoverState() == 0; }, kWaitMs)) << "no leave";
    }
    std::array<BOOL, kPowerStateCount> Checks()
    {
        std::array<BOOL, kPowerStateCount> out{};
        for (int key = 0; key < kPowerStateCount; ++key) out[static_cast<size_t>(key)] = page->PowerSwitch(key)->GetCheck();
        return out;
    }

    TempDir folder;
    RecordingHost host{kHostX, kHostY, kHostW, kHostH};
    std::unique_ptr<CMemoryDC> background;
    servicetest::FakeMediator mediator;
    TalLumoService service{[this](IServiceMediator** out) {
        mediator.AddRef();
        *out = &mediator;
        return S_OK;
    }};
    std::unique_ptr<CSyncWnd> page;
};

using Checked = std::array<BOOL, kPowerStateCount>;

BOOL CALLBACK AddChild(HWND child, LPARAM list)
{
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

std::vector<HWND> ChildWindows(HWND parent)
{
    std::vector<HWND> children;
    EnumChildWindows(parent, &AddChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

}  // namespace

TEST_F(SyncPage, StoredSwitchesShowAndBroadcastTheStartMask)
{
    BroadcastRecorder recorder;
    ASSERT_TRUE(recorder.IsUp());
    StoreSettings("BOOTUP=1\r\nAWAKE=1\r\nSLEEPING=0\r\nSHUTDOWN=1\r\n");
    CreatePage();

    ASSERT_EQ(page->RowCount(), 5);
    EXPECT_EQ(page->Row(0).m_nTop, 17);
    EXPECT_EQ(page->Row(4).m_nTop, 17 + 4 * 59);
    EXPECT_EQ(page->ContentHeight(), 17 + 5 * 59);
    for (int key = 0; key < kPowerStateCount; ++key) {
        ASSERT_NE(page->PowerSwitch(key), nullptr);
        EXPECT_EQ(page->PowerSwitch(key)->m_nButtonId, static_cast<UINT>(10 + key));
    }
    EXPECT_EQ(Checks(), (Checked{TRUE, TRUE, FALSE, TRUE}));
    EXPECT_EQ(page->PowerStateMaskNow(), 0xCFu);
    EXPECT_EQ(HostBroadcasts(), (std::vector<Broadcast>{{0xCF, 3}}));
    EXPECT_EQ(recorder.Lines(1), (std::vector<std::string>{"207 3"}));
}

TEST_F(SyncPage, ClicksPreviewTheMaskAndOnlyApplyStoresIt)
{
    BroadcastRecorder recorder;
    ASSERT_TRUE(recorder.IsUp());
    StoreSettings("BOOTUP=1\r\nAWAKE=5\r\nSLEEPING=0\r\nSHUTDOWN=1\r\n");
    CreatePage();
    EXPECT_EQ(Checks(), (Checked{TRUE, TRUE, FALSE, TRUE})) << "any non-zero value is on";
    host.Clear();

    ClickSwitch(2);
    EXPECT_EQ(Checks(), (Checked{TRUE, TRUE, TRUE, TRUE}));
    EXPECT_EQ(HostBroadcasts(), (std::vector<Broadcast>{{0xFF, 0}}));
    EXPECT_EQ(recorder.Lines(2), (std::vector<std::string>{"207 3", "255 0"}));
    EXPECT_EQ(ReadPowerStates(BasicIni().c_str()), (PowerValues{1, 5, 0, 1})) << "nothing stored before Apply";

    // Apply: the untouched AWAKE keeps its 5.
    page->SavePowerSettings();
    EXPECT_EQ(ReadPowerStates(BasicIni().c_str()), (PowerValues{1, 5, 1, 1}));

    // Two clicks broadcast twice and end where they started.
    host.Clear();
    ClickSwitch(0);
    ClickSwitch(0);
    EXPECT_EQ(Checks(), (Checked{TRUE, TRUE, TRUE, TRUE}));
    EXPECT_EQ(HostBroadcasts(), (std::vector<Broadcast>{{0xFC, 0}, {0xFF, 0}}));

    // Closing without Apply: the stored switches come back and go out as a change.
    ClickSwitch(3);
    host.Clear();
    page->LoadPowerSettings(true);
    EXPECT_EQ(Checks(), (Checked{TRUE, TRUE, TRUE, TRUE}));
    EXPECT_EQ(HostBroadcasts(), (std::vector<Broadcast>{{0xFF, 0}}));
    EXPECT_EQ(recorder.Lines(6).back(), "255 0");

    // Once the switches' fades have ended no timer of the page or of a window
    // in it ticks, whatever its id: none in a span in which every timer of up
    // to the double-click time, the longest the page's controls arm, comes due.
    ASSERT_TRUE(PumpUntil(
        [&] {
            for (int key = 0; key < kPowerStateCount; ++key)
                if (page->PowerSwitch(key)->IsFading()) return false;
            return true;
        },
        kWaitMs));
    const std::vector<HWND> children = ChildWindows(page->GetSafeHwnd());
    ASSERT_GE(children.size(), static_cast<size_t>(kPowerStateCount));
    testsupport::MessageWatch watch;
    testsupport::PumpTimerPeriods(::GetDoubleClickTime(), 1);
    int ticks = watch.Taken(WM_TIMER, page->GetSafeHwnd());
    for (HWND child : children) ticks += watch.Taken(WM_TIMER, child);
    EXPECT_EQ(ticks, 0) << "a timer of the page outlived its fades";
}

// A Basic.ini that another process holds while the page is made: every
// switch shows off, and since the stored mask is not known none is broadcast.
// Apply leaves the file alone while it is held (it tries no write), then
// stores only the switch that was toggled; a close that cannot read the file
// brings back the switches as last stored.
TEST_F(SyncPage, ASettingThatCouldNotBeReadIsNeverStoredOrBroadcast)
{
    StoreSettings("BOOTUP=1\r\nAWAKE=1\r\nSLEEPING=0\r\nSHUTDOWN=1\r\n");
    testsupport::HeldFile held(BasicIni());
    ASSERT_TRUE(held.Held());
    testsupport::TraceCapture trace;
    CreatePage();
    EXPECT_EQ(Checks(), (Checked{FALSE, FALSE, FALSE, FALSE}));
    EXPECT_TRUE(HostBroadcasts().empty()) << "an unknown mask was broadcast";
    EXPECT_FALSE(page->LoadPowerSettings(true)) << "a close while it is held";
    EXPECT_TRUE(HostBroadcasts().empty());

    ClickSwitch(2);
    EXPECT_FALSE(page->SavePowerSettings());
    EXPECT_TRUE(trace.Contains(L"power states left alone, the file cannot be read @ SavePowerSettings"));
    EXPECT_FALSE(trace.Contains(L"WritePrivateProfileString failed @ SavePowerSettings")) << "a write was tried";

    held.Release();
    EXPECT_TRUE(page->SavePowerSettings());
    EXPECT_EQ(ReadPowerStates(BasicIni().c_str()), (PowerValues{1, 1, 1, 1}));
    EXPECT_EQ(Checks(), (Checked{TRUE, TRUE, TRUE, TRUE})) << "the untouched switches show what is stored";

    testsupport::HeldFile heldAgain(BasicIni());
    ASSERT_TRUE(heldAgain.Held());
    ClickSwitch(0);
    host.Clear();
    EXPECT_TRUE(page->LoadPowerSettings(true));
    EXPECT_EQ(Checks(), (Checked{TRUE, TRUE, TRUE, TRUE})) << "as last stored";
    EXPECT_EQ(HostBroadcasts(), (std::vector<Broadcast>{{0xFF, 0}}));
}

TEST_F(SyncPage, WithoutBasicIniEverySwitchIsOff)
{
    CreatePage();
    EXPECT_EQ(Checks(), (Checked{FALSE, FALSE, FALSE, FALSE}));
    EXPECT_EQ(HostBroadcasts(), (std::vector<Broadcast>{{0, 3}}));
    // Ids outside the switches change nothing.
    host.Clear();
    PostMessageW(page->GetSafeHwnd(), kClickMessage, 14, 0);
    PostMessageW(page->GetSafeHwnd(), kClickMessage, 9, 0);
    EXPECT_TRUE(HostBroadcasts().empty());
}

TEST_F(SyncPage, PaintedPageShowsItsCompositeAndEachSwitchsCurrentFace)
{
    StoreSettings("BOOTUP=0\r\n");
    CreatePage();
    page->MakeLayered();
    EXPECT_EQ(page->IsLayered(), UseLayeredChildWindows());
    EXPECT_EQ((GetWindowLongPtrW(page->GetSafeHwnd(), GWL_EXSTYLE) & WS_EX_LAYERED) != 0, UseLayeredChildWindows());
    // Either way its switches take the pointer.
    {
        const HWND switchWindow = page->PowerSwitch(2)->GetSafeHwnd();
        RECT r = {};
        GetWindowRect(switchWindow, &r);
        EXPECT_EQ(WindowFromPoint(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2}), switchWindow);
    }

    // Turned on after the page was composed with it off.
    PostMessageW(page->GetSafeHwnd(), kClickMessage, 12, 0);
    CLightButton* button = page->PowerSwitch(2);
    ASSERT_TRUE(PumpUntil([&] { return button->GetCheck() && !button->IsFading(); }, kWaitMs));
    RedrawWindow(page->GetSafeHwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);

    // What the screen shows at a switch, and the page's composed picture there.
    const auto onScreen = [&](CLightButton* control) {
        RECT r = {};
        GetWindowRect(control->GetSafeHwnd(), &r);
        CMemoryDC shot;
        shot.Resize(r.right - r.left, r.bottom - r.top);
        platform::WindowDc screen;
        BitBlt(shot, 0, 0, shot.Width(), shot.Height(), screen.Get(), r.left, r.top, SRCCOPY);
        return PixelsOf(shot);
    };
    const auto composed = [&](CLightButton* control) {
        RECT r = {};
        GetWindowRect(control->GetSafeHwnd(), &r);
        MapWindowPoints(nullptr, page->GetSafeHwnd(), reinterpret_cast<POINT*>(&r), 2);
        CMemoryDC part;
        part.Resize(r.right - r.left, r.bottom - r.top);
        BitBlt(part, 0, 0, part.Width(), part.Height(), page->Composite(), r.left, r.top, SRCCOPY);
        return PixelsOf(part);
    };

    CLightButton* untouched = page->PowerSwitch(3);
    const auto pageCorner = [&] {
        RECT pageRect = {};
        GetWindowRect(page->GetSafeHwnd(), &pageRect);
        CMemoryDC pageShot;
        pageShot.Resize(200, 60);
        {
            platform::WindowDc screen;
            BitBlt(pageShot, 0, 0, 200, 60, screen.Get(), pageRect.left, pageRect.top, SRCCOPY);
        }
        CMemoryDC composite;
        composite.Resize(200, 60);
        BitBlt(composite, 0, 0, 200, 60, page->Composite(), 0, 0, SRCCOPY);
        return DifferingPixels(PixelsOf(pageShot), PixelsOf(composite));
    };
    // Wine puts the painted pixels on the screen a little later.
    PumpUntil(
        [&] {
            return DifferingPixels(onScreen(button), PixelsOf(button->GetBackBuffer())) == 0 &&
                   DifferingPixels(onScreen(untouched), composed(untouched)) == 0 && pageCorner() == 0;
        },
        kWaitMs);

    EXPECT_EQ(DifferingPixels(onScreen(button), PixelsOf(button->GetBackBuffer())), 0)
        << "the switch shows its on face";
    EXPECT_GT(DifferingPixels(onScreen(button), composed(button)), 0) << "not the page's first picture of it";
    // A switch that never changed shows the face it was composed with.
    EXPECT_EQ(DifferingPixels(onScreen(untouched), composed(untouched)), 0);
    // And the rest of the page shows its composite: the frame over the backdrop.
    EXPECT_EQ(pageCorner(), 0);
}

TEST_F(SyncPage, DeviceSwitchesSyncTheServiceByMode)
{
    CreatePage();
    for (int i = 0; i < CSyncWnd::kDeviceSwitchCount; ++i)
        EXPECT_EQ(page->DeviceSwitch(i).m_nButtonId, static_cast<UINT>(30 + i)) << i;
    servicetest::ScopedWorkingDirectory workingDirectory;
    ASSERT_TRUE(workingDirectory.Ok());
    page->ServiceClient().m_vecStatus = {{"Mouse", false}, {"Strip", false}};
    page->m_syncSlots.slotA.effectIndex = 0;
    page->m_syncSlots.slotA.effect = EffectData{};

    // Beyond the twelve switches or the status list: nothing happens.
    PostMessageW(page->GetSafeHwnd(), kClickMessage, 42, 0);
    PostMessageW(page->GetSafeHwnd(), kClickMessage, 32, 0);
    Pump(0);
    EXPECT_TRUE(mediator.calls.empty());

    page->m_nDeviceSyncMode = 0;
    PostMessageW(page->GetSafeHwnd(), kClickMessage, 31, 0);
    Pump(0);
    EXPECT_TRUE(page->DeviceSwitch(1).GetCheck());
    EXPECT_TRUE(page->ServiceClient().m_vecStatus[1].inGroup);
    ASSERT_EQ(mediator.calls.size(), 2u) << "sync, then the profile with slot A's effect";
    EXPECT_NE(mediator.calls[0].second.find(L"Strip"), std::wstring::npos) << "the sync document names the devices";

    host.Clear();
    mediator.calls.clear();
    page->m_nDeviceSyncMode = 1;
    PostMessageW(page->GetSafeHwnd(), kClickMessage, 31, 0);
    Pump(0);
    EXPECT_FALSE(page->ServiceClient().m_vecStatus[1].inGroup);
    EXPECT_EQ(mediator.calls.size(), 2u) << "sync, then stop";
    EXPECT_EQ(HostBroadcasts(), (std::vector<Broadcast>{{0, 1}}));
}

namespace {

HWND g_refusedGrandparent = nullptr;

// Refuses every window made inside a child of g_refusedGrandparent.
LRESULT CALLBACK RefuseGrandchildren(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND) {
        const HWND parent = reinterpret_cast<CBT_CREATEWNDW*>(lParam)->lpcs->hwndParent;
        if (parent && ::GetParent(parent) == g_refusedGrandparent) return 1;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

}  // namespace

// No switch window could be made: the page still listens to the click
// message, which the device switches' clicks come by.
TEST_F(SyncPage, WithoutSwitchWindowsDeviceClicksStillArrive)
{
    g_refusedGrandparent = host.GetSafeHwnd();
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, RefuseGrandchildren, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    CreatePage();
    ::UnhookWindowsHookEx(hook);
    g_refusedGrandparent = nullptr;
    ASSERT_TRUE(page->GetSafeHwnd());
    EXPECT_EQ(page->PowerSwitch(0), nullptr) << "a switch window was made after all";

    servicetest::ScopedWorkingDirectory workingDirectory;
    ASSERT_TRUE(workingDirectory.Ok());
    page->ServiceClient().m_vecStatus = {{"Mouse", false}, {"Strip", false}};
    page->m_nDeviceSyncMode = 0;
    PostMessageW(page->GetSafeHwnd(), kClickMessage, 31, 0);
    Pump(0);
    EXPECT_TRUE(page->DeviceSwitch(1).GetCheck());
    EXPECT_EQ(mediator.calls.size(), 2u);
}

// Each switch gets its own copies of the faces decoded once for the page:
// the same pixels (alpha too) as the skin decoded on its own.
TEST(SwitchFacesTest, CopiesMatchTheSkinAndBelongToEachSwitch)
{
    EnsureUiEnvironment();
    const wchar_t* const names[CLightButton::kStateCount] = {
        L"SYNC_OFF_DEFAULT", L"SYNC_OFF_HOVER", L"SYNC_OFF_PRESS",   L"SYNC_ON_DEFAULT",
        L"SYNC_ON_HOVER",    L"SYNC_ON_PRESS",  L"SYNC_OFF_DISABLE", L"SYNC_ON_DISABLE",
    };
    SwitchFaces faces;
    faces.Load();
    HDC first[CLightButton::kStateCount] = {}, second[CLightButton::kStateCount] = {};
    int width = 0, height = 0, width2 = 0, height2 = 0;
    faces.Copy(first, width, height);
    faces.Copy(second, width2, height2);
    for (int state = 0; state < CLightButton::kStateCount; ++state) {
        HDC decoded = nullptr;
        int w = 0, h = 0;
        ASSERT_TRUE(LoadSkinImageToDC(GetModuleHandleW(nullptr), names[state], &decoded, &w, &h)) << state;
        if (state == CLightButton::Normal) {
            EXPECT_EQ(width, w);
            EXPECT_EQ(height, h);
        }
        ASSERT_NE(first[state], nullptr) << state;
        ASSERT_NE(second[state], nullptr) << state;
        EXPECT_NE(first[state], second[state]) << state;
        const testsupport::Pixels expected = PixelsOf(decoded);
        const testsupport::Pixels copied = PixelsOf(first[state]);
        EXPECT_EQ(copied.width, expected.width) << state;
        EXPECT_EQ(copied.height, expected.height) << state;
        EXPECT_EQ(copied.data, expected.data) << state;
        DeleteMemoryDC(decoded);
        DeleteMemoryDC(first[state]);
        DeleteMemoryDC(second[state]);
    }
}
