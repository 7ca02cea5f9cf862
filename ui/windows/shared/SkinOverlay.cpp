#include "ui/windows/shared/SkinOverlay.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "ui/windows/shared/PixelMath.h"

namespace {

const uint8_t* RowOf(const Gdiplus::BitmapData& data, int row)
{
    return static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(row) * data.Stride;
}

void BlendSameSize(uint8_t* target, int width, int height, const Gdiplus::BitmapData& picture)
{
    for (int y = 0; y < height; ++y) {
        const uint8_t* in = RowOf(picture, y);
        uint8_t* out = target + static_cast<size_t>(y) * static_cast<size_t>(width) * 4u;
        for (int x = 0; x < width; ++x, in += 4, out += 4)
            if (in[3] != 0) LayOverPremultiplied(out, in);
    }
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

const uint8_t* PixelAt(const uint8_t* row, int column, int width)
{
    return row && column >= 0 && column < width ? row + column * 4 : kTransparent;
}

void BlendStretched(uint8_t* target, int width, int height, const Gdiplus::BitmapData& picture)
{
    const int sourceWidth = static_cast<int>(picture.Width), sourceHeight = static_cast<int>(picture.Height);
    const std::vector<Tap> columns = Taps(width, sourceWidth), rows = Taps(height, sourceHeight);
    auto rowAt = [&](int row) { return row >= 0 && row < sourceHeight ? RowOf(picture, row) : nullptr; };
    for (int y = 0; y < height; ++y) {
        const Tap& row = rows[static_cast<size_t>(y)];
        const uint8_t* upper = rowAt(row.first);
        const uint8_t* lower = rowAt(row.second);
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
            if (in[3] != 0) LayOverPremultiplied(out, in);
        }
    }
}

}  // namespace

bool OverlaySkin(CMemoryDC& surface, Gdiplus::Bitmap& image)
{
    const int width = surface.Width(), height = surface.Height();
    auto* target = static_cast<uint8_t*>(surface.Bits());
    const int sourceWidth = static_cast<int>(image.GetWidth()), sourceHeight = static_cast<int>(image.GetHeight());
    if (!target || width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) return false;
    Gdiplus::Rect all(0, 0, sourceWidth, sourceHeight);
    Gdiplus::BitmapData picture{};
    if (image.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppPARGB, &picture) != Gdiplus::Ok) return false;
    ::GdiFlush();
    if (sourceWidth == width && sourceHeight == height) {
        BlendSameSize(target, width, height, picture);
    } else {
        BlendStretched(target, width, height, picture);
    }
    image.UnlockBits(&picture);
    return true;
}
