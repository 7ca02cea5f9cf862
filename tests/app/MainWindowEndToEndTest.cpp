// The real Lumo.exe with the maker's library stand-in beside it: start,
// edits and Apply with real input, closing, and a profile change from outside.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/LumoGlobals.h"
#include "backend/device/WmiLibrary.h"
#include "backend/profiles/IniStore.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/UniqueHandle.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/MessagePump.h"
#include "tests/support/PointerInput.h"
#include "tests/support/Polling.h"
#include "tests/support/ProfileFiles.h"
#include "tests/support/RegistryValue.h"
#include "tests/support/ScreenPixels.h"
#include "tests/support/ShippedSeeds.h"
#include "tests/support/StandInLibrary.h"
#include "tests/support/TempDir.h"

namespace {

using testsupport::EffectCall;
using testsupport::IniValue;
using testsupport::kPatienceMs;
using testsupport::kProfileFiles;
using testsupport::PollUntil;

// Places in the window at 100 %.
constexpr POINT kStaticEffect = {1094, 229};
constexpr POINT kBreathingEffect = {1107, 261};
constexpr POINT kApplyButton = {1230, 730};
constexpr POINT kKeyboardMiddle = {500, 400};
constexpr int kKeyboardPictureWidth = 947;
constexpr POINT kEffectsTab = {146, 132};
constexpr POINT kSyncTab = {300, 132};
// The power-state page's switches.
constexpr POINT kBootSwitch = {441, 282};
constexpr POINT kAwakeSwitch = {441, 341};
// The colour picker popup, centred on the window's height: the fourth default
// swatch (green) and OK.
constexpr POINT kGreenDefaultSwatch = {619, 389};
constexpr POINT kPickerOk = {437, 635};
constexpr SIZE kEffectSwatchSize = {37, 35};

BOOL CALLBACK FindVisibleOwned(HWND window, LPARAM context)
{
    HWND* owner = reinterpret_cast<HWND*>(context);
    if (GetWindow(window, GW_OWNER) != *owner || !IsWindowVisible(window)) return TRUE;
    *owner = nullptr;
    return FALSE;
}

// Whether a window of the program's own, such as the colour picker panel,
// stands over the main window.
bool HasVisibleOwnedWindow(HWND owner)
{
    HWND search = owner;
    EnumWindows(FindVisibleOwned, reinterpret_cast<LPARAM>(&search));
    return search == nullptr;
}

// A visible framework control of a given size, and its centre on the screen.
struct ControlSearch {
    SIZE size;
    POINT centre;
};

// A visible window of the test's own, to take the activation from the
// program's; its messages are dispatched while it waits.
class OwnWindow {
public:
    OwnWindow()
        : m_window(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 8, 8, nullptr,
                                   nullptr, nullptr, nullptr))
    {
    }
    ~OwnWindow()
    {
        DestroyWindow(m_window);
        testsupport::Pump(0);
    }
    OwnWindow(const OwnWindow&) = delete;
    OwnWindow& operator=(const OwnWindow&) = delete;

    bool Activate() const
    {
        SetForegroundWindow(m_window);
        return testsupport::PumpUntil([this] { return IsInFront(); }, kPatienceMs);
    }
    bool IsInFront() const { return GetForegroundWindow() == m_window; }

private:
    HWND m_window;
};

