#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "app/LumoGlobals.h"
#include "platform/win/UniqueHandle.h"
#include "tests/app/StartedProgram.h"
#include "tests/support/Polling.h"

namespace {

using testsupport::kPatienceMs;

// The program built beside the tests, as a Windows path.
std::wstring ProgramPath()
{
    std::string unixPath = LUMO_APP_EXE;
    std::wstring path = unixPath[0] == '/' ? L"Z:" : L"";
    for (char c : unixPath) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
    return path;
}

using apptest::Started;
using apptest::VisibleMainWindowOf;

Started Start(const std::wstring& arguments)
{
    std::wstring commandLine = L"\"" + ProgramPath() + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    Started started;
    if (CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
        started.process.Reset(pi.hProcess);
        platform::UniqueHandle thread(pi.hThread);
        started.id = pi.dwProcessId;
    }
    return started;
}

HWND WaitForWindowOrExit(const Started& started)
{
    return apptest::WaitForWindowOrExit(started, kPatienceMs);
}

// The activation is carried out by the window's own thread, a little later.
bool BecomesForeground(HWND window)
{
    return testsupport::PollUntil([window] { return GetForegroundWindow() == window; });
}

bool EndsWithin(const Started& s, DWORD ms, DWORD* exitCode)
{
    if (WaitForSingleObject(s.process.Get(), ms) != WAIT_OBJECT_0) return false;
    GetExitCodeProcess(s.process.Get(), exitCode);
    return true;
}

struct RunCase {
    const char* name;
    const wchar_t* arguments;
    bool showsWindow;
};

class ProgramStart : public testing::TestWithParam<RunCase> {};

}  // namespace

TEST_P(ProgramStart, ShowsTheBareDialogOrRunsItsModeUnseen)
{
    Started s = Start(GetParam().arguments);
    ASSERT_TRUE(s.process.IsValid());
    HWND window = WaitForWindowOrExit(s);
    DWORD exitCode = 1234;
    if (GetParam().showsWindow) {
        ASSERT_NE(window, nullptr) << "no window";
        PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(EndsWithin(s, kPatienceMs, &exitCode)) << "did not end on WM_CLOSE";
        EXPECT_FALSE(IsWindow(window));
    } else {
        EXPECT_EQ(window, nullptr) << "a mode start showed its window";
        if (window != nullptr) PostMessageW(window, WM_CLOSE, 0, 0);
        ASSERT_TRUE(EndsWithin(s, kPatienceMs, &exitCode)) << "mode did not end";
    }
    EXPECT_EQ(exitCode, 0u);
}

INSTANTIATE_TEST_SUITE_P(Program, ProgramStart,
                         testing::Values(RunCase{"plain", L"", true},
                                         RunCase{"language", L"-Lang=3", true},
                                         RunCase{"applyWithoutNumber", L"-apply", true},
                                         RunCase{"applyOutOfRange", L"-apply 9", false},
                                         RunCase{"applyNotANumber", L"/APPLY abc", false},
                                         RunCase{"background", L"-background", false}),
                         [](const testing::TestParamInfo<RunCase>& info) { return std::string(info.param.name); });

TEST(ProgramInstances, SecondStartRaisesTheFirstWindowAndEnds)
{
    Started first = Start(L"");
    ASSERT_TRUE(first.process.IsValid());
    HWND window = WaitForWindowOrExit(first);
    ASSERT_NE(window, nullptr);

    HWND other = CreateWindowExW(0, L"STATIC", L"other", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(other);
    ASSERT_NE(GetForegroundWindow(), window);

    for (const wchar_t* arguments : {L"", L"-chkdefault"}) {
        Started second = Start(arguments);
        ASSERT_TRUE(second.process.IsValid());
        DWORD exitCode = 1234;
        EXPECT_TRUE(EndsWithin(second, kPatienceMs, &exitCode));
        EXPECT_EQ(exitCode, 0u);
        EXPECT_EQ(VisibleMainWindowOf(second.id), nullptr);
        EXPECT_EQ(WaitForSingleObject(first.process.Get(), 0), static_cast<DWORD>(WAIT_TIMEOUT));
        EXPECT_TRUE(BecomesForeground(window));
        SetForegroundWindow(other);
        ASSERT_TRUE(BecomesForeground(other));
    }
    DestroyWindow(other);

    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD exitCode = 1234;
    EXPECT_TRUE(EndsWithin(first, kPatienceMs, &exitCode));
}
