#include "ui/framework/core/VisualStates.h"

void VisualStates::SetStateAction(const std::wstring& group, const std::wstring& state, StateAction action)
{
    // The stored action may be the one running now (an action re-registering
    // itself), so run a copy rather than the map's entry.
    StateAction toRun = action;
    m_stateActions[group][state] = std::move(action);
    const std::wstring* current = CurrentState(group);
    if (current && *current == state && toRun) toRun();
}

void VisualStates::GoToState(const std::wstring& group, const std::wstring& state)
{
    for (auto& entry : m_currentStates) {
        if (entry.first == group) {
            entry.second = state;
            RefreshVisualStates();
            return;
        }
    }
    m_currentStates.emplace_back(group, state);
    RefreshVisualStates();
}

void VisualStates::RefreshVisualStates()
{
    // An action may register actions or change states: visit by index over
    // the groups known now, look each state up afresh, and run a copy.
    const size_t count = m_currentStates.size();
    for (size_t i = 0; i < count && i < m_currentStates.size(); ++i) {
        const std::wstring group = m_currentStates[i].first;
        const std::wstring state = m_currentStates[i].second;
        StateAction action = FindAction(group, state);
        if (action) action();
    }
}

void VisualStates::SetNormalAction(StateAction action)
{
    SetStateAction(VisualStateNames::kCommonStates, VisualStateNames::kNormal, std::move(action));
}

void VisualStates::SetMouseOverAction(StateAction action)
{
    SetStateAction(VisualStateNames::kCommonStates, VisualStateNames::kMouseOver, std::move(action));
}

void VisualStates::SetPressedAction(StateAction action)
{
    SetStateAction(VisualStateNames::kCommonStates, VisualStateNames::kPressed, std::move(action));
}

void VisualStates::SetFocusedAction(StateAction action)
{
    SetStateAction(VisualStateNames::kFocusStates, VisualStateNames::kFocused, std::move(action));
}

void VisualStates::SetUnfocusedAction(StateAction action)
{
    SetStateAction(VisualStateNames::kFocusStates, VisualStateNames::kUnfocused, std::move(action));
}

const std::wstring* VisualStates::CurrentState(const std::wstring& group) const
{
    for (const auto& entry : m_currentStates)
        if (entry.first == group) return &entry.second;
    return nullptr;
}

StateAction VisualStates::FindAction(const std::wstring& group, const std::wstring& state) const
{
    auto g = m_stateActions.find(group);
    if (g == m_stateActions.end()) return {};
    auto s = g->second.find(state);
    if (s == g->second.end()) return {};
    return s->second;
}
