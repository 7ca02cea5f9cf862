#include "ui/windows/buttons/CaptionStamp.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "ui/framework/drawing/TextDraw.h"

namespace {

// A caption wider or taller than this is not worth a picture.
constexpr float kLargestSide = 8192.0f;

// The smallest rectangle holding every pixel that is not fully transparent:
// only that part is worth blending, the layout box is mostly empty.
RECT InkBounds(CMemoryDC& picture)
{
    ::GdiFlush();
    RECT ink = {picture.Width(), picture.Height(), 0, 0};
    const auto* pixel = static_cast<const uint32_t*>(picture.Bits());
    for (int y = 0; pixel && y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x, ++pixel) {
            if ((*pixel >> 24) == 0) continue;
            ink.left = std::min<LONG>(ink.left, x);
            ink.right = std::max<LONG>(ink.right, x + 1);
            ink.top = std::min<LONG>(ink.top, y);
            ink.bottom = std::max<LONG>(ink.bottom, y + 1);
        }
    return ink;
}

}  // namespace

CaptionStamp::CaptionStamp(Gdiplus::Graphics* target, const Gdiplus::RectF& rect, const Gdiplus::RectF& area,
                           const wchar_t* caption, int alignment, int styleId)
{
    if (!target || !caption) return;
    if (!(area.Width > 0 && area.Height > 0 && area.Width < kLargestSide && area.Height < kLargestSide)) return;
    // A whole-pixel origin: the caption keeps its fraction of a pixel, so its glyphs land as in the target.
    m_nLeft = static_cast<int>(std::floor(area.X));
    m_nTop = static_cast<int>(std::floor(area.Y));
    const int width = static_cast<int>(std::ceil(area.X + area.Width)) - m_nLeft;
    const int height = static_cast<int>(std::ceil(area.Y + area.Height)) - m_nTop;
    if (!m_picture.Resize(width, height) || !m_picture.Surface()) return;
    Gdiplus::Graphics graphics(m_picture.Surface());
    graphics.SetTextRenderingHint(target->GetTextRenderingHint());
    graphics.SetTextContrast(target->GetTextContrast());
    const Gdiplus::RectF moved(rect.X - m_nLeft, rect.Y - m_nTop, rect.Width, rect.Height);
    m_bDrawn = DrawTextGdiplus(&graphics, moved, caption, alignment, styleId);
    if (m_bDrawn) m_ink = InkBounds(m_picture);
}

void CaptionStamp::DrawAt(HDC targetDc, int dx, int dy) const
{
    const int width = m_ink.right - m_ink.left, height = m_ink.bottom - m_ink.top;
    if (!targetDc || !m_bDrawn || width <= 0 || height <= 0) return;
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::GdiAlphaBlend(targetDc, m_nLeft + m_ink.left + dx, m_nTop + m_ink.top + dy, width, height, m_picture,
                    m_ink.left, m_ink.top, width, height, blend);
}
