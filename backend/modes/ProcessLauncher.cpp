#include "backend/modes/ProcessLauncher.h"

#include <windows.h>

#include <string>
#include <vector>

#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"
#include "platform/win/UniqueHandle.h"

const wchar_t kListenerFileName[] = L"LumoListen.exe";
const wchar_t kListenerWindowClass[] = L"VORN VYL Lumo Core Listener Sync Proc Invisible Window";

bool CreateNormalProcess(const wchar_t* exePath, const wchar_t* arguments)
{
    const wchar_t* place = L"CreateNormalProcess";
    if (exePath == nullptr) {
        LogMessage(L"!lpctszExePath || !lpctszExeCmd", place, false, 0);
        return false;
    }
    if (arguments == nullptr) arguments = L"";

    // CreateProcessW may write into its command line: give it a buffer of its own.
    std::wstring commandText = *arguments != L'\0' ? std::wstring(L" ") + arguments : std::wstring();
    std::vector<wchar_t> commandLine(commandText.begin(), commandText.end());
    commandLine.push_back(L'\0');

    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(exePath, commandLine.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info)) {
        wchar_t text[2 * MAX_PATH];
        platform::FormatBounded(text, ARRAYSIZE(text), L"(%ls%ls) CreateProcess failed!", exePath, commandText.c_str());
        LogMessage(text, place, false, 0);
        return false;
    }
    platform::UniqueHandle process(info.hProcess);
    platform::UniqueHandle thread(info.hThread);
    LogMessage(L"Not wait, just return!", place, true, 0);
    DWORD exitCode = 0;
    GetExitCodeProcess(process.Get(), &exitCode);
    wchar_t text[2 * MAX_PATH + 96];
    platform::FormatBounded(text, ARRAYSIZE(text), L"WaitForSingleObject done, PID: 0x%.8X (%ls%ls), return: 0x%.8X",
                            info.dwProcessId, exePath, commandText.c_str(), exitCode);
    LogMessage(text, place, true, 0);
    return true;
}

void RunListener(const ProfileFolderSources& folders)
{
    LogMessage(L"I am called !!", L"RunListener", true, 0);
    wchar_t folder[MAX_PATH] = {};
    // A bare file name would be started from whatever folder is current.
    if (!folders.ProgramFolder(folder, MAX_PATH) || folder[0] == L'\0') {
        LogMessage(L"GetModuleFileName failed !", L"RunListener", false, 0);
        return;
    }
    wchar_t path[MAX_PATH];
    if (!platform::FormatBounded(path, MAX_PATH, L"%ls%ls", folder, kListenerFileName)) {
        LogMessage(path, L"path too long @ RunListener", false, ERROR_BUFFER_OVERFLOW);
        return;
    }
    LogMessage(path, L"path @ RunListener", true, 0);
    CreateNormalProcess(path, nullptr);
}

void RunListener()
{
    RunListener(SystemFolderSources());
}
