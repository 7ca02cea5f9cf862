#pragma once
#include <string>

#include "ui/framework/controls/LumoColorButtonBase.h"

// The effect panels' colour swatch: the colour square under a frame image
// with a hole where the colour shows.
class LumoColorButton : public LumoColorButtonBase {
public:
    LumoColorButton(std::wstring normalImage, std::wstring mouseOverImage, std::wstring pressedImage,
                    Gdiplus::Color color);

    // Also halves the opacity while disabled.
    void SetIsEnabled(int enabled) override;

    // The colour square's corners at a UI scale and resolution class.
    static Gdiplus::Rect ColorSquare(float uiScale, int resolutionClass);

protected:
    Gdiplus::Status PaintBackground(Gdiplus::Graphics& graphics) override;
};