// The program in a folder of its own with its seeds, language file and the
// stand-in library; the profile folder's files are kept and put back.
class MainWindowEndToEnd : public testing::Test {
public:
    void SetUp() override
    {
        m_folder = m_dir.File(L"Lumo");
        CreateDirectoryW(m_folder.c_str(), nullptr);
        const std::wstring exe = testsupport::WindowsPathOf(LUMO_APP_EXE);
        const std::wstring built = exe.substr(0, exe.rfind(L'\\'));
        CopyFileW(exe.c_str(), Installed(L"Lumo.exe").c_str(), FALSE);
        testsupport::CopySeedFiles(built, m_folder);
        CopyFileW((built + L"\\Lumo.ini").c_str(), Installed(L"Lumo.ini").c_str(), FALSE);
        CopyFileW(testsupport::FixturePath(L"nbhwctl\\full\\NBHWCTL.dll").c_str(), Installed(L"NBHWCTL.dll").c_str(),
                  FALSE);

        SeedSettings seed;
        CopyIniFiles(SystemFolderSources(), seed, false, m_tszIniDir, MAX_PATH);
        m_profiles = m_tszIniDir;
        m_files = std::make_unique<testsupport::ShippedProfileFiles>(m_profiles, m_folder);
        WritePrivateProfileStringW(L"Config", L"Apply", L"0", Profile(L"Basic.ini").c_str());
    }
    void TearDown() override
    {
        if (m_process.IsValid() && WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_process.Get(), 99);
            WaitForSingleObject(m_process.Get(), 5000);
        }
        m_files.reset();
    }

    std::wstring Installed(const wchar_t* name) const { return m_folder + L"\\" + name; }
    std::wstring Profile(const wchar_t* name) const { return m_profiles + L"\\" + name; }

    // Starts the program and waits for its window to be shown and to take input.
    HWND Start(const std::wstring& arguments = L"")
    {
        std::wstring commandLine = L"\"" + Installed(L"Lumo.exe") + L"\" " + arguments;
        STARTUPINFOW si{};
        si.cb = sizeof(si);
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, m_folder.c_str(), &si,
                            &pi))
            return nullptr;
        m_process.Reset(pi.hProcess);
        platform::UniqueHandle thread(pi.hThread);
        m_processId = pi.dwProcessId;
        const ULONGLONG deadline = GetTickCount64() + kPatienceMs;
        while (GetTickCount64() < deadline) {
            for (HWND w = FindWindowExW(nullptr, nullptr, kMainWindowClassName, nullptr); w != nullptr;
                 w = FindWindowExW(nullptr, w, kMainWindowClassName, nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == m_processId && IsWindowVisible(w) && IsWindowEnabled(w)) {
                    m_window = w;
                    RECT rect{};
                    GetWindowRect(w, &rect);
                    m_scale = static_cast<float>(rect.right - rect.left) / 1400.0f;
                    return w;
                }
            }
            if (WaitForSingleObject(m_process.Get(), 10) == WAIT_OBJECT_0) return nullptr;
        }
        return nullptr;
    }

    // Where the pointer and the input stand, for a failure's message.
    std::string PointerState(POINT at) const
    {
        POINT cursor{};
        GetCursorPos(&cursor);
        const HWND under = WindowFromPoint(at), foreground = GetForegroundWindow();
        DWORD underProcess = 0, foregroundProcess = 0;
        GetWindowThreadProcessId(under, &underProcess);
        GetWindowThreadProcessId(foreground, &foregroundProcess);
        char text[256];
        std::snprintf(text, sizeof(text),
                      "pointer at (%ld, %ld) for (%ld, %ld); under it a window of process %lu, in front one of %lu; "
                      "the program is %lu, this test %lu, the window %s",
                      cursor.x, cursor.y, at.x, at.y, static_cast<unsigned long>(underProcess),
                      static_cast<unsigned long>(foregroundProcess), static_cast<unsigned long>(m_processId),
                      static_cast<unsigned long>(GetCurrentProcessId()),
                      IsWindowEnabled(m_window) ? "enabled" : "disabled");
        return text;
    }

    POINT ScreenPoint(POINT at) const
    {
        POINT point{static_cast<LONG>(at.x * m_scale + 0.5f), static_cast<LONG>(at.y * m_scale + 0.5f)};
        ClientToScreen(m_window, &point);
        return point;
    }

    void Click(POINT at) { ClickScreen(ScreenPoint(at)); }
    void ClickOnPicker(POINT at) { ClickScreen(ScreenPoint(at), false); }

    void PressKey(WORD key)
    {
        SetForegroundWindow(m_window);
        INPUT inputs[2] = {};
        inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
        inputs[0].ki.wVk = inputs[1].ki.wVk = key;
        inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, inputs, sizeof(INPUT));
    }

    HWND ChildAt(POINT at) const
    {
        POINT point{static_cast<LONG>(at.x * m_scale + 0.5f), static_cast<LONG>(at.y * m_scale + 0.5f)};
        return ChildWindowFromPointEx(m_window, point, CWP_SKIPINVISIBLE);
    }

    // The effect panel's first colour swatch: the one visible control of its size.
    POINT EffectSwatchCentre() const
    {
        ControlSearch search{{static_cast<LONG>(kEffectSwatchSize.cx * m_scale + 0.5f),
                   static_cast<LONG>(kEffectSwatchSize.cy * m_scale + 0.5f)},
                  {-1, -1}};
        EnumChildWindows(m_window, FindControlOfSize, reinterpret_cast<LPARAM>(&search));
        return search.centre;
    }

    static BOOL CALLBACK FindControlOfSize(HWND child, LPARAM context)
    {
        ControlSearch* found = reinterpret_cast<ControlSearch*>(context);
        wchar_t name[16] = {};
        GetClassNameW(child, name, 16);
        RECT rect{};
        GetWindowRect(child, &rect);
        if (!IsWindowVisible(child) || wcscmp(name, L"Control") != 0 || rect.right - rect.left != found->size.cx ||
            rect.bottom - rect.top != found->size.cy)
            return TRUE;
        found->centre = {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
        return FALSE;
    }

    // Activating the main window raises it over the picker's own window under
    // Wine, so clicks on the picker leave the activation as it is.
    void ClickScreen(POINT point, bool activateMainWindow = true)
    {
        if (activateMainWindow) {
            // A press that reaches the window while it is being activated may
            // be taken by the activation.
            SetForegroundWindow(m_window);
            PollUntil([this] { return GetForegroundWindow() == m_window && IsWindowEnabled(m_window); });
        }
        testsupport::MoveCursorTo(point.x, point.y);
        testsupport::LeftClick();
    }

    // Sends a message to the window and returns once its handler is done.
    void SendAndWait(UINT message, WPARAM wParam, LPARAM lParam) const
    {
        DWORD_PTR result = 0;
        EXPECT_NE(SendMessageTimeoutW(m_window, message, wParam, lParam, SMTO_ABORTIFHUNG, kPatienceMs, &result), 0);
    }

    // Waits until the stand-in has recorded more calls of the entry point.
    bool WaitForMoreCalls(const std::string& entryPoint, size_t than) const
    {
        return PollUntil([&] { return m_library.CallsOf(entryPoint).size() > than; });
    }

    // Waits until the keyboard picture is (or is no longer) the window under
    // the middle of the picture's place.
    bool WaitForKeyboard(HWND keyboard, bool shown) const
    {
        return PollUntil([&] { return (ChildAt(kKeyboardMiddle) == keyboard) == shown; });
    }

    bool Ends(DWORD ms) const { return WaitForSingleObject(m_process.Get(), ms) == WAIT_OBJECT_0; }

    // The window as the screen shows it once every fade and glide is over,
    // with the pointer away from it; empty when it kept changing.
    std::vector<uint32_t> SettledPicture() const
    {
        testsupport::MoveCursorTo(0, 0);
        RECT rect{};
        GetWindowRect(m_window, &rect);
        return testsupport::ReadSettledScreenPixels(rect, kPatienceMs);
    }

    // A click on the static effect's swatch, the green default colour and OK
    // in the picker popup; true once the green is previewed and the popup gone.
    bool PickGreenForTheStaticEffect()
    {
        const POINT swatch = EffectSwatchCentre();
        EXPECT_GE(swatch.x, 0) << "the static effect shows its colour swatch";
        if (swatch.x < 0) return false;
        CustomProfile stored{};
        LoadProfile(m_profiles.c_str(), 0, stored);
        EffectData green = stored.allData[0];
        green.ColorR = 0, green.ColorG = 255, green.ColorB = 0;
        const std::string expected = EffectCall(WMI_SUBCMD_SET_EFFECT, 0, green);

        ClickScreen(swatch);
        if (!PollUntil([this] { return HasVisibleOwnedWindow(m_window); })) {
            ADD_FAILURE() << "the swatch's click shows the picker";
            return false;
        }
        ClickOnPicker(kGreenDefaultSwatch);
        // The picker moves to the new colour, and the end of the move is previewed.
        const bool previewed = PollUntil(
            [&] {
                const std::vector<std::string> calls = EffectCalls();
                return !calls.empty() && calls.back() == expected;
            },
            kPatienceMs);
        EXPECT_TRUE(previewed) << "the colour is previewed";
        ClickOnPicker(kPickerOk);
        // Its panel and the blurred backdrop over the window both go.
        const bool hidden =
            PollUntil([this] { return !HasVisibleOwnedWindow(m_window) && KeyboardShown(); });
        EXPECT_TRUE(hidden) << "OK hides the picker";
        return previewed && hidden;
    }

    // The keyboard picture, not the power-state page, stands at its place.
    bool KeyboardShown() const
    {
        RECT rect{};
        return GetWindowRect(ChildAt(kKeyboardMiddle), &rect) &&
               rect.right - rect.left == static_cast<LONG>(kKeyboardPictureWidth * m_scale + 0.5f);
    }

    // The settled window once the screen no longer shows the given picture.
    std::vector<uint32_t> SettledPictureChangedFrom(const std::vector<uint32_t>& previous) const
    {
        RECT rect{};
        GetWindowRect(m_window, &rect);
        if (!PollUntil([&] { return testsupport::ReadScreenPixels(rect) != previous; })) return {};
        return SettledPicture();
    }

    std::vector<std::string> EffectCalls() const { return testsupport::EffectCalls(m_library); }

    // The call that sends profile 0's stored record of an effect.
    std::string StoredEffectCall(int effect) const
    {
        CustomProfile profile{};
        LoadProfile(m_profiles.c_str(), 0, profile);
        return EffectCall(WMI_SUBCMD_SET_EFFECT, effect, profile.allData[effect]);
    }

    testsupport::StandInLibraryScript m_library;
    testsupport::TempDir m_dir;
    std::wstring m_folder, m_profiles;
    std::unique_ptr<testsupport::ShippedProfileFiles> m_files;
    platform::UniqueHandle m_process;
    DWORD m_processId = 0;
    HWND m_window = nullptr;
    float m_scale = 1.0f;
};

}  // namespace

