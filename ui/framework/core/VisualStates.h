#pragma once
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

// Group and state names; compared exactly ("UnChecked" is not "Unchecked").
namespace VisualStateNames {
constexpr const wchar_t* kCommonStates = L"CommonStates";
constexpr const wchar_t* kNormal = L"Normal";
constexpr const wchar_t* kMouseOver = L"MouseOver";
constexpr const wchar_t* kPressed = L"Pressed";
constexpr const wchar_t* kFocusStates = L"FocusStates";
constexpr const wchar_t* kFocused = L"Focused";
constexpr const wchar_t* kUnfocused = L"Unfocused";
constexpr const wchar_t* kCheckStates = L"CheckStates";
constexpr const wchar_t* kChecked = L"Checked";
constexpr const wchar_t* kUnchecked = L"Unchecked";
constexpr const wchar_t* kRadioUnChecked = L"UnChecked";
}  // namespace VisualStateNames

using StateAction = std::function<void()>;

// The state-action map and the current state of each group. A control holds
// one and forwards its visual-state operations to it.
class VisualStates {
public:
    // Replaces an earlier action of the same state; runs it at once when the
    // state is its group's current one.
    void SetStateAction(const std::wstring& group, const std::wstring& state, StateAction action);

    // Records the state (even when already current), then runs the actions of
    // every group's current state.
    void GoToState(const std::wstring& group, const std::wstring& state);

    // Runs the current states' actions again, groups in the order in which
    // each first received a state.
    void RefreshVisualStates();

    void SetNormalAction(StateAction action);
    void SetMouseOverAction(StateAction action);
    void SetPressedAction(StateAction action);
    void SetFocusedAction(StateAction action);
    void SetUnfocusedAction(StateAction action);

    // The group's current state, or null when the group never had one.
    const std::wstring* CurrentState(const std::wstring& group) const;

private:
    StateAction FindAction(const std::wstring& group, const std::wstring& state) const;

    std::unordered_map<std::wstring, std::unordered_map<std::wstring, StateAction>> m_stateActions;
    // Insertion-ordered: a few groups at most, so a linear search is enough.
    std::vector<std::pair<std::wstring, std::wstring>> m_currentStates;
};
