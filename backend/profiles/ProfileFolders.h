#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>

// The profile folder, set once at start; every INI and log path is built
// from it.
extern wchar_t m_tszIniDir[MAX_PATH];
// UWP mode: "UWP.ini" stands beside the program.
extern bool g_bUWP;

constexpr size_t kFolderCapacity = MAX_PATH;

// What the folder rules take from the machine. Tests give their own: Wine
// has one user and one program folder.
class ProfileFolderSources {
public:
    virtual ~ProfileFolderSources() = default;
    // The common application-data folder, created when missing.
    virtual bool CommonAppDataFolder(wchar_t* out, size_t capacity) const;
    // Drive and folder of the program's executable, ending in a backslash.
    virtual bool ProgramFolder(wchar_t* out, size_t capacity) const;
    // The current user's SID as text; false and empty on failure.
    virtual bool UserSid(wchar_t* out, size_t capacity) const;
};

// The real machine.
const ProfileFolderSources& SystemFolderSources();

// What seeding needs to know about the keyboard (g_dwSupport, model type).
struct SeedSettings {
    uint32_t support = 1;
    unsigned modelType = 1;
};

// folder + "\" + name, without doubling a separator the folder ends in. A
// result that does not fit is traced at place and leaves an empty path.
bool JoinPath(wchar_t* out, size_t capacity, const wchar_t* folder, const wchar_t* name, const wchar_t* place);

// appData + "\VORN\VYLLumoCore": the program's data folder.
bool BuildDataFolder(const wchar_t* appData, wchar_t* out, size_t capacity);

bool GetUserSIDString(wchar_t* out, size_t capacity);

// Name of the S* folder under base whose "basic.ini" was written last; "Init"
// when none has one; empty (false) when base cannot be listed.
bool FindLatestIni(const wchar_t* base, wchar_t* name, size_t capacity);

// Deletes the files matching pattern; recursive also empties matching
// sub-folders and removes folder itself. A junction or symbolic link is
// removed as a link and never walked into.
void RemoveFiles(const wchar_t* folder, const wchar_t* pattern, bool recursive);

// Copies the files matching pattern (recursing into matching sub-folders)
// into target, which is created with its parents; every copy is opened to
// everybody.
void CopyFiles(const wchar_t* source, const wchar_t* pattern, const wchar_t* target, bool failIfExists);
// One file into targetFolder under a new name, overwriting; nothing when the
// source is missing.
void CopyOneFile(const wchar_t* source, const wchar_t* sourceName, const wchar_t* targetFolder,
                 const wchar_t* targetName);
// The same into m_tszIniDir.
void CopyFiles(const wchar_t* source, const wchar_t* sourceName, const wchar_t* targetName);

// The file's access list becomes one entry: Everyone, all rights.
bool SetFilePermission(const wchar_t* path);

BOOL CheckFileExist(const wchar_t* path);

// UWP mode is on when "UWP.ini" stands in the program folder (which ends in
// a backslash).
bool IsUWPProgramFolder(const wchar_t* programFolder);
void CheckIfUWP();

// Sets iniDir to the user's (or, in UWP mode, the shared) profile folder and
// seeds it by the copying rules.
void CopyIniFiles(const ProfileFolderSources& sources, const SeedSettings& settings, bool uwp, wchar_t* iniDir,
                  size_t capacity);
void UWPCopyIniFiles(const ProfileFolderSources& sources, const SeedSettings& settings, wchar_t* iniDir,
                     size_t capacity);

// The same on the real machine, into m_tszIniDir, by g_bUWP.
void CopyIniFiles(const SeedSettings& settings);
void UWPCopyIniFiles(const SeedSettings& settings);
