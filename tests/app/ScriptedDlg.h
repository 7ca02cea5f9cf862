#pragma once
#include <windows.h>

#include <functional>

#include "app/LumoDlg.h"

namespace testsupport {

// The main dialog with a script that runs on the dialog's own message loop
// once the dialog is up; the script ends the dialog when it is done.
class ScriptedDlg : public CLumoDlg {
public:
    std::function<void(ScriptedDlg&)> script;

    BOOL OnInitDialog() override
    {
        const BOOL shown = CLumoDlg::OnInitDialog();
        if (shown) PostMessage(kRunScript);
        return shown;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == kRunScript && script) script(*this);
        return CLumoDlg::WindowProc(message, wParam, lParam);
    }

private:
    static constexpr UINT kRunScript = WM_APP + 40;
};

}  // namespace testsupport
