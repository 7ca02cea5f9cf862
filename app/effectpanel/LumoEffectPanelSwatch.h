#pragma once
#include "app/effectpanel/LumoEffectPanelChild.h"
#include "ui/framework/controls/LumoColorButton.h"

// A colour swatch of an effect panel. Where it is not layered it starts from
// the panel's image at its place, and the colour and the frame go over that.
class LumoEffectPanelSwatch : public LumoEffectPanelChild<LumoColorButton> {
public:
    LumoEffectPanelSwatch();

protected:
    Gdiplus::Status PaintBackground(Gdiplus::Graphics& graphics) override;  // 40
};
