#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/LogFileSetup.h"
#include "app/UwpHandOver.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

using testsupport::FileExists;
using testsupport::ReadFileBytes;

namespace {

class TempFolders : public ProfileFolderSources {
public:
    explicit TempFolders(const std::wstring& appData) : m_appData(appData) {}
    bool CommonAppDataFolder(wchar_t* out, size_t capacity) const override
    {
        return platform::CopyBounded(out, capacity, m_appData.c_str());
    }
    bool UserSid(wchar_t* out, size_t capacity) const override
    {
        return platform::CopyBounded(out, capacity, L"S-1-5-21-7");
    }

private:
    std::wstring m_appData;
};

}  // namespace

TEST(LogFileSetup, CreatesTheUsersLogWithItsMarkAndOpeningLines)
{
    testsupport::TempDir dir;
    TempFolders folders(dir.Path());
    for (bool uwp : {false, true}) {
        g_bWriteFile = true;
        PrepareLogFile(folders, uwp);
        const std::wstring expected =
            dir.Path() + L"\\VORN\\VYLLumoCore\\" + (uwp ? L"UWPIni" : L"S-1-5-21-7") + L"\\VYLLumoCore.log";
        EXPECT_EQ(std::wstring(g_szLogPath), expected);
        std::string bytes = ReadFileBytes(expected);
        ASSERT_GE(bytes.size(), 2u);
        EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");
        EXPECT_NE(bytes.find(std::string("B\0e\0g\0i\0n\0 \0t\0o\0 \0L\0o\0g\0", 24)), std::string::npos);
    }
    g_bWriteFile = false;
    g_szLogPath[0] = L'\0';
}

TEST(LogFileSetup, NothingWithoutFileLogging)
{
    testsupport::TempDir dir;
    TempFolders folders(dir.Path());
    g_bWriteFile = false;
    g_szLogPath[0] = L'\0';
    PrepareLogFile(folders, false);
    EXPECT_EQ(g_szLogPath[0], L'\0');
    EXPECT_FALSE(FileExists(dir.File(L"VORN")));
}

namespace {

void SetInstalledDir(const void* data, DWORD bytes)
{
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, trace::kRegistryKey, 0, nullptr, 0, KEY_SET_VALUE | KEY_WOW64_32KEY, nullptr,
                    &key, nullptr);
    if (data == nullptr)
        RegDeleteValueW(key, L"InstalledDir");
    else
        RegSetValueExW(key, L"InstalledDir", 0, REG_SZ, static_cast<const BYTE*>(data), bytes);
    RegCloseKey(key);
}

void SetInstalledDir(const std::wstring& folder)
{
    SetInstalledDir(folder.c_str(), static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
}

}  // namespace

TEST(UwpHandOver, StartsTheInstalledProgramWhenItIsThere)
{
    testsupport::TempDir dir;
    testsupport::TraceCapture trace;
    const std::wstring log = dir.File(L"started.log");
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", log.c_str());

    SetInstalledDir(dir.Path() + L"\\");
    EXPECT_FALSE(HandOverToInstalledProgram());
    EXPECT_TRUE(trace.Contains(L"[LumoCore][Notify]tszInstallDir @ OnInitDialog -> " + dir.Path() + L"\\\r\n"));
    EXPECT_TRUE(trace.Contains(L"bInst but file not exist !!! @ OnInitDialog -> " + dir.Path() + L"\\Lumo.exe"));

    // Any program will do as the installed one; the listener stand-in logs its start.
    CopyFileW((testsupport::ExecutableDir() + L"\\LumoListen.exe").c_str(), dir.File(L"Lumo.exe").c_str(), FALSE);
    EXPECT_TRUE(HandOverToInstalledProgram());
    EXPECT_TRUE(trace.Contains(L"path @ OnInitDialog -> " + dir.Path() + L"\\Lumo.exe"));
    EXPECT_TRUE(trace.Contains(L"run msi one !!! @ OnInitDialog -> " + dir.Path() + L"\\Lumo.exe"));
    const ULONGLONG deadline = GetTickCount64() + 5000;
    while (!FileExists(log) && GetTickCount64() < deadline) Sleep(20);
    EXPECT_TRUE(FileExists(log));
    if (HWND started = FindWindowW(L"VORN VYL Lumo Core Listener Sync Proc Invisible Window", nullptr))
        PostMessageW(started, WM_CLOSE, 0, 0);

    SetInstalledDir(nullptr, 0);
    EXPECT_FALSE(HandOverToInstalledProgram());
    EXPECT_TRUE(trace.Contains(L"[LumoCore]OnInitDialog -> RegQueryValueEx failed error: 2 - "));
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", nullptr);
}

TEST(UwpHandOver, AnUnterminatedOrOverlongValueIsCutSafely)
{
    // 520 bytes of letters with no terminator: read, terminated, and too long
    // for a path once "Lumo.exe" is added.
    std::wstring letters(260, L'a');
    SetInstalledDir(letters.data(), static_cast<DWORD>(letters.size() * sizeof(wchar_t)));
    testsupport::TraceCapture trace;
    EXPECT_FALSE(HandOverToInstalledProgram());
    EXPECT_FALSE(trace.Contains(L"run msi one"));
    SetInstalledDir(nullptr, 0);
}