TEST_F(MainWindowEndToEnd, StartShowsTheWindowAndSendsTheAppliedEffect)
{
    WritePrivateProfileStringW(L"Config", L"ApplyEff", L"2", Profile(L"Basic.ini").c_str());
    ASSERT_NE(Start(), nullptr) << "no window";
    EXPECT_EQ(EffectCalls(), std::vector<std::string>{StoredEffectCall(2)});
    PostMessageW(m_window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ends(kPatienceMs));
}

// The borderless window moves with a press and drag in its title strip (the
// top 95 pixels at 100 %), and not with one just below it.
TEST_F(MainWindowEndToEnd, OnlyAPressAndDragInTheTitleStripMovesTheWindow)
{
    ASSERT_NE(Start(), nullptr);
    SetForegroundWindow(m_window);
    RECT before{};
    GetWindowRect(m_window, &before);
    const DWORD thread = GetWindowThreadProcessId(m_window, nullptr);
    const auto inMoveLoop = [thread] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return GetGUIThreadInfo(thread, &info) && (info.flags & GUI_INMOVESIZE) != 0;
    };
    const auto drag = [](POINT start, POINT by) {
        for (int step = 1; step <= 4; ++step)
            testsupport::MoveCursorTo(start.x + by.x * step / 4, start.y + by.y * step / 4);
    };
    const auto offset = [this, &before]() {
        RECT now{};
        GetWindowRect(m_window, &now);
        return POINT{now.left - before.left, now.top - before.top};
    };

    // A press below the strip, taken while the window is inactive: the
    // activation shows that the press has reached it, and a message sent then
    // returns once the press's own handling is over. A drag it had posted would
    // start before the moves that follow and carry the window with them.
    // Under Wine the X focus this test's window asked for may arrive after the
    // window's own, and the window then hands the front to the desktop: only
    // the front leaving this test's window tells that the press arrived.
    {
        OwnWindow other;
        ASSERT_TRUE(other.Activate()) << "the test's own window cannot be activated";
        const POINT below = ScreenPoint({200, 100});
        testsupport::MoveCursorTo(below.x, below.y);
        testsupport::LeftButton(true);
        ASSERT_TRUE(testsupport::PumpUntil([&other] { return !other.IsInFront(); }, kPatienceMs))
            << "the press below the strip never reached the window; " << PointerState(below);
        SendAndWait(WM_NULL, 0, 0);
        drag(below, {50, 30});
        testsupport::LeftButton(false);
    }

    // The presses stand far apart, so that the second never pairs with the
    // first as a double click however little time passes between them.
    // Input is handled in order: once this press's move has begun, the
    // press above is over, and the window must not have moved.
    const POINT strip = ScreenPoint({1000, 70});
    testsupport::MoveCursorTo(strip.x, strip.y);
    testsupport::LeftButton(true);
    // The move loop follows the pointer only from where it is when the loop
    // starts, as a hand pauses after pressing.
    ASSERT_TRUE(PollUntil(inMoveLoop)) << "a press in the strip starts no move; " << PointerState(strip);
    EXPECT_EQ(offset().x, 0);
    EXPECT_EQ(offset().y, 0);
    // Each step of the hand is followed before the next one is made.
    const POINT by{60, 40};
    for (int step = 1; step <= 4; ++step) {
        const POINT to{by.x * step / 4, by.y * step / 4};
        testsupport::MoveCursorTo(strip.x + to.x, strip.y + to.y);
        if (!PollUntil([&] { return offset().x == to.x && offset().y == to.y; })) {
            ADD_FAILURE() << "the window does not follow step " << step;
            break;
        }
    }
    testsupport::LeftButton(false);
    EXPECT_EQ(offset().x, by.x);
    EXPECT_EQ(offset().y, by.y);
    // A message posted now would come before the release, inside the move.
    EXPECT_TRUE(PollUntil([&] { return !inMoveLoop(); })) << "the release ends the move";

    PostMessageW(m_window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ends(kPatienceMs));
}

