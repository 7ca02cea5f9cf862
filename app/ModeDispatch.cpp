#include "app/ModeDispatch.h"

#include "app/LumoGlobals.h"
#include "app/LumoDlg.h"

// The handlers of the modes are called from here, first flag wins; until they
// exist a mode start only ends unseen.
bool RunCommandLineMode(CLumoDlg&)
{
    if (g_bCmdInit) return true;
    if (g_bCmdUninit) return true;
    if (g_bCmdApply) return true;
    if (g_bCmdChkDefault) return true;
    if (g_bCmdBackground) return true;
    return false;
}
