#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "ui/framework/core/MemoryDC.h"

// Small drawing steps the image buttons and the zone combo box share.

// The background's pixels at (x, y) into the whole surface, made opaque so
// that GDI+ composes over them as over a solid picture.
void CopyOpaqueBackground(CMemoryDC& surface, HDC background, int x, int y);

// source's width x height blended over target at (0, 0) with a constant
// alpha and, when perPixel, the source's own (premultiplied) alpha. Nothing
// happens without a source.
void AlphaBlendWhole(HDC target, HDC source, int width, int height, BYTE alpha, bool perPixel);

// Width and height of the bitmap selected into dc (0, 0 without one).
SIZE SelectedBitmapSize(HDC dc);

// The alpha of every pixel of a surface, kept across drawing that leaves it
// undefined (GDI+ text through the surface's DC) and put back with each
// colour kept within its alpha, so the pixels stay premultiplied.
class SurfaceAlpha {
public:
    explicit SurfaceAlpha(const CMemoryDC& surface);
    void Restore(CMemoryDC& surface) const;

private:
    std::vector<uint8_t> m_alpha;
};
