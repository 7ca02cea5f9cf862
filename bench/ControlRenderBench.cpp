// Time of one Render of a button-sized control: drawing into its memory DC
// with GDI+ and presenting it (layered, and through WM_PAINT).
// "--show <ms>" instead keeps a window of a few controls on screen.
#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "bench/ui/BenchWindow.h"
#include "ui/framework/core/Control.h"
#include "ui/framework/core/Panel.h"
#include "ui/framework/drawing/ControlText.h"
#include "ui/framework/drawing/SkinImage.h"

namespace {

// A button-like face: a background image and a frame.
class FaceControl : public Control {
public:
    // The two halves of Render, timed apart.
    void DrawOnly() { RenderSurface(); }
    void PresentOnly() { Present(nullptr); }

protected:
    void PaintContent(Gdiplus::Graphics& graphics) override
    {
        Gdiplus::Pen pen(Gdiplus::Color(0xBFFFFFFF), 1.0f);
        graphics.DrawRectangle(&pen, 0, 0, m_nWidth - 1, m_nHeight - 1);
    }
};

std::shared_ptr<Gdiplus::Bitmap> Gradient(int width, int height, Gdiplus::ARGB from, Gdiplus::ARGB to)
{
    auto bitmap = std::make_shared<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    Gdiplus::Graphics g(bitmap.get());
    Gdiplus::LinearGradientBrush brush(Gdiplus::Point(0, 0), Gdiplus::Point(width, 0), Gdiplus::Color(from),
                                       Gdiplus::Color(to));
    g.FillRectangle(&brush, 0, 0, width, height);
    return bitmap;
}

HWND MakeHost(int width, int height)
{
    return bench::MakeHost(L"ControlBenchHost", width, height, RGB(128, 128, 128));
}

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
        LARGE_INTEGER begin;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&begin);
        call();
        QueryPerformanceCounter(&end);
        samples.push_back(static_cast<double>(end.QuadPart - begin.QuadPart) * 1e6 / frequency.QuadPart);
    }
    double sum = 0;
    for (double s : samples) sum += s;
    std::sort(samples.begin(), samples.end());
    return {samples[samples.size() / 2], sum / samples.size()};
}

void Report(const char* name, FaceControl& control, int count)
{
    TimeCalls([&] { control.Render(); }, 200);  // warm up
    const Timing whole = TimeCalls([&] { control.Render(); }, count);
    const Timing draw = TimeCalls([&] { control.DrawOnly(); }, count);
    const Timing present = TimeCalls([&] { control.PresentOnly(); }, count);
    std::printf("  %-40s render %7.1f us (median; mean %7.1f) = draw %6.1f + present %6.1f\n", name, whole.median,
                whole.mean, draw.median, present.median);
}

// Skin images of one set as controls in a row: the 100 % set, then the 200 % one.
void AddSkinRow(Panel& panel, std::vector<std::unique_ptr<FaceControl>>& faces, const wchar_t* set, int y)
{
    wcscpy(g_szSkinResType, set);
    int x = 10;
    for (const wchar_t* name : {L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK", L"CHECKBOX_CHECKED", L"COLOR_NORMAL",
                                L"POPUP_CLOSE_HOVER", L"LOADING060"}) {
        std::shared_ptr<Gdiplus::Bitmap> image(LoadSkinImageScaled(name));
        if (!image) continue;
        auto face = std::make_unique<FaceControl>();
        const int width = static_cast<int>(image->GetWidth());
        const int height = static_cast<int>(image->GetHeight());
        panel.AddChild(face.get(), x, y, width, height);
        face->BackgroundImage = image;
        face->BackgroundDC = panel.RenderDC.Get();
        x += width + 10;
        faces.push_back(std::move(face));
    }
}

int Show(DWORD milliseconds)
{
    HWND host = MakeHost(900, 560);
    Panel panel;
    panel.Create(host, 10, 10, 880, 540);
    panel.Background = Gdiplus::Color(0xFF202830);

    FaceControl plain;
    FaceControl margin;
    FaceControl image;
    FaceControl faded;
    FaceControl layered;
    panel.AddChild(&plain, 10, 10, 120, 40);
    panel.AddChild(&margin, 140, 10, 120, 40);
    panel.AddChild(&image, 270, 10, 120, 40);
    panel.AddChild(&faded, 10, 70, 120, 40);
    panel.AddChild(&layered, 140, 70, 250, 90);
    plain.Background = Gdiplus::Color(0xFFFF252F);
    margin.Margin = Control::Thickness(6);
    margin.Background = Gdiplus::Color(0xFF2F80FF);
    image.BackgroundImage = Gradient(120, 40, 0xFF00C000, 0xFFFFFF00);
    faded.Background = Gdiplus::Color(0xFFFFFFFF);
    faded.Opacity = 0.5f;
    for (Control* child : {&plain, &margin, &image, &faded}) child->BackgroundDC = panel.RenderDC.Get();
    layered.IsLayered = 1;
    layered.BackgroundImage = Gradient(250, 90, 0xFFFF00FF, 0x4000FFFF);
    std::vector<std::unique_ptr<FaceControl>> skins;
    g_fImageScale = 1.0f;
    AddSkinRow(panel, skins, kSkinSet1080, 200);
    AddSkinRow(panel, skins, kSkinSet4K, 360);
    panel.Render();
    bench::Pump(milliseconds);
    DestroyWindow(host);
    return 0;
}

int Bench()
{
    HWND host = MakeHost(300, 120);
    const int count = 3000;

    FaceControl painted;
    painted.Create(host, 10, 10, 120, 40);
    painted.BackgroundImage = Gradient(120, 40, 0xFF303030, 0xFF909090);
    painted.Background = Gdiplus::Color(0x01000000);

    // Top-level: where layered children are not shown in place, a child stays painted.
    FaceControl layered;
    layered.Create(nullptr, 300, 10, 120, 40);
    layered.IsLayered = 1;
    layered.BackgroundImage = Gradient(120, 40, 0xFF303030, 0xFF909090);
    layered.Background = Gdiplus::Color(0x01000000);

    std::printf("control render, 120x40, image + fill + frame, %d calls each (target under 200 us)\n", count);
    Report("layered (UpdateLayeredWindowIndirect)", layered, count);
    Report("non-layered (WM_PAINT with AlphaBlend)", painted, count);
    DestroyWindow(host);
    return 0;
}

}  // namespace

int main(int argc, char** argv)
{
    bench::GdiplusRun gdiplus;
    if (!gdiplus.Ok()) return 1;
    if (argc >= 3 && std::strcmp(argv[1], "--show") == 0) return Show(static_cast<DWORD>(std::atoi(argv[2])));
    return Bench();
}
