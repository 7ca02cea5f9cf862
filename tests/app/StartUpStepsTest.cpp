#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/LogFileSetup.h"
#include "app/LumoGlobals.h"
#include "app/UwpHandOver.h"
#include "backend/modes/ProcessLauncher.h"
#include "backend/profiles/ProfileFolders.h"
#include "backend/trace/Trace.h"
#include "platform/win/BoundedFormat.h"
#include "platform/win/UniqueHandle.h"
#include "tests/app/ScopedInstalledDir.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/Polling.h"
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

TEST(UwpHandOver, StartsTheInstalledProgramWhenItIsThere)
{
    testsupport::TempDir dir;
    testsupport::TraceCapture trace;
    const std::wstring log = dir.File(L"started.log");
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", log.c_str());

    apptest::ScopedInstalledDir installedDir(dir.Path() + L"\\");
    EXPECT_FALSE(HandOverToInstalledProgram());
    EXPECT_TRUE(trace.Contains(L"[LumoCore][Notify]tszInstallDir @ OnInitDialog -> " + dir.Path() + L"\\\r\n"));
    EXPECT_TRUE(trace.Contains(L"bInst but file not exist !!! @ OnInitDialog -> " + dir.Path() + L"\\Lumo.exe"));

    // Any program will do as the installed one; the listener stand-in logs its start.
    CopyFileW((testsupport::ExecutableDir() + L"\\LumoListen.exe").c_str(), dir.File(L"Lumo.exe").c_str(), FALSE);
    EXPECT_TRUE(HandOverToInstalledProgram());
    EXPECT_TRUE(trace.Contains(L"path @ OnInitDialog -> " + dir.Path() + L"\\Lumo.exe"));
    EXPECT_TRUE(trace.Contains(L"run msi one !!! @ OnInitDialog -> " + dir.Path() + L"\\Lumo.exe"));
    EXPECT_TRUE(testsupport::PollUntil([&] { return FileExists(log); }));
    if (HWND started = FindWindowW(L"VORN VYL Lumo Core Listener Sync Proc Invisible Window", nullptr))
        PostMessageW(started, WM_CLOSE, 0, 0);

    installedDir.SetBytes(nullptr, 0);
    EXPECT_FALSE(HandOverToInstalledProgram());
    EXPECT_TRUE(trace.Contains(L"[LumoCore]OnInitDialog -> RegQueryValueEx failed error: 2 - "));
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", nullptr);
}

TEST(UwpHandOver, AnUnterminatedOrOverlongValueIsCutSafely)
{
    // 520 bytes of letters with no terminator: read, terminated, and too long
    // for a path once "Lumo.exe" is added.
    std::wstring letters(260, L'a');
    apptest::ScopedInstalledDir installedDir;
    installedDir.SetBytes(letters.data(), static_cast<DWORD>(letters.size() * sizeof(wchar_t)));
    testsupport::TraceCapture trace;
    EXPECT_FALSE(HandOverToInstalledProgram());
    EXPECT_FALSE(trace.Contains(L"run msi one"));
}

namespace {

struct RefusedHandOver {
    const char* name;
    const char* programBytes;  // null: the listener stand-in as Lumo.exe
    bool uwpIniBeside;
    bool bareName;  // "InstalledDir" empty: a Lumo.exe only in the current folder
    const wchar_t* trace;
};

void PrintTo(const RefusedHandOver& c, std::ostream* os)
{
    *os << c.name;
}

class UwpHandOverRefusal : public testing::TestWithParam<RefusedHandOver> {};

}  // namespace

TEST_P(UwpHandOverRefusal, StartsNothingAndKeepsThisProgram)
{
    const RefusedHandOver& c = GetParam();
    testsupport::TempDir dir;
    const std::wstring exe = dir.File(L"Lumo.exe");
    if (c.programBytes == nullptr)
        CopyFileW((testsupport::ExecutableDir() + L"\\LumoListen.exe").c_str(), exe.c_str(), FALSE);
    else
        testsupport::WriteFileBytes(exe, c.programBytes);
    if (c.uwpIniBeside) testsupport::WriteFileBytes(dir.File(L"UWP.ini"), "");

    wchar_t previousFolder[MAX_PATH] = L"";
    GetCurrentDirectoryW(MAX_PATH, previousFolder);
    SetCurrentDirectoryW(dir.Path().c_str());
    apptest::ScopedInstalledDir installedDir(c.bareName ? L"" : dir.Path() + L"\\");
    testsupport::TraceCapture trace;
    const bool handedOver = HandOverToInstalledProgram();
    SetCurrentDirectoryW(previousFolder);

    EXPECT_FALSE(handedOver);
    const std::wstring path = c.bareName ? std::wstring(L"Lumo.exe") : exe;
    EXPECT_TRUE(trace.Contains(std::wstring(c.trace) + L" @ OnInitDialog -> " + path + L"\r\n")) << trace.Text();
    if (trace.Contains(L"CreateNormalProcess -> Not wait")) {
        ADD_FAILURE() << "a program was started";
        // The stand-in shows its window once it is up.
        HWND started = nullptr;
        if (testsupport::PollUntil([&] { return (started = FindWindowW(kListenerWindowClass, nullptr)) != nullptr; }))
            PostMessageW(started, WM_CLOSE, 0, 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, UwpHandOverRefusal,
    testing::Values(RefusedHandOver{"uwpIniBeside", nullptr, true, false, L"hands over again, not run !!!"},
                    RefusedHandOver{"noFolder", nullptr, false, true, L"no folder, not run !!!"},
                    RefusedHandOver{"cannotStart", "not a program", false, false, L"run msi one failed !!!"}),
    [](const testing::TestParamInfo<RefusedHandOver>& info) { return std::string(info.param.name); });

TEST(UwpHandOver, LetsGoOfTheSingleInstanceOnlyWhenTheOtherProgramStarted)
{
    auto instanceTaken = [] {
        return platform::UniqueHandle(OpenEventW(SYNCHRONIZE, FALSE, kSingleInstanceEventName)).IsValid();
    };
    ASSERT_FALSE(instanceTaken()) << "another program holds the event";
    testsupport::TempDir dir;
    apptest::ScopedInstalledDir installedDir(dir.Path() + L"\\");
    g_hSingleInstanceEvent.Reset(CreateEventW(nullptr, FALSE, FALSE, kSingleInstanceEventName));

    testsupport::WriteFileBytes(dir.File(L"Lumo.exe"), "not a program");
    EXPECT_FALSE(HandOverToInstalledProgram());
    EXPECT_TRUE(instanceTaken()) << "this program goes on and stays the only one";

    // Started, the other program must find the event free; the stand-in logs its start.
    const std::wstring log = dir.File(L"started.log");
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", log.c_str());
    CopyFileW((testsupport::ExecutableDir() + L"\\LumoListen.exe").c_str(), dir.File(L"Lumo.exe").c_str(), FALSE);
    EXPECT_TRUE(HandOverToInstalledProgram());
    EXPECT_FALSE(instanceTaken());
    testsupport::PollUntil([&] { return FileExists(log); });
    if (HWND started = FindWindowW(kListenerWindowClass, nullptr)) PostMessageW(started, WM_CLOSE, 0, 0);
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", nullptr);
    g_hSingleInstanceEvent.Reset();
}
