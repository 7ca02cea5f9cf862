// Generic buttons in real windows: press and release, click, checking and
// radio groups.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "tests/ui/framework/controls/ButtonTestSupport.h"
#include "ui/framework/controls/Button.h"
#include "ui/framework/controls/RadioButton.h"
#include "ui/framework/controls/ToggleButton.h"

using buttontest::EventLog;
using buttontest::LogButton;
using buttontest::Press;
using buttontest::Release;
using controltest::HostWindow;
using Names = std::vector<std::string>;

namespace {

constexpr int kSize = 40;

std::string CommonState(const Control& control)
{
    const std::wstring* state = control.CurrentState(VisualStateNames::kCommonStates);
    return state ? std::string(state->begin(), state->end()) : "none";
}

std::string CheckState(const Control& control)
{
    const std::wstring* state = control.CurrentState(VisualStateNames::kCheckStates);
    return state ? std::string(state->begin(), state->end()) : "none";
}

bool InGroup(const std::wstring& group, const RadioButton* button)
{
    auto found = g_RadioGroups.find(group);
    if (found == g_RadioGroups.end()) return false;
    return std::count(found->second.begin(), found->second.end(), button) == 1;
}

class ButtonWindows : public testing::Test {
protected:
    void TearDown() override
    {
        // Nothing of a test may stay behind in the process-wide registry.
        for (const auto& group : g_RadioGroups) EXPECT_TRUE(group.second.empty()) << "group left with members";
        g_RadioGroups.clear();
    }
    HostWindow host{100, 100, 300, 200};
};

// --- Button ------------------------------------------------------------------

TEST_F(ButtonWindows, PressAndReleaseInsideClickAndRaiseMouseEventsButNoLButtonUp)
{
    Button button;
    ASSERT_EQ(button.Create(host.Get(), 10, 10, kSize, kSize), 1);
    EventLog log = LogButton(button);

    Press(button, 5, 6);
    EXPECT_EQ(button.IsPressed.Get(), 1);
    EXPECT_EQ(::GetCapture(), button.Handle.Get());
    EXPECT_EQ(CommonState(button), "Pressed");
    Release(button, 7, 8);
    EXPECT_EQ(button.IsPressed.Get(), 0);
    EXPECT_EQ(::GetCapture(), nullptr);
    EXPECT_EQ(CommonState(button), "MouseOver");

    EXPECT_EQ(*log, (Names{"LButtonDown 1 5 6", "MouseDown 1 5 6", "IsPressed", "MouseUp 1 7 8", "IsPressed",
                           "Click"}));
}

TEST_F(ButtonWindows, ReleaseAnywhereAfterAPressClicksAndTheStateFollowsThePoint)
{
    struct Case {
        short x, y;
        const char* state;
    };
    const Case cases[] = {
        {0, 0, "MouseOver"},           {kSize - 1, kSize - 1, "MouseOver"}, {-1, 5, "Normal"},
        {kSize, 5, "Normal"},          {5, kSize, "Normal"},                {5, -1, "Normal"},
        {-300, -200, "Normal"},        {1000, 1000, "Normal"},
    };
    for (const Case& c : cases) {
        Button button;
        ASSERT_EQ(button.Create(host.Get(), 10, 10, kSize, kSize), 1);
        int clicks = 0;
        button.Click.Subscribe([&clicks](void*, ButtonClickEventArgs&) { ++clicks; });
        Press(button, 3, 3);
        Release(button, c.x, c.y);
        EXPECT_EQ(clicks, 1) << c.x << "," << c.y;
        EXPECT_EQ(CommonState(button), c.state) << c.x << "," << c.y;
        EXPECT_EQ(button.IsPressed.Get(), 0);
    }
}

TEST_F(ButtonWindows, OnlyAReleaseThatEndsAPressClicks)
{
    Button button;
    ASSERT_EQ(button.Create(host.Get(), 10, 10, kSize, kSize), 1);
    EventLog log = LogButton(button);

    Release(button, 4, 4);  // no press before it
    EXPECT_EQ(*log, (Names{"MouseUp 1 4 4"}));
    log->clear();

    Press(button, 4, 4);
    Press(button, 4, 4);  // already pressed: only the base's events
    Release(button, 4, 4);
    Release(button, 4, 4);
    const long clicks = std::count(log->begin(), log->end(), std::string("Click"));
    const long pressedChanges = std::count(log->begin(), log->end(), std::string("IsPressed"));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(pressedChanges, 2);
}

TEST_F(ButtonWindows, APressEndsWithoutAClickWhenTheCaptureGoesElsewhere)
{
    struct Case {
        const char* name;
        void (*takeAway)(HWND button, HWND other);
    };
    const Case cases[] = {
        // Another window of the program takes the capture (a popup, a drag).
        {"capture taken", [](HWND, HWND other) { ::SetCapture(other); }},
        // The system cancels modes (Alt+Tab, a modal dialog starting).
        {"cancel mode", [](HWND button, HWND) { ::SendMessageW(button, WM_CANCELMODE, 0, 0); }},
        // The capture simply released by someone else.
        {"capture released", [](HWND, HWND) { ::ReleaseCapture(); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Button button;
        Button other;
        ASSERT_EQ(button.Create(host.Get(), 10, 10, kSize, kSize), 1);
        ASSERT_EQ(other.Create(host.Get(), 100, 10, kSize, kSize), 1);
        EventLog log = LogButton(button);

        Press(button, 5, 5);
        ASSERT_EQ(::GetCapture(), button.Handle.Get());
        log->clear();
        c.takeAway(button.Handle.Get(), other.Handle.Get());
        EXPECT_EQ(button.IsPressed.Get(), 0);
        EXPECT_EQ(CommonState(button), "Normal");
        EXPECT_NE(::GetCapture(), button.Handle.Get());
        EXPECT_EQ(*log, Names{"IsPressed"});

        // The release that would have ended the press no longer clicks...
        log->clear();
        Release(button, 5, 5);
        EXPECT_EQ(*log, Names{"MouseUp 1 5 5"});
        // ...and the next press is captured and clicks again.
        ::ReleaseCapture();
        Press(button, 5, 5);
        EXPECT_EQ(button.IsPressed.Get(), 1);
        EXPECT_EQ(::GetCapture(), button.Handle.Get());
        log->clear();
        Release(button, 5, 5);
        EXPECT_EQ(std::count(log->begin(), log->end(), std::string("Click")), 1);
    }
}

TEST_F(ButtonWindows, CaptureChangesOutsideAPressChangeNothing)
{
    Button button;
    ASSERT_EQ(button.Create(host.Get(), 10, 10, kSize, kSize), 1);
    EventLog log = LogButton(button);
    // Captured by the button itself while not pressed, then lost: no press to end.
    ::SetCapture(button.Handle.Get());
    ::ReleaseCapture();
    ::SendMessageW(button.Handle.Get(), WM_CANCELMODE, 0, 0);
    EXPECT_TRUE(log->empty());
    EXPECT_EQ(CommonState(button), "Normal");

    // A press capturing again over its own capture keeps the press.
    ::SetCapture(button.Handle.Get());
    Press(button, 5, 5);
    EXPECT_EQ(button.IsPressed.Get(), 1);
    EXPECT_EQ(::GetCapture(), button.Handle.Get());
    Release(button, 5, 5);
}

// --- ToggleButton ------------------------------------------------------------

TEST_F(ButtonWindows, ClicksToggleTheCheckedFlagAndRaiseItsEvents)
{
    ToggleButton toggle;
    ASSERT_EQ(toggle.Create(host.Get(), 10, 10, kSize, kSize), 1);
    EXPECT_EQ(CheckState(toggle), "Unchecked");
    EventLog log = LogButton(toggle);

    buttontest::ClickAt(toggle, 5, 5);
    EXPECT_EQ(toggle.IsChecked.Get(), 1);
    EXPECT_EQ(CheckState(toggle), "Checked");
    buttontest::ClickAt(toggle, 5, 5);
    EXPECT_EQ(toggle.IsChecked.Get(), 0);
    EXPECT_EQ(CheckState(toggle), "Unchecked");

    Names checks;
    for (const std::string& entry : *log)
        if (entry == "Click" || entry.rfind("Checked", 0) == 0 || entry.rfind("Unchecked", 0) == 0 ||
            entry == "IsChecked")
            checks.push_back(entry);
    EXPECT_EQ(checks, (Names{"Click", "IsChecked", "Checked 1", "Click", "IsChecked", "Unchecked 0"}));
}

TEST_F(ButtonWindows, WritingIsCheckedTogglesOnlyOnADifferentValue)
{
    ToggleButton toggle;
    ASSERT_EQ(toggle.Create(host.Get(), 10, 10, kSize, kSize), 1);
    EventLog log = LogButton(toggle);
    toggle.IsChecked = 0;
    EXPECT_TRUE(log->empty());
    toggle.IsChecked = 1;
    toggle.IsChecked = 1;
    EXPECT_EQ(*log, (Names{"IsChecked", "Checked 1"}));
}

TEST_F(ButtonWindows, CreationEntersTheCheckStateAfterTheCommonState)
{
    ToggleButton toggle;
    auto order = std::make_shared<Names>();
    toggle.SetNormalAction([order] { order->push_back("Normal"); });
    toggle.SetCheckedAction([order] { order->push_back("Checked"); });
    toggle.IsChecked = 1;  // before the window: no state yet
    ASSERT_EQ(toggle.Create(host.Get(), 10, 10, kSize, kSize), 1);
    EXPECT_EQ(CheckState(toggle), "Checked");
    order->clear();
    toggle.RefreshVisualStates();
    EXPECT_EQ(*order, (Names{"Normal", "Checked"}));
}

TEST_F(ButtonWindows, AClickHandlerMayDestroyTheButton)
{
    auto toggle = std::make_unique<ToggleButton>();
    ASSERT_EQ(toggle->Create(host.Get(), 10, 10, kSize, kSize), 1);
    const HWND window = toggle->Handle.Get();
    bool checked = false;
    toggle->Checked.Subscribe([&checked](void*, ToggleButton::CheckedEventArgs&) { checked = true; });
    toggle->Click.Subscribe([&toggle](void*, ButtonClickEventArgs&) { toggle.reset(); });
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(toggle, nullptr);
    EXPECT_FALSE(checked) << "the destroyed button went on to toggle";
    EXPECT_FALSE(::IsWindow(window));
}

// --- RadioButton -------------------------------------------------------------

struct Radios {
    explicit Radios(HWND host, const wchar_t* group, int count = 3)
    {
        for (int i = 0; i < count; ++i) {
            buttons.push_back(std::make_unique<RadioButton>());
            buttons.back()->GroupName = group;
            buttons.back()->Create(host, 10 + 45 * i, 10, kSize, kSize);
            logs.push_back(LogButton(*buttons.back()));
        }
    }
    RadioButton& operator[](size_t i) { return *buttons[i]; }
    std::vector<std::unique_ptr<RadioButton>> buttons;
    std::vector<EventLog> logs;
};

TEST_F(ButtonWindows, CheckingARadioButtonUnchecksTheCheckedOneFirst)
{
    Radios radios(host.Get(), L"G");
    auto order = std::make_shared<Names>();
    const char* names[] = {"A", "B", "C"};
    for (int i = 0; i < 3; ++i) {
        std::string name = names[i];
        radios[i].Checked.Subscribe([order, name](void*, ToggleButton::CheckedEventArgs& a) {
            order->push_back(name + " Checked " + std::to_string(a.IsChecked));
        });
        radios[i].Unchecked.Subscribe([order, name](void*, ToggleButton::CheckedEventArgs& a) {
            order->push_back(name + " Unchecked " + std::to_string(a.IsChecked));
        });
    }
    buttontest::ClickAt(radios[0], 5, 5);
    buttontest::ClickAt(radios[1], 5, 5);
    EXPECT_EQ(*order, (Names{"A Checked 1", "A Unchecked 0", "B Checked 1"}));
    EXPECT_EQ(radios[0].IsChecked.Get(), 0);
    EXPECT_EQ(radios[1].IsChecked.Get(), 1);
    EXPECT_EQ(radios[2].IsChecked.Get(), 0);
    EXPECT_EQ(CheckState(radios[0]), "Unchecked");
    EXPECT_EQ(CheckState(radios[1]), "Checked");

    // A program may uncheck one; then none is checked.
    radios[1].IsChecked = 0;
    EXPECT_EQ(radios[1].IsChecked.Get(), 0);
    EXPECT_EQ(order->back(), "B Unchecked 0");
}

TEST_F(ButtonWindows, ClickingACheckedRadioButtonOnlyClicks)
{
    Radios radios(host.Get(), L"G", 2);
    radios[0].IsChecked = 1;
    radios.logs[0]->clear();
    buttontest::ClickAt(radios[0], 5, 5);
    const Names& log = *radios.logs[0];
    EXPECT_EQ(std::count(log.begin(), log.end(), std::string("Click")), 1);
    for (const std::string& entry : log) {
        EXPECT_NE(entry.rfind("Checked", 0), 0u) << entry;
        EXPECT_NE(entry.rfind("Unchecked", 0), 0u) << entry;
    }
    EXPECT_EQ(radios[0].IsChecked.Get(), 1);
}

TEST_F(ButtonWindows, RadioButtonsOfDifferentGroupsAreCheckedIndependently)
{
    Radios defaults(host.Get(), L"Default", 2);
    Radios others(host.Get(), L"Other", 2);
    defaults[0].IsChecked = 1;
    others[1].IsChecked = 1;
    EXPECT_EQ(defaults[0].IsChecked.Get(), 1);
    EXPECT_EQ(others[1].IsChecked.Get(), 1);
    RadioButton plain;  // "Default" without being told
    EXPECT_EQ(plain.GroupName.Get(), L"Default");
}

TEST_F(ButtonWindows, GroupNameMovesAMemberToTheEndOfTheNewGroup)
{
    Radios first(host.Get(), L"One", 2);
    Radios second(host.Get(), L"Two", 1);
    int changes = 0;
    first[0].GroupName.Changed.Subscribe([&changes](void*, PropertyChangedArgs) { ++changes; });

    first[0].GroupName = L"One";
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(g_RadioGroups[L"One"], (std::vector<RadioButton*>{&first[0], &first[1]}));

    first[0].GroupName = L"Two";
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(g_RadioGroups[L"One"], (std::vector<RadioButton*>{&first[1]}));
    EXPECT_EQ(g_RadioGroups[L"Two"], (std::vector<RadioButton*>{&second[0], &first[0]}));

    // Now in "Two": checking it unchecks "Two"'s member, not "One"'s.
    first[1].IsChecked = 1;
    second[0].IsChecked = 1;
    first[0].IsChecked = 1;
    EXPECT_EQ(first[1].IsChecked.Get(), 1);
    EXPECT_EQ(second[0].IsChecked.Get(), 0);
}

TEST_F(ButtonWindows, ARadioButtonIsAMemberOnlyWhileItsWindowExists)
{
    RadioButton radio;
    radio.GroupName = L"Life";
    EXPECT_FALSE(InGroup(L"Life", &radio)) << "joined before its window";
    ASSERT_EQ(radio.Create(host.Get(), 10, 10, kSize, kSize), 1);
    EXPECT_TRUE(InGroup(L"Life", &radio));
    ::DestroyWindow(radio.Handle.Get());
    EXPECT_FALSE(InGroup(L"Life", &radio));
    radio.GroupName = L"Elsewhere";  // no window: only the name changes
    EXPECT_FALSE(InGroup(L"Elsewhere", &radio));
    EXPECT_EQ(radio.GroupName.Get(), L"Elsewhere");
}

TEST_F(ButtonWindows, ADestroyedWindowsButtonIsNoLongerUncheckedByItsGroup)
{
    Radios radios(host.Get(), L"G", 2);
    radios[0].IsChecked = 1;
    ::DestroyWindow(radios[0].Handle.Get());
    radios.logs[0]->clear();
    radios[1].IsChecked = 1;
    EXPECT_EQ(radios[0].IsChecked.Get(), 1);
    EXPECT_TRUE(radios.logs[0]->empty());
}

TEST_F(ButtonWindows, ADestroyedRadioButtonWhoseWindowExistedLeavesItsGroup)
{
    Radios radios(host.Get(), L"G", 3);
    radios[1].IsChecked = 1;
    RadioButton* gone = radios.buttons[1].get();
    radios.buttons[1].reset();  // the window is destroyed by the base destructor
    EXPECT_FALSE(InGroup(L"G", gone));
    EXPECT_EQ(g_RadioGroups[L"G"].size(), 2u);
    // The group walks its members without touching the freed one.
    radios[0].IsChecked = 1;
    radios[2].IsChecked = 1;
    EXPECT_EQ(radios[0].IsChecked.Get(), 0);
}

TEST_F(ButtonWindows, AClickHandlerMayDestroyTheRadioButton)
{
    auto radio = std::make_unique<RadioButton>();
    ASSERT_EQ(radio->Create(host.Get(), 10, 10, kSize, kSize), 1);
    const HWND window = radio->Handle.Get();
    radio->Click.Subscribe([&radio](void*, ButtonClickEventArgs&) { radio.reset(); });
    ::SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(radio, nullptr);
    EXPECT_TRUE(g_RadioGroups[L"Default"].empty());
}

}  // namespace
