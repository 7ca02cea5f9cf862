#include "ui/framework/controls/LumoColorButton.h"

#include <utility>

#include "ui/framework/scale/Scale.h"

LumoColorButton::LumoColorButton(std::wstring normalImage, std::wstring mouseOverImage, std::wstring pressedImage,
                                 Gdiplus::Color color)
    : LumoColorButtonBase(std::move(normalImage), std::move(mouseOverImage), std::move(pressedImage), color)
{
}

void LumoColorButton::SetIsEnabled(int enabled)
{
    Control::SetIsEnabled(enabled);
    Opacity = enabled ? 1.0f : 0.5f;
}

Gdiplus::Rect LumoColorButton::ColorSquare(float uiScale, int resolutionClass)
{
    const int offset = static_cast<int>(4.0f * uiScale + 0.5f);
    const int side = static_cast<int>(27.0f * uiScale + 0.5f);
    // The 4K frames have their hole at a fixed top edge.
    const int top = resolutionClass < 2 ? offset : 7;
    return Gdiplus::Rect(offset, top, side, side);
}

Gdiplus::Status LumoColorButton::PaintBackground(Gdiplus::Graphics& graphics)
{
    const Gdiplus::Rect square = ColorSquare(g_fUIScale, g_nResolutionClass);
    const INT left = square.X, top = square.Y, right = square.X + square.Width, bottom = square.Y + square.Height;
    const Gdiplus::Point corners[5] = {{left, top}, {right, top}, {right, bottom}, {left, bottom}, {left, top}};
    Gdiplus::SolidBrush brush{Gdiplus::Color(m_clrColor)};
    graphics.FillPolygon(&brush, corners, 5, Gdiplus::FillModeAlternate);
    return Control::PaintBackground(graphics);
}
