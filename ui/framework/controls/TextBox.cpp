#include "ui/framework/controls/TextBox.h"

#include <algorithm>
#include <cwchar>

#include "backend/trace/Trace.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/drawing/ControlText.h"

namespace {

constexpr wchar_t kHostClass[] = L"LumoTextBoxHost";

bool ModifierHeld()
{
    return ::GetKeyState(VK_SHIFT) < 0 || ::GetKeyState(VK_CONTROL) < 0;
}

}  // namespace

TextBox::TextBox()
    : NumbersOnly([this] { return static_cast<int>(m_bNumbersOnly); },
                  [this](const int& numbersOnly) {
                      if (numbersOnly == m_bNumbersOnly) return;
                      m_bNumbersOnly = numbersOnly;
                      NumbersOnly.RaiseChanged(this);
                  })
{
}

TextBox::~TextBox()
{
    DestroyEditor();
}

void TextBox::DestroyEditor()
{
    if (m_hHostWnd) {
        // Detach first: the edit's last notifications must not reach a box
        // that is going away.
        ::SetWindowLongPtrW(m_hHostWnd, GWLP_USERDATA, 0);
        if (m_pfnHostProc) ::SetWindowLongPtrW(m_hHostWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnHostProc));
    }
    m_edit.DestroyWindow();
    if (m_hHostWnd) ::DestroyWindow(m_hHostWnd);
    m_hHostWnd = nullptr;
    m_pfnHostProc = nullptr;
    m_bEditing = false;
    m_editFont.Reset();
}

const wchar_t* TextBox::HostClassName()
{
    // Once per process: the class and its stock brush live as long as it.
    static const bool registered = [] {
        HINSTANCE module = ::GetModuleHandleW(nullptr);
        WNDCLASSEXW existing = {};
        existing.cbSize = sizeof(existing);
        if (::GetClassInfoExW(module, kHostClass, &existing)) return true;
        WNDCLASSEXW wc = {};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = ::DefWindowProcW;
        wc.hInstance = module;
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH));
        wc.lpszClassName = kHostClass;
        if (::RegisterClassExW(&wc)) return true;
        const DWORD error = ::GetLastError();
        if (error == ERROR_CLASS_ALREADY_EXISTS) return true;
        LogMessage(L"RegisterClassExW", L"TextBox::OnCreated", false, error);
        return false;
    }();
    return registered ? kHostClass : nullptr;
}

LRESULT TextBox::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    return Control::WindowProc(message, wParam, lParam);
}

void TextBox::SetText(const std::wstring& text)
{
    TextBlock::SetText(text);
}

int TextBox::OnCreated()
{
    const int created = Control::OnCreated();
    if (!created || m_hHostWnd) return created;

    const wchar_t* hostClass = HostClassName();
    if (!hostClass) return 0;
    // Owned by the control's top-level window: no taskbar button, and it
    // stays above its owner.
    HWND owner = ::GetAncestor(m_hWnd, GA_ROOT);
    m_hHostWnd = ::CreateWindowExW(WS_EX_LAYERED, hostClass, L"", WS_POPUP, 0, 0, 0, 0, owner, nullptr,
                                   ::GetModuleHandleW(nullptr), nullptr);
    if (!m_hHostWnd) {
        LogMessage(L"CreateWindowExW host", L"TextBox::OnCreated", false, 0);
        return 0;
    }
    // A layered window without attributes is never drawn: black is the key,
    // so the edit's black background vanishes and its white text shows.
    ::SetLayeredWindowAttributes(m_hHostWnd, RGB(0, 0, 0), 255, LWA_COLORKEY);
    ::SetWindowLongPtrW(m_hHostWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_pfnHostProc = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(m_hHostWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TextBox::HostProc)));

    const DWORD editStyle = AdjustEditStyle(WS_CHILD | WS_VISIBLE);
    const DWORD editExStyle = ChildLayeredExStyle(WS_EX_LAYERED);
    BOOL made = m_edit.CreateEx(editExStyle, L"EDIT", m_strText.c_str(), editStyle, m_padding.left, m_padding.top,
                                m_nWidth, m_nHeight, m_hHostWnd, nullptr);
    if (made) {
        if (editExStyle & WS_EX_LAYERED)
            ::SetLayeredWindowAttributes(m_edit.GetSafeHwnd(), RGB(0, 0, 0), 255, LWA_COLORKEY);
    } else if (editExStyle & WS_EX_LAYERED) {
        // Refused all the same: the host's colour key does the work alone.
        made = m_edit.CreateEx(0, L"EDIT", m_strText.c_str(), editStyle, m_padding.left, m_padding.top, m_nWidth,
                               m_nHeight, m_hHostWnd, nullptr);
    }
    if (!made) {
        LogMessage(L"CreateEx edit", L"TextBox::OnCreated", false, 0);
        DestroyEditor();
        return 0;
    }

    m_editFont.Reset(CreateGdiFont(static_cast<int>(m_fontStyle), m_strFontFamily.c_str(), m_fFontSize));
    if (m_editFont) m_edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_editFont.Get()), FALSE);
    m_edit.SendMessage(EM_SETMARGINS, EC_LEFTMARGIN, MAKELONG(0, 0));
    return created;
}

