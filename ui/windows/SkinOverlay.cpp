#include "ui/windows/SkinOverlay.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ui/windows/PixelMath.h"

namespace {

bool BlendSameSize(CMemoryDC& surface, Gdiplus::Bitmap& image)
{
    const int width = surface.Width(), height = surface.Height();
    auto* target = static_cast<uint8_t*>(surface.Bits());
    if (!target) return false;
    Gdiplus::Rect all(0, 0, width, height);
    Gdiplus::BitmapData data{};
    if (image.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) != Gdiplus::Ok) return false;
    ::GdiFlush();
    for (int y = 0; y < height; ++y) {
        const auto* in = static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
        uint8_t* out = target + static_cast<size_t>(y) * static_cast<size_t>(width) * 4u;
        for (int x = 0; x < width; ++x, in += 4, out += 4) {
            const unsigned alpha = in[3];
            if (alpha == 0) continue;
            const unsigned keep = 255u - alpha;
            for (int c = 0; c < 4; ++c) out[c] = static_cast<uint8_t>(in[c] + DivideBy255(out[c] * keep));
        }
    }
    image.UnlockBits(&data);
    return true;
}

// Where each target column or row samples the picture: the two neighbours
// and the weight (0..256) of the second. Pixel i samples the picture at
// i x step, as GDI+ does without a pixel offset, and a neighbour beyond the
// picture's edge (-1 or the size) is transparent, so the edges fade as GDI+
// draws them.
struct Tap {
    int first, second;
    unsigned weight;
};

std::vector<Tap> Taps(int target, int source)
{
    std::vector<Tap> taps(static_cast<size_t>(target));
    const double step = static_cast<double>(source) / target;
    for (int i = 0; i < target; ++i) {
        const double at = i * step;
        const int first = static_cast<int>(std::floor(at));
        taps[static_cast<size_t>(i)] = {std::clamp(first, -1, source), std::clamp(first + 1, -1, source),
                                        static_cast<unsigned>((at - first) * 256.0 + 0.5)};
    }
    return taps;
}

const uint8_t kTransparent[4] = {};

const uint8_t* RowAt(const Gdiplus::BitmapData& data, int row, int height)
{
    if (row < 0 || row >= height) return nullptr;
    return static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(row) * data.Stride;
}

const uint8_t* PixelAt(const uint8_t* row, int column, int width)
{
    return row && column >= 0 && column < width ? row + column * 4 : kTransparent;
}

bool BlendStretched(CMemoryDC& surface, Gdiplus::Bitmap& image)
{
    const int width = surface.Width(), height = surface.Height();
    const int sourceWidth = static_cast<int>(image.GetWidth()), sourceHeight = static_cast<int>(image.GetHeight());
    auto* target = static_cast<uint8_t*>(surface.Bits());
    if (!target || sourceWidth <= 0 || sourceHeight <= 0) return false;
    Gdiplus::Rect all(0, 0, sourceWidth, sourceHeight);
    Gdiplus::BitmapData data{};
    if (image.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &data) != Gdiplus::Ok) return false;
    const std::vector<Tap> columns = Taps(width, sourceWidth), rows = Taps(height, sourceHeight);
    ::GdiFlush();
    for (int y = 0; y < height; ++y) {
        const Tap& row = rows[static_cast<size_t>(y)];
        const uint8_t* upper = RowAt(data, row.first, sourceHeight);
        const uint8_t* lower = RowAt(data, row.second, sourceHeight);
        uint8_t* out = target + static_cast<size_t>(y) * static_cast<size_t>(width) * 4u;
        for (int x = 0; x < width; ++x, out += 4) {
            const Tap& column = columns[static_cast<size_t>(x)];
            const uint8_t* a = PixelAt(upper, column.first, sourceWidth);
            const uint8_t* b = PixelAt(upper, column.second, sourceWidth);
            const uint8_t* c = PixelAt(lower, column.first, sourceWidth);
            const uint8_t* d = PixelAt(lower, column.second, sourceWidth);
            uint8_t in[4];
            for (int k = 0; k < 4; ++k) {
                const unsigned top = a[k] * (256u - column.weight) + b[k] * column.weight;
                const unsigned bottom = c[k] * (256u - column.weight) + d[k] * column.weight;
                in[k] = static_cast<uint8_t>((top * (256u - row.weight) + bottom * row.weight + 32768u) >> 16);
            }
            if (in[3] == 0) continue;
            const unsigned keep = 255u - in[3];
            for (int k = 0; k < 4; ++k) out[k] = static_cast<uint8_t>(in[k] + DivideBy255(out[k] * keep));
        }
    }
    image.UnlockBits(&data);
    return true;
}

}  // namespace

bool OverlaySkin(CMemoryDC& surface, Gdiplus::Bitmap& image)
{
    if (surface.Width() <= 0 || surface.Height() <= 0) return false;
    const bool sameSize = static_cast<int>(image.GetWidth()) == surface.Width() &&
                          static_cast<int>(image.GetHeight()) == surface.Height();
    return sameSize ? BlendSameSize(surface, image) : BlendStretched(surface, image);
}
