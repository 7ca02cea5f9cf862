#pragma once
#include <windows.h>
#include <aclapi.h>
#include <gtest/gtest.h>

#include <cwchar>
#include <string>
#include <vector>

#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/UniqueFindSid.h"
#include "platform/win/UniqueHandle.h"
#include "tests/support/TempDir.h"

namespace profiletest {

inline std::wstring Widen(const std::string& text)
{
    return std::wstring(text.begin(), text.end());
}

inline void WriteText(const std::wstring& path, const std::string& text)
{
    testsupport::WriteFileBytes(path, text);
}

inline std::string ReadText(const std::wstring& path)
{
    return testsupport::ReadFileBytes(path);
}

inline bool IsFolder(const std::wstring& path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Creates a folder chain; the \\?\ form also makes folders deeper than the
// 248 characters plain CreateDirectory allows.
inline void MakeFolder(const std::wstring& path)
{
    std::wstring long_path = L"\\\\?\\" + path;
    for (size_t at = long_path.find(L'\\', 7); at != std::wstring::npos; at = long_path.find(L'\\', at + 1))
        CreateDirectoryW(long_path.substr(0, at).c_str(), nullptr);
    CreateDirectoryW(long_path.c_str(), nullptr);
}

// Last-write time as a count of 100 ns steps.
inline void SetWriteTime(const std::wstring& path, ULONGLONG ticks)
{
    platform::UniqueFile file(CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file) << "no file to stamp";
    FILETIME time{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    ASSERT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &time));
}

inline constexpr ULONGLONG kDay = 864000000000ULL;
inline constexpr ULONGLONG kJan2020 = 132223104000000000ULL;

// Whether the file's access list lets Everyone write.
inline bool EveryoneMayWrite(const std::wstring& path)
{
    PACL dacl = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (GetNamedSecurityInfoW(path.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                              nullptr, &descriptor) != ERROR_SUCCESS)
        return false;
    platform::UniqueLocalMem descriptorOwner(descriptor);
    bool mayWrite = false;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    platform::UniqueSid everyone;
    if (!AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, everyone.Put())) return false;
    for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
        ACCESS_ALLOWED_ACE* ace = nullptr;
        if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE)
            continue;
        GENERIC_MAPPING mapping{FILE_GENERIC_READ, FILE_GENERIC_WRITE, FILE_GENERIC_EXECUTE, FILE_ALL_ACCESS};
        ACCESS_MASK mask = ace->Mask;
        MapGenericMask(&mask, &mapping);
        if (EqualSid(&ace->SidStart, everyone.Get()) && (mask & FILE_WRITE_DATA) != 0) mayWrite = true;
    }
    return mayWrite;
}

// Sends trace lines to a log file of the test for its lifetime.
class TraceLog {
public:
    TraceLog()
    {
        m_path = m_dir.File(L"trace.log");
        testsupport::WriteFileBytes(m_path, "");
        m_previous = g_bWriteFile;
        wcscpy(m_previousPath, g_szLogPath);
        wcscpy(g_szLogPath, m_path.c_str());
        g_bWriteFile = true;
    }
    ~TraceLog()
    {
        g_bWriteFile = m_previous;
        wcscpy(g_szLogPath, m_previousPath);
    }
    TraceLog(const TraceLog&) = delete;
    TraceLog& operator=(const TraceLog&) = delete;

    std::wstring Text() const
    {
        std::string bytes = testsupport::ReadFileBytes(m_path);
        std::wstring text;
        for (size_t i = 2; i + 1 < bytes.size(); i += 2)
            text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i]) |
                                                (static_cast<unsigned char>(bytes[i + 1]) << 8)));
        return text;
    }
    bool Contains(const std::wstring& fragment) const { return Text().find(fragment) != std::wstring::npos; }

private:
    testsupport::TempDir m_dir;
    std::wstring m_path;
    bool m_previous = false;
    wchar_t m_previousPath[MAX_PATH] = {};
};

// Keeps the program's profile folder as it was.
class ScopedIniDir {
public:
    explicit ScopedIniDir(const std::wstring& folder)
    {
        wcscpy(m_previous, m_tszIniDir);
        wcsncpy(m_tszIniDir, folder.c_str(), MAX_PATH - 1);
    }
    ~ScopedIniDir() { wcscpy(m_tszIniDir, m_previous); }
    ScopedIniDir(const ScopedIniDir&) = delete;
    ScopedIniDir& operator=(const ScopedIniDir&) = delete;

private:
    wchar_t m_previous[MAX_PATH] = {};
};

// The machine as a test wants it: its own folders and any user.
class FakeSources : public ProfileFolderSources {
public:
    std::wstring appData;
    std::wstring program;  // ends in a backslash, as the real one does
    std::wstring sid;
    bool appDataFails = false;
    bool programFails = false;
    bool sidFails = false;

    bool CommonAppDataFolder(wchar_t* out, size_t capacity) const override
    {
        return Give(appData, appDataFails, out, capacity);
    }
    bool ProgramFolder(wchar_t* out, size_t capacity) const override
    {
        return Give(program, programFails, out, capacity);
    }
    bool UserSid(wchar_t* out, size_t capacity) const override { return Give(sid, sidFails, out, capacity); }

private:
    static bool Give(const std::wstring& value, bool fails, wchar_t* out, size_t capacity)
    {
        out[0] = L'\0';
        if (fails || value.size() + 1 > capacity) return false;
        wcscpy(out, value.c_str());
        return true;
    }
};

// Names in a folder matching a pattern, in the order the file system lists them.
inline std::vector<std::wstring> Listing(const std::wstring& folder, const std::wstring& pattern = L"*")
{
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry{};
    platform::UniqueFind find(FindFirstFileW((folder + L"\\" + pattern).c_str(), &entry));
    if (!find) return names;
    do {
        if (wcscmp(entry.cFileName, L".") != 0 && wcscmp(entry.cFileName, L"..") != 0)
            names.push_back(entry.cFileName);
    } while (FindNextFileW(find.Get(), &entry));
    return names;
}

}  // namespace profiletest
