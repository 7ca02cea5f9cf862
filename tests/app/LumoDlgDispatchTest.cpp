// The main window in this process: tabs, the profile-modify message, Apply
// and closing, with the maker's library stand-in recording every device call.
#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/StartUp.h"
#include "app/effectpanel/LumoEffectPanel.h"
#include "backend/device/RgbKeyboard.h"
#include "backend/device/WmiLibrary.h"
#include "backend/profiles/IniStore.h"
#include "tests/app/DialogTestSupport.h"
#include "tests/app/ScriptedDlg.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Polling.h"
#include "tests/support/ProfileFiles.h"
#include "tests/support/PointerInput.h"
#include "tests/support/StandInLibrary.h"
#include "tests/support/TempDir.h"

namespace {

using dialogtest::ClickBootSwitch;
using dialogtest::kStoredPowerMask;
using dialogtest::LoggedHidKeyboard;
using testsupport::EffectCall;
using testsupport::EffectCalls;
using testsupport::IniValue;
using testsupport::Pump;
using testsupport::ScriptedDlg;

using MainDialogDispatch = dialogtest::ProfileFolderTest;

}  // namespace

TEST_F(MainDialogDispatch, TabsSwitchPagesAndSendOnlyTheEffectsTab)
{
    WriteConfig(L"Apply", L"0");
    ScriptedDlg dialog;
    dialog.script = [this](ScriptedDlg& d) {
        EXPECT_EQ(EffectCalls(m_library).size(), 1u) << "the applied profile's effect is sent at start";
        m_library.ClearCalls();
        const UINT click = WM_LIGHTBUTTON_CLICK_MESSAGE;

        d.SendMessage(click, CLumoDlg::kFirstTabButtonId, 0);  // the tab shown already
        EXPECT_TRUE(m_library.Calls().empty());

        d.SendMessage(click, CLumoDlg::kFirstTabButtonId + 1, 0);
        EXPECT_EQ(d.m_nCurrentTab, 1);
        EXPECT_TRUE(d.SyncPage().IsWindowVisible());
        EXPECT_FALSE(d.KeyboardPicture().IsWindowVisible());
        EXPECT_TRUE(d.TabButton(1).GetCheck());
        EXPECT_FALSE(d.TabButton(0).GetCheck());
        EXPECT_TRUE(EffectCalls(m_library).empty()) << "the power-state page sends no effect";

        d.SendMessage(click, CLumoDlg::kFirstTabButtonId, 0);
        EXPECT_EQ(d.m_nCurrentTab, 0);
        EXPECT_TRUE(d.KeyboardPicture().IsWindowVisible());
        EXPECT_FALSE(d.SyncPage().IsWindowVisible());
        EXPECT_EQ(EffectCalls(m_library).size(), 1u);
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

namespace {

// Notes whether the power-state tab's button was fading when its click
// reached the dialog.
class TabClickWatcher : public ScriptedDlg {
public:
    bool clicked = false;
    bool fadingAtClick = false;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == WM_LIGHTBUTTON_CLICK_MESSAGE && wParam == kFirstTabButtonId + 1 && !clicked) {
            clicked = true;
            fadingAtClick = TabButton(1).IsFading() != FALSE;
        }
        return ScriptedDlg::WindowProc(message, wParam, lParam);
    }
};

}  // namespace

