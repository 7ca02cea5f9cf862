#include "ui/colorpicker/ColorPickerAnimationTransition.h"

#include "platform/ui/AnimationVariable.h"
#include "ui/colorpicker/ColorPickerAnimationInterpoloator.h"

using Transition = HSVColorPicker::ColorPickerAnimation::CColorPickerAnimationTransition;

Transition::CColorPickerAnimationTransition(double duration, double finalValue)
    : CCustomTransition(nullptr), m_pInterpolator(std::make_unique<CColorPickerAnimationInterpoloator>(duration, finalValue))
{
    SetInterpolator(m_pInterpolator.get());
}

Transition::~CColorPickerAnimationTransition() = default;

bool Transition::Create()
{
    // Start from where the animation set the variable, not where it is now.
    if (CAnimationVariable* variable = GetRelatedVariable()) SetInitialValue(variable->GetDefaultValue());
    return CCustomTransition::Create();
}
