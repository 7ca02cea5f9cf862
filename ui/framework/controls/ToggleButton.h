#pragma once
#include <cstdint>

#include "ui/framework/controls/Button.h"

// A button that flips its checked flag on every click.
class ToggleButton : public Button {
public:
    struct CheckedEventArgs {
        int32_t IsChecked;  // the new value: 1 for Checked, 0 for Unchecked
    };
    using CheckedEvent = Event<CheckedEventArgs&>;

    ToggleButton();

    property_bst_override<int> IsChecked;
    CheckedEvent Checked;
    CheckedEvent Unchecked;

    void SetCheckedAction(StateAction action);
    void SetUncheckedAction(StateAction action);

protected:
    int OnCreated() override;

public:
    void OnClick() override;
    virtual void Toggle();  // 45

protected:
    virtual void OnChecked();    // 46
    virtual void OnUnchecked();  // 47

    // GoToState in "CheckStates" once the window exists.
    void EnterCheckState(const wchar_t* state);

    int32_t m_bChecked = 0;
};