// Each trace of the main window's start, messages, Apply and closing, in the
// order they come, in the log file the program writes with WriteFile set.
TEST_F(MainWindowEndToEnd, EveryTraceOfTheMainWindowReachesTheLogFileWithItsNumbers)
{
    testsupport::ScopedRegistryDword writeFile(trace::kRegistryKey, L"WriteFile", 1u);
    const std::wstring log = Profile(L"VYLLumoCore.log");
    DeleteFileW(log.c_str());
    const std::wstring basic = Profile(L"Basic.ini");
    WritePrivateProfileStringW(L"Config", L"ApplyMode", L"0", basic.c_str());
    WritePrivateProfileStringW(L"Config", L"ApplyEff", L"2", basic.c_str());
    WritePrivateProfileStringW(L"RecentColor", nullptr, nullptr, basic.c_str());
    WritePrivateProfileStringW(L"RecentColor", L"Count", L"2", basic.c_str());
    WritePrivateProfileStringW(L"RecentColor", L"Color0", L"00FF00", basic.c_str());
    WritePrivateProfileStringW(L"RecentColor", L"Color1", L"zz", basic.c_str());

    ASSERT_NE(Start(), nullptr);
    const HWND keyboard = ChildAt(kKeyboardMiddle);
    PostMessageW(m_window, WM_PROFILEMODIFY_MESSAGE, 2, 0);
    PostMessageW(m_window, WM_PROFILEMODIFY_MESSAGE, 0, 6);
    Click(kApplyButton);
    ASSERT_TRUE(WaitForKeyboard(keyboard, false)) << "the progress overlay covers the window";
    const size_t powerStates = m_library.CallsOf("VoWMI_NB_DeviceControl").size();
    PressKey(VK_ESCAPE);  // while the overlay runs: restores and saves, stays open
    ASSERT_TRUE(WaitForMoreCalls("VoWMI_NB_DeviceControl", powerStates)) << "Esc restores the power states";
    ASSERT_TRUE(WaitForKeyboard(keyboard, true)) << "the overlay closes";
    ASSERT_FALSE(Ends(0));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(Ends(kPatienceMs));

    const std::wstring text = testsupport::ReadUtf16File(log);
    const std::wstring kProfileModify = L"[LumoCore]CLumoCoreDlg WndProc -> WM_PROFILEMODIFY_MESSAGE";
    const std::wstring expected[] = {
        L"[LumoCore][Notify]CLumoDlg::OnInitDialog -> " + std::wstring(70, L'*') + L"\r\n",
        L"[LumoCore][Notify]CLumoCoreDlg::OnInitDialog -> *******Begin to Log*******\r\n",
        L"OnInitDialog -> ProductID = ",
        L"tszPath @ OnInitDialog -> " + basic + L" error: ",
        L"[LumoCore]Apply one @ OnInitDialog -> ",
        L"[LumoCore][Notify]tszName - @ Oninit -> Color0\r\n",
        L"[LumoCore][Notify]tszReturn @ Oninit -> 00FF00\r\n",
        L"[LumoCore]tszTmp @ colorx value -> color: FF00FF00(FF00), R:0, G:255, B:0, error: ",
        L"[LumoCore][Notify]tszName - @ Oninit -> Color1\r\n",
        L"[LumoCore][Notify]tszReturn @ Oninit -> zz\r\n",
        kProfileModify + L", wParam is error: 2 - ",
        kProfileModify + L", wParam is error: 0 - ",
        kProfileModify + L",wParam 0, profile applied !!, lParam is error: 6 - ",
        L"tszPath @ OnBnClickedApply -> " + basic + L" error: ",
        L"[LumoCore]OnBnClickedApply -> m_uiApply error: 0 - ",
        L"[LumoCore]OnBnClickedApply -> nModeIndex error: 0 - ",
        L"[LumoCore]OnBnClickedApply -> m_iModeIndex error: 1 - ",
        L"[LumoCore]UninitRGBKBDevice -> Prepare to exit !!! error: ",
        L"[LumoCore]CancelProgram -> Prepare exit error: ",
        L"[LumoCore]UninitRGBKBDevice -> Prepare to exit !!! error: ",
        L"[LumoCore]CancelProgram -> Prepare exit error: ",
    };
    size_t at = 0;
    for (const std::wstring& line : expected) {
        const size_t found = text.find(line, at);
        EXPECT_NE(found, std::wstring::npos) << "missing after offset " << at << ": " << testing::PrintToString(line);
        if (found != std::wstring::npos) at = found + line.size();
    }
    if (HasFailure()) std::printf("log:\n%ls\n", text.c_str());
    EXPECT_EQ(text.find(L"I am called"), std::wstring::npos) << "traced before the switches are read";
    EXPECT_EQ(text.find(L"tszTmp @ colorx value", text.find(L"tszReturn @ Oninit -> zz")), std::wstring::npos)
        << "a malformed colour is traced as read, not as a colour";
}

