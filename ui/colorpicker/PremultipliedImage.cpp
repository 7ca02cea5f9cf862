#include "ui/colorpicker/PremultipliedImage.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

// a to b by f / 256, two channels at a time.
inline uint32_t Lerp(uint32_t a, uint32_t b, uint32_t f)
{
    const uint32_t g = 256 - f;
    const uint32_t rb = (((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f) >> 8) & 0x00FF00FFu;
    const uint32_t ag = (((a >> 8) & 0x00FF00FFu) * g + ((b >> 8) & 0x00FF00FFu) * f) & 0xFF00FF00u;
    return rb | ag;
}

// Bilinear mix of four premultiplied pixels, weights in 1/256.
inline uint32_t Mix(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t fx, uint32_t fy)
{
    return Lerp(Lerp(p00, p10, fx), Lerp(p01, p11, fx), fy);
}

}  // namespace

PremultipliedImage PremultipliedImage::FromBitmap(Gdiplus::Bitmap* bitmap)
{
    if (!bitmap) return {};
    const int width = static_cast<int>(bitmap->GetWidth());
    const int height = static_cast<int>(bitmap->GetHeight());
    if (width <= 0 || height <= 0) return {};
    PremultipliedImage image(width, height);
    Gdiplus::BitmapData data = {};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * 4;
    data.PixelFormat = PixelFormat32bppPARGB;
    data.Scan0 = image.m_pixels.data();
    Gdiplus::Rect all(0, 0, width, height);
    // Read straight into our buffer, converted to premultiplied on the way.
    if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf, PixelFormat32bppPARGB,
                         &data) != Gdiplus::Ok)
        return {};
    bitmap->UnlockBits(&data);
    return image;
}

PremultipliedImage PremultipliedImage::ScaledTo(int width, int height) const
{
    if (IsEmpty() || width <= 0 || height <= 0) return {};
    PremultipliedImage scaled(width, height);
    const float sx = static_cast<float>(m_width) / static_cast<float>(width);
    const float sy = static_cast<float>(m_height) / static_cast<float>(height);
    for (int y = 0; y < height; ++y) {
        uint32_t* row = scaled.Row(y);
        const float fy = (static_cast<float>(y) + 0.5f) * sy;
        for (int x = 0; x < width; ++x) row[x] = SampleClamped((static_cast<float>(x) + 0.5f) * sx, fy);
    }
    return scaled;
}

std::vector<PremultipliedImage::Run> PremultipliedImage::OpaqueRuns() const
{
    std::vector<Run> runs;
    for (int y = 0; y < m_height; ++y) {
        const uint32_t* row = Row(y);
        int x = 0;
        while (x < m_width) {
            while (x < m_width && (row[x] >> 24) == 0) ++x;
            const int start = x;
            while (x < m_width && (row[x] >> 24) != 0) ++x;
            if (x > start) runs.push_back(Run{y, start, x});
        }
    }
    return runs;
}

uint32_t PremultipliedImage::Sample(float x, float y) const
{
    const float px = x - 0.5f, py = y - 0.5f;
    const float floorX = std::floor(px), floorY = std::floor(py);
    const int ix = static_cast<int>(floorX), iy = static_cast<int>(floorY);
    if (ix < -1 || iy < -1 || ix >= m_width || iy >= m_height) return 0;
    const uint32_t fx = static_cast<uint32_t>((px - floorX) * 256.0f);
    const uint32_t fy = static_cast<uint32_t>((py - floorY) * 256.0f);
    return Mix(PixelOrClear(ix, iy), PixelOrClear(ix + 1, iy), PixelOrClear(ix, iy + 1), PixelOrClear(ix + 1, iy + 1),
               fx, fy);
}

uint32_t PremultipliedImage::SampleClamped(float x, float y) const
{
    if (IsEmpty()) return 0;
    const float px = std::clamp(x - 0.5f, 0.0f, static_cast<float>(m_width - 1));
    const float py = std::clamp(y - 0.5f, 0.0f, static_cast<float>(m_height - 1));
    const int ix = static_cast<int>(px), iy = static_cast<int>(py);
    const int ix1 = std::min(ix + 1, m_width - 1), iy1 = std::min(iy + 1, m_height - 1);
    const uint32_t fx = static_cast<uint32_t>((px - static_cast<float>(ix)) * 256.0f);
    const uint32_t fy = static_cast<uint32_t>((py - static_cast<float>(iy)) * 256.0f);
    return Mix(At(ix, iy), At(ix1, iy), At(ix, iy1), At(ix1, iy1), fx, fy);
}
