#include "backend/profiles/ProfileFolders.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <cstdlib>
#include <cwchar>
#include <vector>

#include "backend/profiles/IniStore.h"
#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"
#include "platform/win/UniqueFindSid.h"
#include "platform/win/UniqueHandle.h"

wchar_t m_tszIniDir[MAX_PATH] = {};
bool g_bUWP = false;

namespace {

bool IsDotEntry(const wchar_t* name)
{
    return std::wcscmp(name, L".") == 0 || std::wcscmp(name, L"..") == 0;
}

bool SameText(const wchar_t* a, const wchar_t* b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

constexpr DWORD kLinkFolder = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;

bool IsLinkFolder(DWORD attributes)
{
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & kLinkFolder) == kLinkFolder;
}

bool LastWriteTime(const wchar_t* path, FILETIME& time)
{
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path, GetFileExInfoStandard, &data)) {
        time = FILETIME{};
        return false;
    }
    time = data.ftLastWriteTime;
    return true;
}

// The platform keeps the last INI file it read, keyed by path and write
// time; a copy keeps its source's time, so drop what is kept for the path.
void CopyIntoPlace(const wchar_t* from, const wchar_t* to, bool failIfExists)
{
    if (!CopyFileW(from, to, failIfExists ? TRUE : FALSE)) {
        DWORD error = GetLastError();
        LogMessage(from, L"CopyFile failed (tszSource) @ CopyFiles", false, error);
        LogMessage(to, L"CopyFile failed (tszTarget) @ CopyFiles", false, error);
    }
    WritePrivateProfileStringW(nullptr, nullptr, nullptr, to);
    SetFilePermission(to);
}

// Removing a junction or symbolic link to a folder removes the link only.
void RemoveLink(const wchar_t* path)
{
    LogMessage(path, L"link, not walked @ RemoveFiles", true, 0);
    if (!RemoveDirectoryW(path)) LogMessage(path, L"RemoveDirectory failed @ RemoveFiles", false, 0);
}

bool DataFolderOf(const ProfileFolderSources& sources, wchar_t* base, size_t capacity, const wchar_t* place)
{
    wchar_t appData[kFolderCapacity];
    if (!sources.CommonAppDataFolder(appData, ARRAYSIZE(appData))) {
        base[0] = L'\0';
        LogMessage(L"SHGetSpecialFolderPath (CSIDL_COMMON_APPDATA) failed!", place, false, 0);
        return false;
    }
    return BuildDataFolder(appData, base, capacity);
}

// Replaces the folder's profile files by those of another folder.
void ReseedFrom(const wchar_t* from, const wchar_t* iniDir)
{
    RemoveFiles(iniDir, L"basic*.ini", false);
    RemoveFiles(iniDir, L"custom*.ini", false);
    CopyFiles(from, L"basic*.ini", iniDir, false);
    CopyFiles(from, L"custom*.ini", iniDir, false);
}

bool IsLaterThan(const FILETIME& a, const FILETIME& b)
{
    return CompareFileTime(&a, &b) == 1;
}

}  // namespace

bool ProfileFolderSources::CommonAppDataFolder(wchar_t* out, size_t capacity) const
{
    wchar_t folder[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, folder, CSIDL_COMMON_APPDATA, TRUE)) {
        if (capacity != 0) out[0] = L'\0';
        return false;
    }
    if (platform::CopyBounded(out, capacity, folder)) return true;
    out[0] = L'\0';
    return false;
}

bool ProfileFolderSources::ProgramFolder(wchar_t* out, size_t capacity) const
{
    if (capacity != 0) out[0] = L'\0';
    wchar_t path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameW(nullptr, path, ARRAYSIZE(path));
    // A full buffer means the path was cut.
    if (length == 0 || length >= ARRAYSIZE(path)) return false;
    wchar_t drive[_MAX_DRIVE] = {};
    wchar_t dir[_MAX_DIR] = {};
    if (_wsplitpath_s(path, drive, ARRAYSIZE(drive), dir, ARRAYSIZE(dir), nullptr, 0, nullptr, 0) != 0) return false;
    if (!platform::FormatBounded(out, capacity, L"%ls%ls", drive, dir)) {
        out[0] = L'\0';
        return false;
    }
    return true;
}

