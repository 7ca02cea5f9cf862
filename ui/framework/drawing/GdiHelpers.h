#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/GdiplusHeaders.h"

#include <cstdint>

// Small GDI helpers the custom-drawn windows share. Pixels are 32 bits, in
// the byte order B, G, R, A.

// A screen-compatible memory DC with a new width x height bitmap selected:
// with dib, a bottom-up 32bpp DIB section; else a screen-compatible bitmap.
// The bitmap stays selected either way; DeleteMemoryDC releases DC and
// bitmap together (so do not delete a handed-out bitmap a second time).
// 1 on success; 0 (and nothing made) on failure.
int CreateMemoryDCBitmap(int width, int height, HDC* dc, BOOL dib, HBITMAP* bitmap);

// Deletes a memory DC and then the bitmap selected in it (Windows will not
// delete a bitmap that is still selected).
void DeleteMemoryDC(HDC dc);

// Draws a 3x3-blurred copy of the source's rectangle into the graphics at
// the same place. 1 when drawn, 0 when nothing was.
int DrawBlurredRegion(Gdiplus::Graphics* graphics, HDC source, int x, int y, int width, int height);

// Mean of each pixel's 3x3 neighbourhood per colour channel (border pixels
// copied); alpha of every output pixel 255.
void BlurBuffer3x3(uint8_t* output, const uint8_t* input, int width, int height);

// Replaces *dc (a memory DC owning its bitmap) by a copy in which the bands
// (x1, y) and (x2, y), bandWidth x bandHeight, trade places. On failure the
// old DC is left as it was.
void SwapImageColumns(HDC* dc, int width, int height, int x1, int x2, int y, int bandWidth, int bandHeight);

// Fills buffer (width x height x 4 bytes) with the 32bpp DIB section's pixels,
// top row first. Only the part both share is copied; the rest is zero.
void GetBitmapBitsTopDown(HBITMAP bitmap, uint8_t* buffer, int width, int height);

// The size of the 32bpp DIB section selected into a DC; false (size 0) when
// the DC holds any other bitmap.
bool SelectedDib32Size(HDC dc, SIZE& size);

// True when every pixel of the width x height top-down 32bpp block is opaque.
bool AllPixelsOpaque(const uint32_t* pixels, int width, int height);

// Four opaque vertical bands: colour i from the midpoint of positions i - 1
// and i (0 for the first) to the midpoint of i and i + 1 (the right edge for
// the last).
void FillColorBands(HDC dc, int width, int height, const float positions[4], const COLORREF colors[4]);