LRESULT CALLBACK TextBox::HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* box = reinterpret_cast<TextBox*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!box || box->m_hHostWnd != window) return ::DefWindowProcW(window, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        // Destroyed with its owner: forget it, so the box never uses a stale handle.
        WNDPROC previous = box->m_pfnHostProc;
        ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
        box->m_hHostWnd = nullptr;
        box->m_pfnHostProc = nullptr;
        box->m_bEditing = false;
        return previous ? ::CallWindowProcW(previous, window, message, wParam, lParam)
                        : ::DefWindowProcW(window, message, wParam, lParam);
    }
    return box->HostWindowProc(window, message, wParam, lParam);
}

LRESULT TextBox::HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_COMMAND:
        return OnCommand(message, wParam, lParam);
    case WM_CTLCOLOREDIT: {
        HDC dc = reinterpret_cast<HDC>(wParam);
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkMode(dc, TRANSPARENT);
        return reinterpret_cast<LRESULT>(::GetStockObject(BLACK_BRUSH));
    }
    default:
        break;
    }
    if (m_pfnHostProc) return ::CallWindowProcW(m_pfnHostProc, window, message, wParam, lParam);
    return ::DefWindowProcW(window, message, wParam, lParam);
}

DWORD TextBox::AdjustEditStyle(DWORD style)
{
    return style;
}

void TextBox::OnMouseDown(UINT keys, POINTS pt)
{
    HWND edit = m_edit.GetSafeHwnd();
    if (m_hHostWnd && edit) {
        if (!m_bEditing) {
            RECT rect = {};
            ::GetWindowRect(m_hWnd, &rect);
            ::SetWindowTextW(edit, m_strText.c_str());
            m_strSavedText = m_strText;
            // The label goes blank while the edit shows the text.
            m_strText.clear();
            Render();
            m_bEditing = true;
            ::SetWindowPos(m_hHostWnd, HWND_TOP, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                           SWP_SHOWWINDOW);
        }
        if (m_hParentWnd) ::SetFocus(m_hParentWnd);
        ::SetFocus(edit);
    }
    Control::OnMouseDown(keys, pt);
}

LRESULT TextBox::OnCommand(UINT message, WPARAM wParam, LPARAM lParam)
{
    HWND edit = m_edit.GetSafeHwnd();
    if (!edit || reinterpret_cast<HWND>(lParam) != edit) return Control::OnCommand(message, wParam, lParam);
    switch (HIWORD(wParam)) {
    case EN_SETFOCUS:
        OnEditSetFocus();
        break;
    case EN_KILLFOCUS:
        OnEditKillFocus();
        break;
    case EN_CHANGE:
        OnEditChange();
        break;
    default:
        break;
    }
    return 0;
}

void TextBox::OnEditChange() {}

void TextBox::OnEditSetFocus() {}

