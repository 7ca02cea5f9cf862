#include "ui/framework/core/Control.h"

#include <utility>

#include "ui/framework/core/LayeredChildren.h"

namespace {

using namespace VisualStateNames;

// Window-backed flags hold either 0/1 or the style bit itself: any non-zero
// value counts as set.
bool SameFlag(int32_t stored, int value)
{
    return (stored != 0) == (value != 0);
}

// Whether the style had to change, so that WM_STYLECHANGED follows.
bool ChangeStyleBit(HWND window, int which, LONG_PTR bit, bool set)
{
    LONG_PTR style = ::GetWindowLongPtrW(window, which);
    LONG_PTR changed = set ? (style | bit) : (style & ~bit);
    if (changed == style) return false;
    ::SetWindowLongPtrW(window, which, changed);
    return true;
}

bool IsChildWindow(HWND window)
{
    return (::GetWindowLongPtrW(window, GWL_STYLE) & WS_CHILD) != 0;
}

// Read from the window itself: the layered field is only known once
// OnCreated has run, and subclasses set properties before that.
bool IsPaintedChild(HWND window)
{
    return IsChildWindow(window) && !(::GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_LAYERED);
}

}  // namespace

// --- Brush -----------------------------------------------------------------

Control::Brush::Brush() : m_pBrush(new Gdiplus::SolidBrush(Gdiplus::Color(0xFFFFFFFF))) {}

Control::Brush::Brush(const Brush& other) : m_pBrush(other.m_pBrush ? other.m_pBrush->Clone() : nullptr) {}

Control::Brush& Control::Brush::operator=(const Brush& other)
{
    if (this != &other) m_pBrush.reset(other.m_pBrush ? other.m_pBrush->Clone() : nullptr);
    return *this;
}

Control::Brush& Control::Brush::operator=(Brush&& other) noexcept
{
    if (this != &other) m_pBrush = std::move(other.m_pBrush);
    return *this;
}

Control::Brush::~Brush() = default;

// --- Construction ----------------------------------------------------------

