#pragma once
#include <cstdint>

// What a custom interpolator's results depend on.
enum AnimationDependencies : uint32_t {
    AnimationDependencyNone = 0,
    AnimationDependencyIntermediateValues = 1,
    AnimationDependencyFinalValue = 2,
    AnimationDependencyFinalVelocity = 4,
    AnimationDependencyDuration = 8,
};

// The curve of a custom transition: the controller hands it the start value
// and velocity, then asks for values at offsets (seconds from the start).
// Each method returns false when it cannot answer.
class CCustomInterpolator {
public:
    virtual ~CCustomInterpolator() = default;

    virtual bool SetInitialValueAndVelocity(double value, double velocity) = 0;
    virtual bool SetDuration(double duration) = 0;
    virtual bool GetDuration(double& duration) = 0;
    virtual bool GetFinalValue(double& value) = 0;
    virtual bool InterpolateValue(double offset, double& value) = 0;
    virtual bool InterpolateVelocity(double offset, double& velocity) = 0;
    virtual bool GetDependencies(AnimationDependencies& initialValue, AnimationDependencies& initialVelocity,
                                 AnimationDependencies& duration) = 0;
};