bool ProfileFolderSources::UserSid(wchar_t* out, size_t capacity) const
{
    return GetUserSIDString(out, capacity);
}

const ProfileFolderSources& SystemFolderSources()
{
    static const ProfileFolderSources sources;
    return sources;
}

bool JoinPath(wchar_t* out, size_t capacity, const wchar_t* folder, const wchar_t* name, const wchar_t* place)
{
    if (out == nullptr || capacity == 0) return false;
    if (folder == nullptr) folder = L"";
    if (name == nullptr) name = L"";
    size_t length = std::wcslen(folder);
    bool endsInSeparator = length != 0 && (folder[length - 1] == L'\\' || folder[length - 1] == L'/');
    if (!platform::FormatBounded(out, capacity, endsInSeparator ? L"%ls%ls" : L"%ls\\%ls", folder, name)) {
        out[0] = L'\0';
        LogMessage(folder, place, false, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    return true;
}

bool BuildDataFolder(const wchar_t* appData, wchar_t* out, size_t capacity)
{
    if (out == nullptr || capacity == 0) return false;
    if (!platform::FormatBounded(out, capacity, L"%ls\\VORN\\VYLLumoCore", appData != nullptr ? appData : L"")) {
        out[0] = L'\0';
        LogMessage(appData, L"path too long @ BuildDataFolder", false, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    return true;
}

bool GetUserSIDString(wchar_t* out, size_t capacity)
{
    static const wchar_t kPlace[] = L"GetUserSIDString";
    if (out == nullptr || capacity == 0) return false;
    out[0] = L'\0';
    platform::UniqueHandle token;
    if (!OpenThreadToken(GetCurrentThread(), TOKEN_QUERY, TRUE, token.Put()) &&
        !OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Put())) {
        LogMessage(L"OpenProcessToken failed !", kPlace, false, 0);
        return false;
    }
    DWORD size = 0;
    if (!GetTokenInformation(token.Get(), TokenUser, nullptr, 0, &size) &&
        GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        LogMessage(L"GetTokenInformation failed 1 !", kPlace, false, 0);
        return false;
    }
    // TOKEN_USER holds pointers: keep the buffer pointer-aligned.
    std::vector<ULONG_PTR> buffer(size / sizeof(ULONG_PTR) + 1);
    DWORD bufferSize = static_cast<DWORD>(buffer.size() * sizeof(ULONG_PTR));
    if (!GetTokenInformation(token.Get(), TokenUser, buffer.data(), bufferSize, &size)) {
        LogMessage(L"GetTokenInformation failed 2 !", kPlace, false, 0);
        return false;
    }
    const auto* user = reinterpret_cast<const TOKEN_USER*>(buffer.data());
    wchar_t* text = nullptr;
    if (!ConvertSidToStringSidW(user->User.Sid, &text)) {
        LogMessage(L"ConvertSidToStringSid failed ", kPlace, false, 0);
        return false;
    }
    platform::UniqueLocalMem textOwner(text);
    LogMessage(text, L"StringSid @ GetUserSIDString", true, 0);
    if (!platform::CopyBounded(out, capacity, text)) {
        out[0] = L'\0';
        LogMessage(L"SID text too long", kPlace, false, ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    LogMessage(out, L"lptszSID @ GetUserSIDString", true, 0);
    return true;
}

bool FindLatestIni(const wchar_t* base, wchar_t* name, size_t capacity)
{
    static const wchar_t kListFailed[] = L"DirPath - FindFirstFile (INVALID_HANDLE_VALUE) @ FindLatestIni";
    static const wchar_t kTooLong[] = L"path too long @ FindLatestIni";
    if (name == nullptr || capacity == 0) return false;
    name[0] = L'\0';
    wchar_t listing[kFolderCapacity];
    if (!JoinPath(listing, ARRAYSIZE(listing), base, L"S*.*", kListFailed)) return false;

    WIN32_FIND_DATAW entry{};
    platform::UniqueFind find(FindFirstFileW(listing, &entry));
    if (!find) {
        LogMessage(listing, kListFailed, false, 0);
        return false;
    }
    wchar_t kept[kFolderCapacity] = L"Init";
    FILETIME keptTime{};
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || IsDotEntry(entry.cFileName)) continue;
        wchar_t folder[kFolderCapacity];
        wchar_t basic[kFolderCapacity];
        // A folder whose basic.ini path would not fit cannot be read: it never wins.
        if (!JoinPath(folder, ARRAYSIZE(folder), base, entry.cFileName, kTooLong) ||
            !JoinPath(basic, ARRAYSIZE(basic), folder, L"basic.ini", kTooLong))
            continue;
        if (!CheckFileExist(basic)) continue;
        FILETIME written{};
        if (!LastWriteTime(basic, written)) continue;
        if (SameText(kept, L"init") || IsLaterThan(written, keptTime)) {
            platform::CopyBounded(kept, ARRAYSIZE(kept), entry.cFileName);
            keptTime = written;
        }
    } while (FindNextFileW(find.Get(), &entry));
    DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) LogMessage(listing, L"DirPath - FindNextFile (failed) @ FindLatestIni", false, error);

    wchar_t keptFolder[kFolderCapacity];
    JoinPath(keptFolder, ARRAYSIZE(keptFolder), base, kept, kTooLong);
    LogMessage(keptFolder, L"tszLatestDir final one @ FindLatestIni", true, 0);
    if (!platform::CopyBounded(name, capacity, kept)) {
        name[0] = L'\0';
        LogMessage(kept, kTooLong, false, ERROR_INSUFFICIENT_BUFFER);
        return false;
    }
    LogMessage(name, L"lptszName @ FindLatestIni", true, 0);
    return true;
}

void RemoveFiles(const wchar_t* folder, const wchar_t* pattern, bool recursive)
{
    static const wchar_t kListFailed[] = L"DirPath - FindFirstFile (INVALID_HANDLE_VALUE) @ RemoveFiles";
    if (folder == nullptr || pattern == nullptr) return;
    if (recursive && IsLinkFolder(GetFileAttributesW(folder))) {
        RemoveLink(folder);
        return;
    }
    wchar_t listing[kFolderCapacity];
    if (!JoinPath(listing, ARRAYSIZE(listing), folder, pattern, kListFailed)) return;
    {
        WIN32_FIND_DATAW entry{};
        platform::UniqueFind find(FindFirstFileW(listing, &entry));
        if (!find) {
            LogMessage(listing, kListFailed, false, 0);
            return;
        }
        do {
            if (IsDotEntry(entry.cFileName)) continue;
            wchar_t path[kFolderCapacity];
            // A cut path would name another file: leave this entry alone.
            if (!JoinPath(path, ARRAYSIZE(path), folder, entry.cFileName, L"path too long @ RemoveFiles")) continue;
            if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                if (!recursive) continue;
                if (entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                    RemoveLink(path);
                else
                    RemoveFiles(path, pattern, true);
                continue;
            }
            // Attributes set through a file link would land on its target.
            if ((entry.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 &&
                !SetFileAttributesW(path, FILE_ATTRIBUTE_NORMAL))
                LogMessage(path, L"SetFileAttributes failed @ RemoveFiles", false, 0);
            if (!DeleteFileW(path)) LogMessage(path, L"DeleteFile failed @ RemoveFiles", false, 0);
        } while (FindNextFileW(find.Get(), &entry));
        DWORD error = GetLastError();
        if (error != ERROR_NO_MORE_FILES) LogMessage(listing, L"DirPath - FindNextFile (failed) @ RemoveFiles", false, error);
    }
    // The listing is closed first, or the folder would still be in use.
    if (recursive && !RemoveDirectoryW(folder)) LogMessage(folder, L"RemoveDirectory failed @ RemoveFiles", false, 0);
}

void CopyFiles(const wchar_t* source, const wchar_t* pattern, const wchar_t* target, bool failIfExists)
{
    static const wchar_t kListFailed[] = L"FindFirstFile (INVALID_HANDLE_VALUE) @ CopyFiles";
    static const wchar_t kTooLong[] = L"path too long @ CopyFiles";
    if (source == nullptr || pattern == nullptr || target == nullptr) return;
    int created = SHCreateDirectoryExW(nullptr, target, nullptr);
    if (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS && created != ERROR_FILE_EXISTS)
        LogMessage(target, L"SHCreateDirectoryEx failed @ CopyFiles", false, static_cast<uint32_t>(created));

    wchar_t listing[kFolderCapacity];
    if (!JoinPath(listing, ARRAYSIZE(listing), source, pattern, kListFailed)) return;
    WIN32_FIND_DATAW entry{};
    platform::UniqueFind find(FindFirstFileW(listing, &entry));
    if (!find) {
        LogMessage(listing, kListFailed, false, 0);
        return;
    }
    do {
        if (IsDotEntry(entry.cFileName)) continue;
        wchar_t from[kFolderCapacity];
        wchar_t to[kFolderCapacity];
        if (!JoinPath(from, ARRAYSIZE(from), source, entry.cFileName, kTooLong) ||
            !JoinPath(to, ARRAYSIZE(to), target, entry.cFileName, kTooLong))
            continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            CopyFiles(from, pattern, to, failIfExists);
            continue;
        }
        CopyIntoPlace(from, to, failIfExists);
    } while (FindNextFileW(find.Get(), &entry));
    DWORD error = GetLastError();
    if (error != ERROR_NO_MORE_FILES) LogMessage(listing, L"FindNextFile (failed) @ CopyFiles", false, error);
}

void CopyOneFile(const wchar_t* source, const wchar_t* sourceName, const wchar_t* targetFolder,
                 const wchar_t* targetName)
{
    static const wchar_t kTooLong[] = L"path too long @ CopyFiles";
    wchar_t from[kFolderCapacity];
    wchar_t to[kFolderCapacity];
    if (targetFolder == nullptr || targetFolder[0] == L'\0') return;
    if (!JoinPath(from, ARRAYSIZE(from), source, sourceName, kTooLong) ||
        !JoinPath(to, ARRAYSIZE(to), targetFolder, targetName, kTooLong))
        return;
    if (!CheckFileExist(from)) return;
    int created = SHCreateDirectoryExW(nullptr, targetFolder, nullptr);
    if (created != ERROR_SUCCESS && created != ERROR_ALREADY_EXISTS && created != ERROR_FILE_EXISTS)
        LogMessage(targetFolder, L"SHCreateDirectoryEx failed @ CopyFiles", false, static_cast<uint32_t>(created));
    CopyIntoPlace(from, to, false);
}

void CopyFiles(const wchar_t* source, const wchar_t* sourceName, const wchar_t* targetName)
{
    CopyOneFile(source, sourceName, m_tszIniDir, targetName);
}

bool SetFilePermission(const wchar_t* path)
{
    if (path == nullptr) return false;
    LogMessage(path, L"i am called ! @ SetFilePermission", true, 0);
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    platform::UniqueSid everyone;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, everyone.Put())) {
        LogMessage(L"AllocateAndInitializeSid failed", L"SetFilePermission", false, 0);
        return false;
    }
    EXPLICIT_ACCESSW access{};
    access.grfAccessPermissions = 0xFFFFFFFF;
    access.grfAccessMode = GRANT_ACCESS;
    access.grfInheritance = NO_INHERITANCE;
    access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
    access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
    access.Trustee.ptstrName = static_cast<LPWSTR>(everyone.Get());
    PACL acl = nullptr;
    DWORD status = SetEntriesInAclW(1, &access, nullptr, &acl);
    platform::UniqueLocalMem aclOwner(acl);
    if (status != ERROR_SUCCESS) {
        LogMessage(L"SetEntriesInAcl failed", L"SetFilePermission", false, status);
        return false;
    }
    SECURITY_DESCRIPTOR descriptor{};
    if (!InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE)) {
        LogMessage(L"security descriptor failed", L"SetFilePermission", false, 0);
        return false;
    }
    if (!SetFileSecurityW(path, DACL_SECURITY_INFORMATION, &descriptor)) {
        LogMessage(path, L"SetFileSecurity failed @ SetFilePermission", false, 0);
        return false;
    }
    return true;
}

