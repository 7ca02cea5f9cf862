#pragma once
#include <windows.h>

#include <functional>

#include "app/LumoDlg.h"

namespace testsupport {

// The main dialog with a script that runs on the dialog's own message loop
// once the dialog is up; the script ends the dialog when it is done. A dialog
// that a fault keeps from ending ends with IDABORT after a long while, so the
// test, which expects IDCANCEL, fails rather than hangs.
class ScriptedDlg : public CLumoDlg {
public:
    std::function<void(ScriptedDlg&)> script;
    // How long the dialog may run before it is ended; 0 for no limit.
    UINT guardMs = 60000;

    BOOL OnInitDialog() override
    {
        const BOOL shown = CLumoDlg::OnInitDialog();
        if (shown) {
            PostMessage(kRunScript);
            if (guardMs != 0) ::SetTimer(m_hWnd, kGuardTimer, guardMs, nullptr);
        }
        return shown;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kRunScript && script) script(*this);
        if (message == WM_TIMER && wParam == kGuardTimer) {
            ::KillTimer(m_hWnd, kGuardTimer);
            EndDialog(IDABORT);
        }
        return CLumoDlg::WindowProc(message, wParam, lParam);
    }

private:
    static constexpr UINT kRunScript = WM_APP + 40;
    static constexpr UINT_PTR kGuardTimer = 0x5C41;
};

}  // namespace testsupport
