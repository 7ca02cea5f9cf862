// Random clicks, drags and keys over the main window from a fixed seed: the
// window never crashes or hangs, every edit leaves the profile table valid,
// and no window outlives the dialog. A failure names the seed and the step.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <random>
#include <string>

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/StartUp.h"
#include "backend/profiles/EffectModel.h"
#include "backend/profiles/IniStore.h"
#include "backend/profiles/ProfileFolders.h"
#include "platform/win/UniqueHandle.h"
#include "tests/app/ScriptedDlg.h"
#include "tests/support/PointerInput.h"
#include "tests/support/Polling.h"
#include "tests/support/ProfileFiles.h"
#include "tests/support/ShippedSeeds.h"
#include "tests/support/TempDir.h"

namespace {

constexpr unsigned kSeed = 20261210;
constexpr int kSteps = 5000;
// The period of the window's fastest timer: what a step starts on a timer or
// on another thread has arrived within it.
constexpr DWORD kFramePeriodMs = 16;

using testsupport::kPatienceMs;

bool InRange(int32_t value, int32_t low, int32_t high)
{
    return value >= low && value <= high;
}

// What no edit may leave behind: an index past its list, a colour outside a
// byte, a field outside the range the effect model gives it (SpeedType 1..3,
// 3 - Tempo).
std::string InvalidField()
{
    for (int p = 0; p < kProfileCount; ++p) {
        const CustomProfile& profile = g_CustomProfiles[p];
        if (!InRange(profile.modeIndex, 0, 2)) return "modeIndex";
        for (int32_t index : {profile.allIndex, profile.syncIndex})
            if (!InRange(index, 0, kAllZoneEffectCount - 1)) return "all-zone or sync index";
        for (int32_t index : {profile.wasdIndex, profile.qwerIndex, profile.fourIndex})
            if (!InRange(index, 0, kZoneEffectCount - 1)) return "zone index";
        auto bad = [](const EffectData& r) {
            const int32_t* colors = &r.ColorR;
            for (int c = 0; c < kColorCount * 3; ++c)
                if (!InRange(colors[c], 0, 255)) return true;
            return !InRange(r.SpeedType, 1, 3) || !InRange(r.DirectType, 0, 3) || !InRange(r.MusicType, 0, 7) ||
                   !InRange(r.StrobingRandom, 0, 1);
        };
        const struct {
            const char* name;
            const EffectData* records;
            int count;
        } lists[] = {{"all-zone record", profile.allData, kAllZoneEffectCount},
                     {"WASD record", profile.wasdData, kZoneEffectCount},
                     {"QWER record", profile.qwerData, kZoneEffectCount},
                     {"four-zone record", profile.fourData, kZoneEffectCount}};
        for (const auto& list : lists)
            for (int i = 0; i < list.count; ++i)
                if (bad(list.records[i])) return "profile " + std::to_string(p) + " " + list.name;
    }
    return "";
}

using testsupport::ScriptedDlg;

std::mt19937* g_random;
int g_step;
std::string g_failure;

// Takes every message queued now and dispatches it as the dialog's own loop
// would; whether one was more than a timer tick or a paint. A quit is put back
// for the dialog's loop, and ends the taking.
bool DispatchQueued(HWND dialog, bool* quit)
{
    bool busy = false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            *quit = true;
            return busy;
        }
        busy |= msg.message != WM_TIMER && msg.message != WM_PAINT;
        if (!IsWindow(dialog) || !CWnd::WalkPreTranslateTree(dialog, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return busy;
}

// Comes due one frame period after each Start, and stays due until the next.
class StepClock {
public:
    StepClock() : m_timer(CreateWaitableTimerW(nullptr, TRUE, nullptr)) {}
    bool Start()
    {
        LARGE_INTEGER due;
        due.QuadPart = -static_cast<LONGLONG>(kFramePeriodMs) * 10000;
        return m_timer && SetWaitableTimer(m_timer.Get(), &due, 0, nullptr, nullptr, FALSE);
    }
    HANDLE Handle() const { return m_timer.Get(); }

private:
    platform::UniqueHandle m_timer;
};

// Dispatches what a step brought until it has settled: its input all taken,
// what it posted or sent handled, and a frame period gone since the step
// began, with what came meanwhile, from this thread or another, handled too.
// False when the window kept busy for the whole patience.
bool Settle(HWND dialog, const StepClock& clock)
{
    const ULONGLONG start = GetTickCount64();
    const HANDLE due = clock.Handle();
    for (;;) {
        if (GetTickCount64() - start > kPatienceMs) return false;
        bool quit = false;
        const bool busy = DispatchQueued(dialog, &quit);
        if (quit) return true;
        // Input still queued for this thread is part of the step too.
        if (busy || HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE)) != 0) continue;
        if (MsgWaitForMultipleObjectsEx(1, &due, kPatienceMs, QS_ALLINPUT, MWMO_INPUTAVAILABLE) == WAIT_OBJECT_0 &&
            HIWORD(GetQueueStatus(QS_INPUT | QS_POSTMESSAGE | QS_SENDMESSAGE)) == 0)
            return true;
    }
}

