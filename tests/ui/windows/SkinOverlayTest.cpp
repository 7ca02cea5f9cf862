// A skin picture laid over a whole surface: blended here at the surface's
// size, stretched by GDI+ otherwise; either way what GDI+ itself would draw.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <random>

#include "tests/ui/framework/FrameworkTestSupport.h"
#include "ui/framework/MemoryDC.h"
#include "ui/windows/SkinOverlay.h"

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
    FillPicture(image, 3);
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
    // GDI+ rounds through straight alpha over a translucent backdrop: a few
    // steps apart at most, where a wrong channel or blend is far off.
    EXPECT_LE(worst, 3) << c.name;
}

INSTANTIATE_TEST_SUITE_P(Sizes, SkinOverlay,
                         testing::Values(OverlayCase{"same size", 37, 23}, OverlayCase{"stretched", 19, 12}),
                         [](const testing::TestParamInfo<OverlayCase>& info) {
                             return info.param.imageWidth == 37 ? std::string("SameSize") : std::string("Stretched");
                         });

TEST(SkinOverlayEmpty, NothingToDrawOnIsAFailure)
{
    testsupport::GdiplusSession gdiplus;
    Gdiplus::Bitmap image(4, 4, PixelFormat32bppARGB);
    CMemoryDC none;
    EXPECT_FALSE(OverlaySkin(none, image));
}

}  // namespace
