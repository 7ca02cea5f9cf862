#pragma once
#include <windows.h>

// A window of our class library: one HWND and the object that handles its
// messages. Windows of our own classes reach the object from their first
// message; windows of other classes (system controls, dialogs) are subclassed
// so that their messages pass through WindowProc before the class procedure.
class CWnd {
public:
    CWnd() = default;
    virtual ~CWnd();
    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }

    // The object that owns hWnd, or null for windows that are not ours.
    static CWnd* FromHandlePermanent(HWND hWnd);

    // Creates the window; the object receives its messages from the first one
    // on (own classes) or from the end of creation on (other classes).
    BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, int x, int y, int width,
                  int height, HWND parent, HMENU menuOrId, LPVOID param = nullptr);
    BOOL DestroyWindow();

    // Routes an existing window's messages through this object.
    BOOL SubclassWindow(HWND hWnd);
    HWND UnsubclassWindow();

    // Per-message handling. Overrides handle what they need in a short switch
    // and pass the rest to the base class.
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    // Called by the modal loop for each message aimed at this window or a
    // descendant, before dispatch; TRUE means the message was consumed.
    virtual BOOL PreTranslateMessage(MSG* msg);

    // Gives msg to PreTranslateMessage of its target window and each parent up
    // to and including top; top gets it even when the target lies outside it.
    static BOOL WalkPreTranslateTree(HWND top, MSG* msg);

    // The procedure that the window had before us, or the system default.
    LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);

    // The procedure for classes we register ourselves.
    static LRESULT CALLBACK StaticWindowProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Thin conveniences over the handle.
    BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
    BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::PostMessageW(m_hWnd, message, wParam, lParam);
    }
    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return ::SendMessageW(m_hWnd, message, wParam, lParam);
    }
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT swpFlags = 0);
    BOOL SetWindowTextW(LPCWSTR text) { return ::SetWindowTextW(m_hWnd, text); }

    HWND m_hWnd = nullptr;

protected:
    // WM_COMMAND; TRUE when handled.
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // After the last message of the window; the object may delete itself here.
    virtual void PostNcDestroy() {}

    // Arms attachment of the next window created on this thread to this object.
    void PrepareAttach();
    void PrepareAttachDialog();
    void CancelAttachDialog();
    // Attaches a window that is being created, if this thread expects one.
    static CWnd* AttachPending(HWND hWnd);
    // The same for dialogs, whose procedure is not ours: also subclasses.
    static CWnd* AttachPendingDialog(HWND hWnd);

private:
    void Attach(HWND hWnd);
    void DetachAfterNcDestroy();

    WNDPROC m_pfnSuper = nullptr;
};

// Registers a window class that uses our window procedure; the same
// arguments give the same class. Returns its name, or null on failure.
LPCWSTR AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr, HBRUSH background = nullptr,
                            HICON icon = nullptr);

// Registers a class described by the caller unless one of that name exists
// for the instance already.
BOOL AfxRegisterClass(WNDCLASSW* wndClass);