void SendKey(WORD key)
{
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_KEYBOARD;
    inputs[0].ki.wVk = inputs[1].ki.wVk = key;
    inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void RunSteps(ScriptedDlg& d)
{
    std::mt19937& random = *g_random;
    const HWND window = d.GetSafeHwnd();
    StepClock clock;
    // The fade-in ends before input counts.
    while (d.IsFading())
        if (!clock.Start() || !Settle(window, clock)) {
            g_failure = "the fade-in never ended";
            d.EndDialog(IDCANCEL);
            return;
        }
    for (; g_step < kSteps; ++g_step) {
        if (!IsWindow(window) || (d.IsFading() && d.EndMessage() == WM_DIALOG_CANCEL)) return;  // closing
        if (IsIconic(window)) ShowWindow(window, SW_RESTORE);
        SetForegroundWindow(window);
        RECT rect{};
        GetWindowRect(window, &rect);
        auto point = [&]() {
            return POINT{rect.left + static_cast<LONG>(random() % static_cast<unsigned>(rect.right - rect.left)),
                         rect.top + static_cast<LONG>(random() % static_cast<unsigned>(rect.bottom - rect.top))};
        };
        if (!clock.Start()) g_failure = "no step clock";
        const unsigned kind = random() % 100;
        if (kind < 60) {
            const POINT at = point();
            testsupport::LeftButtonAt(at, true);
            testsupport::LeftButton(false);
        } else if (kind < 80) {
            const POINT from = point(), to = point();
            testsupport::LeftButtonAt(from, true);
            testsupport::MoveCursorTo((from.x + to.x) / 2, (from.y + to.y) / 2);
            testsupport::MoveCursorTo(to.x, to.y);
            testsupport::LeftButton(false);
        } else {
            static const WORD keys[] = {VK_RETURN, VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT, '0', '1', '2', '3', '4',
                                        '5',       '6',   '7',     '8',     '9'};
            // Esc closes the window: rarer, so that most steps meet a running window.
            SendKey(random() % 50 == 0 ? VK_ESCAPE : keys[random() % (sizeof(keys) / sizeof(keys[0]))]);
        }
        if (g_failure.empty() && !Settle(window, clock)) g_failure = "the window never settled";
        const std::string invalid = InvalidField();
        if (!invalid.empty()) g_failure = "invalid " + invalid;
        if (!g_failure.empty()) break;
    }
    d.EndDialog(IDCANCEL);
}

BOOL CALLBACK CountWindow(HWND, LPARAM counter)
{
    ++*reinterpret_cast<int*>(counter);
    return TRUE;
}

int ThreadWindowCount()
{
    int count = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountWindow, reinterpret_cast<LPARAM>(&count));
    return count;
}

}  // namespace

TEST(MainWindowMonkey, RandomInputNeverBreaksTheWindowOrTheProfiles)
{
    ParseCommandLine(L"");
    ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
    SeedSettings seed;
    CopyIniFiles(SystemFolderSources(), seed, false, m_tszIniDir, MAX_PATH);
    const std::wstring folder = m_tszIniDir;
    const testsupport::ShippedProfileFiles files(folder, testsupport::SeedFolder());
    // Every field of the table starts in its range.
    for (int n = 0; n < kProfileCount; ++n) ASSERT_TRUE(LoadProfile(folder.c_str(), n, g_CustomProfiles[n]));
    ASSERT_EQ(InvalidField(), "");

    std::mt19937 random(kSeed);
    g_random = &random;
    g_step = 0;
    int windowsAfterFirst = -1;
    int lives = 0;
    while (g_step < kSteps && g_failure.empty()) {
        {
            ScriptedDlg dialog;
            dialog.script = RunSteps;
            const INT_PTR ended = dialog.DoModal();
            // The steps end a life with IDCANCEL, the window itself with IDOK
            // or IDCANCEL; anything else is the guard or a dialog that failed.
            if (ended != IDCANCEL && ended != IDOK && g_failure.empty())
                g_failure = "life " + std::to_string(lives + 1) + " ended with " + std::to_string(ended);
            if (!dialog.IsReleased() && g_failure.empty()) g_failure = "not released";
        }
        ++lives;
        // Counted once the dialog object is gone too (the colour popup is made
        // only in lives that open it). What the first life leaves is the
        // process's own (the desktop's helpers); later lives add nothing.
        if (windowsAfterFirst < 0) windowsAfterFirst = ThreadWindowCount();
        EXPECT_EQ(ThreadWindowCount(), windowsAfterFirst)
            << "windows left after life " << lives << ", seed " << kSeed << ", step " << g_step;
    }
    EXPECT_EQ(g_failure, "") << "seed " << kSeed << ", step " << g_step;
    EXPECT_EQ(g_step, kSteps);
    std::printf("%d steps over %d window lives\n", g_step, lives);
}
