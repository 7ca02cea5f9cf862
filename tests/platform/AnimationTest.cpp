#include <gtest/gtest.h>

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/ui/AnimationController.h"
#include "tests/support/MessagePump.h"
#include "tests/support/WindowCreationRefusal.h"

namespace {

// A straight line from the start value to the final value.
class LinearInterpolator : public CCustomInterpolator {
public:
    LinearInterpolator(double duration, double finalValue) : m_duration(duration), m_final(finalValue) {}

    bool SetInitialValueAndVelocity(double value, double) override
    {
        m_initial = value;
        ++begun;
        return true;
    }
    bool SetDuration(double duration) override
    {
        m_duration = duration;
        return true;
    }
    bool GetDuration(double& duration) override
    {
        duration = m_duration;
        return true;
    }
    bool GetFinalValue(double& value) override
    {
        value = m_final;
        return true;
    }
    bool InterpolateValue(double offset, double& value) override
    {
        value = m_initial + (m_final - m_initial) * offset / m_duration;
        return true;
    }
    bool InterpolateVelocity(double, double& velocity) override
    {
        velocity = (m_final - m_initial) / m_duration;
        return true;
    }
    bool GetDependencies(AnimationDependencies& a, AnimationDependencies& b, AnimationDependencies& c) override
    {
        a = b = c = AnimationDependencyNone;
        return true;
    }

    int begun = 0;

private:
    double m_duration;
    double m_final;
    double m_initial = 0.0;
};

// A transition that owns its interpolator.
class LinearTransition : public CCustomTransition {
public:
    LinearTransition(double duration, double finalValue)
        : CCustomTransition(nullptr), m_interpolator(std::make_unique<LinearInterpolator>(duration, finalValue))
    {
        SetInterpolator(m_interpolator.get());
    }

private:
    std::unique_ptr<LinearInterpolator> m_interpolator;
};

// Writes every callback into a log, with the thread it ran on.
class RecordingController : public CAnimationController {
public:
    std::vector<std::string> log;
    std::vector<DWORD> threads;
    double now = 0.0;

    RecordingController()
    {
        SetClock([this] { return now; });
    }

protected:
    void OnBeforeAnimationStart(uint32_t group) override { Record("start " + std::to_string(group)); }
    void OnAnimationValueChanged(CAnimationVariable& variable, double newValue, double previousValue) override
    {
        Record("value " + Name(variable) + " " + Number(previousValue) + "->" + Number(newValue));
    }
    void OnAnimationManagerStatusChanged(AnimationManagerStatus status, AnimationManagerStatus previous) override
    {
        Record("status " + std::to_string(static_cast<int>(previous)) + "->" + std::to_string(static_cast<int>(status)));
    }
    void OnAnimationTimerPostUpdate() override { Record("post"); }

public:
    CAnimationVariable x{0.0};
    CAnimationVariable y{0.0};

private:
    void Record(const std::string& line)
    {
        log.push_back(line);
        threads.push_back(GetCurrentThreadId());
    }
    std::string Name(const CAnimationVariable& v) const { return &v == &x ? "x" : &v == &y ? "y" : "?"; }
    static std::string Number(double v)
    {
        char text[32];
        snprintf(text, sizeof(text), "%g", v);
        return text;
    }
};

void EnableAll(RecordingController& c, AnimationIdleBehavior idle = AnimationIdleBehavior::Disable)
{
    c.EnableAnimationManagerEvent(true);
    c.EnableAnimationTimerEventHandler(true, idle);
    c.x.EnableValueChangedEvent(&c, true);
    c.y.EnableValueChangedEvent(&c, true);
    c.AddAnimationVariable(c.x, 0);
    c.AddAnimationVariable(c.y, 0);
}

}  // namespace

