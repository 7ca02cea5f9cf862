#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "ui/colorpicker/PremultipliedImage.h"

namespace {

uint32_t Pack(uint32_t a, uint32_t r, uint32_t g, uint32_t b)
{
    return a << 24 | r << 16 | g << 8 | b;
}

// src + dst x (1 - src alpha), per channel, in exact arithmetic.
uint32_t ReferenceOver(uint32_t dst, uint32_t src)
{
    const double keep = 1.0 - static_cast<double>(src >> 24) / 255.0;
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        const double value = ((src >> shift) & 0xFF) + ((dst >> shift) & 0xFF) * keep;
        out |= static_cast<uint32_t>(std::lround(value)) << shift;
    }
    return out;
}

bool WithinOne(uint32_t a, uint32_t b)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF)) > 1) return false;
    return true;
}

TEST(PremultipliedPixels, OverMatchesTheFormula)
{
    const uint32_t sources[] = {0, Pack(255, 10, 20, 30), Pack(128, 100, 0, 128), Pack(1, 1, 0, 0), Pack(254, 254, 3, 200)};
    const uint32_t targets[] = {0, Pack(255, 255, 255, 255), Pack(200, 50, 150, 199), Pack(255, 0, 0, 0)};
    for (uint32_t src : sources)
        for (uint32_t dst : targets)
            EXPECT_TRUE(WithinOne(BlendOver(dst, src), ReferenceOver(dst, src)))
                << std::hex << dst << " over " << src << " gave " << BlendOver(dst, src);
    EXPECT_EQ(ScalePixel(Pack(255, 200, 100, 50), 128), Pack(127, 100, 50, 25));
    EXPECT_EQ(ScalePixel(Pack(255, 200, 100, 50), 256), Pack(255, 200, 100, 50));
}

TEST(PremultipliedPixels, SamplingScalingAndRuns)
{
    PremultipliedImage image(3, 2);
    image.Row(0)[0] = Pack(255, 255, 0, 0);
    image.Row(0)[1] = Pack(255, 0, 255, 0);
    image.Row(1)[2] = Pack(128, 0, 0, 128);
    // At pixel centres a sample is the pixel; halfway it is the mean.
    EXPECT_EQ(image.Sample(0.5f, 0.5f), image.At(0, 0));
    EXPECT_EQ(image.Sample(2.5f, 1.5f), image.At(2, 1));
    EXPECT_TRUE(WithinOne(image.Sample(1.0f, 0.5f), Pack(255, 128, 128, 0)));
    // Outside it fades out; clamped it keeps the edge pixel.
    EXPECT_EQ(image.Sample(-3.0f, 0.5f), 0u);
    EXPECT_TRUE(WithinOne(image.Sample(0.0f, 0.5f), Pack(128, 128, 0, 0)));
    EXPECT_EQ(image.SampleClamped(-3.0f, 0.5f), image.At(0, 0));

    const PremultipliedImage same = image.ScaledTo(3, 2);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(same.At(x, y), image.At(x, y));
    const PremultipliedImage doubled = image.ScaledTo(6, 4);
    EXPECT_EQ(doubled.At(0, 0), image.At(0, 0));
    EXPECT_EQ(doubled.At(5, 3), image.At(2, 1));

    const auto runs = image.OpaqueRuns();
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].y, 0);
    EXPECT_EQ(runs[0].x0, 0);
    EXPECT_EQ(runs[0].x1, 2);
    EXPECT_EQ(runs[1].y, 1);
    EXPECT_EQ(runs[1].x0, 2);
    EXPECT_EQ(runs[1].x1, 3);
    EXPECT_TRUE(PremultipliedImage::FromBitmap(nullptr).IsEmpty());
}

}  // namespace
