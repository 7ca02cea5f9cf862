// Profile files that exist but cannot be read (another process holds them
// with no sharing): the window never sends, stores or writes back the
// defaults that such a read gives, and an Apply it cannot store stores none
// of it and reports no success.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/effectpanel/LumoEffectPanel.h"
#include "backend/device/WmiLibrary.h"
#include "backend/profiles/IniStore.h"
#include "resources/app/resource.h"
#include "tests/app/DialogTestSupport.h"
#include "tests/app/ScriptedDlg.h"
#include "tests/support/HeldFile.h"
#include "tests/support/MessagePump.h"
#include "tests/support/Polling.h"
#include "tests/support/ProfileFiles.h"
#include "tests/support/ShippedSeeds.h"

using testsupport::EffectCall;
using testsupport::EffectCalls;
using testsupport::IniValue;
using testsupport::HeldFile;
using testsupport::kPatienceMs;
using testsupport::ScriptedDlg;

namespace {

class UnreadFiles : public dialogtest::ProfileFolderTest {
protected:
    void SetUp() override
    {
        ProfileFolderTest::SetUp();
        // Breathing in blue on the whole keyboard: the defaults are colour
        // cycle records in red.
        m_stored = testsupport::ShippedProfile();
        m_stored.allIndex = 1;
        m_stored.allData[1].ColorR = 0;
        m_stored.allData[1].ColorB = 255;
        ASSERT_TRUE(SaveProfile(m_folder.c_str(), 0, m_stored));
        WriteConfig(L"Apply", L"0");
        WriteConfig(L"ApplyMode", L"0");
        WriteConfig(L"ApplyEff", L"1");
    }

    std::string StoredEffectCall() const
    {
        return EffectCall(WMI_SUBCMD_SET_EFFECT, m_stored.allIndex, m_stored.allData[m_stored.allIndex]);
    }
    bool TableHoldsTheStoredProfile() const
    {
        return std::memcmp(&g_CustomProfiles[0], &m_stored, sizeof(CustomProfile)) == 0;
    }
    static void ClickApply(ScriptedDlg& d) { d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kApplyButtonId, 0); }
    static void PickStatic(ScriptedDlg& d)
    {
        d.EffectPanel()->m_effectButtons[0]->IsChecked = 1;
        testsupport::Pump(0);  // its posted change
    }

    CustomProfile m_stored{};
};

}  // namespace

