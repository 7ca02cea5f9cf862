#include "ui/windows/buttons/FaceDrawing.h"

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