BOOL CheckFileExist(const wchar_t* path)
{
    if (path == nullptr) return FALSE;
    platform::UniqueFile file(CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? TRUE : FALSE;
}

bool IsUWPProgramFolder(const wchar_t* programFolder)
{
    wchar_t path[kFolderCapacity];
    if (programFolder == nullptr || programFolder[0] == L'\0') return false;
    if (!platform::FormatBounded(path, ARRAYSIZE(path), L"%lsUWP.ini", programFolder)) {
        LogMessage(programFolder, L"path too long @ CheckIfUWP", false, ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    LogMessage(path, L"CheckIfUWP - g_tszINIPath", true, 0);
    return CheckFileExist(path) != FALSE;
}

void CheckIfUWP()
{
    g_bUWP = false;
    wchar_t folder[kFolderCapacity];
    // Without the program's path there is nothing to look beside; a bare
    // "UWP.ini" would be looked for in whatever folder is current.
    if (!SystemFolderSources().ProgramFolder(folder, ARRAYSIZE(folder))) {
        LogMessage(L"GetModuleFileName failed !", L"CheckIfUWP", true, 0);
        return;
    }
    g_bUWP = IsUWPProgramFolder(folder);
}

void CopyIniFiles(const ProfileFolderSources& sources, const SeedSettings& settings, bool uwp, wchar_t* iniDir,
                  size_t capacity)
{
    static const wchar_t kPlace[] = L"CopyIniFiles";
    if (iniDir == nullptr || capacity == 0) return;
    if (uwp) {
        UWPCopyIniFiles(sources, settings, iniDir, capacity);
        return;
    }
    iniDir[0] = L'\0';
    wchar_t base[kFolderCapacity];
    if (!DataFolderOf(sources, base, ARRAYSIZE(base), kPlace)) return;
    LogMessage(base, L"tszGlobalDir @ CopyIniFiles", true, 0);

    // Without a SID the folder ends in "\" and the base folder itself is used.
    wchar_t sid[kFolderCapacity] = {};
    if (!sources.UserSid(sid, ARRAYSIZE(sid))) sid[0] = L'\0';
    if (!platform::FormatBounded(iniDir, capacity, L"%ls\\%ls", base, sid)) {
        iniDir[0] = L'\0';
        LogMessage(base, L"m_tszIniDir too long @ CopyIniFiles", false, ERROR_FILENAME_EXCED_RANGE);
        return;
    }
    LogMessage(iniDir, L"m_tszIniDir @ CopyIniFiles", true, 0);

    wchar_t latest[kFolderCapacity];
    FindLatestIni(base, latest, ARRAYSIZE(latest));
    if (latest[0] == L'\0' || SameText(latest, L"init")) {
        LogMessage(latest, L"tszLatestDir empty, create ! @ CopyIniFiles", true, 0);
        wchar_t program[kFolderCapacity];
        if (!sources.ProgramFolder(program, ARRAYSIZE(program))) {
            LogMessage(L"GetModuleFileName failed", kPlace, false, 0);
            return;
        }
        ReseedFrom(program, iniDir);
        return;
    }
    wchar_t latestDir[kFolderCapacity];
    if (!JoinPath(latestDir, ARRAYSIZE(latestDir), base, latest, L"tszLatestDir too long @ CopyIniFiles")) return;
    LogMessage(latestDir, L"tszLatestDir @ CopyIniFiles", true, 0);
    if (SameText(latestDir, iniDir)) {
        LogMessage(latestDir, L"same, not copy ! @ CopyIniFiles", true, 0);
        return;
    }
    LogMessage(latestDir, L"not same, copy ! @ CopyIniFiles", true, 0);
    LogMessage(L"Prepare to copy profile*.* !", kPlace, true, 0);
    ReseedFrom(latestDir, iniDir);
}

void UWPCopyIniFiles(const ProfileFolderSources& sources, const SeedSettings& settings, wchar_t* iniDir,
                     size_t capacity)
{
    static const wchar_t kPlace[] = L"UWPCopyIniFiles";
    if (iniDir == nullptr || capacity == 0) return;
    iniDir[0] = L'\0';
    wchar_t base[kFolderCapacity];
    if (!DataFolderOf(sources, base, ARRAYSIZE(base), kPlace)) return;
    if (!JoinPath(iniDir, capacity, base, L"UWPIni", L"m_tszIniDir too long @ UWPCopyIniFiles")) return;
    LogMessage(iniDir, L"m_tszIniDir @ UWPCopyIniFiles", true, 0);

    wchar_t program[kFolderCapacity];
    if (!sources.ProgramFolder(program, ARRAYSIZE(program))) {
        LogMessage(L"GetModuleFileName failed", L"CopyIniFiles", false, 0);
        return;
    }
    wchar_t copyBasic[kIniPathCapacity];
    wchar_t seedBasic[kIniPathCapacity];
    if (!BuildBasicIniPath(iniDir, copyBasic, ARRAYSIZE(copyBasic)) ||
        !JoinPath(seedBasic, ARRAYSIZE(seedBasic), program, L"Basic.ini", L"path too long @ UWPCopyIniFiles"))
        return;
    LogMessage(copyBasic, L"tszLocal @ UWPCopyIniFiles", true, 0);
    LogMessage(seedBasic, L"tszLocal @ UWPCopyIniFiles", true, 0);

    bool copy = false;
    int32_t awake = ReadIniInt(copyBasic, L"Setting", L"AWAKE", L"5");
    if (awake != 0 && awake != 1 && settings.support == 1) {
        copy = true;
    } else if (!CheckFileExist(copyBasic)) {
        copy = true;
        LogMessage(copyBasic, L"file not exist ! copy !@ UWPCopyIniFiles", true, 0);
    } else {
        FILETIME copyTime{};
        FILETIME seedTime{};
        LastWriteTime(copyBasic, copyTime);
        LastWriteTime(seedBasic, seedTime);
        if (IsLaterThan(seedTime, copyTime)) {
            LogMessage(seedBasic, L"file time newer @ UWPCopyIniFiles", true, 0);
            if (ReadIniInt(seedBasic, L"Profile", L"ForceCopy", L"") == 1) {
                copy = true;
                LogMessage(seedBasic, L"file newer and copy !@ UWPCopyIniFiles", true, 0);
            } else {
                LogMessage(seedBasic, L"file newer but not copy !@ UWPCopyIniFiles", true, 0);
            }
        }
    }

    // A copy without the 4ZONE key predates it and is always replaced.
    if (ReadIniInt(copyBasic, L"Config", L"4ZONE", L"-1") == -1)
        LogMessage(L"4ZONE profile not exist !", kPlace, true, 0);
    else if (!copy)
        return;

    RemoveFiles(iniDir, L"basic*.ini", false);
    RemoveFiles(iniDir, L"custom*.ini", false);
    RemoveFiles(iniDir, L"lumo*.ini", false);
    if (settings.support != 0) {
        CopyFiles(program, L"basic*.ini", iniDir, false);
        CopyFiles(program, L"custom*.ini", iniDir, false);
        if (settings.modelType == 1) {
            wchar_t custom0[kIniPathCapacity];
            if (platform::FormatBounded(custom0, ARRAYSIZE(custom0), L"%ls\\Custom0.ini", iniDir))
                WritePrivateProfileStringW(L"Config", L"allIndex", L"2", custom0);
            else
                LogMessage(iniDir, L"path too long @ UWPCopyIniFiles", false, ERROR_FILENAME_EXCED_RANGE);
        }
    } else {
        CopyOneFile(program, L"Basic_20.ini", iniDir, L"Basic.Ini");
        CopyOneFile(program, L"Custom0_20.ini", iniDir, L"Custom0.Ini");
        CopyOneFile(program, L"Custom1_20.ini", iniDir, L"Custom1.ini");
        CopyOneFile(program, L"Custom2_20.ini", iniDir, L"Custom2.ini");
    }
    CopyFiles(program, L"lumo*.ini", iniDir, false);
    LogMessage(L"!!!! Apply profile !!! UWP and COPY !!!!", L"OnInitDialog", true, 0);

    bool modelOne = settings.modelType == 1;
    int32_t applyEffect = settings.support == 0 ? 0 : (modelOne ? 2 : 3);
    WritePrivateProfileStringW(L"Config", L"Apply", L"0", copyBasic);
    WritePrivateProfileStringW(L"Sync", L"Support", settings.support != 0 ? L"1" : L"0", copyBasic);
    WritePrivateProfileStringW(L"Config", L"4ZONE", modelOne ? L"0" : L"1", copyBasic);
    WritePrivateProfileStringW(L"Config", L"ApplyMode", L"0", copyBasic);
    WriteIniInt(copyBasic, L"Config", L"ApplyEff", applyEffect);
}

void CopyIniFiles(const SeedSettings& settings)
{
    CopyIniFiles(SystemFolderSources(), settings, g_bUWP, m_tszIniDir, ARRAYSIZE(m_tszIniDir));
}

void UWPCopyIniFiles(const SeedSettings& settings)
{
    UWPCopyIniFiles(SystemFolderSources(), settings, m_tszIniDir, ARRAYSIZE(m_tszIniDir));
}
