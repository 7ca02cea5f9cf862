// The CPU Gaussian blur against a plain 2-D convolution, over sizes that hit
// the kernel's edges, destinations larger and smaller than the source,
// padded rows and several threads.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <thread>
#include <vector>

#include "tests/ui/framework/drawing/NaiveBlur.h"
#include "ui/framework/drawing/GaussianBlur.h"

namespace {

// Random premultiplied pixels (colour never above alpha), with some fully
// transparent and some opaque ones.
std::vector<uint8_t> RandomPremultiplied(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> pixels(static_cast<size_t>(width) * height * 4);
    for (size_t i = 0; i < pixels.size(); i += 4) {
        unsigned pick = random() % 4;
        uint8_t alpha = pick == 0 ? 0 : pick == 1 ? 255 : static_cast<uint8_t>(random() % 256);
        for (int c = 0; c < 3; ++c) pixels[i + c] = static_cast<uint8_t>(alpha ? random() % (alpha + 1) : 0);
        pixels[i + 3] = alpha;
    }
    return pixels;
}

// Copies tight rows into rows stride bytes apart (padding filled with 0xCD).
std::vector<uint8_t> WithStride(const std::vector<uint8_t>& tight, int width, int height, int stride)
{
    std::vector<uint8_t> padded(static_cast<size_t>(stride) * height, 0xCD);
    for (int y = 0; y < height; ++y) {
        std::copy_n(&tight[static_cast<size_t>(y) * width * 4], width * 4, &padded[static_cast<size_t>(y) * stride]);
    }
    return padded;
}

struct BlurCase {
    const char* name;
    int sourceWidth, sourceHeight, destWidth, destHeight;
    float deviation;
    int rowPadding;  // extra bytes at the end of every source and dest row
};

class GaussianBlurMatches : public testing::TestWithParam<BlurCase> {};

TEST_P(GaussianBlurMatches, NaiveConvolution)
{
    const BlurCase& c = GetParam();
    std::vector<uint8_t> source = RandomPremultiplied(c.sourceWidth, c.sourceHeight, 7u + c.destWidth);
    const int sourceStride = c.sourceWidth * 4 + c.rowPadding, destStride = c.destWidth * 4 + c.rowPadding;
    std::vector<uint8_t> strided = WithStride(source, c.sourceWidth, c.sourceHeight, sourceStride);
    std::vector<uint8_t> dest(static_cast<size_t>(destStride) * c.destHeight, 0xAB);

    ASSERT_TRUE(GaussianBlurBgra(strided.data(), c.sourceWidth, c.sourceHeight, sourceStride, dest.data(),
                                 c.destWidth, c.destHeight, destStride, c.deviation));

    std::vector<uint8_t> expected =
        testsupport::NaiveGaussianBlur(source, c.sourceWidth, c.sourceHeight, c.destWidth, c.destHeight, c.deviation);
    int mismatches = 0;
    for (int y = 0; y < c.destHeight; ++y) {
        for (int x = 0; x < c.destWidth * 4; ++x) {
            int got = dest[static_cast<size_t>(y) * destStride + x];
            int want = expected[(static_cast<size_t>(y) * c.destWidth * 4) + x];
            if (std::abs(got - want) > 1 && ++mismatches <= 5) {
                ADD_FAILURE() << "pixel " << x / 4 << "," << y << " channel " << x % 4 << ": " << got << " vs " << want;
            }
        }
        for (int x = c.destWidth * 4; x < destStride; ++x) {
            ASSERT_EQ(dest[static_cast<size_t>(y) * destStride + x], 0xAB) << "row padding written in row " << y;
        }
    }
    EXPECT_EQ(mismatches, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, GaussianBlurMatches,
    testing::Values(BlurCase{"OnePixel", 1, 1, 1, 1, 3.0f, 0},
                    BlurCase{"SmallerThanTheKernel", 5, 3, 5, 3, 3.0f, 0},
                    BlurCase{"SameSize", 40, 30, 40, 30, 3.0f, 0},
                    BlurCase{"DestLargerShowsTheTail", 40, 30, 52, 41, 3.0f, 0},
                    BlurCase{"DestSmaller", 40, 30, 17, 9, 3.0f, 0},
                    BlurCase{"OddWidthNarrowDeviation", 33, 20, 33, 20, 1.5f, 0},
                    BlurCase{"PaddedRows", 31, 7, 29, 9, 3.0f, 12},
                    BlurCase{"SeveralBands", 256, 192, 256, 192, 3.0f, 0}),
    [](const testing::TestParamInfo<BlurCase>& info) { return std::string(info.param.name); });

TEST(GaussianBlur, LargePicturesAreSplitIntoBands)
{
    if (std::thread::hardware_concurrency() < 2) GTEST_SKIP() << "one processor";
    EXPECT_GT(GaussianBlurBandCount(256, 192), 1);
    EXPECT_EQ(GaussianBlurBandCount(8, 8), 1);
}

TEST(GaussianBlur, NoDeviationCopiesTheSource)
{
    const int w = 6, h = 4;
    std::vector<uint8_t> source = RandomPremultiplied(w, h, 3);
    for (float deviation : {0.0f, -2.0f, std::numeric_limits<float>::quiet_NaN()}) {
        std::vector<uint8_t> dest(static_cast<size_t>(w + 1) * (h + 1) * 4, 0xAB);
        ASSERT_TRUE(GaussianBlurBgra(source.data(), w, h, w * 4, dest.data(), w + 1, h + 1, (w + 1) * 4, deviation));
        for (int y = 0; y <= h; ++y) {
            for (int x = 0; x < (w + 1) * 4; ++x) {
                int want = y < h && x < w * 4 ? source[y * w * 4 + x] : 0;
                ASSERT_EQ(dest[y * (w + 1) * 4 + x], want) << deviation << " at byte " << x << "," << y;
            }
        }
    }
}

TEST(GaussianBlur, RejectsBadArgumentsAndLeavesDestUntouched)
{
    std::vector<uint8_t> source(8 * 8 * 4, 50);
    struct Case {
        const char* name;
        bool nullSource, nullDest;
        int sourceWidth, sourceHeight, sourceStride, destWidth, destHeight, destStride;
    } cases[] = {
        {"null source", true, false, 8, 8, 32, 8, 8, 32},
        {"null dest", false, true, 8, 8, 32, 8, 8, 32},
        {"empty source", false, false, 0, 8, 32, 8, 8, 32},
        {"negative dest height", false, false, 8, 8, 32, 8, -1, 32},
        {"source stride shorter than a row", false, false, 8, 8, 28, 8, 8, 32},
        {"dest stride shorter than a row", false, false, 8, 8, 32, 8, 8, 31},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> dest(8 * 8 * 4, 0xAB);
        EXPECT_FALSE(GaussianBlurBgra(c.nullSource ? nullptr : source.data(), c.sourceWidth, c.sourceHeight,
                                      c.sourceStride, c.nullDest ? nullptr : dest.data(), c.destWidth, c.destHeight,
                                      c.destStride, 3.0f))
            << c.name;
        EXPECT_EQ(dest, std::vector<uint8_t>(8 * 8 * 4, 0xAB)) << c.name;
    }
}

}  // namespace
