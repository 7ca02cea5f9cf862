#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "platform/ui/Dialog.h"
#include "tests/platform/TestWindows.h"

using uitest::RecordingWnd;

namespace {

// Posts one message to itself from OnInitDialog, or ends right there.
class ProbeDialog : public CDialog {
public:
    explicit ProbeDialog(UINT templateId = uitest::kPlainDialog) : CDialog(templateId) {}

    BOOL OnInitDialog() override
    {
        initialised = true;
        if (endInInit) {
            EndDialog(endInInitResult);
            return FALSE;
        }
        if (quitInInit) PostQuitMessage(5);
        if (post.message != 0) ::PostMessageW(m_hWnd, post.message, post.wParam, post.lParam);
        return TRUE;
    }
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_SHOWWINDOW && wParam) shown = true;
        if (message == WM_WINDOWPOSCHANGED &&
            (reinterpret_cast<WINDOWPOS*>(lParam)->flags & SWP_SHOWWINDOW) != 0)
            shown = true;
        if (message == WM_APP + 7) {
            EndDialog(static_cast<int>(wParam));
            return 0;
        }
        return CDialog::WindowProc(message, wParam, lParam);
    }

    MSG post{};
    bool endInInit = false;
    int endInInitResult = 0;
    bool quitInInit = false;
    bool initialised = false;
    bool shown = false;
};

struct EndCase {
    const char* name;
    UINT message;
    WPARAM wParam;
    INT_PTR expected;
};

class DialogEnding : public testing::TestWithParam<EndCase> {};

}  // namespace

TEST_P(DialogEnding, PostedMessageEndsTheLoopWithItsResult)
{
    const EndCase& c = GetParam();
    ProbeDialog dialog;
    dialog.post.message = c.message;
    dialog.post.wParam = c.wParam;
    EXPECT_EQ(dialog.DoModal(), c.expected);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_TRUE(dialog.shown);
    EXPECT_EQ(dialog.GetSafeHwnd(), nullptr);  // destroyed and detached
}

INSTANTIATE_TEST_SUITE_P(Messages, DialogEnding,
                         testing::Values(EndCase{"close", WM_CLOSE, 0, IDCANCEL},
                                         EndCase{"ok", WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), IDOK},
                                         EndCase{"cancel", WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), IDCANCEL},
                                         EndCase{"escape", WM_KEYDOWN, VK_ESCAPE, IDCANCEL},
                                         EndCase{"own", WM_APP + 7, 42, 42}),
                         [](const testing::TestParamInfo<EndCase>& info) { return std::string(info.param.name); });

TEST(ModalDialog, EndDialogInOnInitDialogEndsBeforeItIsShown)
{
    ProbeDialog dialog;
    dialog.endInInit = true;
    dialog.endInInitResult = 7;
    EXPECT_EQ(dialog.DoModal(), 7);
    EXPECT_TRUE(dialog.initialised);
    EXPECT_FALSE(dialog.shown);
}

TEST(ModalDialog, MissingTemplateFails)
{
    ProbeDialog dialog(999);
    EXPECT_EQ(dialog.DoModal(), -1);
    EXPECT_FALSE(dialog.initialised);
}

TEST(ModalDialog, QuitRequestEndsTheLoopAndIsLeftForTheOuterLoop)
{
    ProbeDialog dialog;
    dialog.quitInInit = true;
    EXPECT_EQ(dialog.DoModal(), -1);
    MSG msg{};
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 5u);
}

TEST(ModalDialog, ChildrenOfOurClassInTheTemplateDoNotTakeTheDialogsObject)
{
    WNDCLASSW wc{};
    wc.lpfnWndProc = &CWnd::StaticWindowProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"LumoTestChildClass";
    ASSERT_TRUE(AfxRegisterClass(&wc));

    struct ChildCheck : ProbeDialog {
        ChildCheck() : ProbeDialog(uitest::kDialogWithChild) {}
        BOOL OnInitDialog() override
        {
            selfMapped = FromHandlePermanent(m_hWnd) == this;
            HWND child = GetDlgItem(m_hWnd, 1002);
            childExists = child != nullptr;
            childMapped = FromHandlePermanent(child) != nullptr;
            EndDialog(IDOK);
            return FALSE;
        }
        bool selfMapped = false, childExists = false, childMapped = true;
    } dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_TRUE(dialog.selfMapped);
    EXPECT_TRUE(dialog.childExists);
    EXPECT_FALSE(dialog.childMapped);
}