Control::Control()
    : Handle([this] { return m_hWnd; }),
      IsCreated([this] { return ::IsWindow(m_hWnd) ? 1 : 0; }),
      X([this] { return m_nX; },
        [this](const int& x) {
            if (x != m_nX) ::SetWindowPos(m_hWnd, nullptr, x, m_nY, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }),
      Y([this] { return m_nY; },
        [this](const int& y) {
            if (y != m_nY) ::SetWindowPos(m_hWnd, nullptr, m_nX, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        }),
      Width([this] { return m_nWidth; },
            [this](const int& width) {
                if (width != m_nWidth)
                    ::SetWindowPos(m_hWnd, nullptr, 0, 0, width, m_nHeight, SWP_NOMOVE | SWP_NOZORDER);
            }),
      Height([this] { return m_nHeight; },
             [this](const int& height) {
                 if (height != m_nHeight)
                     ::SetWindowPos(m_hWnd, nullptr, 0, 0, m_nWidth, height, SWP_NOMOVE | SWP_NOZORDER);
             }),
      Location([this] { return Gdiplus::Point(m_nX, m_nY); },
               [this](const Gdiplus::Point& p) {
                   if (p.X != m_nX || p.Y != m_nY)
                       ::SetWindowPos(m_hWnd, nullptr, p.X, p.Y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
               }),
      Size([this] { return Gdiplus::Size(m_nWidth, m_nHeight); },
           [this](const Gdiplus::Size& s) {
               if (s.Width != m_nWidth || s.Height != m_nHeight)
                   ::SetWindowPos(m_hWnd, nullptr, 0, 0, s.Width, s.Height, SWP_NOMOVE | SWP_NOZORDER);
           }),
      Bounds([this] { return Gdiplus::Rect(m_nX, m_nY, m_nWidth, m_nHeight); },
             [this](const Gdiplus::Rect& r) {
                 if (r.X != m_nX || r.Y != m_nY || r.Width != m_nWidth || r.Height != m_nHeight)
                     ::SetWindowPos(m_hWnd, nullptr, r.X, r.Y, r.Width, r.Height, SWP_NOZORDER);
             }),
      IsMouseOver([this] { return static_cast<int>(m_bHover); }),
      BackgroundImage([this] { return m_pBackgroundImage; },
                      [this](const std::shared_ptr<Gdiplus::Bitmap>& image) {
                          UpdateDrawnValue(m_pBackgroundImage, image, [this] { Render(); }, BackgroundImage, this);
                      }),
      StretchImage([this] { return static_cast<int>(m_bStretchImage); },
                   [this](const int& stretch) {
                       UpdateDrawnValue(m_bStretchImage, static_cast<int32_t>(stretch), [this] { Render(); },
                                        StretchImage, this);
                   }),
      Background([this] { return m_clrBackground; },
                 [this](const Gdiplus::Color& color) {
                     if (color.GetValue() == m_clrBackground.GetValue()) return;
                     m_clrBackground = color;
                     Render();
                     Background.RaiseChanged(this);
                 }),
      FontSize([this] { return m_fFontSize; },
               [this](const float& size) { UpdateDrawnValue(m_fFontSize, size, [this] { Render(); }, FontSize, this); }),
      FontStyle([this] { return m_fontStyle; },
                [this](const Gdiplus::FontStyle& style) {
                    UpdateDrawnValue(m_fontStyle, style, [this] { Render(); }, FontStyle, this);
                }),
      FontFamily([this] { return m_strFontFamily; },
                 [this](const std::wstring& family) {
                     UpdateDrawnValue(m_strFontFamily, family, [this] { Render(); }, FontFamily, this);
                 }),
      Foreground([this] { return m_foreground; },
                 [this](const Brush& brush) {
                     UpdateDrawnValue(m_foreground, brush, [this] { Render(); }, Foreground, this);
                 }),
      Opacity([this] { return m_fOpacity; },
              [this](const float& opacity) {
                  if (!(opacity == m_fOpacity)) SetOpacity(opacity);
              }),
      IsEnabled([this] { return static_cast<int>(m_bEnabled); },
                [this](const int& enabled) {
                    SetIsEnabled(enabled);
                    ::EnableWindow(m_hWnd, enabled);
                }),
      IsVisible([this] { return static_cast<int>(m_bVisible); },
                [this](const int& visible) {
                    m_bVisible = visible;
                    ::ShowWindow(m_hWnd, visible ? SW_SHOW : SW_HIDE);
                }),
      IsFocused([this] { return m_hWnd && ::GetFocus() == m_hWnd ? 1 : 0; }),
      IsLayered([this] { return static_cast<int>(m_bLayered); },
                [this](const int& layered) {
                    if (SameFlag(m_bLayered, layered)) return;
                    // Where layered children are not shown in place, a child stays painted.
                    if (layered && IsChildWindow(m_hWnd) && !UseLayeredChildWindows()) return;
                    ChangeStyleBit(m_hWnd, GWL_EXSTYLE, WS_EX_LAYERED, layered != 0);
                }),
      IsTabStop([this] { return static_cast<int>(m_bTabStop); },
                [this](const int& tabStop) {
                    if (!SameFlag(m_bTabStop, tabStop)) ChangeStyleBit(m_hWnd, GWL_STYLE, WS_TABSTOP, tabStop != 0);
                }),
      IsHitTestVisible([this] { return static_cast<int>(m_bHitTestVisible); },
                       [this](const int& visible) {
                           if (SameFlag(m_bHitTestVisible, visible) || !::IsWindow(m_hWnd)) return;
                           const bool transparent = visible == 0;
                           // A painted child is not clipped out of its parent when
                           // WS_EX_TRANSPARENT: it answers WM_NCHITTEST instead.
                           if (transparent && IsPaintedChild(m_hWnd)) {
                               SetTransparent(1);
                               return;
                           }
                           // WM_STYLECHANGED updates the field; a style already as asked
                           // (a painted child never had the bit) sends none.
                           if (!ChangeStyleBit(m_hWnd, GWL_EXSTYLE, WS_EX_TRANSPARENT, transparent))
                               SetTransparent(transparent ? 1 : 0);
                       }),
      Margin([this] { return m_margin; },
             [this](const Thickness& margin) { UpdateDrawnValue(m_margin, margin, [this] { Render(); }, Margin, this); }),
      SecondaryBrush([this] { return m_secondaryBrush; },
                     [this](const Brush& brush) {
                         UpdateDrawnValue(m_secondaryBrush, brush, [this] { Render(); }, SecondaryBrush, this);
                     }),
      Tag([this] { return static_cast<int>(m_nTag); },
          [this](const int& tag) {
              if (tag == m_nTag) return;
              m_nTag = tag;
              Tag.RaiseChanged(this);
          }),
      RenderDC([this] { return m_memDC.GetSafeHdc(); }),
      BackgroundDC([this] { return m_hBackgroundDC; },
                   [this](const HDC& dc) {
                       UpdateDrawnValue(m_hBackgroundDC, dc, [this] { Render(); }, BackgroundDC, this);
                   })
{
}

// --- Visual states -----------------------------------------------------------

void Control::SetStateAction(const std::wstring& group, const std::wstring& state, StateAction action)
{
    m_visualStates.SetStateAction(group, state, std::move(action));
}

void Control::GoToState(const std::wstring& group, const std::wstring& state)
{
    m_visualStates.GoToState(group, state);
}

void Control::RefreshVisualStates()
{
    m_visualStates.RefreshVisualStates();
}

void Control::SetNormalAction(StateAction action)
{
    m_visualStates.SetNormalAction(std::move(action));
}

void Control::SetMouseOverAction(StateAction action)
{
    m_visualStates.SetMouseOverAction(std::move(action));
}

void Control::SetPressedAction(StateAction action)
{
    m_visualStates.SetPressedAction(std::move(action));
}

void Control::SetFocusedAction(StateAction action)
{
    m_visualStates.SetFocusedAction(std::move(action));
}

void Control::SetUnfocusedAction(StateAction action)
{
    m_visualStates.SetUnfocusedAction(std::move(action));
}

const std::wstring* Control::CurrentState(const std::wstring& group) const
{
    return m_visualStates.CurrentState(group);
}

// --- Window state ----------------------------------------------------------

LRESULT Control::OnCreate(CREATESTRUCTW*)
{
    return 0;
}

LRESULT Control::OnClose()
{
    return DefaultProc();
}

LRESULT Control::OnDestroy()
{
    return DefaultProc();
}

void Control::SetIsEnabled(int enabled)
{
    m_bEnabled = enabled;
    Render();
    IsEnabled.RaiseChanged(this);
}

void Control::SetIsVisible(int shown, int)
{
    if (shown == m_bVisible) return;
    m_bVisible = shown;
    Render();
}

void Control::OnWindowPosChanged(WINDOWPOS* pos)
{
    if (!pos) return;
    SetPosition(pos->x, pos->y);
    SetSize(pos->cx, pos->cy);
    Bounds.RaiseChanged(this);
}

void Control::SetPosition(int x, int y)
{
    if (x == m_nX && y == m_nY) return;
    if (x != m_nX) {
        m_nX = x;
        X.RaiseChanged(this);
    }
    if (y != m_nY) {
        m_nY = y;
        Y.RaiseChanged(this);
    }
    Location.RaiseChanged(this);
}

void Control::SetSize(int width, int height)
{
    if (width == m_nWidth && height == m_nHeight) return;
    if (width != m_nWidth) {
        m_nWidth = width;
        Width.RaiseChanged(this);
    }
    if (height != m_nHeight) {
        m_nHeight = height;
        Height.RaiseChanged(this);
    }
    Size.RaiseChanged(this);
    if (m_memDC.Width() != m_nWidth || m_memDC.Height() != m_nHeight) {
        m_memDC.Resize(m_nWidth, m_nHeight);
        Render();
    }
}

LRESULT Control::OnEraseBkgnd(HDC)
{
    return 1;
}

void Control::OnStyleChanged(int which, STYLESTRUCT* style)
{
    if (!style) return;
    const DWORD before = style->styleOld;
    const DWORD now = style->styleNew;
    auto turnedOff = [&](DWORD bit) { return (before & bit) && !(now & bit); };
    auto turnedOn = [&](DWORD bit) { return !(before & bit) && (now & bit); };
    if (which == GWL_EXSTYLE) {
        const bool layeredChanged = turnedOff(WS_EX_LAYERED) || turnedOn(WS_EX_LAYERED);
        if (turnedOff(WS_EX_LAYERED)) SetLayered(0);
        else if (turnedOn(WS_EX_LAYERED)) SetLayered(1);
        if (!m_bMatchingTransparentBit) {
            if (turnedOff(WS_EX_TRANSPARENT)) SetTransparent(0);
            else if (turnedOn(WS_EX_TRANSPARENT)) SetTransparent(1);
        }
        if (layeredChanged) MatchTransparentBit();
    } else if (which == GWL_STYLE) {
        if (turnedOff(WS_TABSTOP)) SetTabStop(0);
        else if (turnedOn(WS_TABSTOP)) SetTabStop(1);
    }
}

void Control::MatchTransparentBit()
{
    if (m_bHitTestVisible) return;
    m_bMatchingTransparentBit = true;
    ChangeStyleBit(m_hWnd, GWL_EXSTYLE, WS_EX_TRANSPARENT, !IsPaintedChild(m_hWnd));
    m_bMatchingTransparentBit = false;
}

void Control::SetLayered(int layered)
{
    m_bLayered = layered;
    Render();
    IsLayered.RaiseChanged(this);
}

void Control::SetTabStop(int tabStop)
{
    m_bTabStop = tabStop;
    IsTabStop.RaiseChanged(this);
}

void Control::SetTransparent(int transparent)
{
    m_bHitTestVisible = transparent == 0 ? 1 : 0;
    IsHitTestVisible.RaiseChanged(this);
}

LRESULT Control::OnGetDlgCode(WPARAM, LPARAM)
{
    return DefaultProc();
}

LRESULT Control::OnCommand(UINT, WPARAM, LPARAM)
{
    return 0;
}

DWORD Control::AdjustStyle(DWORD style)
{
    return style;
}

DWORD Control::AdjustExStyle(DWORD exStyle)
{
    return exStyle;
}

// --- Input -------------------------------------------------------------------

void Control::RaiseMouse(const MouseEvent& event, UINT keys, uint32_t clickCount, POINTS pt, int32_t delta)
{
    event.RaiseValue(this, MouseEventArgs{keys, clickCount, pt.x, pt.y, delta});
}

void Control::OnMouseMove(UINT keys, POINTS pt)
{
    if (!m_bHover) {
        TRACKMOUSEEVENT track = {};
        track.cbSize = sizeof(track);
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = m_hWnd;
        track.dwHoverTime = 0;
        ::TrackMouseEvent(&track);
        m_bHover = 1;
        IsMouseOver.RaiseChanged(this);
        GoToState(kCommonStates, kMouseOver);
        RaiseMouse(MouseEnter, keys, 0, pt);
    }
    RaiseMouse(MouseMove, keys, 0, pt);
}

void Control::OnMouseLeave()
{
    if (!m_bHover) return;
    m_bHover = 0;
    IsMouseOver.RaiseChanged(this);
    GoToState(kCommonStates, kNormal);
    RaiseMouse(MouseLeave, 0, 0, POINTS{0, 0});
}

void Control::OnLButtonDown(UINT keys, POINTS pt)
{
    if (m_uClickTimerId == 0) {
        // The object's address names the timer, so the timer finds it again.
        m_uClickTimerId = ::SetTimer(m_hWnd, reinterpret_cast<UINT_PTR>(this), ::GetDoubleClickTime(), ClickTimerProc);
    }
    ++m_uClickCount;
    RaiseMouse(LButtonDown, keys, m_uClickCount, pt);
    OnMouseDown(keys, pt);
}

void Control::OnMButtonDown(UINT keys, POINTS pt)
{
    RaiseMouse(MButtonDown, keys, m_uClickCount, pt);
    OnMouseDown(keys, pt);
}

void Control::OnRButtonDown(UINT keys, POINTS pt)
{
    RaiseMouse(RButtonDown, keys, m_uClickCount, pt);
    OnMouseDown(keys, pt);
}

void Control::OnMouseDown(UINT keys, POINTS pt)
{
    RaiseMouse(MouseDown, keys, 1, pt);
}

void Control::OnLButtonUp(UINT keys, POINTS pt)
{
    RaiseMouse(LButtonUp, keys, 1, pt);
    OnMouseUp(keys, pt);
}

void Control::OnMButtonUp(UINT keys, POINTS pt)
{
    RaiseMouse(MButtonUp, keys, 1, pt);
    OnMouseUp(keys, pt);
}

void Control::OnRButtonUp(UINT keys, POINTS pt)
{
    RaiseMouse(RButtonUp, keys, 1, pt);
    OnMouseUp(keys, pt);
}

void Control::OnMouseUp(UINT keys, POINTS pt)
{
    RaiseMouse(MouseUp, keys, 1, pt);
}

void Control::OnLButtonDblClk(UINT, POINTS)
{
    ++m_uClickCount;
}

void Control::OnMouseWheel(UINT keys, short delta, POINTS pt)
{
    RaiseMouse(MouseWheel, keys, 0, pt, delta);
}

void Control::OnSetFocus(HWND)
{
    IsFocused.RaiseChanged(this);
    GoToState(kFocusStates, kFocused);
}

void Control::OnKillFocus(HWND)
{
    IsFocused.RaiseChanged(this);
    GoToState(kFocusStates, kUnfocused);
}

void Control::OnKeyUp(UINT, UINT, UINT) {}

void Control::OnKeyDown(UINT, UINT, UINT) {}

void Control::OnChar(UINT, UINT, UINT) {}

void CALLBACK Control::ClickTimerProc(HWND window, UINT, UINT_PTR id, DWORD)
{
    Control* control = FromHandle(window);
    if (!control || reinterpret_cast<UINT_PTR>(control) != id) {
        // Not (or no longer) the object that started it.
        ::KillTimer(window, id);
        return;
    }
    ::KillTimer(window, control->m_uClickTimerId);
    control->m_uClickTimerId = 0;
    control->m_uClickCount = 0;
}
