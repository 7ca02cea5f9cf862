// Cost of one text face of an image button as SetTextStyle makes it: the
// caption with its red halo over an opaque picture, beside the caption alone;
// and of each step that makes the Apply button; at 100 % and 200 %.
#include <windows.h>

#include <cstdio>
#include <cstdint>

#include <cwchar>

#include "bench/BenchClock.h"
#include "bench/ui/BenchWindow.h"
#include "platform/ui/Wnd.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/buttons/LightButton.h"

namespace {

double FacePerCall(int rounds, int styleId, BOOL halo)
{
    const int width = ScaleByDpi(150), height = ScaleByDpi(38);
    CMemoryDC face;
    face.Resize(width, height);
    const Gdiplus::RectF rect(0, 0, static_cast<float>(width), static_cast<float>(height));
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    for (int i = 0; i < rounds; ++i) {
        auto* pixel = static_cast<uint32_t*>(face.Bits());
        for (int p = 0; pixel && p < width * height; ++p) pixel[p] = 0xFF2A1E33u;
        Gdiplus::Graphics graphics(face.GetSafeHdc());
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
        graphics.SetTextContrast(0);
        CLightButton::DrawFace(&graphics, rect, L"Apply", 4, styleId, halo, nullptr);
    }
    QueryPerformanceCounter(&t1);
    return bench::Microseconds(t0, t1) / rounds;
}

template <typename Step>
double Once(Step step)
{
    LARGE_INTEGER t0, t1;
    QueryPerformanceCounter(&t0);
    step();
    QueryPerformanceCounter(&t1);
    return bench::Microseconds(t0, t1);
}

class Host : public CWnd {};

// The main window's order: images, frames, text faces, a last refresh.
void ApplyButtonSteps(float scale)
{
    ::wcscpy(g_szSkinResType, scale >= 2.0f ? kSkinSet4K : kSkinSet1080);
    g_fImageScale = 1.0f;
    const int width = ScaleByDpi(150), height = ScaleByDpi(38);
    CMemoryDC background;
    background.Resize(ScaleByDpi(300), ScaleByDpi(100));
    Host host;
    host.CreateEx(0, AfxRegisterWndClass(0), L"bench", WS_POPUP | WS_VISIBLE, 20, 20, ScaleByDpi(300),
                  ScaleByDpi(100), nullptr, nullptr);
    const wchar_t* const images[CLightButton::kStateCount] = {L"BTN_NORMAL", L"BTN_HOVER", L"BTN_CLICK", nullptr,
                                                              nullptr,       nullptr,      L"BTN_DISABLE", nullptr};
    CLightButton button;
    const double create = Once([&] { button.CreateFromImages(&host, background, images, 10, 10, width, height); });
    const double frames = Once([&] { button.LoadFrameImages(); });
    const double text = Once([&] { button.SetTextStyle(L"Apply", 0, 0, width, height); });
    const double refresh = Once([&] { button.Refresh(FALSE, 0); });
    std::printf("%3.0f %%: Apply button: CreateFromImages %.0f us, LoadFrameImages %.0f us, SetTextStyle %.0f us, "
                "Refresh %.0f us\n",
                scale * 100, create, frames, text, refresh);
}

}  // namespace

int main()
{
    bench::GdiplusRun gdiplus;
    if (!gdiplus.Ok()) return 1;
    for (float scale : {1.0f, 2.0f}) {
        g_fUIScale = scale;
        g_fFontScale = scale;
        FacePerCall(2, 210, TRUE);  // fonts and caches warm
        const double normal = FacePerCall(40, 210, TRUE);
        const double hover = FacePerCall(40, 215, TRUE);
        const double plain = FacePerCall(40, 210, FALSE);
        std::printf("%3.0f %%: halo face style 210 %.0f us, style 215 %.0f us; caption alone %.0f us\n", scale * 100,
                    normal, hover, plain);
        ApplyButtonSteps(scale);
    }
    return 0;
}
