// The backdrop blur: box passes against a plain per-pixel average with the
// edges repeated (lines shorter than the box included), the box widths, the
// whole three-plane blur and its bitmap, and empty snapshots.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <random>
#include <vector>

#include "platform/concurrency/WorkerPool.h"
#include "tests/ui/colorpicker/HalvesWindow.h"
#include "tests/ui/framework/FrameworkTestSupport.h"
#include "ui/colorpicker/BackdropSnapshot.h"
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

namespace {

// The plain average of the source pixels each target pixel covers.
std::vector<uint32_t> NaiveScaleDown(const std::vector<uint32_t>& source, int sw, int sh, int tw, int th)
{
    std::vector<uint32_t> out(static_cast<size_t>(tw) * th);
    for (int y = 0; y < th; ++y) {
        const int y0 = y * sh / th, y1 = std::max((y + 1) * sh / th, y0 + 1);
        for (int x = 0; x < tw; ++x) {
            const int x0 = x * sw / tw, x1 = std::max((x + 1) * sw / tw, x0 + 1);
            uint32_t pixel = 0xFF000000u;
            for (int shift : {16, 8, 0}) {
                uint32_t sum = 0, n = 0;
                for (int sy = y0; sy < y1; ++sy) {
                    for (int sx = x0; sx < x1; ++sx, ++n) sum += (source[sy * sw + sx] >> shift) & 0xFF;
                }
                pixel |= ((sum + n / 2) / n) << shift;
            }
            out[y * tw + x] = pixel;
        }
    }
    return out;
}

TEST(BackdropBlur, ScalingDownAveragesTheCoveredPixels)
{
    struct {
        int sw, sh, tw, th;
    } cases[] = {{8, 6, 4, 3}, {2, 2, 1, 1}, {7, 5, 3, 2}, {5, 5, 5, 5}, {3, 9, 1, 4}, {2, 4, 4, 2}};
    concurrency::WorkerPool pool(2);
    for (const auto& c : cases) {
        const std::vector<uint32_t> source = RandomPixels(c.sw, c.sh);
        std::vector<uint32_t> target(static_cast<size_t>(c.tw) * c.th, 0);
        BackdropSnapshot::ScaleDown(source.data(), c.sw, c.sh, target.data(), c.tw, c.th, pool);
        EXPECT_EQ(target, NaiveScaleDown(source, c.sw, c.sh, c.tw, c.th)) << c.sw << "x" << c.sh << " to " << c.tw
                                                                          << "x" << c.th;
    }
}

// A top-level window painted left half red, right half blue.
HWND MakeHalvesWindow(int width, int height)
{
    return pickertest::CreateHalvesWindow(30, 40, width, height, WS_POPUP | WS_VISIBLE, RGB(255, 0, 0), RGB(0, 0, 255));
}

TEST(BackdropSnapshotTake, HalfSizeBlurredCopyOfTheRootWindow)
{
    testsupport::GdiplusSession gdiplus;
    HWND window = MakeHalvesWindow(120, 60);
    ASSERT_TRUE(window);
    // A child stands for the popup: the copy is of its root window.
    HWND child = CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 10, 10, window, nullptr, nullptr, nullptr);
    BackdropSnapshot snapshot;
    std::shared_ptr<Gdiplus::Bitmap> backdrop = snapshot.Take(child, 2.0f, 1);
    ASSERT_TRUE(backdrop);
    ASSERT_EQ(backdrop->GetWidth(), 60u);
    ASSERT_EQ(backdrop->GetHeight(), 30u);
    Gdiplus::Color left, edge, right;
    backdrop->GetPixel(5, 15, &left);
    backdrop->GetPixel(30, 15, &edge);
    backdrop->GetPixel(55, 15, &right);
    EXPECT_EQ(left.GetValue(), 0xFFFF0000u);
    EXPECT_EQ(right.GetValue(), 0xFF0000FFu);
    // Softened where the halves meet: both colours mixed, still opaque.
    EXPECT_EQ(edge.GetA(), 0xFF);
    EXPECT_GT(edge.GetR(), 0);
    EXPECT_LT(edge.GetR(), 255);
    EXPECT_GT(edge.GetB(), 0);
    EXPECT_LT(edge.GetB(), 255);

    // A second take of the same size refills the same bitmap with what the
    // window shows now.
    InvalidateRect(window, nullptr, FALSE);
    SetWindowPos(window, nullptr, 0, 0, 120, 60, SWP_NOMOVE | SWP_NOZORDER);
    HDC dc = GetDC(window);
    RECT all = {0, 0, 120, 60};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(window, dc);
    std::shared_ptr<Gdiplus::Bitmap> again = snapshot.Take(child, 2.0f, 1);
    ASSERT_TRUE(again);
    EXPECT_EQ(again.get(), backdrop.get());
    again->GetPixel(5, 15, &left);
    EXPECT_EQ(left.GetValue(), 0xFFFFFFFFu);
    DestroyWindow(window);
}

TEST(BackdropSnapshotTake, EmptyCopiesGiveNoBackdrop)
{
    testsupport::GdiplusSession gdiplus;
    BackdropSnapshot snapshot;
    HWND tiny = MakeHalvesWindow(1, 1);
    EXPECT_EQ(snapshot.Take(tiny, 2.0f, 1), nullptr);  // half of one pixel
    EXPECT_EQ(snapshot.SnapshotDC().Width(), 0);
    EXPECT_EQ(snapshot.Take(tiny, 0.0f, 1), nullptr);
    DestroyWindow(tiny);
    HWND minimised = MakeHalvesWindow(100, 50);
    ShowWindow(minimised, SW_MINIMIZE);
    EXPECT_EQ(snapshot.Take(minimised, 2.0f, 1), nullptr);
    DestroyWindow(minimised);
    EXPECT_EQ(snapshot.Take(nullptr, 2.0f, 1), nullptr);
}

}  // namespace

namespace {

TEST(BackdropBlur, StretchingBackIsBilinearWithEdgesRepeated)
{
    concurrency::WorkerPool pool(2);
    // Two pixels stretched to four: the outer ones repeat the edge, the inner
    // ones mix a quarter of the neighbour in.
    const uint32_t source[2] = {0xFF000000u, 0xFFFF8040u};
    uint32_t target[4] = {};
    BackdropSnapshot::ScaleUp(source, 2, 1, target, 4, 1, pool);
    EXPECT_EQ(target[0], 0xFF000000u);
    EXPECT_EQ(target[1], 0xFF402010u);
    EXPECT_EQ(target[2], 0xFFBF6030u);
    EXPECT_EQ(target[3], 0xFFFF8040u);

    // A uniform picture stays uniform and opaque at any size.
    const std::vector<uint32_t> flat(6 * 5, 0x00336699u);
    std::vector<uint32_t> big(17 * 11, 0);
    BackdropSnapshot::ScaleUp(flat.data(), 6, 5, big.data(), 17, 11, pool);
    for (uint32_t p : big) ASSERT_EQ(p, 0xFF336699u);
}

}  // namespace
