#include "ui/colorpicker/ImageChannels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/concurrency/Parallel.h"

namespace {

// Columns blurred together by one vertical-pass item: their running sums
// stay in registers and each row's read is one contiguous run.
constexpr int kColumnBlock = 64;
// Pixels per item of the split and pack loops.
constexpr size_t kPixelBlock = 16384;

inline int32_t RoundScaled(int32_t sum, double factor)
{
    // Halves away from zero.
    return sum >= 0 ? static_cast<int32_t>(sum * factor + 0.5) : -static_cast<int32_t>(-sum * factor + 0.5);
}

// Running-sum box filter over one row. Indices outside the row read its
// first or last value, which also holds rows shorter than the box.
void BoxBlurRow(const int32_t* in, int32_t* out, int length, int r)
{
    const double factor = 1.0 / (2 * r + 1);
    const int last = length - 1;
    int32_t sum = (r + 1) * in[0];
    for (int k = 0; k < r; ++k) sum += in[std::min(k, last)];
    int j = 0;
    // Left edge: the leaving value is the first one.
    for (; j <= r && j < length; ++j) {
        sum += in[std::min(j + r, last)] - in[0];
        out[j] = RoundScaled(sum, factor);
    }
    // Middle: both ends inside the row.
    for (; j + r <= last; ++j) {
        sum += in[j + r] - in[j - r - 1];
        out[j] = RoundScaled(sum, factor);
    }
    // Right edge.
    for (; j < length; ++j) {
        sum += in[last] - in[std::max(j - r - 1, 0)];
        out[j] = RoundScaled(sum, factor);
    }
}

// The same filter down columns [x0, x1) of a plane, all at once.
void BoxBlurColumns(const int32_t* in, int32_t* out, int width, int height, int x0, int x1, int r)
{
    const double factor = 1.0 / (2 * r + 1);
    const int count = x1 - x0;
    const int last = height - 1;
    int32_t sums[kColumnBlock];
    const int32_t* first = in + x0;
    for (int i = 0; i < count; ++i) sums[i] = (r + 1) * first[i];
    for (int k = 0; k < r; ++k) {
        const int32_t* row = in + static_cast<size_t>(std::min(k, last)) * width + x0;
        for (int i = 0; i < count; ++i) sums[i] += row[i];
    }
    for (int y = 0; y < height; ++y) {
        const int32_t* entering = in + static_cast<size_t>(std::min(y + r, last)) * width + x0;
        const int32_t* leaving = in + static_cast<size_t>(std::max(y - r - 1, 0)) * width + x0;
        int32_t* target = out + static_cast<size_t>(y) * width + x0;
        for (int i = 0; i < count; ++i) {
            sums[i] += entering[i] - leaving[i];
            target[i] = RoundScaled(sums[i], factor);
        }
    }
}

inline int32_t ClampChannel(int32_t value)
{
    return std::clamp(value, 0, 255);
}

}  // namespace

ImageChannels::ImageChannels(const void* pixels, int width, int height, ptrdiff_t stride,
                             concurrency::WorkerPool& pool)
{
    if (!pixels || width <= 0 || height <= 0 || stride < static_cast<ptrdiff_t>(width) * 4) return;
    m_width = width;
    m_height = height;
    m_count = width * height;
    Split(pixels, stride, pool);
}

