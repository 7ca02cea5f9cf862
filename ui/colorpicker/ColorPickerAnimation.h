#pragma once
#include "platform/ui/AnimationController.h"
#include "ui/colorpicker/HSVColorPicker.h"

// Animates the picker's H, S and V as three variables.
class HSVColorPicker::ColorPickerAnimation : public CAnimationController {
public:
    class CColorPickerAnimationTransition;
    class CColorPickerAnimationInterpoloator;

    explicit ColorPickerAnimation(HSVColorPicker* picker);

    // Moves the three variables from the start values to the targets.
    void Animate(double first, double second, double third, double firstTarget, double secondTarget,
                 double thirdTarget, double duration);
    int IsRunning() const { return m_bRunning; }

protected:
    void OnBeforeAnimationStart(uint32_t group) override;
    void OnAnimationValueChanged(CAnimationVariable& variable, double newValue, double previousValue) override;
    void OnAnimationManagerStatusChanged(AnimationManagerStatus newStatus,
                                         AnimationManagerStatus previousStatus) override;
    void OnAnimationTimerPostUpdate() override;

    CAnimationVariable m_first;
    CAnimationVariable m_second;
    CAnimationVariable m_third;
    HSVColorPicker* m_pPicker;
    int32_t m_bRunning = 0;
};
