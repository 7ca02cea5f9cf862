// Cost of one styled caption draw (font, brush and format made and dropped
// each time, as every caller does) into a 32-bpp DIB, of one measure, and,
// for comparison, of GDI+'s DrawString alone with everything made once.
#include <windows.h>

#include <cstdio>
#include <memory>

#include "platform/win/Dib.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/drawing/TextDraw.h"

namespace {

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return (to.QuadPart - from.QuadPart) * 1e6 / frequency.QuadPart;
}

}  // namespace

int main()
{
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok) return 1;
    int failed = 0;
    {
        BITMAPINFO info = platform::Dib32Info(300, -60);
        void* bits = nullptr;
        platform::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        platform::UniqueHdc dc(CreateCompatibleDC(nullptr));
        platform::SelectGuard selected(dc.Get(), bitmap.Get());
        Gdiplus::Graphics graphics(dc.Get());
        graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);

        struct Case {
            const char* name;
            int style;
            bool measureOnly;
        } cases[] = {{"style 42 draw", 42, false}, {"style 31 draw (fallback font)", 31, false},
                     {"style 230 measure only", 230, true}};
        const Gdiplus::RectF box(10, 10, 280, 40);
        const int rounds = 500;
        for (const Case& c : cases) {
            Gdiplus::RectF bounds;
            bool ok = DrawTextGdiplus(&graphics, box, L"Basic effects", 4, c.style, &bounds, c.measureOnly);
            LARGE_INTEGER t0, t1;
            QueryPerformanceCounter(&t0);
            for (int i = 0; i < rounds && ok; ++i) {
                ok = DrawTextGdiplus(&graphics, box, L"Basic effects", 4, c.style, c.measureOnly ? &bounds : nullptr,
                                     c.measureOnly);
            }
            QueryPerformanceCounter(&t1);
            if (!ok || bounds.Width <= 0) {
                std::printf("%s: failed (no font?)\n", c.name);
                ++failed;
                continue;
            }
            std::printf("%s: %.1f us per call\n", c.name, Microseconds(t0, t1) / rounds);
        }

        Gdiplus::Font font(L"Segoe UI", 17, Gdiplus::FontStyleBold, Gdiplus::UnitPixel);
        Gdiplus::SolidBrush brush(Gdiplus::Color(0xFFFFFFFF));
        Gdiplus::StringFormat format(0, LANG_NEUTRAL);
        SetupTextFormat(format, 4, 1);
        bool ok = font.GetLastStatus() == Gdiplus::Ok;
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        for (int i = 0; i < rounds && ok; ++i) {
            ok = graphics.DrawString(L"Basic effects", -1, &font, box, &format, &brush) == Gdiplus::Ok;
        }
        QueryPerformanceCounter(&t1);
        if (ok) {
            std::printf("DrawString alone (font made once): %.1f us per call\n", Microseconds(t0, t1) / rounds);
        } else {
            std::printf("DrawString alone: failed\n");
            ++failed;
        }
    }
    Gdiplus::GdiplusShutdown(token);
    return failed ? 1 : 0;
}
