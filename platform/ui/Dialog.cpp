#include "platform/ui/Dialog.h"

HINSTANCE CDialog::s_resourceInstance = nullptr;

HINSTANCE CDialog::ResourceInstance()
{
    return s_resourceInstance != nullptr ? s_resourceInstance : ::GetModuleHandleW(nullptr);
}

INT_PTR CDialog::DoModal()
{
    if (m_hWnd != nullptr) return -1;
    HINSTANCE instance = ResourceInstance();
    HRSRC found = ::FindResourceW(instance, MAKEINTRESOURCEW(m_nIDTemplate), MAKEINTRESOURCEW(5) /* RT_DIALOG */);
    HGLOBAL loaded = found != nullptr ? ::LoadResource(instance, found) : nullptr;
    auto* dialogTemplate = loaded != nullptr ? static_cast<const DLGTEMPLATE*>(::LockResource(loaded)) : nullptr;
    if (dialogTemplate == nullptr) return -1;

    m_nModalResult = -1;
    m_bEnded = false;
    // The owner is disabled while we run, as a modal dialog's owner is.
    bool disabledParent = m_hWndParent != nullptr && ::IsWindowEnabled(m_hWndParent);
    if (disabledParent) ::EnableWindow(m_hWndParent, FALSE);

    PrepareAttachDialog();
    HWND hWnd = ::CreateDialogIndirectParamW(instance, dialogTemplate, m_hWndParent, &CDialog::StaticDialogProc,
                                             reinterpret_cast<LPARAM>(this));
    CancelAttachDialog();

    if (hWnd != nullptr && m_hWnd == hWnd) {
        if (!m_bEnded) {
            if (!::IsWindowVisible(hWnd)) ::ShowWindow(hWnd, SW_SHOWNORMAL);
            RunModalLoop();
        }
        // Give the owner back its input before we go, so it gets the activation.
        if (disabledParent) {
            ::EnableWindow(m_hWndParent, TRUE);
            disabledParent = false;
        }
        ::SetWindowPos(hWnd, nullptr, 0, 0, 0, 0,
                       SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
        ::DestroyWindow(hWnd);
    } else if (hWnd != nullptr) {
        ::DestroyWindow(hWnd);
    }
    if (disabledParent) ::EnableWindow(m_hWndParent, TRUE);
    return m_nModalResult;
}

void CDialog::RunModalLoop()
{
    MSG msg;
    while (!m_bEnded) {
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (got == 0) {
            // Leave the quit request for whoever runs the outer loop.
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            m_nModalResult = -1;
            break;
        }
        if (!WalkPreTranslateTree(m_hWnd, &msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

void CDialog::EndDialog(int result)
{
    m_nModalResult = result;
    m_bEnded = true;
    // Wakes the loop when we are called outside a dispatched message.
    if (m_hWnd != nullptr) ::PostMessageW(m_hWnd, WM_NULL, 0, 0);
}

BOOL CDialog::PreTranslateMessage(MSG* msg)
{
    // Keyboard navigation among the dialog's children.
    if (msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST && m_hWnd != nullptr)
        return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}

BOOL CDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    // Buttons, menus and accelerators only (notification code 0 or 1).
    if (HIWORD(wParam) <= 1) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        default:
            break;
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}

INT_PTR CALLBACK CDialog::StaticDialogProc(HWND hWnd, UINT message, WPARAM, LPARAM)
{
    CWnd* wnd = FromHandlePermanent(hWnd);
    if (wnd == nullptr) wnd = AttachPendingDialog(hWnd);
    auto* dialog = dynamic_cast<CDialog*>(wnd);
    if (dialog == nullptr) return FALSE;
    // Everything else reached the object through its WindowProc already.
    if (message == WM_INITDIALOG) return dialog->OnInitDialog();
    return FALSE;
}
