#include "ui/colorpicker/ImageChannels.h"

#include <algorithm>
#include <cmath>

#include "platform/concurrency/Parallel.h"

namespace {

// Columns blurred together by one vertical-pass item: their running sums
// stay in registers and each row's read is one contiguous run.
constexpr int kColumnBlock = 64;

inline int32_t RoundScaled(int32_t sum, double factor)
{
    // Halves away from zero.
    return sum >= 0 ? static_cast<int32_t>(sum * factor + 0.5) : -static_cast<int32_t>(-sum * factor + 0.5);
}

// Rounded box averages: a table for the sums that channel values (0 to 255)
// give with small boxes, the product otherwise.
class BoxAverage {
public:
    explicit BoxAverage(int radius) : m_factor(1.0 / (2 * radius + 1))
    {
        const int size = 2 * radius + 1;
        if (size <= kMaxTableBox) {
            m_table.resize(static_cast<size_t>(255) * size + 1);
            for (size_t sum = 0; sum < m_table.size(); ++sum) {
                m_table[sum] = RoundScaled(static_cast<int32_t>(sum), m_factor);
            }
        }
    }

    int32_t operator()(int32_t sum) const
    {
        return static_cast<uint32_t>(sum) < m_table.size() ? m_table[sum] : RoundScaled(sum, m_factor);
    }

private:
    static constexpr int kMaxTableBox = 63;
    double m_factor;
    std::vector<int32_t> m_table;
};

// Running-sum box filter over one row. Indices outside the row read its
// first or last value, which also holds rows shorter than the box.
void BoxBlurRow(const int32_t* in, int32_t* out, int length, int r, const BoxAverage& average)
{
    const int last = length - 1;
    int32_t sum = (r + 1) * in[0];
    for (int k = 0; k < r; ++k) sum += in[std::min(k, last)];
    int j = 0;
    // Left edge: the leaving value is the first one.
    for (; j <= r && j < length; ++j) {
        sum += in[std::min(j + r, last)] - in[0];
        out[j] = average(sum);
    }
    // Middle: both ends inside the row.
    for (; j + r <= last; ++j) {
        sum += in[j + r] - in[j - r - 1];
        out[j] = average(sum);
    }
    // Right edge.
    for (; j < length; ++j) {
        sum += in[last] - in[std::max(j - r - 1, 0)];
        out[j] = average(sum);
    }
}

// The same filter down columns [x0, x1) of a plane, all at once.
void BoxBlurColumns(const int32_t* in, int32_t* out, int width, int height, int x0, int x1, int r,
                    const BoxAverage& average)
{
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
            target[i] = average(sums[i]);
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
    Load(pixels, width, height, stride, pool);
}

ImageChannels::ImageChannels(Gdiplus::Bitmap& bitmap, concurrency::WorkerPool& pool)
{
    const int width = static_cast<int>(bitmap.GetWidth());
    const int height = static_cast<int>(bitmap.GetHeight());
    if (width <= 0 || height <= 0) return;
    Gdiplus::Rect area(0, 0, width, height);
    Gdiplus::BitmapData data = {};
    if (bitmap.LockBits(&area, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return;
    Load(data.Scan0, width, height, data.Stride, pool);
    bitmap.UnlockBits(&data);
}

bool ImageChannels::Load(const void* pixels, int width, int height, ptrdiff_t stride, concurrency::WorkerPool& pool)
{
    m_width = m_height = m_count = 0;
    if (!pixels || width <= 0 || height <= 0 || stride < static_cast<ptrdiff_t>(width) * 4) return false;
    m_width = width;
    m_height = height;
    m_count = width * height;
    m_red.resize(m_count);
    m_green.resize(m_count);
    m_blue.resize(m_count);
    const auto* rows = static_cast<const uint8_t*>(pixels);
    concurrency::ParallelFor(pool, 0, static_cast<size_t>(height), [&](size_t y) {
        const auto* row = reinterpret_cast<const uint32_t*>(rows + static_cast<ptrdiff_t>(y) * stride);
        const size_t start = y * width;
        for (int x = 0; x < width; ++x) {
            const uint32_t pixel = row[x];
            m_red[start + x] = (pixel >> 16) & 0xFF;
            m_green[start + x] = (pixel >> 8) & 0xFF;
            m_blue[start + x] = pixel & 0xFF;
        }
    });
    return true;
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
    const BoxAverage average(radius);
    concurrency::ParallelFor(pool, 0, static_cast<size_t>(height), [&](size_t y) {
        const size_t row = y * width;
        BoxBlurRow(source.data() + row, target.data() + row, width, radius, average);
    });
    const size_t blocks = (static_cast<size_t>(width) + kColumnBlock - 1) / kColumnBlock;
    concurrency::ParallelFor(pool, 0, blocks, [&](size_t block) {
        const int x0 = static_cast<int>(block) * kColumnBlock;
        BoxBlurColumns(target.data(), source.data(), width, height, x0, std::min(width, x0 + kColumnBlock), radius,
                       average);
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
    BlurInto(sigma, pool, out.data(), static_cast<ptrdiff_t>(m_width) * 4);
    return out;
}

void ImageChannels::BlurInto(int sigma, concurrency::WorkerPool& pool, uint32_t* out, ptrdiff_t stride)
{
    if (IsEmpty() || !out) return;
    concurrency::ParallelInvoke(pool, {
        [&] { GaussBlurPlane(m_red, m_redWork, m_width, m_height, sigma, pool); },
        [&] { GaussBlurPlane(m_green, m_greenWork, m_width, m_height, sigma, pool); },
        [&] { GaussBlurPlane(m_blue, m_blueWork, m_width, m_height, sigma, pool); },
    });
    auto* rows = reinterpret_cast<uint8_t*>(out);
    concurrency::ParallelFor(pool, 0, static_cast<size_t>(m_height), [&](size_t y) {
        auto* row = reinterpret_cast<uint32_t*>(rows + static_cast<ptrdiff_t>(y) * stride);
        const size_t start = y * m_width;
        for (int x = 0; x < m_width; ++x) {
            const size_t i = start + x;
            row[x] = 0xFF000000u | static_cast<uint32_t>(ClampChannel(m_redWork[i])) << 16 |
                     static_cast<uint32_t>(ClampChannel(m_greenWork[i])) << 8 |
                     static_cast<uint32_t>(ClampChannel(m_blueWork[i]));
        }
    });
}

std::shared_ptr<Gdiplus::Bitmap> ImageChannels::GaussianBlur(int sigma, concurrency::WorkerPool& pool)
{
    if (IsEmpty()) return nullptr;
    auto bitmap = std::make_shared<Gdiplus::Bitmap>(m_width, m_height, PixelFormat32bppARGB);
    if (bitmap->GetLastStatus() != Gdiplus::Ok) return nullptr;
    Gdiplus::Rect area(0, 0, m_width, m_height);
    Gdiplus::BitmapData data = {};
    if (bitmap->LockBits(&area, Gdiplus::ImageLockModeWrite, PixelFormat32bppARGB, &data) != Gdiplus::Ok) {
        return nullptr;
    }
    BlurInto(sigma, pool, static_cast<uint32_t*>(data.Scan0), data.Stride);
    bitmap->UnlockBits(&data);
    return bitmap;
}
