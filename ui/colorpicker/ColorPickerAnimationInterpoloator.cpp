#include "ui/colorpicker/ColorPickerAnimationInterpoloator.h"

using Interpolator = HSVColorPicker::ColorPickerAnimation::CColorPickerAnimationInterpoloator;

Interpolator::CColorPickerAnimationInterpoloator(double duration, double finalValue)
    : m_duration(duration), m_finalValue(finalValue)
{
}

bool Interpolator::SetInitialValueAndVelocity(double value, double velocity)
{
    m_initialValue = m_currentValue = value;
    m_initialVelocity = m_currentVelocity = velocity;
    return true;
}

bool Interpolator::SetDuration(double duration)
{
    m_duration = duration;
    return true;
}

bool Interpolator::GetDuration(double& duration)
{
    duration = m_duration;
    return true;
}

bool Interpolator::GetFinalValue(double& value)
{
    value = m_finalValue;
    return true;
}

bool Interpolator::InterpolateValue(double offset, double& value)
{
    if (!(m_duration > 0.0)) {
        value = m_finalValue;  // no time to move in
        return true;
    }
    const double remaining = 1.0 - offset / m_duration;
    value = m_initialValue + (m_finalValue - m_initialValue) * (1.0 - remaining * remaining);
    return true;
}

bool Interpolator::InterpolateVelocity(double, double& velocity)
{
    velocity = m_currentVelocity;
    return true;
}

bool Interpolator::GetDependencies(AnimationDependencies& initialValue, AnimationDependencies& initialVelocity,
                                   AnimationDependencies& duration)
{
    initialValue = AnimationDependencyNone;
    initialVelocity = AnimationDependencyNone;
    duration = AnimationDependencyNone;
    return true;
}
