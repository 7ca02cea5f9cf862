#pragma once
#include <windows.h>

#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/core/MemoryDC.h"

// Lays a skin picture over a whole surface, source over, stretched to it
// bilinearly, with the pixels GDI+ would give. Blended here: GDI+ under Wine
// resamples every pixel through its general path, about 11 ms for a page at
// its own size and as much for a button face a row shorter than its art.
// False when nothing could be drawn.
bool OverlaySkin(CMemoryDC& surface, Gdiplus::Bitmap& image);
