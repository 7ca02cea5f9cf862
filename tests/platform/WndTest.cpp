#include <gtest/gtest.h>

#include <windows.h>

#include "platform/ui/Wnd.h"
#include "tests/platform/TestWindows.h"

using uitest::RecordingWnd;

namespace {

LPCWSTR OwnClass()
{
    return AfxRegisterWndClass(CS_DBLCLKS, LoadCursorW(nullptr, IDC_ARROW),
                               static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
}

}  // namespace

TEST(WindowWrapper, OwnClassReachesObjectFromFirstMessageUntilDestroyed)
{
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, OwnClass(), L"own", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr));
    HWND hWnd = wnd.GetSafeHwnd();
    EXPECT_TRUE(wnd.Saw(WM_NCCREATE));
    EXPECT_TRUE(wnd.Saw(WM_CREATE));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), &wnd);
    EXPECT_EQ(SendMessageW(hWnd, WM_APP, 3, 4), 7);

    EXPECT_TRUE(wnd.DestroyWindow());
    EXPECT_EQ(wnd.ncDestroyed, 1);
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
    EXPECT_FALSE(IsWindow(hWnd));
}

TEST(WindowWrapper, SystemClassIsSubclassedAndKeepsItsOwnBehaviour)
{
    RecordingWnd edit;
    ASSERT_TRUE(edit.CreateEx(0, L"EDIT", L"abc", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr));
    EXPECT_EQ(CWnd::FromHandlePermanent(edit.GetSafeHwnd()), &edit);
    edit.messages.clear();
    ASSERT_TRUE(SetWindowTextW(edit.GetSafeHwnd(), L"xyz"));
    EXPECT_TRUE(edit.Saw(WM_SETTEXT));
    wchar_t text[16] = {};
    GetWindowTextW(edit.GetSafeHwnd(), text, 16);
    EXPECT_STREQ(text, L"xyz");  // the edit's own procedure stored it
    HWND hWnd = edit.GetSafeHwnd();
    edit.DestroyWindow();
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(WindowWrapper, FailedCreationLeavesNoWindowAndNoMapEntry)
{
    RecordingWnd wnd;
    wnd.failCreate = true;
    EXPECT_FALSE(wnd.CreateEx(0, OwnClass(), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_EQ(wnd.GetSafeHwnd(), nullptr);
    EXPECT_EQ(wnd.ncDestroyed, 1);
    // The object can be used again.
    wnd.failCreate = false;
    EXPECT_TRUE(wnd.CreateEx(0, OwnClass(), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
}

TEST(WindowWrapper, DestroyingTheObjectDestroysItsWindow)
{
    HWND hWnd = nullptr;
    {
        RecordingWnd wnd;
        ASSERT_TRUE(wnd.CreateEx(0, OwnClass(), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
        hWnd = wnd.GetSafeHwnd();
    }
    EXPECT_FALSE(IsWindow(hWnd));
    EXPECT_EQ(CWnd::FromHandlePermanent(hWnd), nullptr);
}

TEST(WindowWrapper, ModifyStyleChangesOnlyTheGivenBits)
{
    RecordingWnd wnd;
    ASSERT_TRUE(wnd.CreateEx(0, OwnClass(), L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr));
    EXPECT_TRUE(wnd.ModifyStyle(0, WS_MINIMIZEBOX));
    LONG_PTR style = GetWindowLongPtrW(wnd.GetSafeHwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_TRUE(style & WS_POPUP);
    EXPECT_FALSE(wnd.ModifyStyle(0, WS_MINIMIZEBOX));  // nothing to change
}

TEST(WindowClassRegistration, SameArgumentsGiveTheSameClassOthersAnother)
{
    HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
    auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    LPCWSTR first = AfxRegisterWndClass(CS_DBLCLKS, arrow, black);
    LPCWSTR again = AfxRegisterWndClass(CS_DBLCLKS, arrow, black);
    LPCWSTR other = AfxRegisterWndClass(0, arrow, black);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(other, nullptr);
    EXPECT_STREQ(first, again);
    EXPECT_STRNE(first, other);

    WNDCLASSW info{};
    ASSERT_TRUE(GetClassInfoW(GetModuleHandleW(nullptr), first, &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_DBLCLKS));
    EXPECT_EQ(info.hCursor, arrow);
    EXPECT_EQ(info.lpfnWndProc, &CWnd::StaticWindowProc);

    WNDCLASSW mine{};
    mine.lpfnWndProc = DefWindowProcW;
    mine.hInstance = GetModuleHandleW(nullptr);
    mine.lpszClassName = L"LumoTestRegisteredTwice";
    EXPECT_TRUE(AfxRegisterClass(&mine));
    EXPECT_TRUE(AfxRegisterClass(&mine));  // already there is fine
}
