#include <gtest/gtest.h>

#include <windows.h>

#include "platform/ui/WinApp.h"

namespace {

class TestApp : public CWinApp {
public:
    BOOL InitInstance() override
    {
        seenCmdLine = m_lpCmdLine;
        if (quitCode >= 0) PostQuitMessage(quitCode);
        return runLoop;
    }
    int ExitInstance() override
    {
        ++exits;
        return CWinApp::ExitInstance() + 100;
    }
    bool runLoop = false;
    int quitCode = -1;
    int exits = 0;
    std::wstring seenCmdLine;
};

}  // namespace

TEST(Application, InitInstanceFalseGoesStraightToExitInstance)
{
    TestApp app;
    ASSERT_EQ(CWinApp::Current(), &app);
    EXPECT_EQ(RunWinApp(GetModuleHandleW(nullptr), L"-init", SW_SHOW), 100);
    EXPECT_EQ(app.exits, 1);
    EXPECT_EQ(app.seenCmdLine, L"-init");
    EXPECT_EQ(app.m_hInstance, GetModuleHandleW(nullptr));
}

TEST(Application, InitInstanceTrueRunsTheLoopUntilQuitAndExitsWithItsCode)
{
    TestApp app;
    app.runLoop = true;
    app.quitCode = 9;
    EXPECT_EQ(RunWinApp(GetModuleHandleW(nullptr), nullptr, SW_SHOW), 109);
    EXPECT_EQ(app.exits, 1);
    EXPECT_EQ(app.seenCmdLine, L"");
}

TEST(Application, NoApplicationObjectFails)
{
    ASSERT_EQ(CWinApp::Current(), nullptr);
    EXPECT_EQ(RunWinApp(GetModuleHandleW(nullptr), L"", SW_SHOW), -1);
}
