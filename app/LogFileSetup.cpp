#include "app/LogFileSetup.h"

#include <windows.h>

#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"
#include "platform/win/UniqueHandle.h"

void PrepareLogFile(const ProfileFolderSources& sources, bool uwp)
{
    if (!g_bWriteFile) return;
    wchar_t appData[MAX_PATH];
    wchar_t folder[MAX_PATH];
    wchar_t sid[MAX_PATH] = L"";
    if (!sources.CommonAppDataFolder(appData, MAX_PATH) || !BuildDataFolder(appData, folder, MAX_PATH)) return;
    if (!uwp) sources.UserSid(sid, MAX_PATH);
    if (!platform::FormatBounded(g_szLogPath, MAX_PATH, L"%ls\\%ls\\VYLLumoCore.log", folder, uwp ? L"UWPIni" : sid)) {
        // A cut path would name another file: log nowhere instead.
        g_szLogPath[0] = L'\0';
        return;
    }
    bool exists = platform::UniqueFile(CreateFileW(g_szLogPath, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                   nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr))
                      .IsValid();
    if (!exists) {
        CreateLogFile();
        CheckLogFileBOM();
    }
    SetFilePermission(g_szLogPath);
    LogMessage(L"**********************************************************************", L"CLumoDlg::OnInitDialog",
               true, 0);
    LogMessage(L"*******Begin to Log*******", L"CLumoCoreDlg::OnInitDialog", true, 0);
}
