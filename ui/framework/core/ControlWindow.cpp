// The window class "Control", the forwarding of its messages to the object
// and the routing of those messages to the virtual operations.
#include "ui/framework/core/Control.h"

#include "backend/trace/Trace.h"
#include "ui/framework/core/LayeredChildren.h"

namespace {

constexpr wchar_t kClassName[] = L"Control";
constexpr DWORD kChildStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
constexpr DWORD kTopLevelStyle = WS_VISIBLE | WS_CLIPSIBLINGS;
static_assert(kChildStyle == 0x54000000 && kTopLevelStyle == 0x14000000, "control window styles");

POINTS PointOf(LPARAM lParam)
{
    return POINTS{static_cast<SHORT>(LOWORD(lParam)), static_cast<SHORT>(HIWORD(lParam))};
}

}  // namespace

bool Control::RegisterControlClass()
{
    HINSTANCE module = ::GetModuleHandleW(nullptr);
    WNDCLASSEXW existing = {};
    existing.cbSize = sizeof(existing);
    if (::GetClassInfoExW(module, kClassName, &existing)) return true;

    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = 0;  // no CS_DBLCLKS: left presses are counted by our own timer
    wc.lpfnWndProc = ControlClassProc;
    wc.hInstance = module;
    wc.hIcon = ::LoadIconW(nullptr, IDI_APPLICATION);
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = ::CreateSolidBrush(RGB(0, 0, 0));  // the class owns it from here on
    wc.lpszClassName = kClassName;
    if (::RegisterClassExW(&wc)) return true;
    const DWORD error = ::GetLastError();
    if (wc.hbrBackground) ::DeleteObject(wc.hbrBackground);
    // Another caller may have registered it in between.
    if (error == ERROR_CLASS_ALREADY_EXISTS) return true;
    LogMessage(L"RegisterClassExW", L"Control::Create", false, error);
    return false;
}

Control* Control::FromHandle(HWND window)
{
    if (!window) return nullptr;
    wchar_t name[16] = {};
    if (!::GetClassNameW(window, name, 16) || ::lstrcmpW(name, kClassName) != 0) return nullptr;
    return reinterpret_cast<Control*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT CALLBACK Control::ControlClassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
        auto* control = static_cast<Control*>(create->lpCreateParams);
        if (control) {
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
            // Known from the first forwarded message on, so that the default
            // procedure gets the right window during creation too.
            control->m_hWnd = window;
            ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ForwardProc));
        }
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

LRESULT CALLBACK Control::ForwardProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* control = reinterpret_cast<Control*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!control || control->m_hWnd != window) return ::DefWindowProcW(window, message, wParam, lParam);
    return control->WindowProc(message, wParam, lParam);
}

int Control::Create(HWND parent, int x, int y, int width, int height)
{
    if (m_hWnd) {
        LogMessage(L"already has a window", L"Control::Create", false, ERROR_ALREADY_EXISTS);
        return 0;
    }
    if (!RegisterControlClass()) return 0;

    const bool child = ::IsWindow(parent) != FALSE;
    DWORD style = child ? kChildStyle : kTopLevelStyle;
    DWORD exStyle = AdjustExStyle(0);
    // A layered child only where the system shows it in place; otherwise the
    // control presents through WM_PAINT.
    if (child) exStyle = ChildLayeredExStyle(exStyle);
    style = AdjustStyle(style);

    m_bCreating = true;
    HWND window = ::CreateWindowExW(exStyle, kClassName, L"", style, x, y, width, height, parent, nullptr,
                                    ::GetModuleHandleW(nullptr), this);
    m_bCreating = false;
    if (!window) {
        LogMessage(L"CreateWindowExW", L"Control::Create", false, 0);
        m_hWnd = nullptr;
        return 0;
    }
    m_hWnd = window;
    const int created = OnCreated();
    if (created) Render();
    return created;
}

Control::~Control()
{
    // The subclass parts are gone already: let the window's last messages
    // reach only the default procedure.
    m_bDestroying = true;
    if (m_hWnd) {
        if (m_uClickTimerId) ::KillTimer(m_hWnd, m_uClickTimerId);
        ::DestroyWindow(m_hWnd);
    }
    if (m_hWnd) {
        // Not destroyed (another thread's window): at least never reach us again.
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
        m_hWnd = nullptr;
    }
}

void Control::ForgetWindow()
{
    if (m_hWnd) ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    m_hWnd = nullptr;
    m_hParentWnd = nullptr;
    m_uClickTimerId = 0;  // timers die with the window
    m_uClickCount = 0;
    m_bHover = 0;
}

LRESULT Control::DefaultProc()
{
    return ::CallWindowProcW(m_pfnDefaultProc, m_hWnd, m_uCurrentMessage, m_wCurrentParam, m_lCurrentParam);
}

