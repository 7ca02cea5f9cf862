#include "ui/framework/controls/RadioButton.h"

#include <algorithm>

std::map<std::wstring, std::vector<RadioButton*>> g_RadioGroups;

using namespace VisualStateNames;

RadioButton::RadioButton()
    : GroupName([this] { return m_strGroupName; },
                [this](const std::wstring& name) {
                    if (name != m_strGroupName) SetGroupName(name);
                })
{
}

RadioButton::~RadioButton()
{
    LeaveGroup();
}

void RadioButton::LeaveGroup()
{
    if (!m_bInGroup) return;
    m_bInGroup = false;
    auto group = g_RadioGroups.find(m_strGroupName);
    if (group == g_RadioGroups.end()) return;
    auto& members = group->second;
    members.erase(std::remove(members.begin(), members.end(), this), members.end());
}

LRESULT RadioButton::OnDestroy()
{
    LeaveGroup();
    return DefaultProc();
}

int RadioButton::OnCreated()
{
    if (!ToggleButton::OnCreated()) return 0;
    m_bInGroup = true;
    SetGroupName(m_strGroupName);
    return 1;
}

void RadioButton::SetGroupName(const std::wstring& name)
{
    // Only a member moves; before its window exists (or after it is gone) the
    // button just keeps the name.
    const bool member = m_bInGroup;
    LeaveGroup();
    if (&name != &m_strGroupName) m_strGroupName = name;
    if (member) {
        g_RadioGroups[m_strGroupName].push_back(this);
        m_bInGroup = true;
    }
    GroupName.RaiseChanged(this);
}

void RadioButton::OnClick()
{
    const std::weak_ptr<void> alive = LifeToken();
    Button::OnClick();
    // A click never unchecks a radio button.
    if (!alive.expired()) IsChecked = 1;
}

void RadioButton::Toggle()
{
    const std::weak_ptr<void> alive = LifeToken();
    m_bChecked = m_bChecked ? 0 : 1;
    if (!m_bChecked) {
        OnUnchecked();
        return;
    }
    RadioButton* previous = nullptr;
    auto group = g_RadioGroups.find(m_strGroupName);
    if (group != g_RadioGroups.end()) {
        for (RadioButton* member : group->second) {
            if (member != this && member->IsChecked.Get() != 0) {
                previous = member;
                break;
            }
        }
    }
    // Its Unchecked handlers run before our Checked ones.
    if (previous) previous->IsChecked = 0;
    if (alive.expired()) return;
    OnChecked();
    if (alive.expired()) return;
    EnterCheckState(kChecked);
}
