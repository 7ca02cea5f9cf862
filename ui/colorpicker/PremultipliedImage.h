#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "platform/win/GdiplusHeaders.h"

// Premultiplied ARGB pixels (0xAARRGGBB, top row first) of a skin image or a
// layer, for the picker's own drawing: GDI+ scales and turns images very
// slowly where the picker must repaint many times a second.
class PremultipliedImage {
public:
    // A run of pixels on one row that are not all transparent.
    struct Run {
        int y;
        int x0;
        int x1;  // one past the last
    };

    PremultipliedImage() = default;
    PremultipliedImage(int width, int height) : m_width(width), m_height(height), m_pixels(Size(width, height), 0) {}

    // The bitmap's pixels; empty for a null or unreadable bitmap.
    static PremultipliedImage FromBitmap(Gdiplus::Bitmap* bitmap);
    // Resampled to a new size (bilinear, pixel centres on pixel centres).
    PremultipliedImage ScaledTo(int width, int height) const;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    bool IsEmpty() const { return m_pixels.empty(); }
    uint32_t* Row(int y) { return &m_pixels[static_cast<size_t>(y) * m_width]; }
    const uint32_t* Row(int y) const { return &m_pixels[static_cast<size_t>(y) * m_width]; }
    uint32_t At(int x, int y) const { return Row(y)[x]; }

    // The runs of pixels with alpha above 0, row by row.
    std::vector<Run> OpaqueRuns() const;

    // Bilinear sample at (x, y) in pixel units, pixel centres at i + 0.5;
    // outside the image it fades to transparent over half a pixel.
    uint32_t Sample(float x, float y) const
    {
        // Shifted so that truncation floors: no library floor in the inner loops.
        const float px = x - 0.5f + kFloorShift, py = y - 0.5f + kFloorShift;
        if (!(px >= kFloorShift - 1.0f && py >= kFloorShift - 1.0f)) return 0;
        const int sx = static_cast<int>(px), sy = static_cast<int>(py);
        const int ix = sx - kFloorShiftInt, iy = sy - kFloorShiftInt;
        if (ix >= m_width || iy >= m_height) return 0;
        const uint32_t fx = static_cast<uint32_t>((px - static_cast<float>(sx)) * 256.0f);
        const uint32_t fy = static_cast<uint32_t>((py - static_cast<float>(sy)) * 256.0f);
        return Mix(PixelOrClear(ix, iy), PixelOrClear(ix + 1, iy), PixelOrClear(ix, iy + 1),
                   PixelOrClear(ix + 1, iy + 1), fx, fy);
    }
    // The same, holding coordinates outside to the nearest edge pixel.
    uint32_t SampleClamped(float x, float y) const
    {
        if (m_pixels.empty()) return 0;
        const float px = std::clamp(x - 0.5f, 0.0f, static_cast<float>(m_width - 1));
        const float py = std::clamp(y - 0.5f, 0.0f, static_cast<float>(m_height - 1));
        const int ix = static_cast<int>(px), iy = static_cast<int>(py);
        const int ix1 = std::min(ix + 1, m_width - 1), iy1 = std::min(iy + 1, m_height - 1);
        const uint32_t fx = static_cast<uint32_t>((px - static_cast<float>(ix)) * 256.0f);
        const uint32_t fy = static_cast<uint32_t>((py - static_cast<float>(iy)) * 256.0f);
        return Mix(At(ix, iy), At(ix1, iy), At(ix, iy1), At(ix1, iy1), fx, fy);
    }

    // a to b by f / 256, two channels at a time.
    static uint32_t Lerp(uint32_t a, uint32_t b, uint32_t f)
    {
        const uint32_t g = 256 - f;
        const uint32_t rb = (((a & 0x00FF00FFu) * g + (b & 0x00FF00FFu) * f) >> 8) & 0x00FF00FFu;
        const uint32_t ag = (((a >> 8) & 0x00FF00FFu) * g + ((b >> 8) & 0x00FF00FFu) * f) & 0xFF00FF00u;
        return rb | ag;
    }
    // Bilinear mix of four pixels, weights in 1/256.
    static uint32_t Mix(uint32_t p00, uint32_t p10, uint32_t p01, uint32_t p11, uint32_t fx, uint32_t fy)
    {
        return Lerp(Lerp(p00, p10, fx), Lerp(p01, p11, fx), fy);
    }

private:
    static constexpr int kFloorShiftInt = 4096;
    static constexpr float kFloorShift = 4096.0f;

    static size_t Size(int width, int height)
    {
        return width > 0 && height > 0 ? static_cast<size_t>(width) * static_cast<size_t>(height) : 0;
    }
    uint32_t PixelOrClear(int x, int y) const
    {
        return (x < 0 || y < 0 || x >= m_width || y >= m_height) ? 0u : Row(y)[x];
    }

    int m_width = 0;
    int m_height = 0;
    std::vector<uint32_t> m_pixels;
};

// Premultiplied "over": src drawn over dst.
inline uint32_t BlendOver(uint32_t dst, uint32_t src)
{
    const uint32_t alpha = src >> 24;
    if (alpha == 255) return src;
    if (alpha == 0 && src == 0) return dst;
    const uint32_t keep = 255 - alpha;
    // Two channels at a time: red and blue, then alpha and green.
    uint32_t rb = (dst & 0x00FF00FFu) * keep;
    uint32_t ag = ((dst >> 8) & 0x00FF00FFu) * keep;
    rb = ((rb + 0x00800080u + ((rb >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
    ag = (ag + 0x00800080u + ((ag >> 8) & 0x00FF00FFu)) & 0xFF00FF00u;
    return src + (rb | ag);
}

// The pixel scaled by coverage / 256 (0..256).
inline uint32_t ScalePixel(uint32_t pixel, uint32_t coverage)
{
    const uint32_t rb = (((pixel & 0x00FF00FFu) * coverage) >> 8) & 0x00FF00FFu;
    const uint32_t ag = (((pixel >> 8) & 0x00FF00FFu) * coverage) & 0xFF00FF00u;
    return rb | ag;
}
