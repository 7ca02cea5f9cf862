#include "platform/ui/Wnd.h"

#include <cwchar>
#include <mutex>
#include <set>
#include <string>
#include <unordered_map>

#include "platform/win/BoundedFormat.h"

namespace {

std::mutex g_mapLock;
std::unordered_map<HWND, CWnd*>& HandleMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The objects waiting for the window that this thread is creating. Dialogs
// have their own slot: a template's child controls are made before the dialog
// procedure first runs, and must not take the dialog's object.
thread_local CWnd* t_pendingWnd = nullptr;
thread_local CWnd* t_pendingDialog = nullptr;

}  // namespace

CWnd::~CWnd()
{
    if (m_hWnd != nullptr) {
        // The window must not outlive its object: it would call into freed memory.
        if (::IsWindow(m_hWnd)) {
            ::DestroyWindow(m_hWnd);
        }
        if (m_hWnd != nullptr) {
            std::lock_guard<std::mutex> lock(g_mapLock);
            HandleMap().erase(m_hWnd);
            m_hWnd = nullptr;
        }
    }
}

CWnd* CWnd::FromHandlePermanent(HWND hWnd)
{
    if (hWnd == nullptr) return nullptr;
    std::lock_guard<std::mutex> lock(g_mapLock);
    auto it = HandleMap().find(hWnd);
    return it == HandleMap().end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hWnd)
{
    m_hWnd = hWnd;
    std::lock_guard<std::mutex> lock(g_mapLock);
    HandleMap()[hWnd] = this;
}

void CWnd::PrepareAttach()
{
    t_pendingWnd = this;
}

void CWnd::PrepareAttachDialog()
{
    t_pendingDialog = this;
}

void CWnd::CancelAttachDialog()
{
    if (t_pendingDialog == this) t_pendingDialog = nullptr;
}

CWnd* CWnd::AttachPending(HWND hWnd)
{
    CWnd* wnd = t_pendingWnd;
    if (wnd == nullptr) return nullptr;
    t_pendingWnd = nullptr;
    wnd->Attach(hWnd);
    return wnd;
}

CWnd* CWnd::AttachPendingDialog(HWND hWnd)
{
    CWnd* wnd = t_pendingDialog;
    if (wnd == nullptr) return nullptr;
    t_pendingDialog = nullptr;
    return wnd->SubclassWindow(hWnd) ? wnd : nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                    int height, HWND parent, HMENU menuOrId, LPVOID param)
{
    if (m_hWnd != nullptr) return FALSE;
    PrepareAttach();
    HWND hWnd = ::CreateWindowExW(exStyle, className, windowName, style, x, y, width, height, parent, menuOrId,
                                  ::GetModuleHandleW(nullptr), param);
    if (t_pendingWnd == this) t_pendingWnd = nullptr;
    if (hWnd == nullptr) return FALSE;
    // A class whose procedure is not ours never saw the pending object.
    if (FromHandlePermanent(hWnd) != this && !SubclassWindow(hWnd)) {
        ::DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::DestroyWindow()
{
    if (m_hWnd == nullptr) return FALSE;
    return ::DestroyWindow(m_hWnd);
}

BOOL CWnd::SubclassWindow(HWND hWnd)
{
    if (hWnd == nullptr || m_hWnd != nullptr || FromHandlePermanent(hWnd) != nullptr) return FALSE;
    Attach(hWnd);
    auto previous = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWindowProc)));
    if (previous == nullptr) {
        std::lock_guard<std::mutex> lock(g_mapLock);
        HandleMap().erase(hWnd);
        m_hWnd = nullptr;
        return FALSE;
    }
    // A class that already uses our procedure needs no chaining.
    m_pfnSuper = previous == &CWnd::StaticWindowProc ? nullptr : previous;
    return TRUE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND hWnd = m_hWnd;
    if (hWnd == nullptr) return nullptr;
    if (m_pfnSuper != nullptr) {
        ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
        m_pfnSuper = nullptr;
    }
    std::lock_guard<std::mutex> lock(g_mapLock);
    HandleMap().erase(hWnd);
    m_hWnd = nullptr;
    return hWnd;
}

void CWnd::DetachAfterNcDestroy()
{
    UnsubclassWindow();
    PostNcDestroy();
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND && OnCommand(wParam, lParam)) return 0;
    return DefWindowProc(message, wParam, lParam);
}

BOOL CWnd::OnCommand(WPARAM, LPARAM)
{
    return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::WalkPreTranslateTree(HWND top, MSG* msg)
{
    for (HWND hWnd = msg->hwnd; hWnd != nullptr; hWnd = ::GetParent(hWnd)) {
        CWnd* wnd = FromHandlePermanent(hWnd);
        if (wnd != nullptr && wnd->PreTranslateMessage(msg)) return TRUE;
        if (hWnd == top) return FALSE;
    }
    // A message for a window outside top (or for the thread): top still
    // sees it, so its accelerators work wherever the focus is.
    CWnd* topWnd = FromHandlePermanent(top);
    return topWnd != nullptr && topWnd->PreTranslateMessage(msg);
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper != nullptr) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
    return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CALLBACK CWnd::StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (wnd == nullptr) wnd = AttachPending(hWnd);
    // A window of our class made without an object behaves as a plain window.
    if (wnd == nullptr) return ::DefWindowProcW(hWnd, message, wParam, lParam);
    LRESULT result = wnd->WindowProc(message, wParam, lParam);
    if (message == WM_NCDESTROY) wnd->DetachAfterNcDestroy();
    return result;
}

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT swpFlags)
{
    LONG_PTR style = ::GetWindowLongPtrW(m_hWnd, GWL_STYLE);
    LONG_PTR updated = (style & ~static_cast<LONG_PTR>(remove)) | static_cast<LONG_PTR>(add);
    if (style == updated) return FALSE;
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, updated);
    if (swpFlags != 0)
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | swpFlags);
    return TRUE;
}

LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon)
{
    wchar_t name[96];
    platform::FormatBounded(name, ARRAYSIZE(name), L"LumoWnd:%x:%p:%p:%p", classStyle, static_cast<void*>(cursor),
                            static_cast<void*>(background), static_cast<void*>(icon));
    // The names live as long as the classes: to the end of the process.
    static std::mutex lock;
    static std::set<std::wstring> names;
    std::lock_guard<std::mutex> guard(lock);
    const std::wstring& stored = *names.insert(name).first;

    HINSTANCE instance = ::GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (::GetClassInfoW(instance, stored.c_str(), &existing)) return stored.c_str();

    WNDCLASSW wc{};
    wc.style = classStyle;
    wc.lpfnWndProc = &CWnd::StaticWindowProc;
    wc.hInstance = instance;
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = stored.c_str();
    return ::RegisterClassW(&wc) != 0 ? stored.c_str() : nullptr;
}

BOOL AfxRegisterClass(WNDCLASSW* wndClass)
{
    if (wndClass == nullptr || wndClass->lpszClassName == nullptr) return FALSE;
    WNDCLASSW existing{};
    if (::GetClassInfoW(wndClass->hInstance, wndClass->lpszClassName, &existing)) return TRUE;
    return ::RegisterClassW(wndClass) != 0;
}