void TextBox::OnEditKillFocus()
{
    HWND edit = m_edit.GetSafeHwnd();
    if (!m_bEditing || !edit) return;
    m_bEditing = false;
    const std::wstring typed = ReadEditText();
    ::SetWindowTextW(edit, L"");
    ::InvalidateRect(edit, nullptr, TRUE);
    ::UpdateWindow(edit);
    if (m_hHostWnd) ::ShowWindow(m_hHostWnd, SW_HIDE);
    // The field is blank since editing began, so this always raises TextChanged.
    SetText(typed == m_strSavedText ? m_strSavedText : typed);
}

std::wstring TextBox::ReadEditText() const
{
    HWND edit = m_edit.GetSafeHwnd();
    if (!edit) return std::wstring();
    wchar_t buffer[kEditTextChars] = {};
    const int length = ::GetWindowTextW(edit, buffer, kEditTextChars);
    return std::wstring(buffer, static_cast<size_t>(std::max(length, 0)));
}

void TextBox::PutEditText(const std::wstring& text, int start, int end)
{
    HWND edit = m_edit.GetSafeHwnd();
    if (!edit) return;
    ::SetWindowTextW(edit, text.c_str());
    ::SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

void TextBox::PaintContent(Gdiplus::Graphics& graphics)
{
    const Gdiplus::GraphicsContainer container = graphics.BeginContainer();
    const Gdiplus::StringFormat fallback;
    GdiDrawing gdi(*this, graphics);
    DrawTextGdi(gdi.Get(), TextToDraw(), TextRect(), m_fFontSize, static_cast<int>(m_fontStyle),
                m_pStringFormat ? *m_pStringFormat : fallback, m_strFontFamily.c_str(), m_foreground.Get());
    graphics.EndContainer(container);
}

// --- The edit ------------------------------------------------------------------

BOOL TextBox::CTextBoxEdit::PreTranslateMessage(MSG* msg)
{
    if (msg->message != WM_KEYDOWN || msg->hwnd != m_hWnd) return FALSE;
    return OnKeyDown(msg->wParam);
}

BOOL TextBox::CTextBoxEdit::OnKeyDown(WPARAM key)
{
    DWORD start = 0;
    DWORD end = 0;
    SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const DWORD length = static_cast<DWORD>(::GetWindowTextLengthW(m_hWnd));
    DWORD caret = start;
    switch (key) {
    case VK_BACK:
        if (start != end) {
            SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
        } else if (start > 0) {
            SendMessage(EM_SETSEL, start - 1, start);
            SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(L""));
            caret = start - 1;
        }
        SendMessage(EM_SETSEL, caret, caret);
        SendMessage(EM_SCROLLCARET);
        return FALSE;
    case VK_TAB:
    case VK_RETURN:
        // Losing the focus ends editing.
        ::SetFocus(nullptr);
        return TRUE;
    case VK_LEFT:
        if (ModifierHeld()) return FALSE;
        caret = start > 0 ? start - 1 : 0;
        break;
    case VK_RIGHT:
        if (ModifierHeld()) return FALSE;
        caret = std::min(end + 1, length);
        break;
    default:
        return FALSE;
    }
    SendMessage(EM_SETSEL, caret, caret);
    SendMessage(EM_SCROLLCARET);
    return TRUE;
}

LRESULT TextBox::CTextBoxEdit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CHAR:
        // Backspace did its work on the key already; a second deletion here
        // would take two characters.
        if (wParam == VK_BACK) return 0;
        if (m_owner.m_bNumbersOnly && (wParam < L'0' || wParam > L'9')) return 0;
        break;
    case WM_PASTE:
        // Pasting bypasses WM_CHAR: keep only its digits.
        if (m_owner.m_bNumbersOnly) {
            PasteDigits();
            return 0;
        }
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void TextBox::CTextBoxEdit::PasteDigits()
{
    std::wstring digits;
    if (!::OpenClipboard(m_hWnd)) return;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(::GlobalLock(data))) {
            const size_t limit = ::GlobalSize(data) / sizeof(wchar_t);
            for (size_t i = 0; i < limit && text[i] != L'\0' && digits.size() < kEditTextChars - 1; ++i) {
                if (text[i] >= L'0' && text[i] <= L'9') digits.push_back(text[i]);
            }
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    if (!digits.empty()) SendMessage(EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(digits.c_str()));
}
