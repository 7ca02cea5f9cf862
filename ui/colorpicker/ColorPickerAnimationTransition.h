#pragma once
#include <memory>

#include "platform/ui/AnimationTransition.h"
#include "ui/colorpicker/ColorPickerAnimation.h"

// A transition to a final value over a duration, starting from its
// variable's default value, on the picker's ease-out curve.
class HSVColorPicker::ColorPickerAnimation::CColorPickerAnimationTransition : public CCustomTransition {
public:
    CColorPickerAnimationTransition(double duration, double finalValue);
    ~CColorPickerAnimationTransition() override;

    bool Create() override;

private:
    std::unique_ptr<CColorPickerAnimationInterpoloator> m_pInterpolator;
};