TEST_F(MainWindowEndToEnd, EditAndApplyWithRealInputStoreTheEffectAndRunTheOverlay)
{
    WritePrivateProfileStringW(L"Config", L"ApplyEff", L"2", Profile(L"Basic.ini").c_str());
    ASSERT_NE(Start(), nullptr);
    m_library.ClearCalls();
    Click(kStaticEffect);
    PollUntil([this] { return !EffectCalls().empty(); });
    EXPECT_EQ(EffectCalls(), std::vector<std::string>{StoredEffectCall(0)}) << "the click is previewed";

    const HWND keyboard = ChildAt(kKeyboardMiddle);
    Click(kApplyButton);
    // The overlay comes once the files are written.
    EXPECT_TRUE(WaitForKeyboard(keyboard, false)) << "the progress overlay covers the window";
    const std::wstring basic = Profile(L"Basic.ini");
    EXPECT_EQ(IniValue(basic, L"Config", L"Apply"), L"0");
    EXPECT_EQ(IniValue(basic, L"Config", L"ApplyEff"), L"0");
    // The zone mode as "-apply" stores it for profile 0.
    EXPECT_EQ(IniValue(basic, L"Config", L"ApplyMode"), L"0");
    EXPECT_NE(IniValue(basic, L"RecentColor", L"Count"), L"<missing>");
    EXPECT_EQ(IniValue(Profile(L"Custom0.Ini"), L"Config", L"allIndex"), L"0");

    EXPECT_TRUE(WaitForKeyboard(keyboard, true)) << "the overlay closes";

    PostMessageW(m_window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ends(kPatienceMs));
}

