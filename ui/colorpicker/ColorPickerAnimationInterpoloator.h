#pragma once
#include "platform/ui/AnimationInterpolator.h"
#include "ui/colorpicker/ColorPickerAnimation.h"

// A quadratic ease-out from the initial to the final value.
class HSVColorPicker::ColorPickerAnimation::CColorPickerAnimationInterpoloator : public CCustomInterpolator {
public:
    CColorPickerAnimationInterpoloator(double duration, double finalValue);

    bool SetInitialValueAndVelocity(double value, double velocity) override;
    bool SetDuration(double duration) override;
    bool GetDuration(double& duration) override;
    bool GetFinalValue(double& value) override;
    bool InterpolateValue(double offset, double& value) override;
    bool InterpolateVelocity(double offset, double& velocity) override;
    bool GetDependencies(AnimationDependencies& initialValue, AnimationDependencies& initialVelocity,
                         AnimationDependencies& duration) override;

private:
    double m_duration;
    double m_finalValue;
    double m_initialValue = 0.0;
    double m_initialVelocity = 0.0;
    double m_currentValue = 0.0;
    double m_currentVelocity = 0.0;
};
