#include "ui/framework/controls/LumoColorButtonBase.h"

#include <utility>

LumoColorButtonBase::LumoColorButtonBase(std::wstring normalImage, std::wstring mouseOverImage,
                                         std::wstring pressedImage, Gdiplus::Color color)
    : LumoButton(std::move(normalImage), std::move(mouseOverImage), std::move(pressedImage)),
      Color([this] { return Gdiplus::Color(m_clrColor); },
            [this](const Gdiplus::Color& value) {
                if (value.GetValue() != m_clrColor) SetColor(value);
            }),
      m_clrColor(color.GetValue())
{
}

void LumoColorButtonBase::SetColor(Gdiplus::Color color)
{
    m_clrColor = color.GetValue();
    Render();
    Color.RaiseChanged(this);
    ColorChanged.RaiseValue(this, color);
}
