#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/framework/core/VisualStates.h"

namespace {

using namespace VisualStateNames;

struct Recorder {
    std::vector<std::wstring> log;
    StateAction Action(const std::wstring& name)
    {
        return [this, name] { log.push_back(name); };
    }
};

using Log = std::vector<std::wstring>;

}  // namespace

TEST(VisualStates, RegisteringRunsOnlyTheCurrentStatesAction)
{
    VisualStates states;
    Recorder r;
    states.SetNormalAction(r.Action(L"normal-early"));
    EXPECT_TRUE(r.log.empty()) << "no group has a state yet";

    states.GoToState(kCommonStates, kNormal);
    r.log.clear();
    states.SetMouseOverAction(r.Action(L"over"));
    EXPECT_TRUE(r.log.empty());
    states.SetNormalAction(r.Action(L"normal"));
    EXPECT_EQ(r.log, Log{L"normal"});

    // The replaced action is gone for good.
    r.log.clear();
    states.RefreshVisualStates();
    EXPECT_EQ(r.log, Log{L"normal"});
}

TEST(VisualStates, HoverAndLeaveReapplyEveryGroup)
{
    VisualStates states;
    Recorder r;
    states.SetNormalAction(r.Action(L"normal"));
    states.SetMouseOverAction(r.Action(L"over"));
    states.SetFocusedAction(r.Action(L"focused"));
    states.SetUnfocusedAction(r.Action(L"unfocused"));

    states.GoToState(kCommonStates, kNormal);
    states.GoToState(kFocusStates, kFocused);
    r.log.clear();

    states.GoToState(kCommonStates, kMouseOver);
    states.GoToState(kCommonStates, kNormal);
    states.GoToState(kFocusStates, kUnfocused);
    EXPECT_EQ(r.log, (Log{L"over", L"focused", L"normal", L"focused", L"normal", L"unfocused"}));
}

TEST(VisualStates, GroupsRunInTheOrderTheyFirstReceivedAState)
{
    VisualStates states;
    Recorder r;
    states.SetStateAction(kCheckStates, kChecked, r.Action(L"checked"));
    states.SetNormalAction(r.Action(L"normal"));
    states.SetPressedAction(r.Action(L"pressed"));

    states.GoToState(kCommonStates, kNormal);
    states.GoToState(kCheckStates, kChecked);
    r.log.clear();
    // A later change of the first group still runs before the second group.
    states.GoToState(kCommonStates, kPressed);
    EXPECT_EQ(r.log, (Log{L"pressed", L"checked"}));
}

TEST(VisualStates, StateNamesCompareExactly)
{
    const struct {
        const wchar_t* registered;
        const wchar_t* entered;
        bool runs;
    } cases[] = {{kUnchecked, kUnchecked, true},
                 {kRadioUnChecked, kRadioUnChecked, true},
                 {kUnchecked, kRadioUnChecked, false},
                 {kRadioUnChecked, kUnchecked, false},
                 {kChecked, L"checked", false}};
    for (const auto& c : cases) {
        VisualStates states;
        Recorder r;
        states.SetStateAction(kCheckStates, c.registered, r.Action(L"ran"));
        states.GoToState(kCheckStates, c.entered);
        EXPECT_EQ(!r.log.empty(), c.runs) << c.registered << L" / " << c.entered;
        ASSERT_NE(states.CurrentState(kCheckStates), nullptr);
        EXPECT_EQ(*states.CurrentState(kCheckStates), c.entered);
    }
}

TEST(VisualStates, GoingToTheCurrentStateRunsTheActionsAgain)
{
    VisualStates states;
    Recorder r;
    states.SetPressedAction(r.Action(L"pressed"));
    states.GoToState(kCommonStates, kPressed);
    states.GoToState(kCommonStates, kPressed);
    EXPECT_EQ(r.log, (Log{L"pressed", L"pressed"}));
}

TEST(VisualStates, StateWithoutActionIsRecordedAndOtherGroupsStillRun)
{
    VisualStates states;
    Recorder r;
    EXPECT_EQ(states.CurrentState(kFocusStates), nullptr);
    states.SetFocusedAction(r.Action(L"focused"));
    states.GoToState(kFocusStates, kFocused);
    r.log.clear();
    states.GoToState(kCommonStates, kMouseOver);
    ASSERT_NE(states.CurrentState(kCommonStates), nullptr);
    EXPECT_EQ(*states.CurrentState(kCommonStates), kMouseOver);
    EXPECT_EQ(r.log, Log{L"focused"});
}

TEST(VisualStates, EmptyActionIsStoredButNeverRun)
{
    VisualStates states;
    Recorder r;
    states.SetNormalAction(r.Action(L"normal"));
    states.GoToState(kCommonStates, kNormal);
    r.log.clear();
    states.SetNormalAction(nullptr);
    states.RefreshVisualStates();
    EXPECT_TRUE(r.log.empty());
}

TEST(VisualStates, ActionMayReplaceItselfWhileRunning)
{
    // Run first by a transition, or at once by registering for the current state.
    for (bool registerLate : {false, true}) {
        VisualStates states;
        Recorder r;
        if (registerLate) states.GoToState(kCommonStates, kPressed);
        auto token = std::make_shared<std::wstring>(L"first");
        std::weak_ptr<std::wstring> watch = token;
        states.SetPressedAction([&states, &r, token] {
            states.SetPressedAction(r.Action(L"second"));
            // Still running on its own copy: what it captured is alive.
            r.log.push_back(*token);
        });
        token.reset();
        if (!registerLate) states.GoToState(kCommonStates, kPressed);
        EXPECT_EQ(r.log, (Log{L"second", L"first"})) << registerLate;
        EXPECT_TRUE(watch.expired());
        r.log.clear();
        states.RefreshVisualStates();
        EXPECT_EQ(r.log, Log{L"second"});
    }
}

TEST(VisualStates, ActionMayEnterAnotherGroup)
{
    VisualStates states;
    Recorder r;
    states.SetPressedAction([&] {
        r.log.push_back(L"pressed");
        if (!states.CurrentState(kFocusStates)) states.GoToState(kFocusStates, kFocused);
    });
    states.SetFocusedAction(r.Action(L"focused"));
    states.GoToState(kCommonStates, kPressed);
    // The inner transition re-applies both groups; the outer one then stops at the groups it started with.
    EXPECT_EQ(r.log, (Log{L"pressed", L"pressed", L"focused"}));
    r.log.clear();
    states.RefreshVisualStates();
    EXPECT_EQ(r.log, (Log{L"pressed", L"focused"}));
}