// A tab's click reaches the dialog with the pressed face still on the button:
// the release refreshes nothing, the tab change that follows does.
TEST_F(MainDialogDispatch, ATabButtonPostsItsClickBeforeItsFaceChanges)
{
    WriteConfig(L"Apply", L"0");
    TabClickWatcher dialog;
    dialog.script = [&dialog](ScriptedDlg& d) {
        using testsupport::PumpUntil;
        ASSERT_TRUE(PumpUntil([&] { return !d.IsFading(); }, 5000)) << "the fade-in did not end";
        CLightButton& tab = d.TabButton(1);
        RECT r{};
        ::GetWindowRect(tab.GetSafeHwnd(), &r);
        testsupport::MoveCursorTo((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        EXPECT_TRUE(PumpUntil([&] { return tab.GetHoverState() == 1 && !tab.IsFading(); }, 3000)) << "no hover";
        testsupport::LeftButton(true);
        EXPECT_TRUE(PumpUntil([&] { return tab.GetHoverState() == 2 && !tab.IsFading(); }, 3000)) << "no press";
        testsupport::LeftButton(false);
        EXPECT_TRUE(PumpUntil([&] { return dialog.clicked; }, 3000)) << "no click message";
        EXPECT_FALSE(dialog.fadingAtClick) << "the face was refreshed before the click was posted";
        EXPECT_EQ(d.m_nCurrentTab, 1);
        EXPECT_TRUE(tab.GetCheck());
        testsupport::MoveCursorTo(5, 5);
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

// A press in the title strip becomes a caption drag; a double click there, as
// a hand makes it, drags only with its first press and never maximises, and a
// press below the strip does nothing. Real input; the drags the dialog posts
// are counted and held back, so no move loop takes the input that follows.
TEST_F(MainDialogDispatch, OnlyASinglePressInTheTitleStripStartsADrag)
{
    WriteConfig(L"Apply", L"0");
    ScriptedDlg dialog;
    dialog.script = [](ScriptedDlg& d) {
        const HWND window = d.GetSafeHwnd();
        int drags = 0, presses = 0, doubles = 0, releases = 0;
        // Dispatches until done holds, then what is queued by then.
        const auto dispatchUntil = [&](auto done) {
            MSG msg;
            const auto take = [&] {
                if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
                // A release may reach a window in the dialog that a fault put under the pointer.
                releases += msg.message == WM_LBUTTONUP && (msg.hwnd == window || ::IsChild(window, msg.hwnd));
                if (msg.hwnd == window) {
                    presses += msg.message == WM_LBUTTONDOWN;
                    doubles += msg.message == WM_LBUTTONDBLCLK;
                    if (msg.message == WM_NCLBUTTONDOWN) {
                        drags += msg.wParam == HTCAPTION;
                        return true;
                    }
                }
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
                return true;
            };
            const ULONGLONG deadline = ::GetTickCount64() + testsupport::kPatienceMs;
            while (!done()) {
                if (take()) continue;
                if (::GetTickCount64() > deadline) return false;
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
            }
            while (take()) {
            }
            return true;
        };
        ASSERT_TRUE(testsupport::PumpUntil([&] { return !d.IsFading(); }, testsupport::kPatienceMs))
            << "the fade-in did not end";
        const auto moveTo = [&](int x, int y) {
            POINT at{x, y};
            ::ClientToScreen(window, &at);
            testsupport::MoveCursorTo(at.x, at.y);
        };

        moveTo(600, 40);
        const DWORD first = testsupport::LeftClick();
        testsupport::LeftClick(first + 1);
        ASSERT_TRUE(dispatchUntil([&] { return releases == 2; })) << "the double click was not taken";
        EXPECT_EQ(presses, 1);
        EXPECT_EQ(doubles, 1) << "the second press came as a press of its own";
        EXPECT_EQ(drags, 1) << "the double click drags with its second press, or not with its first";
        EXPECT_FALSE(::IsZoomed(window)) << "a double click in the strip maximises";

        moveTo(600, 100);
        const int dragsBefore = drags;
        testsupport::LeftClick();
        ASSERT_TRUE(dispatchUntil([&] { return releases == 3; })) << "the press below the strip was not taken";
        EXPECT_EQ(presses, 2);
        EXPECT_EQ(drags, dragsBefore) << "a press below the strip drags";

        moveTo(600, 40);
        testsupport::LeftClick();
        ASSERT_TRUE(dispatchUntil([&] { return releases == 4; })) << "the press in the strip was not taken";
        EXPECT_EQ(drags, dragsBefore + 1) << "a press in the strip starts no drag";
        testsupport::MoveCursorTo(5, 5);
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(MainDialogDispatch, ProfileModifySwitchesProfileWithoutSendingAndWParam2OnlyTraces)
{
    WriteConfig(L"Apply", L"0");
    ScriptedDlg dialog;
    dialog.script = [this](ScriptedDlg& d) {
        m_library.ClearCalls();
        WriteConfig(L"Apply", L"1");
        d.SendMessage(WM_PROFILEMODIFY_MESSAGE, 2, 0);
        EXPECT_EQ(d.m_nCurrentTab, 0);
        EXPECT_EQ(g_nAppliedProfile, 0);

        d.SendMessage(WM_PROFILEMODIFY_MESSAGE, 0, 9);  // past the last index
        EXPECT_EQ(g_nAppliedProfile, 0);

        d.SendMessage(WM_PROFILEMODIFY_MESSAGE, 0, 1);
        EXPECT_EQ(d.m_nCurrentTab, 1);
        EXPECT_EQ(g_nAppliedProfile, 1);
        EXPECT_TRUE(d.TabButton(1).m_bShowMark);
        EXPECT_FALSE(d.TabButton(0).m_bShowMark);
        EXPECT_TRUE(d.TabButton(1).GetCheck());

        // A stored profile past the three is profile 0, and no tab button is touched beyond the two.
        WriteConfig(L"Apply", L"7");
        d.SendMessage(WM_PROFILEMODIFY_MESSAGE, 0, 1);
        EXPECT_EQ(g_nAppliedProfile, 0);
        EXPECT_EQ(d.m_nCurrentTab, 0);
        EXPECT_TRUE(d.TabButton(0).m_bShowMark);
        EXPECT_TRUE(m_library.Calls().empty()) << "a profile change from outside sends nothing";
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(MainDialogDispatch, StoredApplyOutsideTheProfilesStartsOnProfileZero)
{
    WriteConfig(L"Apply", L"8");
    ScriptedDlg dialog;
    dialog.script = [](ScriptedDlg& d) {
        EXPECT_EQ(g_nAppliedProfile, 0);
        EXPECT_EQ(d.m_nCurrentTab, 0);
        EXPECT_TRUE(d.TabButton(0).m_bShowMark);
        EXPECT_TRUE(d.TabButton(0).GetCheck());
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(MainDialogDispatch, ApplyWritesConfigRecentColoursAndTheProfileFileAndShowsTheOverlay)
{
    WriteConfig(L"Apply", L"0");
    ScriptedDlg dialog;
    dialog.script = [this](ScriptedDlg& d) {
        ASSERT_TRUE(testsupport::PumpUntil([&] { return !d.IsFading(); }, 5000)) << "the fade-in did not end";
        d.ColorPopup().Picker().AddRecentColor(0xFF102030);
        d.ColorPopup().Picker().AddRecentColor(0xFFA0B0C0);
        CustomProfile& profile = g_CustomProfiles[0];
        EffectData& record = profile.allData[profile.allIndex];
        record.ColorR = 0x12, record.ColorG = 0x34, record.ColorB = 0x56;
        m_library.ClearCalls();
        d.SendMessage(WM_EFFECTVALUE_CHANGED, LumoEffectPanel::kValueColor1, 0);
        EXPECT_EQ(EffectCalls(m_library).size(), 1u) << "an edit is previewed on the keyboard";

        m_library.ClearCalls();
        {
            LoggedHidKeyboard keyboard;
            d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kApplyButtonId, 0);
        }
        // The effect again, its commit word, then the controller's commit report.
        EXPECT_EQ(m_library.Calls(), (std::vector<std::string>{
                                         EffectCall(WMI_SUBCMD_SET_EFFECT, profile.allIndex, record),
                                         EffectCall(WMI_SUBCMD_COMMIT_EFFECT, profile.allIndex, record),
                                         "HID 5D B4",
                                     }));
        const std::wstring basic = File(L"Basic.ini");
        EXPECT_EQ(IniValue(basic, L"Config", L"Apply"), L"0");
        // "-apply" stores a profile's tab as its zone mode.
        EXPECT_EQ(IniValue(basic, L"Config", L"ApplyMode"), L"0");
        EXPECT_EQ(IniValue(basic, L"Config", L"ApplyEff"),
                  std::to_wstring(static_cast<int>(d.EffectPanel()->EffectType.Get())));
        EXPECT_EQ(IniValue(basic, L"RecentColor", L"Count"), L"2");
        EXPECT_EQ(IniValue(basic, L"RecentColor", L"Color0"), L"102030");  // the oldest
        EXPECT_EQ(IniValue(basic, L"RecentColor", L"Color1"), L"A0B0C0");

        CustomProfile stored{};
        ASSERT_TRUE(LoadProfile(m_folder.c_str(), 0, stored));
        EXPECT_EQ(stored.allIndex, profile.allIndex);
        const EffectData& saved = stored.allData[stored.allIndex];
        EXPECT_EQ(saved.ColorR, 0x12);
        EXPECT_EQ(saved.ColorG, 0x34);
        EXPECT_EQ(saved.ColorB, 0x56);

        EXPECT_TRUE(d.ProgressOverlay().IsActive());
        EXPECT_TRUE(d.ProgressOverlay().IsWindowVisible());
        const HWND overlay = d.ProgressOverlay().GetSafeHwnd();
        d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kApplyButtonId, 0);
        EXPECT_EQ(d.ProgressOverlay().GetSafeHwnd(), overlay) << "a second Apply starts no second overlay";

        // A close request while the overlay shows restores and saves but leaves the window open.
        d.ColorPopup().Picker().AddRecentColor(0xFF0000FF);
        d.CancelProgram();
        EXPECT_FALSE(d.IsFading());
        EXPECT_EQ(IniValue(basic, L"RecentColor", L"Count"), L"3");
        EXPECT_TRUE(IsWindow(d.GetSafeHwnd()));
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(MainDialogDispatch, ApplyWithEmptyRecentListWritesCountZeroOnly)
{
    WriteConfig(L"Apply", L"0");
    WritePrivateProfileStringW(L"RecentColor", nullptr, nullptr, File(L"Basic.ini").c_str());
    ScriptedDlg dialog;
    dialog.script = [this](ScriptedDlg& d) {
        d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kApplyButtonId, 0);
        EXPECT_EQ(IniValue(File(L"Basic.ini"), L"RecentColor", L"Count"), L"0");
        EXPECT_EQ(IniValue(File(L"Basic.ini"), L"RecentColor", L"Color0"), L"<missing>");
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(MainDialogDispatch, PowerStateApplyLeavesConfigAndRecentColoursAlone)
{
    WriteConfig(L"Apply", L"0");
    WriteConfig(L"ApplyEff", L"3");
    WriteStoredPowerStates();
    ScriptedDlg dialog;
    dialog.script = [this](ScriptedDlg& d) {
        d.ColorPopup().Picker().AddRecentColor(0xFF445566);
        const std::wstring basic = File(L"Basic.ini");
        const std::wstring countBefore = IniValue(basic, L"RecentColor", L"Count");
        d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kFirstTabButtonId + 1, 0);
        EXPECT_EQ(g_uPowerStateMask, kStoredPowerMask) << "the page's first broadcast is kept";
        m_library.ClearCalls();
        ClickBootSwitch(d);
        d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kApplyButtonId, 0);
        // The click's preview, then Apply's word with the flag byte 1.
        EXPECT_EQ(m_library.CallsOf("VoWMI_NB_DeviceControl"),
                  (std::vector<std::string>{testsupport::PowerStateCall(0x00CC00BD),
                                            testsupport::PowerStateCall(0x00CC01BD)}));
        EXPECT_EQ(IniValue(basic, L"Setting", L"BOOTUP"), L"0");
        EXPECT_EQ(IniValue(basic, L"Config", L"ApplyEff"), L"3");
        EXPECT_EQ(IniValue(basic, L"RecentColor", L"Count"), countBefore);
        EXPECT_TRUE(d.ProgressOverlay().IsActive());
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(MainDialogDispatch, SyncWindowsMessageSendsKeepsOrResendsByLParam)
{
    WriteConfig(L"Apply", L"0");
    const CustomProfile keptProfile = g_CustomProfiles[1];
    ScriptedDlg dialog;
    dialog.script = [this](ScriptedDlg& d) {
        const UINT sync = WM_PROFILESYNCWINDOWS_MESSAGE;
        m_library.ClearCalls();
        d.SendMessage(sync, 0x55, 0);
        EXPECT_EQ(m_library.Calls(), std::vector<std::string>{testsupport::PowerStateCall(0x005500BD)});
        EXPECT_EQ(g_uPowerStateMask, 0x55);

        m_library.ClearCalls();
        d.SendMessage(sync, 0x33, 3);
        EXPECT_EQ(g_uPowerStateMask, 0x33) << "kept";
        d.SendMessage(sync, 0x77, 2);
        EXPECT_EQ(g_uPowerStateMask, 0x33) << "lParam 2 does nothing";
        EXPECT_TRUE(m_library.Calls().empty()) << "neither is sent";

        // lParam 1 sends the applied profile's own effect again, not the last
        // send of a zone tab.
        CustomProfile& zone = g_CustomProfiles[1];
        zone.wasdIndex = 1;
        zone.wasdData[1].ColorR = 0x21, zone.wasdData[1].ColorG = 0x43, zone.wasdData[1].ColorB = 0x65;
        d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kFirstTabButtonId + 1, 0);
        LoggedHidKeyboard keyboard;
        d.ApplyEffect(1, d.m_uiModelType, false);
        m_library.ClearCalls();
        d.SendMessage(sync, 0, 1);
        const CustomProfile& applied = g_CustomProfiles[0];
        EXPECT_EQ(m_library.Calls(),
                  (std::vector<std::string>{
                      EffectCall(WMI_SUBCMD_SET_EFFECT, applied.allIndex, applied.allData[applied.allIndex]),
                      "HID 5D B5"}));
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    g_CustomProfiles[1] = keptProfile;
}

// While the Apply overlay runs the close button only restores the stored
// state; a close request from outside (the uninstall mode, the taskbar, the
// system menu) restores it as well and ends the window.
TEST_F(MainDialogDispatch, WhileTheOverlayRunsOnlyACloseRequestFromOutsideEndsTheWindow)
{
    WriteConfig(L"Apply", L"0");
    std::vector<std::string> atStart;
    ScriptedDlg dialog;
    dialog.script = [&](ScriptedDlg& d) {
        atStart = EffectCalls(m_library);
        d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kApplyButtonId, 0);
        ASSERT_TRUE(d.ProgressOverlay().IsActive());
        CustomProfile& profile = g_CustomProfiles[0];
        profile.allData[profile.allIndex].ColorR ^= 0xFF;
        d.SendMessage(WM_EFFECTVALUE_CHANGED, LumoEffectPanel::kValueColor1, 0);
        m_library.ClearCalls();
        d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kCloseButtonId, 0);
        EXPECT_FALSE(d.IsFadingOut()) << "the close button waits for the overlay";
        EXPECT_EQ(EffectCalls(m_library), (std::vector<std::string>{atStart.back()})) << "but restores";
        m_library.ClearCalls();
        // As another process posts it.
        d.PostMessage(WM_CLOSE);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_FALSE(atStart.empty());
    EXPECT_EQ(EffectCalls(m_library), (std::vector<std::string>{atStart.back()}));
    EXPECT_TRUE(dialog.IsReleased());
}

TEST_F(MainDialogDispatch, EverythingMadeIsReleasedOnce)
{
    WriteConfig(L"Apply", L"0");
    for (int i = 0; i < 2; ++i) {
        std::vector<HDC> dcs;
        std::vector<HWND> windows;
        ScriptedDlg dialog;
        dialog.script = [&dcs, &windows](ScriptedDlg& d) {
            d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kFirstTabButtonId + 1, 0);
            d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kFirstTabButtonId, 0);
            // Made on first use, as a colour button's click makes it.
            EXPECT_EQ(d.ColorPopup().Handle.Get(), nullptr);
            EXPECT_TRUE(d.ColorPopup().EnsureCreated());
            dcs = {d.BackgroundDC(), d.KeyboardPicture().BackBufferDC(), d.TabButton(0).GetBackBuffer(),
                   d.ApplyButton().GetBackBuffer(), d.LevelSelector().BackBuffer(), d.TabUnderline().GetBackBuffer()};
            windows = {d.KeyboardPicture().GetSafeHwnd(), d.SyncPage().GetSafeHwnd(), d.TabButton(0).GetSafeHwnd(),
                       d.LevelSelector().GetSafeHwnd(), d.EffectPanel()->Handle.Get(),
                       d.ColorPopup().Handle.Get()};
            d.EndDialog(IDCANCEL);
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_TRUE(dialog.IsReleased());
        EXPECT_EQ(dialog.EffectPanel(), nullptr);
        for (size_t k = 0; k < dcs.size(); ++k) {
            EXPECT_NE(dcs[k], nullptr) << "dc " << k;
            EXPECT_EQ(GetObjectType(dcs[k]), 0u) << "dc " << k << " still exists";
        }
        for (size_t k = 0; k < windows.size(); ++k) {
            EXPECT_NE(windows[k], nullptr) << "window " << k;
            EXPECT_FALSE(IsWindow(windows[k])) << "window " << k << " still exists";
        }
    }
}

TEST_F(MainDialogDispatch, RecentColoursLoadNewestFirstSkippingMalformedValuesAndAtMostTen)
{
    struct Case {
        const char* name;
        std::vector<std::pair<std::wstring, std::wstring>> keys;
        std::vector<uint32_t> expected;
    };
    std::vector<std::pair<std::wstring, std::wstring>> many{{L"Count", L"50"}};
    std::vector<uint32_t> lastTen;
    for (int i = 0; i < 50; ++i) {
        wchar_t value[8];
        swprintf(value, 8, L"0000%02X", i);
        many.push_back({L"Color" + std::to_wstring(i), value});
    }
    for (int i = 49; i >= 40; --i) lastTen.push_back(0xFF000000u | static_cast<uint32_t>(i));
    const Case cases[] = {
        {"threeInFileOrder",
         {{L"Count", L"3"}, {L"Color0", L"111111"}, {L"Color1", L"222222"}, {L"Color2", L"333333"}},
         {0xFF333333u, 0xFF222222u, 0xFF111111u}},
        {"malformedSkipped", {{L"Count", L"3"}, {L"Color0", L"111111"}, {L"Color1", L"zz"}, {L"Color2", L"333333"}},
         {0xFF333333u, 0xFF111111u}},
        {"countBeyondTen", many, lastTen},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::wstring basic = File(L"Basic.ini");
        WritePrivateProfileStringW(L"RecentColor", nullptr, nullptr, basic.c_str());
        for (const auto& key : c.keys)
            WritePrivateProfileStringW(L"RecentColor", key.first.c_str(), key.second.c_str(), basic.c_str());
        std::vector<uint32_t> loaded;
        ScriptedDlg dialog;
        dialog.script = [&loaded](ScriptedDlg& d) {
            loaded = d.ColorPopup().Picker().RecentColors();
            d.EndDialog(IDCANCEL);
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_EQ(loaded, c.expected);
    }
}

namespace {

// What the window shows of its tabs, pages and effect panel.
struct ShownState {
    int currentTab = -1;
    bool checks[CLumoDlg::kTabCount] = {};
    bool keyboardShown = false, pageShown = false;
    int effectType = -1;
    // Each panel child but the applied marker: shown, x, y.
    std::vector<std::vector<int>> children;
};

ShownState ShownStateOf(ScriptedDlg& d)
{
    ShownState state;
    state.currentTab = d.m_nCurrentTab;
    for (int tab = 0; tab < CLumoDlg::kTabCount; ++tab) state.checks[tab] = d.TabButton(tab).GetCheck() != FALSE;
    state.keyboardShown = d.KeyboardPicture().IsWindowVisible() != FALSE;
    state.pageShown = d.SyncPage().IsWindowVisible() != FALSE;
    LumoEffectPanel* panel = d.EffectPanel();
    state.effectType = static_cast<int>(panel->EffectType.Get());
    // The marker shows the snapshot, which the two roads take from different places.
    for (Control* child : panel->Children) {
        if (child != &panel->m_appliedMarker) state.children.push_back({child->IsVisible.Get(), child->X.Get(), child->Y.Get()});
    }
    return state;
}

}  // namespace

// "-apply 6" and "-apply 7" leave profile 1 or 2 in [Config]: a start on it
// shows what a running window shows after the broadcast that follows.
TEST_F(MainDialogDispatch, StartOnAStoredZoneProfileShowsWhatTheSwitchToItShows)
{
    CustomProfile profiles[3] = {};
    for (int p = 0; p < 3; ++p) LoadProfile(m_folder.c_str(), p, profiles[p]);
    for (int applied : {1, 2}) {
        SCOPED_TRACE(applied);
        const int storedEffect = applied == 1 ? profiles[1].wasdIndex : profiles[2].qwerIndex;
        const auto writeApplied = [this, applied, storedEffect] {
            WriteConfig(L"Apply", std::to_wstring(applied).c_str());
            WriteConfig(L"ApplyMode", std::to_wstring(applied).c_str());
            WriteConfig(L"ApplyEff", std::to_wstring(storedEffect).c_str());
        };

        ShownState started;
        writeApplied();
        ScriptedDlg first;
        first.script = [&started](ScriptedDlg& d) {
            started = ShownStateOf(d);
            d.EndDialog(IDCANCEL);
        };
        EXPECT_EQ(first.DoModal(), IDCANCEL);

        ShownState switched;
        WriteConfig(L"Apply", L"0");
        WriteConfig(L"ApplyMode", std::to_wstring(profiles[0].modeIndex).c_str());
        WriteConfig(L"ApplyEff", std::to_wstring(profiles[0].allIndex).c_str());
        ScriptedDlg second;
        second.script = [&switched, &writeApplied, applied](ScriptedDlg& d) {
            writeApplied();
            d.SendMessage(WM_PROFILEMODIFY_MESSAGE, 0, applied + 5);
            Pump(0);  // the panel's posted profile
            switched = ShownStateOf(d);
            d.EndDialog(IDCANCEL);
        };
        EXPECT_EQ(second.DoModal(), IDCANCEL);

        EXPECT_EQ(started.currentTab, applied);
        EXPECT_EQ(switched.currentTab, applied);
        for (int tab = 0; tab < CLumoDlg::kTabCount; ++tab) EXPECT_EQ(started.checks[tab], switched.checks[tab]) << tab;
        EXPECT_EQ(started.keyboardShown, switched.keyboardShown);
        EXPECT_EQ(started.pageShown, switched.pageShown);
        EXPECT_EQ(started.effectType, switched.effectType);
        EXPECT_EQ(started.children, switched.children) << "the panel is laid out as after the switch";
    }
}