namespace {

struct WalkCase {
    const char* name;
    const char* consumer;  // who returns TRUE, or ""
    bool outside;          // aim at a window outside the dialog
    std::vector<std::string> expectedVisits;
    bool expectDispatched;
};

class PreTranslateWalk : public testing::TestWithParam<WalkCase> {};

// Builds child and grandchild windows, then posts the probe message and an
// OK command that ends the loop once the probe went through.
class WalkDialog : public CDialog {
public:
    WalkDialog(const WalkCase& c, std::vector<std::string>& log)
        : CDialog(uitest::kPlainDialog), m_case(c), m_log(log), child("child", &log), grandchild("grandchild", &log),
          outsider("outside", &log)
    {
    }
    BOOL OnInitDialog() override
    {
        uitest::CreateChild(child, m_hWnd, 10);
        uitest::CreateChild(grandchild, child.GetSafeHwnd(), 11);
        LPCWSTR cls = AfxRegisterWndClass(0);
        outsider.CreateEx(0, cls, L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
        std::string consumer = m_case.consumer;
        child.consumes = consumer == "child";
        grandchild.consumes = consumer == "grandchild";
        outsider.consumes = consumer == "outside";
        m_consumes = consumer == "dialog";
        HWND target = m_case.outside ? outsider.GetSafeHwnd() : grandchild.GetSafeHwnd();
        ::PostMessageW(target, WM_APP + 1, 0, 0);
        ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        return TRUE;
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_APP + 1) {
            m_log.push_back("dialog");
            if (m_consumes) return TRUE;
        }
        return CDialog::PreTranslateMessage(msg);
    }

private:
    const WalkCase& m_case;
    std::vector<std::string>& m_log;
    bool m_consumes = false;

public:
    RecordingWnd child, grandchild, outsider;
};

}  // namespace

TEST_P(PreTranslateWalk, VisitsTargetThenParentsUntilOneConsumes)
{
    const WalkCase& c = GetParam();
    std::vector<std::string> log;
    WalkDialog dialog(c, log);
    ASSERT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(log, c.expectedVisits);
    const RecordingWnd& target = c.outside ? dialog.outsider : dialog.grandchild;
    EXPECT_EQ(target.Saw(WM_APP + 1), c.expectDispatched);
}

INSTANTIATE_TEST_SUITE_P(
    Consumers, PreTranslateWalk,
    testing::Values(WalkCase{"nobody", "", false, {"grandchild", "child", "dialog"}, true},
                    WalkCase{"grandchild", "grandchild", false, {"grandchild"}, false},
                    WalkCase{"child", "child", false, {"grandchild", "child"}, false},
                    WalkCase{"dialog", "dialog", false, {"grandchild", "child", "dialog"}, false},
                    WalkCase{"outsideNobody", "", true, {"outside", "dialog"}, true},
                    WalkCase{"outsideDialog", "dialog", true, {"outside", "dialog"}, false}),
    [](const testing::TestParamInfo<WalkCase>& info) { return std::string(info.param.name); });

TEST(ModalDialog, OwnerIsDisabledWhileItRunsAndEnabledAfter)
{
    RecordingWnd owner;
    ASSERT_TRUE(owner.CreateEx(0, AfxRegisterWndClass(0), L"owner", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                               nullptr));
    struct OwnedDialog : CDialog {
        explicit OwnedDialog(HWND parent) : CDialog(uitest::kPlainDialog, parent) {}
        BOOL OnInitDialog() override
        {
            ownerEnabledInside = IsWindowEnabled(GetParent(m_hWnd)) != FALSE;
            ::PostMessageW(m_hWnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            return TRUE;
        }
        bool ownerEnabledInside = true;
    } dialog(owner.GetSafeHwnd());
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(dialog.ownerEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(owner.GetSafeHwnd()));
}
