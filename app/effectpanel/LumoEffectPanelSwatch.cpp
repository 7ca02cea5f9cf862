#include "app/effectpanel/LumoEffectPanelSwatch.h"

namespace {

const Gdiplus::Color kDefaultSwatchColor(0xFFFF0000);

}  // namespace

LumoEffectPanelSwatch::LumoEffectPanelSwatch()
    : LumoEffectPanelChild<LumoColorButton>(L"COLOR_NORMAL", L"COLOR_HOVER", L"COLOR_HOVER", kDefaultSwatchColor)
{
}

Gdiplus::Status LumoEffectPanelSwatch::PaintBackground(Gdiplus::Graphics& graphics)
{
    if (m_bLayered || !m_hBackgroundDC || !m_memDC.GetSafeHdc())
        return LumoEffectPanelChild<LumoColorButton>::PaintBackground(graphics);
    // The swatch's own order would copy the panel's image over the colour.
    const BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::AlphaBlend(m_memDC.GetSafeHdc(), 0, 0, m_nWidth, m_nHeight, m_hBackgroundDC, m_nX, m_nY, m_nWidth, m_nHeight,
                 blend);
    ::GdiFlush();
    const HDC background = m_hBackgroundDC;
    m_hBackgroundDC = nullptr;
    const Gdiplus::Status status = LumoEffectPanelChild<LumoColorButton>::PaintBackground(graphics);
    m_hBackgroundDC = background;
    return status;
}
