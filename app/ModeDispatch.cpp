#include "app/ModeDispatch.h"

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "backend/modes/ModeHandlers.h"
#include "backend/modes/ProcessLauncher.h"
#include "backend/profiles/ProfileFolders.h"

// First flag wins; every mode ends the dialog before it is shown.
bool RunCommandLineMode(CLumoDlg& dialog)
{
    ModeEnvironment env{WM_PROFILEMODIFY_MESSAGE, WM_PROFILESYNCMODIFY_MESSAGE, g_hMainWnd, SystemFolderSources()};
    if (g_bCmdInit) {
        InstallHandler(env);
        return true;
    }
    if (g_bCmdUninit) {
        UninstallHandler(env);
        return true;
    }
    if (g_bCmdApply) {
        dialog.ApplyHandler();
        return true;
    }
    if (g_bCmdChkDefault) {
        CheckDefaultHandler(env);
        return true;
    }
    if (g_bCmdBackground) {
        if (g_bUWP) RunListener();
        return true;
    }
    return false;
}
