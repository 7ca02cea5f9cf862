#include "ui/colorpicker/ColorPickerAnimation.h"

#include <memory>

#include "ui/colorpicker/ColorPickerAnimationTransition.h"

using Animation = HSVColorPicker::ColorPickerAnimation;

Animation::ColorPickerAnimation(HSVColorPicker* picker) : m_pPicker(picker) {}

void Animation::Animate(double first, double second, double third, double firstTarget, double secondTarget,
                        double thirdTarget, double duration)
{
    EnableAnimationManagerEvent(true);
    EnableAnimationTimerEventHandler(true, AnimationIdleBehavior::Disable);

    CAnimationVariable* const variables[3] = {&m_first, &m_second, &m_third};
    const double starts[3] = {first, second, third};
    const double targets[3] = {firstTarget, secondTarget, thirdTarget};
    for (int i = 0; i < 3; ++i) {
        // A new move replaces whatever the variable was still doing.
        RemoveAnimationVariable(*variables[i]);
        variables[i]->ClearTransitions();
        variables[i]->SetDefaultValue(starts[i]);
        variables[i]->EnableValueChangedEvent(this, true);
        AddAnimationVariable(*variables[i], 0);
    }
    for (int i = 0; i < 3; ++i) {
        if (targets[i] != starts[i])
            variables[i]->AddTransition(std::make_unique<CColorPickerAnimationTransition>(duration, targets[i]));
    }
    AnimateGroup(0);
}

void Animation::OnBeforeAnimationStart(uint32_t)
{
    // Mouse input passes through the picker while it moves.
    m_pPicker->IsHitTestVisible = 0;
    m_pPicker->AnimationStarted.Raise(m_pPicker);
    m_bRunning = 1;
}

void Animation::OnAnimationValueChanged(CAnimationVariable&, double, double)
{
    m_pPicker->HSV = HSVColor(WrapHue(m_first.GetValue()), static_cast<float>(m_second.GetValue()),
                              static_cast<float>(m_third.GetValue()));
}

void Animation::OnAnimationManagerStatusChanged(AnimationManagerStatus newStatus, AnimationManagerStatus)
{
    if (newStatus != AnimationManagerStatus::Idle) return;
    m_bRunning = 0;
    EnableAnimationManagerEvent(false);
    EnableAnimationTimerEventHandler(false, AnimationIdleBehavior::Disable);
    for (CAnimationVariable* variable : {&m_first, &m_second, &m_third}) {
        variable->EnableValueChangedEvent(this, false);
        RemoveAnimationVariable(*variable);
    }
    m_pPicker->OnAnimationCompleted();
}

void Animation::OnAnimationTimerPostUpdate() {}