TEST_F(MainWindowEndToEnd, AColourPickedInThePopupIsPreviewedAndStoredByApply)
{
    WritePrivateProfileStringW(L"Config", L"ApplyEff", L"0", Profile(L"Basic.ini").c_str());
    WritePrivateProfileStringW(L"RecentColor", nullptr, nullptr, Profile(L"Basic.ini").c_str());
    ASSERT_NE(Start(), nullptr);
    m_library.ClearCalls();
    ASSERT_TRUE(PickGreenForTheStaticEffect());

    const HWND keyboard = ChildAt(kKeyboardMiddle);
    Click(kApplyButton);
    EXPECT_TRUE(WaitForKeyboard(keyboard, false)) << "the overlay comes once the files are written";
    const std::wstring custom0 = Profile(L"Custom0.Ini");
    EXPECT_EQ(IniValue(custom0, L"allData0", L"ColorR"), L"0");
    EXPECT_EQ(IniValue(custom0, L"allData0", L"ColorG"), L"255");
    EXPECT_EQ(IniValue(custom0, L"allData0", L"ColorB"), L"0");
    EXPECT_EQ(IniValue(Profile(L"Basic.ini"), L"RecentColor", L"Count"), L"1");
    EXPECT_EQ(IniValue(Profile(L"Basic.ini"), L"RecentColor", L"Color0"), L"00FF00");

    PostMessageW(m_window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ends(kPatienceMs));
}

// A close posted by another process (as the uninstall mode posts it) closes
// as the close button does: the stored effect goes back over the unapplied
// one, and the colour picked since the last Apply is kept.
TEST_F(MainWindowEndToEnd, AWmCloseFromAnotherProcessRestoresTheEffectAndKeepsThePickedColour)
{
    WritePrivateProfileStringW(L"Config", L"ApplyEff", L"0", Profile(L"Basic.ini").c_str());
    WritePrivateProfileStringW(L"RecentColor", nullptr, nullptr, Profile(L"Basic.ini").c_str());
    const std::vector<std::wstring> custom0 = testsupport::IniEntries(Profile(L"Custom0.Ini"));
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(PickGreenForTheStaticEffect());
    m_library.ClearCalls();

    PostMessageW(m_window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ends(kPatienceMs));
    EXPECT_EQ(EffectCalls(), std::vector<std::string>{StoredEffectCall(0)});
    EXPECT_EQ(IniValue(Profile(L"Basic.ini"), L"RecentColor", L"Count"), L"1");
    EXPECT_EQ(IniValue(Profile(L"Basic.ini"), L"RecentColor", L"Color0"), L"00FF00");
    EXPECT_EQ(testsupport::IniEntries(Profile(L"Custom0.Ini")), custom0) << "the unapplied colour is not stored";
}

// The stored states that "-apply" and the first start leave, then real Apply
// clicks without an edit, over a restart: no file changes.
TEST_F(MainWindowEndToEnd, ApplyWithoutAnEditLeavesEveryProfileFileAsItWas)
{
    struct Case {
        const char* name;
        const wchar_t* apply;
        const wchar_t* mode;
    };
    const Case cases[] = {{"first start", L"0", L"0"}, {"after -apply 7", L"2", L"2"}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring basic = Profile(L"Basic.ini");
        // As the applied profile's own file holds its effect.
        CustomProfile applied{};
        LoadProfile(m_profiles.c_str(), c.apply[0] - L'0', applied);
        WritePrivateProfileStringW(L"Config", L"Apply", c.apply, basic.c_str());
        WritePrivateProfileStringW(L"Config", L"ApplyMode", c.mode, basic.c_str());
        WritePrivateProfileStringW(L"Config", L"ApplyEff",
                                   std::to_wstring(c.apply[0] == L'2' ? applied.qwerIndex : applied.allIndex).c_str(),
                                   basic.c_str());
        std::vector<std::vector<std::wstring>> before;
        for (const wchar_t* name : kProfileFiles) before.push_back(testsupport::IniEntries(Profile(name)));

        for (int start = 0; start < 2; ++start) {
            ASSERT_NE(Start(), nullptr);
            const HWND keyboard = ChildAt(kKeyboardMiddle);
            Click(kApplyButton);
            ASSERT_TRUE(WaitForKeyboard(keyboard, false)) << "the overlay comes once the files are written";
            for (size_t i = 0; i < before.size(); ++i)
                EXPECT_EQ(testsupport::IniEntries(Profile(kProfileFiles[i])), before[i])
                    << "start " << start << ": " << testing::PrintToString(kProfileFiles[i]);
            // A close request ends the window while the overlay runs.
            PostMessageW(m_window, WM_CLOSE, 0, 0);
            ASSERT_TRUE(Ends(kPatienceMs));
        }
    }
}

