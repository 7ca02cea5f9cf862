#include "app/UwpHandOver.h"

#include <windows.h>

#include "app/LumoGlobals.h"
#include "backend/modes/ProcessLauncher.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"
#include "platform/win/ModulePath.h"
#include "platform/win/UniqueHandle.h"

namespace {

constexpr DWORD kInstalledDirMaxBytes = 520;

// The value as the registry holds it, terminated even when it was stored
// without a terminator or fills the whole buffer.
bool ReadInstalledDir(wchar_t* out, size_t capacity)
{
    platform::UniqueHKey key;
    LSTATUS status = RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\VORN\\VYLLumoCore", 0, KEY_READ | KEY_WOW64_32KEY,
                                   key.Put());
    if (status != ERROR_SUCCESS) {
        LogMessage(L"RegOpenKeyEx failed", L"OnInitDialog", false, static_cast<uint32_t>(status));
        return false;
    }
    wchar_t value[kInstalledDirMaxBytes / sizeof(wchar_t) + 1] = {};
    DWORD size = kInstalledDirMaxBytes;
    DWORD type = 0;
    status = RegQueryValueExW(key.Get(), L"InstalledDir", nullptr, &type, reinterpret_cast<BYTE*>(value), &size);
    if (status != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) {
        LogMessage(L"RegQueryValueEx failed", L"OnInitDialog", false,
                   status != ERROR_SUCCESS ? static_cast<uint32_t>(status) : ERROR_INVALID_DATA);
        return false;
    }
    value[size / sizeof(wchar_t)] = L'\0';
    return platform::CopyBounded(out, capacity, value);
}

// A program with "UWP.ini" beside it would hand over in turn; this program is
// one of them, so naming our own folder would restart us without end.
bool WouldHandOverAgain(const wchar_t* folder)
{
    wchar_t uwpIni[MAX_PATH];
    return !platform::FormatBounded(uwpIni, MAX_PATH, L"%lsUWP.ini", folder) || CheckFileExist(uwpIni);
}

}  // namespace

bool HandOverToInstalledProgram()
{
    wchar_t installDir[MAX_PATH];
    if (!ReadInstalledDir(installDir, MAX_PATH)) return false;
    LogMessage(installDir, L"tszInstallDir @ OnInitDialog", true, 0);
    wchar_t path[MAX_PATH];
    if (!platform::FormatBounded(path, MAX_PATH, L"%lsLumo.exe", installDir)) {
        LogMessage(installDir, L"path too long @ OnInitDialog", false, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    LogMessage(path, L"path @ OnInitDialog", true, 0);
    if (!CheckFileExist(path)) {
        LogMessage(path, L"bInst but file not exist !!! @ OnInitDialog", true, 0);
        return false;
    }
    wchar_t folder[MAX_PATH];
    // Without a folder the name would be found in whatever folder is current.
    if (!platform::FolderOfPath(path, folder, MAX_PATH) || folder[0] == L'\0') {
        LogMessage(path, L"no folder, not run !!! @ OnInitDialog", true, 0);
        return false;
    }
    if (WouldHandOverAgain(folder)) {
        LogMessage(path, L"hands over again, not run !!! @ OnInitDialog", true, 0);
        return false;
    }
    LogMessage(path, L"run msi one !!! @ OnInitDialog", true, 0);
    // The started program must find the single-instance event free: taken, it
    // would raise our window, which never shows, and end.
    const bool heldInstance = g_hSingleInstanceEvent.IsValid();
    g_hSingleInstanceEvent.Reset();
    if (!CreateNormalProcess(path, nullptr)) {
        LogMessage(path, L"run msi one failed !!! @ OnInitDialog", true, 0);
        if (heldInstance) g_hSingleInstanceEvent.Reset(CreateEventW(nullptr, FALSE, FALSE, kSingleInstanceEventName));
        return false;
    }
    return true;
}
