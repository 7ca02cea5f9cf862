// One frame of the Apply progress overlay at 100 % scale: the spinner
// timer's tick that restores the spinner square, blends the new spinner
// frame, the progress image and the percentage, and copies the square to the
// window. The percentage is driven as the main dialog drives it (0 to 100 in
// 20 ms steps, then held), and every spinner tick is timed: those that drew a
// frame, and apart those that decoded a new progress image.
// Then the window fade: a window faded in as the main dialog fades in, and
// the timer messages it still gets in the 5 s after the fade-in (none).
// "--show <ms>" instead keeps the overlay up at 50 % over the main window's
// background for that long.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "bench/ui/BenchWindow.h"
#include "platform/ui/UiHandles.h"
#include "platform/ui/Wnd.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/overlay/FadeDialogEffect.h"
#include "ui/windows/overlay/ProgressWnd.h"
#include "ui/windows/shared/UniqueMemoryDc.h"

namespace {

constexpr int kWidth = 1400;
constexpr int kHeight = 788;
constexpr UINT_PTR kApplyTimer = 2;
constexpr UINT kApplyStepMs = 20;

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1e3 / frequency.QuadPart;
}

// The main window's background, as the overlay's snapshot will see it.
void PaintMainBackground(HWND host)
{
    UniqueMemoryDc background;
    int width = 0, height = 0;
    if (!LoadSkinImageToDC(GetModuleHandleW(nullptr), L"MAIN_BG", background.Put(), &width, &height)) return;
    platform::WindowDc dc(host);
    BitBlt(dc.Get(), 0, 0, width, height, background.Get(), 0, 0, SRCCOPY);
    GdiFlush();
}

struct Summary {
    std::vector<double> times;
    void Print(const char* what, const char* unit) const
    {
        if (times.empty()) {
            std::printf("%s: none\n", what);
            return;
        }
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        const double median = sorted[sorted.size() / 2];
        const double p95 = sorted[std::min(sorted.size() - 1, sorted.size() * 95 / 100)];
        std::printf("%s: %zu %s, median %.2f ms, 95th percentile %.2f ms, max %.2f ms (target 3 ms)\n", what,
                    sorted.size(), unit, median, p95, sorted.back());
    }
};

int Run(CWnd& host, DWORD showMs)
{
    CProgressWnd overlay;
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    if (!overlay.Create(&host, kWidth, kHeight)) {
        std::printf("overlay: Create failed\n");
        return 1;
    }
    QueryPerformanceCounter(&t1);
    if (showMs) {
        overlay.m_nPercent = 50;
        bench::Pump(showMs);
        overlay.Close();
        return 0;
    }
    std::printf("overlay %dx%d: opened in %.1f ms (snapshot, blur, 138 spinner frames)\n", kWidth, kHeight,
                Milliseconds(t0, t1));

    SetTimer(host, kApplyTimer, kApplyStepMs, nullptr);
    Summary frames, imageLoads;
    int percent = 0;
    const ULONGLONG start = GetTickCount64();
    while (GetTickCount64() - start < 6000) {
        MSG msg;
        if (!PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
            continue;
        }
        if (msg.hwnd == host && msg.message == WM_TIMER && msg.wParam == kApplyTimer) {
            if (percent <= 100) overlay.m_nPercent = percent++;
            continue;
        }
        const bool spinnerTick = msg.hwnd == overlay && msg.message == WM_TIMER && msg.wParam == CProgressWnd::IDT_SPINNER;
        const int frameBefore = overlay.LastFrame();
        const std::wstring imageBefore = overlay.LoadedProgressImage();
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        DispatchMessageW(&msg);
        QueryPerformanceCounter(&b);
        if (!spinnerTick) continue;
        if (overlay.LastFrame() != frameBefore) {
            frames.times.push_back(Milliseconds(a, b));
        } else if (imageBefore != overlay.LoadedProgressImage()) {
            imageLoads.times.push_back(Milliseconds(a, b));
        }
    }
    KillTimer(host, kApplyTimer);
    overlay.Close();
    frames.Print("overlay frame (spinner, progress image, percentage)", "frames");
    imageLoads.Print("spinner tick decoding a new progress image", "ticks");
    return 0;
}

// Routes the fade timers to the fade as the main dialog does.
class FadedWindow : public CWnd, public CFadeDialogEffect {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_TIMER) {
            ++timerMessages;
            if (wParam == IDT_FADE_IN) OnFadeInTimer();
            if (wParam == IDT_FADE_OUT) OnFadeOutTimer();
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
    int timerMessages = 0;
};

int MeasureFadeIdle()
{
    FadedWindow window;
    LPCWSTR cls = AfxRegisterWndClass(0, nullptr, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    if (!window.CreateEx(0, cls, L"fade", WS_POPUP | WS_VISIBLE, 40, 40, 640, 360, nullptr, nullptr)) {
        std::printf("window fade: window not created\n");
        return 1;
    }
    bench::Pump(50);
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    window.StartFadeIn(window);
    while (window.IsFading()) bench::Pump(5);
    QueryPerformanceCounter(&t1);
    const int fadeTicks = window.timerMessages;
    window.timerMessages = 0;
    bench::Pump(5000);
    std::printf("window fade: fade-in over %.0f ms in %d timer ticks; %d timer messages in the 5 s after it (target 0)\n",
                Milliseconds(t0, t1), fadeTicks, window.timerMessages);
    return window.timerMessages == 0 ? 0 : 1;
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
    g_nResolutionClass = 0;

    HWND window = bench::MakeHost(L"ProgressOverlayBenchHost", kWidth, kHeight, RGB(24, 26, 32));
    CWnd host;
    if (!window || !host.SubclassWindow(window)) return 1;
    bench::Pump(100);
    PaintMainBackground(window);
    bench::Pump(100);  // Wine shows window drawing on screen at its next flush
    const int overlay = Run(host, showMs);
    if (showMs) return overlay;
    return MeasureFadeIdle() | overlay;
}
