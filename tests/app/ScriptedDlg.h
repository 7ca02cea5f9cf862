#pragma once
#include <windows.h>

#include <functional>

#include "app/LumoDlg.h"

namespace testsupport {

// The main dialog with a script that runs on the dialog's own message loop
// once the dialog is up; the script ends the dialog, or starts its closing,
// when it is done. A dialog that a fault keeps from ending ends with IDABORT
// a while after its script, so the test, which expects IDCANCEL, fails rather
// than hangs.
class ScriptedDlg : public CLumoDlg {
public:
    std::function<void(ScriptedDlg&)> script;
    // How long the dialog may take to end once its script is done; 0 for no
    // limit. The slowest ending, a closing fade, takes a quarter of a second.
    // A fault may keep every scripted dialog of a test exe from ending, and
    // all of them together must still fit the exe's one time limit (about 60
    // dialogs in 300 s), so this stays well below that share.
    UINT guardMs = 2000;

    BOOL OnInitDialog() override
    {
        const BOOL shown = CLumoDlg::OnInitDialog();
        if (shown) PostMessage(kRunScript);
        return shown;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kRunScript) {
            if (script) script(*this);
            if (guardMs != 0 && ::IsWindow(m_hWnd)) ::SetTimer(m_hWnd, kGuardTimer, guardMs, nullptr);
        }
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
