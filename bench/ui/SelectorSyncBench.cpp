// The backlight-level selector and the sync page at 100 % scale over the main
// window's background: one level change of the selector (track, percentage,
// pin and the copy to the window), the page's creation (rows, switches,
// frame and composition), and the timer messages the selector still gets in
// the 5 s after its pin fade has ended (target 0).
// "--show <ms>" instead keeps both up for that long, for a look.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "backend/profiles/ProfileFolders.h"
#include "bench/ui/BenchWindow.h"
#include "platform/ui/UiHandles.h"
#include "platform/ui/Wnd.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/selector/SelectorWnd.h"
#include "ui/windows/shared/UniqueMemoryDc.h"
#include "ui/windows/sync/SyncWnd.h"

namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 788;
constexpr int kSelectorX = 1180, kSelectorY = 40, kSelectorW = 177, kSelectorH = 56;
constexpr int kTrackX = 14, kTrackY = 33;
constexpr int kPageX = 72, kPageY = 200, kPageW = 1255, kPageH = 516;
constexpr int kLevelChanges = 200;
constexpr DWORD kIdleMs = 5000;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1e3 / frequency.QuadPart;
}

void PrintTimes(const char* what, std::vector<double> times, double target)
{
    std::sort(times.begin(), times.end());
    std::printf("%s: %zu runs, median %.2f ms, 95th percentile %.2f ms, max %.2f ms (target %.0f ms)\n", what,
                times.size(), times[times.size() / 2], times[std::min(times.size() - 1, times.size() * 95 / 100)],
                times.back(), target);
}

// Handles messages for a while and counts the timer messages of one window.
int CountTimers(HWND window, DWORD milliseconds)
{
    int count = 0;
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < milliseconds) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_TIMER && msg.hwnd == window) ++count;
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return count;
}

// The profile folder with [Setting] boot, awake and shut-down on.
std::wstring MakeProfileFolder()
{
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder = std::wstring(temp) + L"LumoSelectorSyncBench";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring basic = folder + L"\\Basic.ini";
    for (auto [key, value] : {std::pair{L"BOOTUP", L"1"}, {L"AWAKE", L"1"}, {L"SLEEPING", L"0"}, {L"SHUTDOWN", L"1"}})
        WritePrivateProfileStringW(L"Setting", key, value, basic.c_str());
    return folder;
}

}  // namespace

int main(int argc, char** argv)
{
    DWORD showMs = 0;
    if (argc >= 3 && std::strcmp(argv[1], "--show") == 0) showMs = static_cast<DWORD>(std::atoi(argv[2]));
    bench::GdiplusRun gdiplus;
    platform::ComApartment com(COINIT_APARTMENTTHREADED);
    if (!gdiplus.Ok() || !com.Succeeded()) return 1;
    wcscpy_s(g_szSkinResType, kSkinSet1080);
    g_fImageScale = 1.0f;
    g_fUIScale = 1.0f;
    g_fFontScale = 1.0f;
    InitLangFilePath();
    int language = 0;
    SelectLanguage(language);
    g_nLangIndexUI = language;
    const std::wstring folder = MakeProfileFolder();
    wcsncpy(m_tszIniDir, folder.c_str(), MAX_PATH - 1);

    HWND window = bench::MakeHost(L"SelectorSyncBenchHost", kWidth, kHeight, RGB(24, 26, 32));
    CWnd host;
    if (!window || !host.SubclassWindow(window)) return 1;
    UniqueMemoryDc background;
    int bgWidth = 0, bgHeight = 0;
    LoadSkinImageToDC(GetModuleHandleW(nullptr), L"MAIN_BG", background.Put(), &bgWidth, &bgHeight);
    {
        platform::WindowDc dc(window);
        BitBlt(dc.Get(), 0, 0, bgWidth, bgHeight, background.Get(), 0, 0, SRCCOPY);
    }
    bench::Pump(100);

    LARGE_INTEGER t0, t1;
    CSyncWnd page;
    QueryPerformanceCounter(&t0);
    const BOOL pageCreated = page.Create(&host, background.Get(), kPageX, kPageY, kPageW, kPageH);
    QueryPerformanceCounter(&t1);
    CSelectorWnd selector;
    if (!pageCreated || !selector.Create(&host, background.Get(), kSelectorX, kSelectorY, kSelectorW, kSelectorH,
                                         kTrackX, kTrackY)) {
        std::printf("selector/page: Create failed\n");
        return 1;
    }
    std::printf("sync page: created and composed in %.2f ms\n", Milliseconds(t0, t1));
    page.MakeLayered();
    bench::Pump(100);

    if (showMs) {
        selector.SetLevel(true, 2);
        bench::Pump(showMs);
        return 0;
    }

    std::vector<double> times;
    for (int i = 0; i < kLevelChanges; ++i) {
        QueryPerformanceCounter(&t0);
        selector.SetLevel(false, CSelectorWnd::StepUpWrapping);
        QueryPerformanceCounter(&t1);
        times.push_back(Milliseconds(t0, t1));
    }
    PrintTimes("selector level change", times, 3);

    // Hover the pin: its face fades in on the timer, which then stops.
    const Gdiplus::RectF pin = selector.Geometry().Area(SelectorGeometry::PinArea(selector.DisplayedLevel()));
    PostMessageW(selector.GetSafeHwnd(), WM_MOUSEMOVE, 0,
                 MAKELPARAM(static_cast<int>(pin.X + pin.Width / 2), static_cast<int>(pin.Y + pin.Height / 2)));
    const int fadeTicks = CountTimers(selector.GetSafeHwnd(), 600);
    const int idleTicks = CountTimers(selector.GetSafeHwnd(), kIdleMs);
    std::printf("selector pin fade: %d timer ticks; %d timer messages in the %lu s after it (target 0)\n", fadeTicks,
                idleTicks, static_cast<unsigned long>(kIdleMs / 1000));
    return idleTicks == 0 ? 0 : 1;
}
