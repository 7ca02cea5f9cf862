// Time of one render of the colour picker at 100 % and 200 % (with the hue
// unchanged, and with a new hue whose gradient is computed again), and of one
// drag step: the mouse move that moves the marker and the colour it gives,
// without painting. "--show <ms> [scale]" keeps a picker on screen instead.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <vector>

#include "bench/ui/BenchWindow.h"
#include "ui/colorpicker/HSVColorPicker.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/scale/Scale.h"

namespace {

constexpr int kSideAt100 = 413;

class BenchPicker : public HSVColorPicker {
public:
    void DrawOnly() { RenderComposed(); }
    void PresentOnly() { Present(nullptr); }
    void DragStep(int x, int y) { OnMouseMove(MK_LBUTTON, POINTS{static_cast<SHORT>(x), static_cast<SHORT>(y)}); }
};

struct Timing {
    double median;
    double mean;
};

template <typename Fn>
Timing TimeCalls(Fn&& call, int count)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    std::vector<double> samples;
    samples.reserve(count);
    for (int i = 0; i < count; ++i) {
        LARGE_INTEGER begin, end;
        QueryPerformanceCounter(&begin);
        call(i);
        QueryPerformanceCounter(&end);
        samples.push_back(static_cast<double>(end.QuadPart - begin.QuadPart) * 1e6 / frequency.QuadPart);
    }
    double sum = 0;
    for (double s : samples) sum += s;
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], sum / samples.size()};
}

void UseScale(float scale)
{
    wcscpy(g_szSkinResType, scale > 1.5f ? kSkinSet4K : kSkinSet1080);
    g_fUIScale = scale;
    g_fImageScale = scale > 1.5f ? scale / 2.0f : scale;
}

// The host's background as its owner would hand it to the picker: opaque
// pixels the picker blends under its own, so that nothing old shows through.
void FillBackground(CMemoryDC& background, int width, int height)
{
    background.Resize(width, height);
    auto* bits = static_cast<uint32_t*>(background.Bits());
    if (bits) std::fill(bits, bits + static_cast<size_t>(width) * height, 0xFF181A1Eu);
}

void Line(const char* what, const Timing& t, const char* unit, double divisor)
{
    std::printf("  %-46s %8.1f %s (median; mean %8.1f)\n", what, t.median / divisor, unit, t.mean / divisor);
}

void BenchAt(float scale, const char* target)
{
    UseScale(scale);
    const int side = static_cast<int>(kSideAt100 * scale + 0.5f);
    HWND host = bench::MakeHost(L"PickerBenchHost", side + 20, side + 20, RGB(24, 26, 30));
    CMemoryDC background;
    FillBackground(background, side + 20, side + 20);
    BenchPicker picker;
    picker.Create(host, 10, 10, side, side);
    picker.BackgroundDC = background.GetSafeHdc();
    picker.HSV = HSVColor(200, 0.6f, 0.8f);
    bench::Pump(50);

    const int count = 300;
    std::printf("colour picker %dx%d at %.0f %% (%s), %d calls each\n", side, side, scale * 100, target, count);
    TimeCalls([&](int) { picker.Render(); }, 30);  // warm up
    Line("render, same hue (draw + present)", TimeCalls([&](int) { picker.Render(); }, count), "ms", 1000.0);
    Line("draw only, same hue", TimeCalls([&](int) { picker.DrawOnly(); }, count), "ms", 1000.0);
    Line("present only", TimeCalls([&](int) { picker.PresentOnly(); }, count), "ms", 1000.0);
    Line("render, new hue (gradient again)",
         TimeCalls([&](int i) { picker.SetHue(static_cast<float>(i % 360)); }, count), "ms", 1000.0);

    // Drags: press, then moves across the triangle and around the ring.
    const Gdiplus::PointF c = picker.Geometry().centre;
    const float r = picker.Geometry().TriangleRadius();
    volatile uint32_t sink = 0;
    picker.HSV = HSVColor(0, 0.5f, 0.5f);
    SendMessageW(picker.Handle, WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(static_cast<int>(c.X), static_cast<int>(c.Y)));
    const Timing triangle = TimeCalls(
        [&](int i) {
            // A zigzag that also leaves the triangle now and then (clamped).
            const int x = static_cast<int>(c.X - r * 0.6f + static_cast<float>(i % 97) * r * 1.8f / 97.0f);
            const int y = static_cast<int>(c.Y - r * 0.9f + static_cast<float>(i % 89) * r * 1.8f / 89.0f);
            picker.DragStep(x, y);
            sink = picker.Color.Get().GetValue();
        },
        3000);
    SendMessageW(picker.Handle, WM_LBUTTONUP, 0, 0);
    Line("drag step in the triangle (move + colour)", triangle, "us", 1.0);

    picker.IsAnimationEnabled = 0;
    const float ringRadius = picker.Geometry().radius - picker.Geometry().ringWidth / 2;
    SendMessageW(picker.Handle, WM_LBUTTONDOWN, MK_LBUTTON,
                 MAKELPARAM(static_cast<int>(c.X + ringRadius), static_cast<int>(c.Y)));
    const Timing ring = TimeCalls(
        [&](int i) {
            const float angle = static_cast<float>(i % 360) * 3.14159265f / 180.0f;
            picker.DragStep(static_cast<int>(c.X + ringRadius * std::cos(angle)),
                            static_cast<int>(c.Y + ringRadius * std::sin(angle)));
            sink = picker.Color.Get().GetValue();
        },
        3000);
    SendMessageW(picker.Handle, WM_LBUTTONUP, 0, 0);
    Line("drag step on the ring (move + colour)", ring, "us", 1.0);
    (void)sink;
    bench::Pump(20);
    DestroyWindow(host);
}

int Show(DWORD milliseconds, float scale)
{
    UseScale(scale);
    const int side = static_cast<int>(kSideAt100 * scale + 0.5f);
    HWND host = bench::MakeHost(L"PickerShowHost", side + 40, side + 40, RGB(24, 26, 30));
    CMemoryDC background;
    FillBackground(background, side + 40, side + 40);
    BenchPicker picker;
    picker.Create(host, 20, 20, side, side);
    picker.BackgroundDC = background.GetSafeHdc();
    picker.HSV = HSVColor(200, 0.6f, 0.8f);
    bench::Pump(milliseconds);
    DestroyWindow(host);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bench::GdiplusRun gdiplus;
    if (!gdiplus.Ok()) return 1;
    if (argc >= 3 && std::strcmp(argv[1], "--show") == 0)
        return Show(static_cast<DWORD>(std::atoi(argv[2])), argc >= 4 ? static_cast<float>(std::atof(argv[3])) : 1.0f);
    BenchAt(1.0f, "render target 2 ms, drag step 20 us");
    BenchAt(2.0f, "render target 6 ms");
    return 0;
}
