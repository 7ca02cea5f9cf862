#pragma once
#include <string>

#include "ui/framework/controls/LumoColorButtonBase.h"

// The colour picker's swatch: a centred colour square; while focused the
// frame is the selected-swatch image.
class LumoColorButton2 : public LumoColorButtonBase {
public:
    LumoColorButton2(std::wstring normalImage, std::wstring mouseOverImage, std::wstring pressedImage,
                     Gdiplus::Color color);

protected:
    Gdiplus::Status PaintBackground(Gdiplus::Graphics& graphics) override;
    void PaintContent(Gdiplus::Graphics& graphics) override;

private:
    // Made again when the control's size changed.
    bool PrepareFocusedFace();

    // The focused face, made on first focus.
    CMemoryDC m_focusedFace;
};
