// One frame of the Apply progress overlay at 100 % scale: the spinner
// timer's tick that restores the spinner square, blends the new spinner
// frame, the progress image and the percentage, and copies the square to the
// window. The percentage is driven as the main dialog drives it (0 to 100 in
// 20 ms steps, then held), and every tick that drew is timed; ticks that had
// to load a new progress image are counted apart.
// "--show <ms>" instead keeps the overlay up at 50 % over the main window's
// background for that long.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "bench/ui/BenchWindow.h"
#include "platform/ui/UiHandles.h"
#include "platform/ui/Wnd.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/GdiHelpers.h"
#include "ui/framework/Scale.h"
#include "ui/framework/SkinImage.h"
#include "ui/windows/CProgressWnd.h"
#include "ui/windows/UniqueMemoryDc.h"

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
    void Print(const char* what) const
    {
        if (times.empty()) {
            std::printf("%s: none\n", what);
            return;
        }
        std::vector<double> sorted = times;
        std::sort(sorted.begin(), sorted.end());
        const double median = sorted[sorted.size() / 2];
        const double p95 = sorted[std::min(sorted.size() - 1, sorted.size() * 95 / 100)];
        std::printf("%s: %zu frames, median %.2f ms, 95th percentile %.2f ms, max %.2f ms (target 3 ms)\n", what,
                    sorted.size(), median, p95, sorted.back());
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
    Summary steady, newImage;
    int percent = 0;
    int drawnPercent = -1;
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
        LARGE_INTEGER a, b;
        QueryPerformanceCounter(&a);
        DispatchMessageW(&msg);
        QueryPerformanceCounter(&b);
        if (!spinnerTick || overlay.LastFrame() == frameBefore) continue;
        const int image = std::min(overlay.m_nPercent, CProgressWnd::kLastProgressImage);
        const bool loadedImage = overlay.m_nPercent >= 1 && image != drawnPercent;
        drawnPercent = overlay.m_nPercent >= 1 ? image : -1;
        (loadedImage ? newImage : steady).times.push_back(Milliseconds(a, b));
    }
    KillTimer(host, kApplyTimer);
    overlay.Close();
    steady.Print("overlay frame, progress image already loaded");
    newImage.Print("overlay frame, new progress image loaded");
    return 0;
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
    return Run(host, showMs);
}
