#pragma once
#include "platform/ui/Wnd.h"

// A dialog made from a template resource and run modally by its own message
// loop, which offers every message to PreTranslateMessage of its target
// window and that window's parents before dispatching it.
class CDialog : public CWnd {
public:
    explicit CDialog(UINT templateId, HWND parent = nullptr) : m_nIDTemplate(templateId), m_hWndParent(parent) {}

    // Creates the dialog, runs it until EndDialog and destroys it. Returns the
    // value given to EndDialog, or -1 when the dialog could not be made or
    // the loop ended on WM_QUIT (which is posted again for the outer loop).
    virtual INT_PTR DoModal();
    // Ends the modal loop once the current message is handled; from
    // OnInitDialog it ends the dialog before it is shown.
    void EndDialog(int result);

    // TRUE lets the system set the focus.
    virtual BOOL OnInitDialog() { return TRUE; }
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }

    BOOL PreTranslateMessage(MSG* msg) override;

    // The module whose resources hold the templates (default: the program).
    static void SetResourceInstance(HINSTANCE instance) { s_resourceInstance = instance; }
    static HINSTANCE ResourceInstance();

protected:
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    static INT_PTR CALLBACK StaticDialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    void RunModalLoop();

    UINT m_nIDTemplate;
    HWND m_hWndParent;
    INT_PTR m_nModalResult = -1;
    bool m_bEnded = false;
    static HINSTANCE s_resourceInstance;
};