TEST_F(MainWindowEndToEnd, EscAfterAnEditResendsTheStoredEffectSavesRecentColoursAndEnds)
{
    WritePrivateProfileStringW(L"Config", L"ApplyEff", L"2", Profile(L"Basic.ini").c_str());
    WritePrivateProfileStringW(L"RecentColor", nullptr, nullptr, Profile(L"Basic.ini").c_str());
    ASSERT_NE(Start(), nullptr);
    const std::vector<std::string> atStart = EffectCalls();
    m_library.ClearCalls();
    Click(kBreathingEffect);
    PollUntil([this] { return !EffectCalls().empty(); });
    EXPECT_EQ(EffectCalls(), std::vector<std::string>{StoredEffectCall(1)});
    m_library.ClearCalls();

    PressKey(VK_ESCAPE);
    EXPECT_TRUE(Ends(kPatienceMs)) << "Esc closes with the fade-out";
    EXPECT_EQ(EffectCalls(), atStart) << "the stored effect goes back, the preview is dropped";
    EXPECT_EQ(IniValue(Profile(L"Basic.ini"), L"RecentColor", L"Count"), L"0");
    EXPECT_EQ(IniValue(Profile(L"Basic.ini"), L"Config", L"ApplyEff"), L"2");
}

TEST_F(MainWindowEndToEnd, ProfileModifyFromAnotherProcessSwitchesWithoutSending)
{
    ASSERT_NE(Start(), nullptr);
    m_library.ClearCalls();
    const HWND keyboard = ChildAt(kKeyboardMiddle);
    WritePrivateProfileStringW(L"Config", L"Apply", L"1", Profile(L"Basic.ini").c_str());

    SendAndWait(WM_PROFILEMODIFY_MESSAGE, 2, 0);
    EXPECT_EQ(ChildAt(kKeyboardMiddle), keyboard) << "wParam 2 only traces";

    SendAndWait(WM_PROFILEMODIFY_MESSAGE, 0, 1);
    EXPECT_NE(ChildAt(kKeyboardMiddle), keyboard) << "the power-state page is shown";
    EXPECT_TRUE(EffectCalls().empty());

    PostMessageW(m_window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ends(kPatienceMs));
    EXPECT_TRUE(EffectCalls().empty()) << "profile 1 sends no effect through the library, closing included";
}

// Another process's "-apply 6" or "-apply 7" leaves [Config] on profile 1 or 2
// and broadcasts the change; the next start shows what the running window
// showed after that broadcast, and the tabs then work as after any start.
TEST_F(MainWindowEndToEnd, StartOnAStoredZoneProfileShowsTheWindowOfTheSwitchToIt)
{
    struct Case {
        const char* name;
        int profile;
        LPARAM applyIndex;
    };
    const Case cases[] = {{"apply6", 1, 6}, {"apply7", 2, 7}};
    const std::wstring basic = Profile(L"Basic.ini");
    const auto writeConfig = [&basic](int apply, int mode, int effect) {
        WritePrivateProfileStringW(L"Config", L"Apply", std::to_wstring(apply).c_str(), basic.c_str());
        WritePrivateProfileStringW(L"Config", L"ApplyMode", std::to_wstring(mode).c_str(), basic.c_str());
        WritePrivateProfileStringW(L"Config", L"ApplyEff", std::to_wstring(effect).c_str(), basic.c_str());
    };
    CustomProfile profiles[3] = {};
    for (int p = 0; p < 3; ++p) LoadProfile(m_profiles.c_str(), p, profiles[p]);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // As the apply mode of a model type 1 keyboard writes it.
        const int storedEffect = c.profile == 1 ? profiles[1].wasdIndex : profiles[2].qwerIndex;
        // Each road: the window as it comes up, then after a click on the tab
        // it does not show and one back, each picture read once the click has
        // changed the page and the screen shows it. A click on the tab shown
        // changes no page: its wait would hold before the click is taken.
        const auto pictures = [this](std::vector<std::vector<uint32_t>>& out) {
            out.push_back(SettledPicture());
            const bool keyboardFirst = KeyboardShown();
            for (const bool toKeyboard : {!keyboardFirst, keyboardFirst}) {
                Click(toKeyboard ? kEffectsTab : kSyncTab);
                EXPECT_TRUE(PollUntil([&] { return KeyboardShown() == toKeyboard; }))
                    << (toKeyboard ? "the effects tab shows no keyboard" : "the sync tab shows no power-state page");
                out.push_back(SettledPictureChangedFrom(out.back()));
            }
            PostMessageW(m_window, WM_CLOSE, 0, 0);
            EXPECT_TRUE(Ends(kPatienceMs));
        };

        std::vector<std::vector<uint32_t>> started;
        writeConfig(c.profile, c.profile, storedEffect);
        ASSERT_NE(Start(), nullptr);
        RECT rect{};
        GetWindowRect(m_window, &rect);
        const int width = rect.right - rect.left;
        pictures(started);

        std::vector<std::vector<uint32_t>> switched;
        writeConfig(0, profiles[0].modeIndex, profiles[0].allIndex);
        ASSERT_NE(Start(), nullptr);
        ASSERT_FALSE(SettledPicture().empty());
        writeConfig(c.profile, c.profile, storedEffect);
        SendAndWait(WM_PROFILEMODIFY_MESSAGE, 0, c.applyIndex);
        pictures(switched);

        const char* const steps[] = {"as it comes up", "after a click on the other tab", "after a click back"};
        for (size_t i = 0; i < started.size(); ++i) {
            EXPECT_FALSE(started[i].empty()) << steps[i] << ": the started window kept changing";
            EXPECT_EQ(testsupport::PixelDifference(started[i], switched[i], width), "") << steps[i];
        }
    }
}

