#include <gtest/gtest.h>

#include <memory>

#include "platform/ui/AnimationVariable.h"
#include "ui/colorpicker/ColorPickerAnimationInterpoloator.h"
#include "ui/colorpicker/ColorPickerAnimationTransition.h"

namespace {

using Interpolator = HSVColorPicker::ColorPickerAnimation::CColorPickerAnimationInterpoloator;
using Transition = HSVColorPicker::ColorPickerAnimation::CColorPickerAnimationTransition;

TEST(PickerInterpolator, QuadraticEaseOut)
{
    Interpolator curve(0.5, 20.0);
    ASSERT_TRUE(curve.SetInitialValueAndVelocity(10.0, 3.0));
    double duration = 0, final = 0;
    EXPECT_TRUE(curve.GetDuration(duration));
    EXPECT_EQ(duration, 0.5);
    EXPECT_TRUE(curve.GetFinalValue(final));
    EXPECT_EQ(final, 20.0);

    const struct {
        double t, value;
    } cases[] = {{0.0, 10.0}, {0.125, 14.375}, {0.25, 17.5}, {0.375, 19.375}, {0.5, 20.0}};
    for (const auto& c : cases) {
        double value = -1;
        EXPECT_TRUE(curve.InterpolateValue(c.t, value));
        EXPECT_DOUBLE_EQ(value, c.value) << c.t;
    }
    double velocity = 0;
    EXPECT_TRUE(curve.InterpolateVelocity(0.3, velocity));
    EXPECT_EQ(velocity, 3.0) << "the stored velocity, not recomputed";

    AnimationDependencies a = AnimationDependencyDuration, b = a, c = a;
    EXPECT_TRUE(curve.GetDependencies(a, b, c));
    EXPECT_EQ(a | b | c, AnimationDependencyNone);

    EXPECT_TRUE(curve.SetDuration(0.0));
    double value = 0;
    EXPECT_TRUE(curve.InterpolateValue(0.0, value));
    EXPECT_EQ(value, 20.0) << "no time to move: already there";
}

TEST(PickerTransition, StartsFromTheVariablesDefaultValue)
{
    CAnimationVariable variable(0.0);
    variable.SetDefaultValue(350.0);
    auto owned = std::make_unique<Transition>(0.5, 370.0);
    Transition* transition = owned.get();
    variable.AddTransition(std::move(owned));
    ASSERT_EQ(transition->GetRelatedVariable(), &variable);
    ASSERT_TRUE(transition->Create());
    // Whatever the value at the start, the curve begins at the default value.
    EXPECT_EQ(transition->Begin(123.0, 0.0), 0.5);
    EXPECT_EQ(transition->ValueAt(0.0), 350.0);
    EXPECT_DOUBLE_EQ(transition->ValueAt(0.25), 365.0);
    EXPECT_EQ(transition->FinalValue(), 370.0);
}

}  // namespace
