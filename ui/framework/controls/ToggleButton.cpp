#include "ui/framework/controls/ToggleButton.h"

using namespace VisualStateNames;

ToggleButton::ToggleButton()
    : IsChecked([this] { return static_cast<int>(m_bChecked); },
                [this](const int& checked) {
                    if (checked != m_bChecked) Toggle();
                })
{
}

void ToggleButton::SetCheckedAction(StateAction action)
{
    SetStateAction(kCheckStates, kChecked, std::move(action));
}

void ToggleButton::SetUncheckedAction(StateAction action)
{
    SetStateAction(kCheckStates, kUnchecked, std::move(action));
}

int ToggleButton::OnCreated()
{
    // "CommonStates" gets its first state before "CheckStates", so check-state
    // actions always run after the common ones.
    if (!Button::OnCreated()) return 0;
    GoToState(kCheckStates, m_bChecked ? kChecked : kUnchecked);
    return 1;
}

void ToggleButton::OnClick()
{
    const std::weak_ptr<void> alive = LifeToken();
    Button::OnClick();
    if (!alive.expired()) Toggle();
}

void ToggleButton::Toggle()
{
    const std::weak_ptr<void> alive = LifeToken();
    m_bChecked = m_bChecked ? 0 : 1;
    Render();
    IsChecked.RaiseChanged(this);
    if (alive.expired()) return;
    if (m_bChecked) OnChecked();
    else OnUnchecked();
}

void ToggleButton::EnterCheckState(const wchar_t* state)
{
    // Before the window exists no state is entered: OnCreated enters the
    // check state after the common one, whose actions it must follow.
    if (m_hWnd) GoToState(kCheckStates, state);
}

void ToggleButton::OnChecked()
{
    const std::weak_ptr<void> alive = LifeToken();
    EnterCheckState(kChecked);
    if (!alive.expired()) Checked.RaiseValue(this, CheckedEventArgs{1});
}

void ToggleButton::OnUnchecked()
{
    const std::weak_ptr<void> alive = LifeToken();
    EnterCheckState(kUnchecked);
    if (!alive.expired()) Unchecked.RaiseValue(this, CheckedEventArgs{0});
}