// Esc while the overlay of an Apply on the power-state page runs leaves the
// window open on that page; the next Apply stores the next switch change.
TEST_F(MainWindowEndToEnd, EscDuringThePowerStateOverlayKeepsThePageForTheNextApply)
{
    const std::wstring basic = Profile(L"Basic.ini");
    for (const wchar_t* key : {L"BOOTUP", L"AWAKE", L"SLEEPING", L"SHUTDOWN"})
        WritePrivateProfileStringW(L"Setting", key, L"1", basic.c_str());
    WritePrivateProfileStringW(L"Config", L"ApplyMode", L"1", basic.c_str());
    WritePrivateProfileStringW(L"Config", L"ApplyEff", L"2", basic.c_str());
    ASSERT_NE(Start(), nullptr);
    const HWND keyboard = ChildAt(kKeyboardMiddle);
    Click(kSyncTab);
    // The keyboard picture is hidden before the page is shown: in between
    // the place shows the window itself.
    HWND page = nullptr;
    ASSERT_TRUE(PollUntil([&] {
        page = ChildAt(kKeyboardMiddle);
        return page != keyboard && page != m_window;
    })) << "the power-state page is shown";

    Click(kBootSwitch);
    Click(kApplyButton);
    ASSERT_TRUE(WaitForKeyboard(page, false)) << "the overlay covers the page";
    EXPECT_EQ(IniValue(basic, L"Setting", L"BOOTUP"), L"0");
    const size_t wordsBeforeEsc = m_library.CallsOf("VoWMI_NB_DeviceControl").size();
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitForMoreCalls("VoWMI_NB_DeviceControl", wordsBeforeEsc)) << "Esc restores the power states";
    ASSERT_FALSE(Ends(0)) << "the window stays open while the overlay runs";
    ASSERT_NE(ChildAt(kKeyboardMiddle), page) << "Esc came while the overlay ran";
    // The page stands where the keyboard picture stood.
    ASSERT_TRUE(WaitForKeyboard(page, true)) << "the overlay closes over the power-state page";

    m_library.ClearCalls();
    Click(kAwakeSwitch);
    Click(kApplyButton);
    ASSERT_TRUE(WaitForKeyboard(page, false)) << "the overlay comes once the switches are stored";
    EXPECT_EQ(IniValue(basic, L"Setting", L"BOOTUP"), L"0");
    EXPECT_EQ(IniValue(basic, L"Setting", L"AWAKE"), L"0");
    EXPECT_EQ(IniValue(basic, L"Setting", L"SLEEPING"), L"1");
    EXPECT_EQ(IniValue(basic, L"Config", L"Apply"), L"0");
    EXPECT_EQ(IniValue(basic, L"Config", L"ApplyMode"), L"1");
    EXPECT_EQ(IniValue(basic, L"Config", L"ApplyEff"), L"2");
    const std::vector<std::string> powerStates = m_library.CallsOf("VoWMI_NB_DeviceControl");
    ASSERT_FALSE(powerStates.empty());
    // Sleeping and shutting down still lit: bits 0x10 to 0x80.
    EXPECT_EQ(powerStates.back(), "VoWMI_NB_DeviceControl 0x00100057 0x00F001BD");

    PostMessageW(m_window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Ends(kPatienceMs));
}
