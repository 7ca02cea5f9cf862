#include "ui/windows/SkinOverlay.h"

#include <cstdint>

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

}  // namespace

bool OverlaySkin(CMemoryDC& surface, Gdiplus::Bitmap& image)
{
    if (surface.Width() <= 0 || surface.Height() <= 0) return false;
    if (static_cast<int>(image.GetWidth()) == surface.Width() &&
        static_cast<int>(image.GetHeight()) == surface.Height() && BlendSameSize(surface, image)) {
        return true;
    }
    Gdiplus::Bitmap* target = surface.Surface();
    if (!target) return false;
    ::GdiFlush();
    Gdiplus::Graphics graphics(target);
    return graphics.GetLastStatus() == Gdiplus::Ok &&
           graphics.DrawImage(&image, Gdiplus::Rect(0, 0, surface.Width(), surface.Height())) == Gdiplus::Ok;
}
