#pragma once
#include <map>
#include <string>
#include <vector>

#include "ui/framework/controls/ToggleButton.h"

class RadioButton;

// Every radio group of the process by exact name, members in joining order.
// It does not own the buttons; each button takes itself out before it goes.
extern std::map<std::wstring, std::vector<RadioButton*>> g_RadioGroups;

// A toggle button of which at most one per group is checked. It is a member
// of its group from the creation of its window until that window or the
// button is destroyed.
class RadioButton : public ToggleButton {
public:
    RadioButton();
    // The base destructor destroys the window without reaching our OnDestroy,
    // so the button leaves its group here.
    ~RadioButton() override;

    property_bst_override<std::wstring> GroupName;

protected:
    LRESULT OnDestroy() override;
    int OnCreated() override;

public:
    void OnClick() override;
    void Toggle() override;
    virtual void SetGroupName(const std::wstring& name);  // 48

protected:
    std::wstring m_strGroupName = L"Default";

private:
    void LeaveGroup();

    bool m_bInGroup = false;
};