// A start over a held Custom0.Ini sends nothing and writes no missing
// "ApplyEff" from the defaults; an Apply with an edit while it is held stores
// nothing, commits nothing and shows no overlay; once the file can be read the
// next Apply stores the profile as its file holds it.
TEST_F(UnreadFiles, AProfileThatCouldNotBeReadIsNeitherSentNorStored)
{
    WritePrivateProfileStringW(L"Config", L"ApplyEff", nullptr, File(L"Basic.ini").c_str());
    const std::string custom0 = testsupport::ReadFileBytes(File(L"Custom0.Ini"));
    dialogtest::ProgramLog log(m_folder);
    HeldFile held(File(L"Custom0.Ini"));
    ASSERT_TRUE(held.Held());
    ScriptedDlg dialog;
    dialog.script = [&](ScriptedDlg& d) {
        EXPECT_TRUE(EffectCalls(m_library).empty()) << "the defaults went to the keyboard";
        EXPECT_TRUE(log.Contains(L"file cannot be read @ LoadCustomEffectsFromIni"));
        EXPECT_EQ(IniValue(File(L"Basic.ini"), L"Config", L"ApplyEff"), L"<missing>");

        PickStatic(d);
        EXPECT_TRUE(EffectCalls(m_library).empty()) << "an edit of the defaults is not previewed either";
        const std::vector<std::wstring> basicBefore = testsupport::IniEntries(File(L"Basic.ini"));
        m_library.ClearCalls();
        {
            dialogtest::LoggedHidKeyboard keyboard;
            ClickApply(d);
        }
        EXPECT_TRUE(log.Contains(L"OnBnClickedApply -> Apply left undone, the profile cannot be stored"));
        EXPECT_FALSE(log.Contains(L"tszPath @ SaveCustomEffect2Ini")) << "a write of the profile was tried";
        EXPECT_EQ(testsupport::IniEntries(File(L"Basic.ini")), basicBefore) << "[Config] or the recent colours changed";
        EXPECT_TRUE(m_library.Calls().empty()) << "something was committed";
        EXPECT_FALSE(d.ProgressOverlay().IsActive()) << "the overlay reports a success";
        EXPECT_EQ(g_nAppliedProfile, 0);

        held.Release();
        ClickApply(d);
        EXPECT_TRUE(TableHoldsTheStoredProfile()) << "read again before it is stored";
        EXPECT_EQ(static_cast<int>(d.EffectPanel()->EffectType.Get()), 1) << "the panel shows it";
        EXPECT_EQ(EffectCalls(m_library).front(), StoredEffectCall());
        EXPECT_EQ(IniValue(File(L"Basic.ini"), L"Config", L"ApplyEff"), L"1");
        EXPECT_TRUE(d.ProgressOverlay().IsActive());
        // The close button waits for the overlay; a close request does not.
        d.PostMessage(WM_CLOSE);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(testsupport::ReadFileBytes(File(L"Custom0.Ini")), custom0) << "the stored profile was written as it is";
}

// Closing re-reads the profiles; one that cannot be read any more keeps what
// was read of it, and that goes back to the keyboard, not the defaults.
TEST_F(UnreadFiles, AProfileThatBecameUnreadableIsRestoredAsLastRead)
{
    ScriptedDlg dialog;
    dialog.script = [&](ScriptedDlg& d) {
        EXPECT_EQ(EffectCalls(m_library), std::vector<std::string>{StoredEffectCall()}) << "the start";
        PickStatic(d);
        HeldFile held(File(L"Custom0.Ini"));
        ASSERT_TRUE(held.Held());
        m_library.ClearCalls();
        d.SendMessage(WM_COMMAND, ID_ACCEL_ESCAPE, 0);
        EXPECT_TRUE(d.IsFadingOut());
        EXPECT_EQ(EffectCalls(m_library), std::vector<std::string>{StoredEffectCall()});
        EXPECT_TRUE(TableHoldsTheStoredProfile());
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

// Apply on the power-state page sends the mask it stored. Over a Basic.ini
// held at the start the switches show off until it is read: Apply then reads
// it and sends what it stores; while it is still held Apply stores and sends
// nothing and shows no overlay.
TEST_F(UnreadFiles, PowerStateApplySendsTheMaskItStores)
{
    for (bool heldThroughApply : {false, true}) {
        SCOPED_TRACE(heldThroughApply ? "held through Apply" : "released before Apply");
        const std::wstring basic = File(L"Basic.ini");
        // All lit: the mask 0xFF.
        dialogtest::StorePowerSwitches(basic, {L"1", L"1", L"1", L"1"});
        dialogtest::ProgramLog log(m_folder);
        HeldFile held(basic);
        ASSERT_TRUE(held.Held());
        ScriptedDlg dialog;
        dialog.script = [&](ScriptedDlg& d) {
            d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kFirstTabButtonId + 1, 0);
            EXPECT_EQ(d.SyncPage().PowerStateMaskNow(), 0u) << "all off until the file is read";
            if (!heldThroughApply) held.Release();
            ::SendMessageW(d.SyncPage().GetSafeHwnd(), WM_LIGHTBUTTON_CLICK_MESSAGE, 10, 0);  // boot on
            EXPECT_TRUE(testsupport::PumpUntil([] { return g_uPowerStateMask == 0x03; }, kPatienceMs));
            m_library.ClearCalls();
            ClickApply(d);
            if (heldThroughApply) {
                EXPECT_TRUE(log.Contains(L"power states left alone, the file cannot be read @ SavePowerSettings"));
                EXPECT_FALSE(log.Contains(L"WritePrivateProfileString failed @ SavePowerSettings"))
                    << "a write was tried";
                EXPECT_TRUE(log.Contains(L"OnBnClickedApply -> Apply left undone, the power states cannot be stored"));
                EXPECT_TRUE(m_library.Calls().empty()) << "something was sent";
                EXPECT_FALSE(d.ProgressOverlay().IsActive());
            } else {
                EXPECT_EQ(m_library.CallsOf("VoWMI_NB_DeviceControl"),
                          std::vector<std::string>{testsupport::PowerStateCall(0x00FF01BD)});
                EXPECT_EQ(d.SyncPage().PowerStateMaskNow(), 0xFFu) << "the switches show what is stored";
                EXPECT_TRUE(d.ProgressOverlay().IsActive());
            }
            d.PostMessage(WM_CLOSE);
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        held.Release();
        for (const wchar_t* key : {L"BOOTUP", L"AWAKE", L"SLEEPING", L"SHUTDOWN"})
            EXPECT_EQ(IniValue(basic, L"Setting", key), L"1") << testing::PrintToString(key);
    }
}

// The recent colours of a Basic.ini that could not be read at start are kept
// behind the colour picked since.
TEST_F(UnreadFiles, RecentColoursThatCouldNotBeReadAreKeptBehindThePickedOnes)
{
    const std::wstring basic = File(L"Basic.ini");
    WritePrivateProfileStringW(L"RecentColor", nullptr, nullptr, basic.c_str());
    WritePrivateProfileStringW(L"RecentColor", L"Count", L"2", basic.c_str());
    WritePrivateProfileStringW(L"RecentColor", L"Color0", L"102030", basic.c_str());
    WritePrivateProfileStringW(L"RecentColor", L"Color1", L"405060", basic.c_str());
    HeldFile held(basic);
    ASSERT_TRUE(held.Held());
    ScriptedDlg dialog;
    dialog.script = [&](ScriptedDlg& d) {
        EXPECT_TRUE(d.ColorPopup().Picker().RecentColors().empty());
        d.ColorPopup().Picker().AddRecentColor(0xFFFFFF00);
        held.Release();
        d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kCloseButtonId, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(IniValue(basic, L"RecentColor", L"Count"), L"3");
    EXPECT_EQ(IniValue(basic, L"RecentColor", L"Color0"), L"102030");
    EXPECT_EQ(IniValue(basic, L"RecentColor", L"Color1"), L"405060");
    EXPECT_EQ(IniValue(basic, L"RecentColor", L"Color2"), L"FFFF00");
}
