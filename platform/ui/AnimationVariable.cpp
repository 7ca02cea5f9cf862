#include "platform/ui/AnimationVariable.h"

#include <utility>

#include "platform/ui/AnimationController.h"

CAnimationVariable::CAnimationVariable(double defaultValue) : m_defaultValue(defaultValue), m_value(defaultValue) {}

CAnimationVariable::~CAnimationVariable()
{
    if (m_pOwner) m_pOwner->RemoveAnimationVariable(*this);
}

void CAnimationVariable::SetDefaultValue(double value)
{
    m_defaultValue = value;
    m_value = value;
}

void CAnimationVariable::EnableValueChangedEvent(CAnimationController* controller, bool enable)
{
    m_pValueChangedController = enable ? controller : nullptr;
}

void CAnimationVariable::AddTransition(std::unique_ptr<CCustomTransition> transition)
{
    if (!transition) return;
    transition->SetRelatedVariable(this);
    m_transitions.push_back(std::move(transition));
}
