#include "ui/windows/buttons/FaceDrawing.h"

#include <algorithm>
#include <cstdint>

void CopyOpaqueBackground(CMemoryDC& surface, HDC background, int x, int y)
{
    if (!surface.GetSafeHdc()) return;
    if (background) ::BitBlt(surface, 0, 0, surface.Width(), surface.Height(), background, x, y, SRCCOPY);
    ::GdiFlush();
    auto* pixel = static_cast<uint32_t*>(surface.Bits());
    if (!pixel) return;
    const size_t count = static_cast<size_t>(surface.Width()) * static_cast<size_t>(surface.Height());
    for (size_t i = 0; i < count; ++i) pixel[i] |= 0xFF000000u;
}

void AlphaBlendWhole(HDC target, HDC source, int width, int height, BYTE alpha, bool perPixel)
{
    if (!target || !source || width <= 0 || height <= 0) return;
    // AlphaBlend refuses a source rectangle larger than the source bitmap.
    const SIZE available = SelectedBitmapSize(source);
    if (available.cx < width) width = available.cx;
    if (available.cy < height) height = available.cy;
    if (width <= 0 || height <= 0) return;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, alpha, static_cast<BYTE>(perPixel ? AC_SRC_ALPHA : 0)};
    ::GdiAlphaBlend(target, 0, 0, width, height, source, 0, 0, width, height, blend);
}

SIZE SelectedBitmapSize(HDC dc)
{
    SIZE size = {0, 0};
    BITMAP info = {};
    HGDIOBJ bitmap = dc ? ::GetCurrentObject(dc, OBJ_BITMAP) : nullptr;
    if (bitmap && ::GetObjectW(bitmap, sizeof(info), &info)) {
        size.cx = info.bmWidth;
        size.cy = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
    }
    return size;
}

SurfaceAlpha::SurfaceAlpha(const CMemoryDC& surface)
{
    ::GdiFlush();
    const auto* pixel = static_cast<const uint32_t*>(surface.Bits());
    if (!pixel) return;
    m_alpha.resize(static_cast<size_t>(surface.Width()) * static_cast<size_t>(surface.Height()));
    for (size_t i = 0; i < m_alpha.size(); ++i) m_alpha[i] = static_cast<uint8_t>(pixel[i] >> 24);
}

void SurfaceAlpha::Restore(CMemoryDC& surface) const
{
    ::GdiFlush();
    auto* pixel = static_cast<uint32_t*>(surface.Bits());
    const size_t count = static_cast<size_t>(surface.Width()) * static_cast<size_t>(surface.Height());
    if (!pixel || count != m_alpha.size()) return;
    for (size_t i = 0; i < count; ++i) {
        const uint32_t alpha = m_alpha[i];
        const uint32_t red = std::min((pixel[i] >> 16) & 0xFFu, alpha);
        const uint32_t green = std::min((pixel[i] >> 8) & 0xFFu, alpha);
        const uint32_t blue = std::min(pixel[i] & 0xFFu, alpha);
        pixel[i] = (alpha << 24) | (red << 16) | (green << 8) | blue;
    }
}
