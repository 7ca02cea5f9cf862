#include "backend/modes/Shortcuts.h"

#include <windows.h>
#include <shlobj.h>
#include <wrl/client.h>

#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"
#include "platform/win/ModulePath.h"

using Microsoft::WRL::ComPtr;

const wchar_t kShortcutFileName[] = L"VYL Lumo Core.lnk";
const wchar_t kShortcutDescription[] = L"VYL Lumo Core";

namespace {

const wchar_t kPlace[] = L"ShortCutHandler";

bool Failed(const wchar_t* text)
{
    LogMessage(text, L"CreateLink", false, 0);
    return false;
}

void CreateOrDelete(bool create, const wchar_t* program, const wchar_t* link, const wchar_t* workingFolder)
{
    LogMessage(link, L"tszCut @ ShortCutHandler", true, 0);
    if (create)
        CreateLink(program, link, kShortcutDescription, workingFolder);
    else
        DeleteFileW(link);
}

}  // namespace

bool CreateLink(const wchar_t* target, const wchar_t* linkPath, const wchar_t* description,
                const wchar_t* workingFolder)
{
    ComPtr<IShellLinkW> link;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&link))))
        return Failed(L"CoCreateInstance failed, function return.");
    if (FAILED(link->SetPath(target))) return Failed(L"psl->SetPath failed, function return.");
    if (FAILED(link->SetDescription(description))) return Failed(L"psl->SetDescription failed, function return.");
    if (FAILED(link->SetWorkingDirectory(workingFolder)))
        return Failed(L"psl->SetWorkingDirectory failed, function return.");
    ComPtr<IPersistFile> file;
    if (FAILED(link.As(&file))) return Failed(L"psl->QueryInterface failed, function return.");
    if (FAILED(file->Save(linkPath, TRUE))) return Failed(L"ppf->Save failed, function return.");
    return true;
}

void ShortCutHandler(bool create)
{
    wchar_t program[MAX_PATH];
    if (!platform::ProgramPath(program, MAX_PATH)) {
        LogMessage(L"GetModuleFileName failed", kPlace, false, 0);
        return;
    }
    LogMessage(program, L"tszPath @ ShortCutHandler", true, 0);
    wchar_t workingFolder[MAX_PATH];
    platform::FolderOfPath(program, workingFolder, MAX_PATH);

    wchar_t folder[MAX_PATH];
    wchar_t link[MAX_PATH];
    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_DESKTOPDIRECTORY, FALSE)) {
        LogMessage(L"SHGetSpecialFolderPath (CSIDL_COMMON_DESKTOPDIRECTORY) failed!", kPlace, false, 0);
        return;
    }
    if (platform::FormatBounded(link, MAX_PATH, L"%ls\\%ls", folder, kShortcutFileName))
        CreateOrDelete(create, program, link, workingFolder);
    else
        LogMessage(folder, L"path too long @ ShortCutHandler", false, ERROR_BUFFER_OVERFLOW);

    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_STARTMENU, FALSE)) {
        LogMessage(L"SHGetSpecialFolderPath (CSIDL_COMMON_STARTMENU) failed!", kPlace, false, 0);
        return;
    }
    wchar_t programs[MAX_PATH];
    if (!platform::FormatBounded(programs, MAX_PATH, L"%ls\\Programs\\VORN\\", folder) ||
        !platform::FormatBounded(link, MAX_PATH, L"%ls%ls", programs, kShortcutFileName)) {
        LogMessage(folder, L"path too long @ ShortCutHandler", false, ERROR_BUFFER_OVERFLOW);
        return;
    }
    // The folder is made even when deleting, and never removed.
    SHCreateDirectoryExW(nullptr, programs, nullptr);
    CreateOrDelete(create, program, link, workingFolder);
}
