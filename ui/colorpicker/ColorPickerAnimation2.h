#pragma once
#include "ui/colorpicker/ColorPickerAnimation.h"

// Animates the hue (which may run outside [0, 360) to go the short way
// round) and the saturation/value marker's x and y: the marker then moves
// in a straight line across the triangle.
class HSVColorPicker::ColorPickerAnimation2 : public HSVColorPicker::ColorPickerAnimation {
public:
    explicit ColorPickerAnimation2(HSVColorPicker* picker) : ColorPickerAnimation(picker) {}

protected:
    void OnAnimationValueChanged(CAnimationVariable& variable, double newValue, double previousValue) override;
};
