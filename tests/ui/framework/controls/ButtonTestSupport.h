#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "tests/ui/framework/ControlTestSupport.h"
#include "ui/framework/controls/Button.h"
#include "ui/framework/controls/ToggleButton.h"

namespace buttontest {

using EventLog = std::shared_ptr<std::vector<std::string>>;

inline LPARAM Point(short x, short y)
{
    return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y));
}
inline void Press(Control& control, short x, short y)
{
    ::SendMessageW(control.Handle.Get(), WM_LBUTTONDOWN, MK_LBUTTON, Point(x, y));
}
inline void Release(Control& control, short x, short y)
{
    ::SendMessageW(control.Handle.Get(), WM_LBUTTONUP, 0, Point(x, y));
}
inline void ClickAt(Control& control, short x, short y)
{
    Press(control, x, y);
    Release(control, x, y);
}

// Records the button's mouse events ("Name clickCount x y"), Click, IsPressed
// changes and, for toggle buttons, IsChecked changes and Checked/Unchecked.
inline EventLog LogButton(Button& button)
{
    auto log = std::make_shared<std::vector<std::string>>();
    auto mouse = [log](MouseEvent& event, const char* name) {
        std::string text = name;
        event.Subscribe([log, text](void*, MouseEventArgs& a) {
            log->push_back(text + " " + std::to_string(a.ClickCount) + " " + std::to_string(a.X) + " " +
                           std::to_string(a.Y));
        });
    };
    mouse(button.LButtonDown, "LButtonDown");
    mouse(button.MouseDown, "MouseDown");
    mouse(button.LButtonUp, "LButtonUp");
    mouse(button.MouseUp, "MouseUp");
    button.Click.Subscribe([log](void*, ButtonClickEventArgs&) { log->push_back("Click"); });
    button.IsPressed.Changed.Subscribe([log](void*, PropertyChangedArgs) { log->push_back("IsPressed"); });
    if (auto* toggle = dynamic_cast<ToggleButton*>(&button)) {
        toggle->IsChecked.Changed.Subscribe([log](void*, PropertyChangedArgs) { log->push_back("IsChecked"); });
        toggle->Checked.Subscribe([log](void*, ToggleButton::CheckedEventArgs& a) {
            log->push_back("Checked " + std::to_string(a.IsChecked));
        });
        toggle->Unchecked.Subscribe([log](void*, ToggleButton::CheckedEventArgs& a) {
            log->push_back("Unchecked " + std::to_string(a.IsChecked));
        });
    }
    return log;
}

}  // namespace buttontest