TEST(AnimationController, RunsTransitionsInOrderAndReportsEachStep)
{
    RecordingController c;
    EnableAll(c);
    c.x.SetDefaultValue(10.0);
    c.x.AddTransition(std::make_unique<LinearTransition>(1.0, 20.0));
    c.x.AddTransition(std::make_unique<LinearTransition>(2.0, 0.0));
    c.y.SetDefaultValue(5.0);  // no transition: stays

    ASSERT_TRUE(c.AnimateGroup(0));
    EXPECT_EQ(c.x.TransitionCount(), 0u) << "the storyboard took them";
    EXPECT_TRUE(c.IsFrameTimerRunning());
    c.now = 0.5;
    c.UpdateAnimationManager();
    c.now = 1.0;  // the second transition starts from 20
    c.UpdateAnimationManager();
    c.now = 2.0;
    c.UpdateAnimationManager();
    c.now = 3.5;  // past the end: the final value, then idle
    c.UpdateAnimationManager();

    const std::vector<std::string> expected = {
        "start 0",          "status 0->1",       "value x 10->15", "post", "value x 15->20", "post",
        "value x 20->10",   "post",              "value x 10->0",  "status 1->0",        "post",
    };
    EXPECT_EQ(c.log, expected);
    EXPECT_EQ(c.x.GetValue(), 0.0);
    EXPECT_EQ(c.y.GetValue(), 5.0);
    EXPECT_EQ(c.GetStatus(), AnimationManagerStatus::Idle);
    EXPECT_FALSE(c.IsFrameTimerRunning()) << "idle behaviour Disable stops the frame timer";
}

TEST(AnimationController, HandlersSeeEveryVariableOfTheFrameAlreadyMoved)
{
    struct Reader : RecordingController {
        std::vector<std::pair<double, double>> seen;
        void OnAnimationValueChanged(CAnimationVariable&, double, double) override
        {
            seen.emplace_back(x.GetValue(), y.GetValue());
        }
    } c;
    EnableAll(c);
    c.x.AddTransition(std::make_unique<LinearTransition>(1.0, 10.0));
    c.y.AddTransition(std::make_unique<LinearTransition>(1.0, 20.0));
    c.AnimateGroup(0);
    c.now = 0.5;
    c.UpdateAnimationManager();
    ASSERT_EQ(c.seen.size(), 2u);
    for (const auto& pair : c.seen) {
        EXPECT_EQ(pair.first, 5.0);
        EXPECT_EQ(pair.second, 10.0);
    }
}

TEST(AnimationController, InitialValueOverridesTheVariable)
{
    RecordingController c;
    EnableAll(c);
    c.x.SetDefaultValue(3.0);
    auto transition = std::make_unique<LinearTransition>(1.0, 10.0);
    transition->SetInitialValue(0.0);
    c.x.AddTransition(std::move(transition));
    c.AnimateGroup(0);
    c.now = 0.5;
    c.UpdateAnimationManager();
    EXPECT_EQ(c.x.GetValue(), 5.0);
}

TEST(AnimationController, NothingToMoveStillEndsIdle)
{
    RecordingController c;
    EnableAll(c);
    c.AnimateGroup(0);
    EXPECT_EQ(c.GetStatus(), AnimationManagerStatus::Busy);
    c.UpdateAnimationManager();
    const std::vector<std::string> expected = {"start 0", "status 0->1", "status 1->0", "post"};
    EXPECT_EQ(c.log, expected);
    EXPECT_FALSE(c.IsFrameTimerRunning());
}

TEST(AnimationController, TransitionWithoutInterpolatorIsSkipped)
{
    RecordingController c;
    EnableAll(c);
    c.x.AddTransition(std::make_unique<CCustomTransition>(nullptr));
    c.x.AddTransition(std::make_unique<LinearTransition>(1.0, 4.0));
    c.AnimateGroup(0);
    c.now = 0.25;
    c.UpdateAnimationManager();
    EXPECT_EQ(c.x.GetValue(), 1.0);
}

TEST(AnimationController, OtherGroupsAndDisabledEventsStayQuiet)
{
    RecordingController c;
    c.AddAnimationVariable(c.x, 0);
    c.AddAnimationVariable(c.y, 1);
    c.x.AddTransition(std::make_unique<LinearTransition>(1.0, 8.0));
    c.y.AddTransition(std::make_unique<LinearTransition>(1.0, 8.0));
    c.AnimateGroup(1);
    c.now = 0.5;
    c.UpdateAnimationManager();
    EXPECT_EQ(c.x.GetValue(), 0.0) << "group 0 was not animated";
    EXPECT_EQ(c.x.TransitionCount(), 1u);
    EXPECT_EQ(c.y.GetValue(), 4.0);
    const std::vector<std::string> expected = {"start 1"};
    EXPECT_EQ(c.log, expected) << "no value, status or post-update events while disabled";
}

