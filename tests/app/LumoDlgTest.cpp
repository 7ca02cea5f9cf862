#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/StartUp.h"

namespace {

constexpr UINT kCheck = WM_APP + 5;
constexpr UINT kFocusDialog = WM_APP + 6;
constexpr UINT kFocusEdit = WM_APP + 7;
constexpr UINT_PTR kRetryTimer = 777;

// The main dialog with its life recorded.
class ObservedDlg : public CLumoDlg {
public:
    BOOL OnInitDialog() override
    {
        BOOL result = CLumoDlg::OnInitDialog();
        initialised = true;
        if (afterInit != nullptr) afterInit(*this);
        return result;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SHOWWINDOW && wParam) shown = true;
        if (message == kCheck) {
            wchar_t text[64] = {};
            GetClassNameW(m_hWnd, text, 64);
            className = text;
            GetWindowTextW(m_hWnd, text, 64);
            title = text;
            style = static_cast<DWORD>(GetWindowLongPtrW(m_hWnd, GWL_STYLE));
            visible = IsWindowVisible();
            bigIcon = SendMessage(WM_GETICON, ICON_BIG) != 0;
            PostMessage(WM_CLOSE);
        }
        if (message == kFocusEdit && focusEdit != nullptr) {
            // The window takes input once its fade-in has ended.
            if (::IsWindowEnabled(m_hWnd)) {
                focusEdit(*this);
            } else {
                ::SetTimer(m_hWnd, kRetryTimer, 20, nullptr);
            }
        }
        if (message == WM_TIMER && wParam == kRetryTimer) {
            ::KillTimer(m_hWnd, kRetryTimer);
            PostMessage(kFocusEdit);
        }
        if (message == kFocusDialog) {
            SetFocus(m_hWnd);
            PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
        }
        return CLumoDlg::WindowProc(message, wParam, lParam);
    }

    void (*afterInit)(ObservedDlg&) = nullptr;
    // Runs once the dialog is shown, when the focus can be placed.
    void (*focusEdit)(ObservedDlg&) = nullptr;
    bool initialised = false, shown = false, visible = false, bigIcon = false;
    std::wstring className, title;
    DWORD style = 0;
};

// The owner of a number box: gets the edit keys.
class EditHost : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_EDIT_KEY) editKeys.push_back({reinterpret_cast<HWND>(wParam), lParam});
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<std::pair<HWND, LPARAM>> editKeys;
};

class KeyEdit : public CWnd {
public:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_KEYDOWN) keys.push_back(wParam);
        return CWnd::WindowProc(message, wParam, lParam);
    }
    std::vector<WPARAM> keys;
};

class ModeStart : public testing::TestWithParam<const wchar_t*> {};

}  // namespace

TEST_P(ModeStart, EndsTheDialogBeforeItIsShown)
{
    ParseCommandLine(GetParam());
    g_hMainWnd = nullptr;
    ObservedDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_FALSE(dialog.shown);
    EXPECT_NE(g_hMainWnd, nullptr);
    ParseCommandLine(L"");
}

// Modes that change nothing outside the process (a rejected index; no
// listener outside UWP mode), so the case holds once the handlers run.
INSTANTIATE_TEST_SUITE_P(Modes, ModeStart, testing::Values(L"-apply 9", L"-apply abc", L"/Background"));

TEST(MainDialog, PlainStartShowsTheBorderlessWindowOfItsClass)
{
    ParseCommandLine(L"");
    ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
    ObservedDlg dialog;
    dialog.afterInit = [](ObservedDlg& d) { d.PostMessage(kCheck); };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);  // closed by WM_CLOSE
    EXPECT_EQ(dialog.className, L"VYL LumoCore App Class");
    EXPECT_EQ(dialog.title, L"VYL Lumo Core");
    EXPECT_TRUE(dialog.visible);
    EXPECT_EQ(dialog.style & WS_CAPTION, 0u);
    EXPECT_TRUE(dialog.bigIcon);
}

TEST(MainDialog, EnterAndEscInANumberBoxGoToItsOwnerEscElsewhereCloses)
{
    ParseCommandLine(L"");
    ASSERT_TRUE(RegisterMainWindowClass(GetModuleHandleW(nullptr)));
    static EditHost* host;
    static KeyEdit* edit;
    EditHost hostWnd;
    KeyEdit editWnd;
    host = &hostWnd;
    edit = &editWnd;
    ObservedDlg dialog;
    dialog.afterInit = [](ObservedDlg& d) {
        LPCWSTR cls = AfxRegisterWndClass(0);
        host->CreateEx(0, cls, L"", WS_CHILD | WS_VISIBLE, 0, 0, 200, 40, d.GetSafeHwnd(), nullptr);
        edit->CreateEx(0, L"EDIT", L"12", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, host->GetSafeHwnd(), nullptr);
        d.PostMessage(kFocusEdit);
    };
    dialog.focusEdit = [](ObservedDlg& d) {
        SetFocus(edit->GetSafeHwnd());
        edit->PostMessage(WM_KEYDOWN, VK_RETURN, 1);
        edit->PostMessage(WM_KEYDOWN, VK_ESCAPE, 1);
        edit->PostMessage(WM_KEYDOWN, VK_UP, 1);    // swallowed
        edit->PostMessage(WM_KEYDOWN, VK_HOME, 1);  // not a shortcut: reaches the box
        d.PostMessage(kFocusDialog);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(hostWnd.editKeys.size(), 2u);
    EXPECT_EQ(hostWnd.editKeys[0].second, 1);
    EXPECT_EQ(hostWnd.editKeys[1].second, 0);
    EXPECT_NE(hostWnd.editKeys[0].first, nullptr);
    EXPECT_EQ(hostWnd.editKeys[0].first, g_hMainWnd);
    EXPECT_EQ(editWnd.keys, std::vector<WPARAM>{VK_HOME});
}
