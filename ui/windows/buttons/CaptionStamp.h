#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/GdiplusHeaders.h"

#include "ui/framework/core/MemoryDC.h"

// A caption drawn once in one text style onto a transparent picture, then
// blended into a target at whole-pixel offsets: the same pixels as drawing
// the caption there again (GDI+ blends text through AlphaBlend too), without
// laying the text out each time. The target draws in device pixels.
class CaptionStamp {
public:
    // Draws the caption as DrawTextGdiplus would in rect, with the target's
    // text rendering hint and contrast, as far as it falls inside area (in
    // target coordinates): the stamps can only show what lies there.
    CaptionStamp(Gdiplus::Graphics* target, const Gdiplus::RectF& rect, const Gdiplus::RectF& area,
                 const wchar_t* caption, int alignment, int styleId);

    // The caption as if drawn in rect moved by (dx, dy), into the target's
    // DC; nothing when it could not be drawn (unknown style, no font).
    void DrawAt(HDC targetDc, int dx, int dy) const;

private:
    CMemoryDC m_picture;
    bool m_bDrawn = false;
    RECT m_ink = {};              // the part of the picture the caption covers
    int m_nLeft = 0, m_nTop = 0;  // the picture's place in the target
};