TEST(AnimationController, RemovedOrDestroyedVariablesStopMoving)
{
    RecordingController c;
    EnableAll(c);
    auto extra = std::make_unique<CAnimationVariable>(0.0);
    c.AddAnimationVariable(*extra, 0);
    extra->AddTransition(std::make_unique<LinearTransition>(1.0, 8.0));
    c.x.AddTransition(std::make_unique<LinearTransition>(1.0, 8.0));
    c.AnimateGroup(0);
    extra.reset();
    c.RemoveAnimationVariable(c.x);
    EXPECT_FALSE(c.ContainsVariable(c.x));
    c.now = 0.5;
    c.UpdateAnimationManager();
    EXPECT_EQ(c.x.GetValue(), 0.0);
    EXPECT_EQ(c.GetStatus(), AnimationManagerStatus::Idle);
}

TEST(AnimationController, ContinueKeepsTheFrameTimerUntilDisabled)
{
    RecordingController c;
    EnableAll(c, AnimationIdleBehavior::Continue);
    EXPECT_TRUE(c.IsFrameTimerRunning());
    c.UpdateAnimationManager();
    EXPECT_TRUE(c.IsFrameTimerRunning());
    c.EnableAnimationTimerEventHandler(false, AnimationIdleBehavior::Continue);
    c.UpdateAnimationManager();
    EXPECT_FALSE(c.IsFrameTimerRunning());
}

TEST(AnimationController, AFrameTimerThatCannotStartEndsTheAnimationAtOnce)
{
    RecordingController c;
    EnableAll(c);
    c.x.SetDefaultValue(2.0);
    c.x.AddTransition(std::make_unique<LinearTransition>(1.0, 12.0));
    {
        // The frame timer's window cannot be made.
        testsupport::WindowCreationRefusal refusal;
        ASSERT_TRUE(refusal.IsActive());
        EXPECT_FALSE(c.AnimateGroup(0));
    }
    // Ended where it was going, not left busy waiting for frames that never come.
    EXPECT_EQ(c.GetStatus(), AnimationManagerStatus::Idle);
    EXPECT_EQ(c.x.GetValue(), 12.0);
    const std::vector<std::string> expected = {"start 0", "status 0->1", "value x 2->12", "status 1->0", "post"};
    EXPECT_EQ(c.log, expected);
    EXPECT_FALSE(c.IsFrameTimerRunning());

    // Once the timer can start, the next animation runs frame by frame.
    c.log.clear();
    c.x.AddTransition(std::make_unique<LinearTransition>(1.0, 22.0));
    ASSERT_TRUE(c.AnimateGroup(0));
    EXPECT_EQ(c.GetStatus(), AnimationManagerStatus::Busy);
    c.now = 0.5;
    c.UpdateAnimationManager();
    EXPECT_EQ(c.x.GetValue(), 17.0);
}

TEST(AnimationController, TheUiThreadTimerDrivesTheAnimationToItsEnd)
{
    struct Real : RecordingController {
        Real() { SetClock(nullptr); }  // the steady clock
    } c;
    EnableAll(c);
    c.x.AddTransition(std::make_unique<LinearTransition>(0.15, 30.0));
    ASSERT_TRUE(c.AnimateGroup(0));
    ASSERT_TRUE(testsupport::PumpUntil([&] { return c.GetStatus() == AnimationManagerStatus::Idle; }, 5000));
    EXPECT_EQ(c.x.GetValue(), 30.0);
    EXPECT_EQ(c.log.back(), "post");
    EXPECT_EQ(c.log[c.log.size() - 2], "status 1->0");
    for (DWORD thread : c.threads) EXPECT_EQ(thread, GetCurrentThreadId());
    EXPECT_FALSE(c.IsFrameTimerRunning());
    // An idle controller gets no more frames, though its timer would have
    // come due several times over.
    const size_t lines = c.log.size();
    testsupport::PumpTimerPeriods(CAnimationController::kFrameIntervalMs, 5);
    EXPECT_EQ(c.log.size(), lines);
}
