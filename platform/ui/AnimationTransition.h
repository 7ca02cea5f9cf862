#pragma once
#include "platform/ui/AnimationInterpolator.h"

class CAnimationVariable;

// A transition of one variable whose curve is a custom interpolator. The
// interpolator belongs to whoever made the transition and must outlive it.
class CCustomTransition {
public:
    explicit CCustomTransition(CCustomInterpolator* interpolator);
    virtual ~CCustomTransition() = default;
    CCustomTransition(const CCustomTransition&) = delete;
    CCustomTransition& operator=(const CCustomTransition&) = delete;

    // Where set, the transition starts from these instead of the variable's
    // value and velocity at that moment.
    void SetInitialValue(double value);
    void SetInitialVelocity(double velocity);

    // Made ready to run when its storyboard is scheduled; false when it
    // cannot run (no interpolator), and the controller then skips it.
    virtual bool Create();
    bool IsCreated() const { return m_bCreated; }

    CAnimationVariable* GetRelatedVariable() const { return m_pRelatedVariable; }
    void SetRelatedVariable(CAnimationVariable* variable) { m_pRelatedVariable = variable; }

    // Used by the controller while the transition runs.
    // Starts it from value and velocity; returns its duration in seconds.
    double Begin(double value, double velocity);
    double ValueAt(double offset) const;
    double VelocityAt(double offset) const;
    double FinalValue() const;

protected:
    void SetInterpolator(CCustomInterpolator* interpolator) { m_pInterpolator = interpolator; }

private:
    CCustomInterpolator* m_pInterpolator;
    CAnimationVariable* m_pRelatedVariable = nullptr;
    double m_initialValue = 0.0;
    double m_initialVelocity = 0.0;
    bool m_bInitialValueSpecified = false;
    bool m_bInitialVelocitySpecified = false;
    bool m_bCreated = false;
};
