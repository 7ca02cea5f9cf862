#pragma once
#include <string>

#include "ui/framework/controls/LumoButton.h"

// A skinned button that shows a colour.
class LumoColorButtonBase : public LumoButton {
public:
    LumoColorButtonBase(std::wstring normalImage, std::wstring mouseOverImage, std::wstring pressedImage,
                        Gdiplus::Color color);

    property_bst_override<Gdiplus::Color> Color;
    Event<Gdiplus::Color&> ColorChanged;

    virtual void SetColor(Gdiplus::Color color);  // 45

protected:
    Gdiplus::ARGB m_clrColor;
};