ImageChannels::ImageChannels(Gdiplus::Bitmap& bitmap, concurrency::WorkerPool& pool)
{
    const int width = static_cast<int>(bitmap.GetWidth());
    const int height = static_cast<int>(bitmap.GetHeight());
    if (width <= 0 || height <= 0) return;
    Gdiplus::Rect area(0, 0, width, height);
    Gdiplus::BitmapData data = {};
    if (bitmap.LockBits(&area, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return;
    m_width = width;
    m_height = height;
    m_count = width * height;
    Split(data.Scan0, data.Stride, pool);
    bitmap.UnlockBits(&data);
}

void ImageChannels::Split(const void* pixels, ptrdiff_t stride, concurrency::WorkerPool& pool)
{
    m_pixels.resize(m_count);
    const auto* rows = static_cast<const uint8_t*>(pixels);
    for (int y = 0; y < m_height; ++y) {
        std::memcpy(m_pixels.data() + static_cast<size_t>(y) * m_width, rows + y * stride,
                    static_cast<size_t>(m_width) * 4);
    }
    m_red.resize(m_count);
    m_green.resize(m_count);
    m_blue.resize(m_count);
    const size_t blocks = (m_count + kPixelBlock - 1) / kPixelBlock;
    concurrency::ParallelFor(pool, 0, blocks, [&](size_t block) {
        const size_t end = std::min<size_t>(m_count, (block + 1) * kPixelBlock);
        for (size_t i = block * kPixelBlock; i < end; ++i) {
            const uint32_t pixel = m_pixels[i];
            m_red[i] = (pixel >> 16) & 0xFF;
            m_green[i] = (pixel >> 8) & 0xFF;
            m_blue[i] = pixel & 0xFF;
        }
    });
}

std::array<int, 3> ImageChannels::BoxesForGauss(int sigma)
{
    constexpr int n = 3;
    if (sigma <= 0) return {1, 1, 1};
    const double s = sigma;
    // 12 sigma^2 / sigma in whole numbers: the stronger of the two readings
    // of the ideal width, which gives a visible blur at sigma 1.
    const double ideal = std::sqrt(static_cast<double>(12 * sigma * sigma / sigma) + 1.0);
    int lower = static_cast<int>(std::floor(ideal));
    if (lower % 2 == 0) --lower;
    const int upper = lower + 2;
    const double idealCount = (12.0 * s * s - n * lower * lower - 4.0 * n * lower - 3.0 * n) / (-4.0 * lower - 4.0);
    const long count = std::lround(idealCount);
    std::array<int, 3> widths{};
    for (int i = 0; i < n; ++i) widths[i] = i < count ? lower : upper;
    return widths;
}

void ImageChannels::BoxBlur(Plane& source, Plane& target, int width, int height, int radius,
                            concurrency::WorkerPool& pool)
{
    const size_t count = static_cast<size_t>(width) * height;
    if (width <= 0 || height <= 0 || source.size() < count) return;
    target.resize(source.size());
    if (radius <= 0) {
        target = source;
        return;
    }
    // Rows from source into target, columns from target back into source,
    // then the two swap places: target ends with the result and source with
    // the row pass, and no plane is copied.
    concurrency::ParallelFor(pool, 0, static_cast<size_t>(height), [&](size_t y) {
        const size_t row = y * width;
        BoxBlurRow(source.data() + row, target.data() + row, width, radius);
    });
    const size_t blocks = (static_cast<size_t>(width) + kColumnBlock - 1) / kColumnBlock;
    concurrency::ParallelFor(pool, 0, blocks, [&](size_t block) {
        const int x0 = static_cast<int>(block) * kColumnBlock;
        BoxBlurColumns(target.data(), source.data(), width, height, x0, std::min(width, x0 + kColumnBlock), radius);
    });
    source.swap(target);
}

void ImageChannels::GaussBlurPlane(Plane& source, Plane& work, int width, int height, int sigma,
                                   concurrency::WorkerPool& pool)
{
    const std::array<int, 3> widths = BoxesForGauss(sigma);
    BoxBlur(source, work, width, height, (widths[0] - 1) / 2, pool);
    BoxBlur(work, source, width, height, (widths[1] - 1) / 2, pool);
    BoxBlur(source, work, width, height, (widths[2] - 1) / 2, pool);
}

std::vector<uint32_t> ImageChannels::BlurPixels(int sigma, concurrency::WorkerPool& pool)
{
    std::vector<uint32_t> out;
    if (IsEmpty()) return out;
    out.resize(m_count);
    Plane red, green, blue;
    concurrency::ParallelInvoke(pool, {
        [&] { GaussBlurPlane(m_red, red, m_width, m_height, sigma, pool); },
        [&] { GaussBlurPlane(m_green, green, m_width, m_height, sigma, pool); },
        [&] { GaussBlurPlane(m_blue, blue, m_width, m_height, sigma, pool); },
    });
    const size_t blocks = (m_count + kPixelBlock - 1) / kPixelBlock;
    concurrency::ParallelFor(pool, 0, blocks, [&](size_t block) {
        const size_t end = std::min<size_t>(m_count, (block + 1) * kPixelBlock);
        for (size_t i = block * kPixelBlock; i < end; ++i) {
            out[i] = 0xFF000000u | static_cast<uint32_t>(ClampChannel(red[i])) << 16 |
                     static_cast<uint32_t>(ClampChannel(green[i])) << 8 | static_cast<uint32_t>(ClampChannel(blue[i]));
        }
    });
    return out;
}

std::shared_ptr<Gdiplus::Bitmap> ImageChannels::GaussianBlur(int sigma, concurrency::WorkerPool& pool)
{
    if (IsEmpty()) return nullptr;
    const std::vector<uint32_t> pixels = BlurPixels(sigma, pool);
    auto bitmap = std::make_shared<Gdiplus::Bitmap>(m_width, m_height, PixelFormat32bppARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    Gdiplus::Rect area(0, 0, m_width, m_height);
    Gdiplus::BitmapData data = {};
    if (bitmap->LockBits(&area, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
        return nullptr;
    }
    auto* rows = static_cast<uint8_t*>(data.Scan0);
    for (int y = 0; y < m_height; ++y) {
        std::memcpy(rows + y * static_cast<ptrdiff_t>(data.Stride), pixels.data() + static_cast<size_t>(y) * m_width,
                    static_cast<size_t>(m_width) * 4);
    }
    bitmap->UnlockBits(&data);
    return bitmap;
}