LRESULT Control::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    m_uCurrentMessage = message;
    m_wCurrentParam = wParam;
    m_lCurrentParam = lParam;

    if (message == WM_NCDESTROY) {
        const LRESULT result = DefaultProc();
        ForgetWindow();
        return result;
    }
    if (m_bDestroying) return DefaultProc();

    switch (message) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTW*>(lParam));
    case WM_DESTROY:
        return OnDestroy();
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_KILLFOCUS:
        OnKillFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_ENABLE:
        return 0;
    case WM_PAINT: {
        PAINTSTRUCT paint = {};
        HDC dc = ::BeginPaint(m_hWnd, &paint);
        if (dc) {
            OnPaint(dc);
            ::EndPaint(m_hWnd, &paint);
        }
        return 0;
    }
    case WM_CLOSE:
        return OnClose();
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_SHOWWINDOW:
        SetIsVisible(static_cast<int>(wParam), static_cast<int>(lParam));
        return 0;
    case WM_WINDOWPOSCHANGED:
        OnWindowPosChanged(reinterpret_cast<WINDOWPOS*>(lParam));
        return 0;
    case WM_STYLECHANGED:
        OnStyleChanged(static_cast<int>(wParam), reinterpret_cast<STYLESTRUCT*>(lParam));
        return 0;
    case WM_GETDLGCODE:
        return OnGetDlgCode(wParam, lParam);
    case WM_KEYDOWN:
        OnKeyDown(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_KEYUP:
        OnKeyUp(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_CHAR:
        OnChar(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_COMMAND:
        return OnCommand(WM_COMMAND, wParam, lParam);
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_LBUTTONDBLCLK:
        OnLButtonDblClk(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_RBUTTONDOWN:
        OnRButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_RBUTTONUP:
        OnRButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_MBUTTONDOWN:
        OnMButtonDown(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_MBUTTONUP:
        OnMButtonUp(static_cast<UINT>(wParam), PointOf(lParam));
        return 0;
    case WM_MOUSEWHEEL:
        OnMouseWheel(LOWORD(wParam), static_cast<short>(HIWORD(wParam)), PointOf(lParam));
        return 0;
    case WM_MOUSELEAVE:
        OnMouseLeave();
        return 0;
    case WM_NCHITTEST:
        // Click-through without WS_EX_TRANSPARENT on painted children, which
        // their parent would not clip out and so paint over. A top-level
        // window keeps the default answer: the pointer must not fall through
        // to another window of the thread.
        if (!m_bHitTestVisible && (::GetWindowLongPtrW(m_hWnd, GWL_STYLE) & WS_CHILD)) return HTTRANSPARENT;
        return DefaultProc();
    case WM_CONTROL_RENDER:
        Render();
        return 0;
    default:
        return DefaultProc();
    }
}

int Control::OnCreated()
{
    if (!::IsWindow(m_hWnd)) return 0;

    m_hParentWnd = ::GetParent(m_hWnd);
    RECT rect = {};
    ::GetWindowRect(m_hWnd, &rect);
    ::MapWindowPoints(nullptr, m_hParentWnd, reinterpret_cast<POINT*>(&rect), 2);
    m_nX = rect.left;
    m_nY = rect.top;
    m_nWidth = rect.right - rect.left;
    m_nHeight = rect.bottom - rect.top;
    X.RaiseChanged(this);
    Y.RaiseChanged(this);
    Width.RaiseChanged(this);
    Height.RaiseChanged(this);
    Location.RaiseChanged(this);
    Size.RaiseChanged(this);
    Bounds.RaiseChanged(this);

    const LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
    m_bEnabled = ::IsWindowEnabled(m_hWnd) ? 1 : 0;
    IsEnabled.RaiseChanged(this);
    m_bVisible = ::IsWindowVisible(m_hWnd) ? 1 : 0;
    IsVisible.RaiseChanged(this);
    m_bLayered = static_cast<int32_t>(exStyle & WS_EX_LAYERED);
    IsLayered.RaiseChanged(this);
    m_bTabStop = static_cast<int32_t>(style & WS_TABSTOP);
    IsTabStop.RaiseChanged(this);
    // A painted child made click-through already keeps it: its style does not show it.
    if (exStyle & WS_EX_TRANSPARENT) m_bHitTestVisible = 0;
    IsHitTestVisible.RaiseChanged(this);

    if (!m_memDC.GetSafeHdc() || m_memDC.Width() != m_nWidth || m_memDC.Height() != m_nHeight)
        m_memDC.Resize(m_nWidth, m_nHeight);

    GoToState(VisualStateNames::kCommonStates, VisualStateNames::kNormal);
    return 1;
}
