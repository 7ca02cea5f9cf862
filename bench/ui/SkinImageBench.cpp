// The main window's start-up loads, in its order, through LoadSkinImage;
// then the largest skin image, MAIN_BG, from resource to a memory DC at each
// set's scales (decode, scale, GDI bitmap), as the main window does it.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/BenchClock.h"
#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/drawing/SkinImage.h"

namespace {

struct Phases {
    double decode = 0, toDc = 0, best = 1e30;
};

bool LoadOnce(Phases& phases)
{
    LARGE_INTEGER t0, t1, t2;
    QueryPerformanceCounter(&t0);
    Gdiplus::Bitmap* bitmap = nullptr;
    if (!LoadSkinImage(&bitmap, GetModuleHandleW(nullptr), L"MAIN_BG")) return false;
    QueryPerformanceCounter(&t1);
    HDC dc = nullptr;
    int width = 0, height = 0;
    int made = SkinBitmapToMemoryDC(bitmap, &width, &height, &dc, g_fImageScale);
    QueryPerformanceCounter(&t2);
    delete bitmap;
    if (!made) return false;
    DeleteMemoryDC(dc);
    phases.decode += bench::Microseconds(t0, t1);
    phases.toDc += bench::Microseconds(t1, t2);
    if (bench::Microseconds(t0, t2) < phases.best) phases.best = bench::Microseconds(t0, t2);
    return true;
}

// What building the main window asks for at 1920 x 1080, in order; the
// names missing from that set (APPLY_ICON, LINE) fail as they do there.
const wchar_t* const kStartUpLoads[] = {
    L"MAIN_BG", L"TAB_LINE", L"APPLY_ICON", L"KB_FRAME_RS200", L"KB_RESULT_FR_RT310", L"SYNC_FRAME_ONLY",
    L"SYNC_FRAME_BG", L"SYNC_OFF_DEFAULT", L"SYNC_OFF_HOVER", L"SYNC_OFF_PRESS", L"SYNC_ON_DEFAULT",
    L"SYNC_ON_HOVER", L"SYNC_ON_PRESS", L"SYNC_OFF_DISABLE", L"SYNC_ON_DISABLE", L"APPLY_ICON", L"TAB_BAR",
    L"SLIDER_0", L"SLIDER_100", L"SLIDER_PIN_NORMAL", L"SLIDER_PIN_CLICK", L"SLIDER_PIN_GLOW",
    L"WINDOW_MIN_NORMAL", L"WINDOW_MIN_HOVER", L"WINDOW_MIN_CLICK", L"WINDOW_CLOSE_NORMAL",
    L"WINDOW_CLOSE_HOVER", L"WINDOW_CLOSE_CLICK", L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK", L"BTN_DISABLE",
    L"BTN_FRAME_NORMAL", L"BTN_FRAME_DISABLE", L"EFFECT_INFO_BG", L"LINE", L"APPLY_ICON",
    // The effect panel's radio buttons (16 x 3, the swatches' COLOR_NORMAL among them).
    L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT", L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER",
    L"RADIO_BTN_SELECT", L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT", L"RADIO_BTN_NORMAL",
    L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT", L"COLOR_NORMAL", L"COLOR_NORMAL", L"RADIO_BTN_NORMAL",
    L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT", L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT",
    L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT", L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER",
    L"RADIO_BTN_SELECT", L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT", L"RADIO_BTN_NORMAL",
    L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT", L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT",
    L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT", L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER",
    L"RADIO_BTN_SELECT", L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT", L"RADIO_BTN_NORMAL",
    L"RADIO_BTN_HOVER", L"RADIO_BTN_SELECT", L"TXT_BOX_NORMAL", L"RADIO_BTN_NORMAL", L"RADIO_BTN_HOVER",
    L"RADIO_BTN_SELECT",
    // The colour picker popup and its buttons.
    L"COLOR_PICKER_BG", L"COLOR_RING", L"COLOR_PICKER_TRIANGLE", L"COLOR_TRIANGLE", L"COLOR_PICKER",
    L"POPUP_CLOSE_NORMAL", L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK", L"BTN_DISABLE", L"BTN_FRAME_NORMAL",
    L"BTN_FRAME_DISABLE", L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK", L"BTN_DISABLE", L"BTN_FRAME_NORMAL",
    L"BTN_FRAME_DISABLE",
    // The twenty colour swatches.
    L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL",
    L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL",
    L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL",
    L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL",
    L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL",
    L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL",
    L"COLOR_PICKER_COLOR_NORMAL", L"COLOR_PICKER_COLOR_NORMAL"};

// One pass over the start-up's loads: total time, and per name its calls
// and time, so the repeated loads show beside the single big ones.
double StartUpPass(std::map<std::wstring, std::pair<int, double>>* perName)
{
    double total = 0;
    for (const wchar_t* name : kStartUpLoads) {
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        Gdiplus::Bitmap* bitmap = nullptr;
        LoadSkinImage(&bitmap, GetModuleHandleW(nullptr), name);
        delete bitmap;
        QueryPerformanceCounter(&t1);
        total += bench::Microseconds(t0, t1);
        if (perName) {
            auto& entry = (*perName)[name];
            ++entry.first;
            entry.second += bench::Microseconds(t0, t1);
        }
    }
    return total;
}

void ReportStartUpLoads()
{
    wcscpy_s(g_szSkinResType, kSkinSet1080);
    g_fImageScale = 1.0f;
    // The main window has drawn with GDI+ before its first skin load; Wine's
    // first GDI+ bitmap of a process costs a quarter of a second by itself.
    delete new Gdiplus::Bitmap(1, 1, PixelFormat32bppARGB);

    std::map<std::wstring, std::pair<int, double>> perName;
    const double first = StartUpPass(&perName);
    std::vector<double> again;
    for (int i = 0; i < 5; ++i) again.push_back(StartUpPass(nullptr));
    std::sort(again.begin(), again.end());
    std::printf("start-up's %u skin loads (1920_1080): first pass %.1f ms, again %.1f ms (median of 5)\n",
                static_cast<unsigned>(sizeof kStartUpLoads / sizeof kStartUpLoads[0]), first / 1000,
                again[again.size() / 2] / 1000);
    std::vector<std::pair<double, std::wstring>> costly;
    for (const auto& entry : perName) costly.push_back({entry.second.second, entry.first});
    std::sort(costly.rbegin(), costly.rend());
    for (size_t i = 0; i < costly.size() && i < 12; ++i) {
        const auto& calls = perName[costly[i].second];
        std::printf("  %-26ls %2d calls, %7.0f us in the first pass\n", costly[i].second.c_str(), calls.first,
                    calls.second);
    }
}

}  // namespace

int main()
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 1;
    ReportStartUpLoads();
    struct Case {
        const wchar_t* set;
        float scale;
    } cases[] = {{kSkinSet1080, 1.0f}, {kSkinSet1080, 1.25f}, {kSkinSet4K, 0.75f}, {kSkinSet4K, 1.0f}};
    const int rounds = 10;
    int failed = 0;
    for (const Case& c : cases) {
        wcscpy_s(g_szSkinResType, c.set);
        g_fImageScale = c.scale;
        Phases warm;
        LoadOnce(warm);
        Phases phases;
        bool ok = true;
        for (int i = 0; i < rounds && ok; ++i) ok = LoadOnce(phases);
        if (!ok) {
            std::printf("MAIN_BG %ls at %.2f: failed\n", c.set, c.scale);
            ++failed;
            continue;
        }
        std::printf("MAIN_BG %ls at %.2f: %.0f us per load, best %.0f us (decode %.0f us, scale and GDI bitmap %.0f us)\n",
                    c.set, c.scale, (phases.decode + phases.toDc) / rounds, phases.best, phases.decode / rounds,
                    phases.toDc / rounds);
    }
    Gdiplus::GdiplusShutdown(token);
    return failed ? 1 : 0;
}
