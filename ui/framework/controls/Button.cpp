#include "ui/framework/controls/Button.h"

Button::Button()
    : IsPressed([this] { return static_cast<int>(m_bPressed); }), m_pLifeToken(std::make_shared<char>(0))
{
}

Button::~Button() = default;

void Button::OnLButtonDown(UINT keys, POINTS pt)
{
    const std::weak_ptr<void> alive = LifeToken();
    Control::OnLButtonDown(keys, pt);
    if (alive.expired() || m_bPressed) return;
    m_bPressed = 1;
    // Captured so that the release reaches us even outside the window.
    ::SetCapture(m_hWnd);
    GoToState(VisualStateNames::kCommonStates, VisualStateNames::kPressed);
    IsPressed.RaiseChanged(this);
}

void Button::OnLButtonUp(UINT keys, POINTS pt)
{
    // Control's OnLButtonUp is skipped on purpose: a button raises no LButtonUp.
    const std::weak_ptr<void> alive = LifeToken();
    MouseUp.RaiseValue(this, MouseEventArgs{keys, 1, pt.x, pt.y, 0});
    if (alive.expired() || !m_bPressed) return;
    m_bPressed = 0;
    ::ReleaseCapture();
    const bool inside = pt.x >= 0 && pt.x < m_nWidth && pt.y >= 0 && pt.y < m_nHeight;
    GoToState(VisualStateNames::kCommonStates, inside ? VisualStateNames::kMouseOver : VisualStateNames::kNormal);
    IsPressed.RaiseChanged(this);
    if (alive.expired()) return;
    OnClick();
}

void Button::OnClick()
{
    Click.RaiseValue(this, ButtonClickEventArgs{});
}

LRESULT Button::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CAPTURECHANGED:
        // lParam is the window that takes the capture.
        if (m_bPressed && reinterpret_cast<HWND>(lParam) != m_hWnd) CancelPress();
        break;
    case WM_CANCELMODE:
        if (m_bPressed) {
            CancelPress();
            if (::GetCapture() == m_hWnd) ::ReleaseCapture();
        }
        break;
    default:
        break;
    }
    return Control::WindowProc(message, wParam, lParam);
}

void Button::CancelPress()
{
    m_bPressed = 0;
    POINT cursor = {};
    const bool over = m_bHover && ::GetCursorPos(&cursor) && ::WindowFromPoint(cursor) == m_hWnd;
    GoToState(VisualStateNames::kCommonStates, over ? VisualStateNames::kMouseOver : VisualStateNames::kNormal);
    IsPressed.RaiseChanged(this);
}
