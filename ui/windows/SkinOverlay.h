#pragma once
#include <windows.h>

#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/MemoryDC.h"

// Lays a skin picture over a whole surface, source over, stretched to it.
// At the surface's own size (the usual case) the pixels are blended here:
// GDI+ under Wine takes its general resampling path even for a 1:1 draw,
// about 11 ms for a page-sized picture. False when nothing could be drawn.
bool OverlaySkin(CMemoryDC& surface, Gdiplus::Bitmap& image);
