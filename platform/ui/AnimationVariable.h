#pragma once
#include <memory>
#include <vector>

#include "platform/ui/AnimationTransition.h"

class CAnimationController;

// One animated number. Transitions added to it run, in order, at the next
// AnimateGroup of its controller's group; the variable owns them until then.
class CAnimationVariable {
public:
    explicit CAnimationVariable(double defaultValue = 0.0);
    ~CAnimationVariable();
    CAnimationVariable(const CAnimationVariable&) = delete;
    CAnimationVariable& operator=(const CAnimationVariable&) = delete;

    // The value the variable starts from; it also becomes the current value.
    void SetDefaultValue(double value);
    double GetDefaultValue() const { return m_defaultValue; }
    double GetValue() const { return m_value; }

    // While enabled, each change of the value during an update calls the
    // controller's OnAnimationValueChanged.
    void EnableValueChangedEvent(CAnimationController* controller, bool enable);
    CAnimationController* ValueChangedController() const { return m_pValueChangedController; }

    void AddTransition(std::unique_ptr<CCustomTransition> transition);
    void ClearTransitions() { m_transitions.clear(); }
    size_t TransitionCount() const { return m_transitions.size(); }

private:
    friend class CAnimationController;

    double m_defaultValue;
    double m_value;
    // The controller the variable was added to, told when the variable dies.
    CAnimationController* m_pOwner = nullptr;
    CAnimationController* m_pValueChangedController = nullptr;
    std::vector<std::unique_ptr<CCustomTransition>> m_transitions;
};
