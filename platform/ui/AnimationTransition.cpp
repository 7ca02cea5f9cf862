#include "platform/ui/AnimationTransition.h"

CCustomTransition::CCustomTransition(CCustomInterpolator* interpolator) : m_pInterpolator(interpolator) {}

void CCustomTransition::SetInitialValue(double value)
{
    m_initialValue = value;
    m_bInitialValueSpecified = true;
}

void CCustomTransition::SetInitialVelocity(double velocity)
{
    m_initialVelocity = velocity;
    m_bInitialVelocitySpecified = true;
}

bool CCustomTransition::Create()
{
    m_bCreated = m_pInterpolator != nullptr;
    return m_bCreated;
}

double CCustomTransition::Begin(double value, double velocity)
{
    m_pInterpolator->SetInitialValueAndVelocity(m_bInitialValueSpecified ? m_initialValue : value,
                                                m_bInitialVelocitySpecified ? m_initialVelocity : velocity);
    double duration = 0.0;
    if (!m_pInterpolator->GetDuration(duration) || !(duration > 0.0)) return 0.0;
    return duration;
}

double CCustomTransition::ValueAt(double offset) const
{
    double value = 0.0;
    if (!m_pInterpolator->InterpolateValue(offset, value)) return FinalValue();
    return value;
}

double CCustomTransition::VelocityAt(double offset) const
{
    double velocity = 0.0;
    return m_pInterpolator->InterpolateVelocity(offset, velocity) ? velocity : 0.0;
}

double CCustomTransition::FinalValue() const
{
    double value = 0.0;
    m_pInterpolator->GetFinalValue(value);
    return value;
}
