// Swatch click to picker popup visible: a real click on a colour swatch of a
// 1400 x 788 window (at 100 %, or 2800 x 1576 at 200 % with the "4K" images)
// whose handler shows the popup, timed until the popup and its panel are
// shown and painted. "--hold MS" keeps the popup up for a look (screenshot).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <memory>
#include <vector>

#include "bench/BenchClock.h"
#include "bench/ui/BenchWindow.h"
#include "ui/colorpicker/LumoColorPickerDlg.h"
#include "ui/framework/controls/LumoColorButton.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"

namespace {

void Click(int x, int y, bool down)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = (x * 65535 + GetSystemMetrics(SM_CXSCREEN) / 2) / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = (y * 65535 + GetSystemMetrics(SM_CYSCREEN) / 2) / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInput(1, &input, sizeof(input));
}

// Dispatches until the popup's panel is shown and nothing waits to be painted.
bool PumpUntilShown(HWND panel, DWORD limitMs)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        if (IsWindowVisible(panel) && !(GetQueueStatus(QS_PAINT | QS_POSTMESSAGE) & 0xFFFF0000u)) return true;
        if (GetTickCount() - start > limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
    }
}

// The main window's stand-in: coloured stripes, so the blur shows.
LRESULT CALLBACK StripesProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(window, &ps);
        RECT client;
        GetClientRect(window, &client);
        const int band = std::max(1, static_cast<int>(client.right / 35));
        for (int x = 0, i = 0; x < client.right; x += band, ++i) {
            RECT stripe = {x, 0, x + band, client.bottom};
            HBRUSH brush = CreateSolidBrush(i % 2 ? RGB(0x30, 0x36, 0x40) : RGB(40 + i * 6, 90, 200 - i * 4));
            FillRect(dc, &stripe, brush);
            DeleteObject(brush);
        }
        EndPaint(window, &ps);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeStripedHost(int width, int height)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = StripesProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"PickerPopupBenchHost";
    RegisterClassW(&wc);
    return CreateWindowExW(0, wc.lpszClassName, L"bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, width, height,
                           nullptr, nullptr, wc.hInstance, nullptr);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    bench::GdiplusRun gdiplus;
    if (!gdiplus.Ok()) return 1;
    bool fourK = false;
    DWORD holdMs = 0;
    for (int i = 1; i < argc; ++i) {
        if (!wcscmp(argv[i], L"--4k")) fourK = true;
        if (!wcscmp(argv[i], L"--hold") && i + 1 < argc) holdMs = static_cast<DWORD>(_wtoi(argv[++i]));
    }
    g_nResolutionClass = fourK ? 3 : 0;
    InitScaleFactorsFor(g_nResolutionClass, 1.0f);
    g_fImageScale = g_fImageScaleBase;
    g_fFontScale = g_fFontScaleBase;
    wcscpy(g_szSkinResType, fourK ? kSkinSet4K : kSkinSet1080);
    InitLangFilePath();
    int language = 0;
    SelectLanguage(language);
    g_nLangIndexUI = language;

    const int width = ScaleByDpi(1400), height = ScaleByDpi(788);
    HWND host = MakeStripedHost(width, height);
    LumoColorButton swatch(L"COLOR_NORMAL", L"COLOR_HOVER", L"COLOR_HOVER", Gdiplus::Color(0xFF2080FF));
    swatch.Create(host, ScaleByDpi(900), ScaleByDpi(300), ScaleByDpi(40), ScaleByDpi(40));
    LumoColorPickerDlg popup;
    popup.Create(host, 0, 0, width, height);
    popup.IsVisible = 0;
    swatch.Click.Subscribe([&](void*, ButtonClickEventArgs&) {
        popup.Color = swatch.Color.Get();
        popup.IsVisible = 1;
    });
    bench::Pump(300);

    POINT centre = {ScaleByDpi(920), ScaleByDpi(320)};
    ClientToScreen(host, &centre);
    const HWND panel = popup.Picker().Handle.Get();
    std::vector<double> times;
    const int rounds = holdMs ? 1 : 15;
    for (int i = 0; i < rounds; ++i) {
        Click(centre.x, centre.y, true);
        bench::Pump(30);
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        Click(centre.x, centre.y, false);
        if (!PumpUntilShown(panel, 2000)) {
            std::printf("popup %s: not shown\n", fourK ? "200 %" : "100 %");
            return 1;
        }
        QueryPerformanceCounter(&t1);
        times.push_back(bench::Milliseconds(t0, t1));
        if (holdMs) {
            bench::Pump(holdMs);
            break;
        }
        popup.IsVisible = 0;
        bench::Pump(100);
    }
    const double first = times.front();
    std::sort(times.begin(), times.end());
    std::printf("swatch click to popup shown %s (%dx%d): first %.1f ms, best %.1f ms, median %.1f ms (target 60 ms)\n",
                fourK ? "200 %, \"4K\"" : "100 %", width, height, first, times.front(), times[times.size() / 2]);
    DestroyWindow(host);
    return 0;
}
