// A skin picture laid over a whole surface, at its own size, enlarged,
// squeezed by a row and shrunk: what GDI+ itself would draw.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

#include "tests/ui/framework/FrameworkTestSupport.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/shared/SkinOverlay.h"

namespace {

// Straight-alpha pixels, a fifth of them clear and a fifth opaque.
void FillPicture(Gdiplus::Bitmap& image, unsigned seed)
{
    std::mt19937 random(seed);
    for (UINT y = 0; y < image.GetHeight(); ++y) {
        for (UINT x = 0; x < image.GetWidth(); ++x) {
            const unsigned pick = random() % 5;
            const BYTE alpha = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<BYTE>(random());
            image.SetPixel(static_cast<INT>(x), static_cast<INT>(y),
                           Gdiplus::Color(alpha, static_cast<BYTE>(random()), static_cast<BYTE>(random()),
                                          static_cast<BYTE>(random())));
        }
    }
}

// Colours and alpha that change a little from pixel to pixel, as in the
// skin art: where resampling rules differ by a fraction of a pixel, the
// results stay close.
void FillSmooth(Gdiplus::Bitmap& image)
{
    const UINT w = image.GetWidth(), h = image.GetHeight();
    for (UINT y = 0; y < h; ++y) {
        for (UINT x = 0; x < w; ++x) {
            image.SetPixel(static_cast<INT>(x), static_cast<INT>(y),
                           Gdiplus::Color(static_cast<BYTE>(128 + 120 * x / w), static_cast<BYTE>(255 * x / w),
                                          static_cast<BYTE>(255 * y / h), static_cast<BYTE>(200 - 100 * (x + y) / (w + h))));
        }
    }
}

// A premultiplied, partly transparent backdrop.
void FillBackdrop(CMemoryDC& surface, unsigned seed)
{
    std::mt19937 random(seed);
    auto* bits = static_cast<uint8_t*>(surface.Bits());
    for (int i = 0; i < surface.Width() * surface.Height(); ++i) {
        const unsigned alpha = random() & 0xFF;
        for (int c = 0; c < 3; ++c) bits[i * 4 + c] = static_cast<uint8_t>((random() & 0xFF) * alpha / 255);
        bits[i * 4 + 3] = static_cast<uint8_t>(alpha);
    }
}

struct OverlayCase {
    const char* name;
    int imageWidth, imageHeight;
};

class SkinOverlay : public testing::TestWithParam<OverlayCase> {
protected:
    testsupport::GdiplusSession m_gdiplus;
};

TEST_P(SkinOverlay, DrawsWhatGdiplusDraws)
{
    constexpr int kWidth = 37, kHeight = 23;
    const OverlayCase& c = GetParam();
    Gdiplus::Bitmap image(c.imageWidth, c.imageHeight, PixelFormat32bppARGB);
    if (c.imageWidth == kWidth && c.imageHeight == kHeight) {
        FillPicture(image, 3);
    } else {
        FillSmooth(image);
    }
    CMemoryDC ours, theirs;
    ASSERT_TRUE(ours.Resize(kWidth, kHeight) && theirs.Resize(kWidth, kHeight));
    FillBackdrop(ours, 9);
    FillBackdrop(theirs, 9);

    ASSERT_TRUE(OverlaySkin(ours, image));
    {
        Gdiplus::Graphics graphics(theirs.Surface());
        ASSERT_EQ(graphics.DrawImage(&image, Gdiplus::Rect(0, 0, kWidth, kHeight)), Gdiplus::Ok);
    }
    GdiFlush();
    const auto* a = static_cast<const uint8_t*>(ours.Bits());
    const auto* b = static_cast<const uint8_t*>(theirs.Bits());
    int worst = 0;
    for (int i = 0; i < kWidth * kHeight * 4; ++i) worst = std::max(worst, std::abs(int(a[i]) - int(b[i])));
    // GDI+ rounds through straight alpha over a translucent backdrop and
    // weighs its samples in its own steps: a few levels apart at most, where
    // a wrong channel, blend or sampling place is far off.
    EXPECT_LE(worst, 4) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Sizes, SkinOverlay,
                         testing::Values(OverlayCase{"same size", 37, 23}, OverlayCase{"stretched", 19, 12},
                                         OverlayCase{"squeezed", 37, 24}, OverlayCase{"shrunk", 74, 46}),
                         [](const testing::TestParamInfo<OverlayCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 if (*c != ' ') name += *c;
                             return name;
                         });

TEST(SkinOverlayEmpty, NothingToDrawOnIsAFailure)
{
    testsupport::GdiplusSession gdiplus;
    Gdiplus::Bitmap image(4, 4, PixelFormat32bppARGB);
    CMemoryDC none;
    EXPECT_FALSE(OverlaySkin(none, image));
}

}  // namespace
