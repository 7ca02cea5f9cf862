// The backdrop blur: box passes against a plain per-pixel average with the
// edges repeated (lines shorter than the box included), the box widths, the
// whole three-plane blur and its bitmap, and empty snapshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "platform/concurrency/WorkerPool.h"
#include "tests/ui/framework/FrameworkTestSupport.h"
#include "ui/colorpicker/ImageChannels.h"

namespace {

using Plane = std::vector<int32_t>;

// Average of the 2r + 1 values around each one, indices clamped into the
// line, rounded half up (sums are never negative here).
int32_t NaiveAverage(const Plane& in, int start, int step, int length, int j, int r)
{
    long sum = 0;
    for (int k = j - r; k <= j + r; ++k) sum += in[start + std::clamp(k, 0, length - 1) * step];
    const long d = 2 * r + 1;
    return static_cast<int32_t>((2 * sum + d) / (2 * d));
}

Plane NaiveBoxBlur(const Plane& in, int width, int height, int r)
{
    Plane rows(in.size()), out(in.size());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) rows[y * width + x] = NaiveAverage(in, y * width, 1, width, x, r);
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) out[y * width + x] = NaiveAverage(rows, x, width, height, y, r);
    }
    return out;
}

Plane RandomPlane(int width, int height, unsigned seed)
{
    std::mt19937 random(seed);
    Plane plane(static_cast<size_t>(width) * height);
    for (int32_t& v : plane) v = static_cast<int32_t>(random() % 256);
    return plane;
}

struct BoxCase {
    int width, height, radius;
};

class BoxBlurMatches : public testing::TestWithParam<BoxCase> {};

TEST_P(BoxBlurMatches, NaiveAverageWithEdgesRepeated)
{
    const BoxCase c = GetParam();
    for (unsigned threads : {0u, 3u}) {
        concurrency::WorkerPool pool(threads);
        Plane source = RandomPlane(c.width, c.height, 11u * c.width + c.height + c.radius);
        const Plane expected = NaiveBoxBlur(source, c.width, c.height, c.radius);
        Plane target;
        ImageChannels::BoxBlur(source, target, c.width, c.height, c.radius, pool);
        EXPECT_EQ(target, expected) << c.width << "x" << c.height << " r " << c.radius << " threads " << threads;
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, BoxBlurMatches,
                         testing::Values(BoxCase{1, 1, 1}, BoxCase{1, 1, 4},   // a single pixel
                                         BoxCase{1, 9, 1}, BoxCase{9, 1, 2},   // one column, one row
                                         BoxCase{2, 3, 1}, BoxCase{3, 2, 5},   // lines shorter than the box
                                         BoxCase{5, 4, 3}, BoxCase{7, 7, 3},   // exactly the box, and shorter
                                         BoxCase{64, 5, 1}, BoxCase{130, 9, 2},  // across column blocks
                                         BoxCase{97, 61, 1}, BoxCase{40, 33, 0}));

TEST(BackdropBlur, BoxWidthsApproximateTheGaussian)
{
    struct {
        int sigma;
        std::array<int, 3> widths;
    } cases[] = {
        {1, {3, 3, 3}}, {2, {5, 5, 5}}, {3, {5, 5, 7}}, {0, {1, 1, 1}}, {-4, {1, 1, 1}},
    };
    for (const auto& c : cases) EXPECT_EQ(ImageChannels::BoxesForGauss(c.sigma), c.widths) << "sigma " << c.sigma;
}

// A picture with random alpha; the blur ignores alpha and its result is opaque.
std::vector<uint32_t> RandomPixels(int width, int height)
{
    std::mt19937 random(5);
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
    for (uint32_t& p : pixels) p = random();
    return pixels;
}

TEST(BackdropBlur, ThreePlanesEachGetThreeBoxPasses)
{
    const int width = 83, height = 47;
    const std::vector<uint32_t> pixels = RandomPixels(width, height);
    concurrency::WorkerPool pool(3);
    ImageChannels channels(pixels.data(), width, height, width * 4, pool);
    const std::vector<uint32_t> blurred = channels.BlurPixels(1, pool);
    ASSERT_EQ(blurred.size(), pixels.size());
    for (int shift : {16, 8, 0}) {
        Plane plane(pixels.size());
        for (size_t i = 0; i < pixels.size(); ++i) plane[i] = (pixels[i] >> shift) & 0xFF;
        for (int pass = 0; pass < 3; ++pass) plane = NaiveBoxBlur(plane, width, height, 1);
        for (size_t i = 0; i < pixels.size(); ++i) {
            ASSERT_EQ(static_cast<int32_t>((blurred[i] >> shift) & 0xFF), plane[i]) << "shift " << shift << " at " << i;
        }
    }
    for (uint32_t p : blurred) ASSERT_EQ(p >> 24, 0xFFu);
}

TEST(BackdropBlur, PaddedRowsAndTheBitmapHoldTheSamePixels)
{
    testsupport::GdiplusSession gdiplus;
    const int width = 21, height = 13, stride = width * 4 + 12;
    const std::vector<uint32_t> tight = RandomPixels(width, height);
    std::vector<uint32_t> padded(static_cast<size_t>(stride / 4) * height, 0xDEADBEEF);
    for (int y = 0; y < height; ++y) std::copy_n(&tight[y * width], width, &padded[y * (stride / 4)]);
    concurrency::WorkerPool pool(2);
    ImageChannels fromTight(tight.data(), width, height, width * 4, pool);
    ImageChannels fromPadded(padded.data(), width, height, stride, pool);
    const std::vector<uint32_t> expected = fromTight.BlurPixels(1, pool);
    std::shared_ptr<Gdiplus::Bitmap> bitmap = fromPadded.GaussianBlur(1, pool);
    ASSERT_TRUE(bitmap);
    ASSERT_EQ(bitmap->GetWidth(), static_cast<UINT>(width));
    ASSERT_EQ(bitmap->GetHeight(), static_cast<UINT>(height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            Gdiplus::Color c;
            bitmap->GetPixel(x, y, &c);
            ASSERT_EQ(c.GetValue(), expected[y * width + x]) << x << "," << y;
        }
    }
    // And a bitmap read back as the source gives the same planes.
    ImageChannels fromBitmap(*bitmap, pool);
    ASSERT_FALSE(fromBitmap.IsEmpty());
    for (size_t i = 0; i < expected.size(); ++i) ASSERT_EQ(fromBitmap.Red()[i], static_cast<int32_t>((expected[i] >> 16) & 0xFF));
}

TEST(BackdropBlur, EmptySnapshotsSkipTheBlur)
{
    testsupport::GdiplusSession gdiplus;
    concurrency::WorkerPool pool(1);
    const uint32_t pixel = 0xFF112233;
    struct {
        const void* pixels;
        int width, height;
        ptrdiff_t stride;
    } cases[] = {{&pixel, 0, 0, 0}, {&pixel, 0, 5, 4}, {&pixel, 5, 0, 20}, {nullptr, 1, 1, 4}, {&pixel, 2, 1, 4}};
    for (const auto& c : cases) {
        ImageChannels channels(c.pixels, c.width, c.height, c.stride, pool);
        EXPECT_TRUE(channels.IsEmpty()) << c.width << "x" << c.height;
        EXPECT_TRUE(channels.BlurPixels(1, pool).empty());
        EXPECT_EQ(channels.GaussianBlur(1, pool), nullptr);
    }
}

}  // namespace
