#pragma once
#include <memory>

#include "ui/framework/core/Control.h"

// A control that raises Click when a left press on it is released, wherever
// the release happens.
class Button : public Control {
public:
    Button();
    ~Button() override;

    property_bs_readonly_override<int> IsPressed;
    ButtonClickEvent Click;

    // Also notices when the capture goes elsewhere mid-press.
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

protected:
    void OnLButtonDown(UINT keys, POINTS pt) override;
    void OnLButtonUp(UINT keys, POINTS pt) override;

public:
    virtual void OnClick();  // 44

protected:
    // Expires with the object: code that goes on after raising an event
    // checks it, since a handler may have destroyed the button.
    std::weak_ptr<void> LifeToken() const { return m_pLifeToken; }

    int32_t m_bPressed = 0;

private:
    // The press ends without a click: the capture went to another window.
    void CancelPress();

    std::shared_ptr<void> m_pLifeToken;
};
