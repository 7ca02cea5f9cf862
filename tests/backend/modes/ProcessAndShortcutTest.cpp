#include <gtest/gtest.h>

#include <objbase.h>

#include "backend/modes/ProcessLauncher.h"
#include "backend/modes/Shortcuts.h"
#include "tests/backend/modes/ModeTestSupport.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/Polling.h"
#include "tests/support/TempDir.h"
#include "tests/support/TraceCapture.h"

using testsupport::FileExists;

namespace {

struct ComScope {
    ComScope() { CoInitialize(nullptr); }
    ~ComScope() { CoUninitialize(); }
};

// A started process logs its start to the file.
bool FileContains(const std::wstring& path, const std::string& text)
{
    return testsupport::ReadFileBytes(path).find(text) != std::string::npos;
}

}  // namespace

TEST(Shortcuts, CreatedOnDesktopAndStartMenuAndDeletedAgain)
{
    ComScope com;
    const std::wstring desktop = modetest::CommonFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + L"\\VYL Lumo Core.lnk";
    const std::wstring programs = modetest::CommonFolder(CSIDL_COMMON_STARTMENU) + L"\\Programs\\VORN";
    const std::wstring menu = programs + L"\\VYL Lumo Core.lnk";

    ShortCutHandler(true);
    EXPECT_TRUE(FileExists(desktop));
    EXPECT_TRUE(FileExists(menu));

    ShortCutHandler(false);
    EXPECT_FALSE(FileExists(desktop));
    EXPECT_FALSE(FileExists(menu));
    EXPECT_TRUE(FileExists(programs));  // the folder stays

    // Deleting makes the start-menu folder when it is missing.
    RemoveDirectoryW(programs.c_str());
    ASSERT_FALSE(FileExists(programs));
    ShortCutHandler(false);
    EXPECT_TRUE(FileExists(programs));
}

TEST(Shortcuts, LinkPointsAtTheTarget)
{
    ComScope com;
    testsupport::TempDir dir;
    const std::wstring link = dir.File(L"test.lnk");
    ASSERT_TRUE(CreateLink(L"C:\\windows\\notepad.exe", link.c_str(), kShortcutDescription, L"C:\\windows\\"));
    EXPECT_TRUE(FileExists(link));

    testsupport::TraceCapture trace;
    EXPECT_FALSE(CreateLink(L"C:\\windows\\notepad.exe", dir.File(L"missing\\folder\\x.lnk").c_str(),
                            kShortcutDescription, L"C:\\"));
    EXPECT_TRUE(trace.Contains(L"[LumoCore]CreateLink -> ppf->Save failed, function return. error: "));
}

TEST(ProcessLauncher, StartsWithoutWaitingAndPassesArguments)
{
    testsupport::TempDir dir;
    const std::wstring log = dir.File(L"listener.log");
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", log.c_str());
    const std::wstring listener = testsupport::ExecutableDir() + L"\\LumoListen.exe";
    testsupport::TraceCapture trace;

    EXPECT_TRUE(CreateNormalProcess(listener.c_str(), L"-x 1"));
    EXPECT_TRUE(testsupport::PollUntil([&] { return FileContains(log, "started [-x 1]"); }));
    EXPECT_TRUE(trace.Contains(L"CreateNormalProcess -> Not wait, just return!"));
    EXPECT_TRUE(trace.Contains(L"return: 0x00000103"));  // still running
    modetest::CloseListeners();

    DeleteFileW(log.c_str());
    EXPECT_TRUE(CreateNormalProcess(listener.c_str(), nullptr));  // null arguments are none
    EXPECT_TRUE(testsupport::PollUntil([&] { return FileContains(log, "started []"); }));
    modetest::CloseListeners();
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", nullptr);
}

TEST(ProcessLauncher, FailuresAreTracedAndReported)
{
    testsupport::TraceCapture trace;
    EXPECT_FALSE(CreateNormalProcess(nullptr, L"x"));
    EXPECT_TRUE(trace.Contains(L"CreateNormalProcess -> !lpctszExePath || !lpctszExeCmd"));
    EXPECT_FALSE(CreateNormalProcess(L"C:\\no\\such\\program.exe", L"a"));
    EXPECT_TRUE(trace.Contains(L"CreateNormalProcess -> (C:\\no\\such\\program.exe a) CreateProcess failed! error: "));
}

TEST(ProcessLauncher, RunListenerStartsTheProgramBesideUs)
{
    testsupport::TempDir dir;
    const std::wstring log = dir.File(L"listener.log");
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", log.c_str());
    RunListener();
    EXPECT_TRUE(testsupport::PollUntil([&] { return FileContains(log, "started"); }));
    EXPECT_NE(FindWindowW(kListenerWindowClass, nullptr), nullptr);
    modetest::CloseListeners();
    SetEnvironmentVariableW(L"LUMO_LISTENER_LOG", nullptr);
}
