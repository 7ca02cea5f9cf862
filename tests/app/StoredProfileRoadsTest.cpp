// Every road through the main window that edits nothing leaves the profile
// files as they were, or as another process wrote them, and what the window
// sends and pictures is the stored profile: starts on each stored profile,
// the profile-modify message after each "-apply N", every kind of close.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/LumoDlg.h"
#include "app/LumoGlobals.h"
#include "app/effectpanel/LumoEffectPanel.h"
#include "backend/device/EffectDispatch.h"
#include "backend/device/WmiLibrary.h"
#include "backend/modes/ModeHandlers.h"
#include "backend/profiles/AppliedConfig.h"
#include "backend/profiles/IniStore.h"
#include "resources/app/resource.h"
#include "tests/app/DialogTestSupport.h"
#include "tests/app/ScriptedDlg.h"
#include "tests/support/MessagePump.h"
#include "tests/support/ProfileFiles.h"
#include "tests/support/ShippedSeeds.h"
#include "ui/windows/keyboard/KeyboardPreviewModel.h"

using testsupport::EffectCall;
using testsupport::EffectCalls;
using testsupport::IniValue;
using testsupport::ScriptedDlg;

namespace {

constexpr uint32_t kModelType = 1;
// The stored mask 0xCF with the flag byte of a close.
constexpr uint32_t kStoredPowerRestoreWord = 0x00CF00BD;

// A profile whose records all differ from each other, from those of the
// other profiles, from the defaults and from zero; its indices differ per list.
CustomProfile DistinctProfile(int p)
{
    CustomProfile profile = testsupport::ShippedProfile();
    profile.allIndex = 1;
    profile.wasdIndex = 2;
    profile.qwerIndex = 4;
    profile.fourIndex = 3;
    profile.syncIndex = 0;
    EffectData* lists[] = {profile.allData, profile.wasdData, profile.qwerData, profile.fourData};
    const int lengths[] = {kAllZoneEffectCount, kZoneEffectCount, kZoneEffectCount, kZoneEffectCount};
    for (int l = 0; l < 4; ++l) {
        for (int i = 0; i < lengths[l]; ++i) {
            EffectData& record = lists[l][i];
            for (int n = 0; n < kColorCount; ++n) SetEffectColor(record, n, {p * 70 + l * 8 + i + 1, 100 + n, 200 - n});
            record.SpeedType = 1 + (i + p) % 3;
            record.MusicType = (i + l) % 8;
            record.StrobingRandom = (i + p) % 2;
            record.TemperatureH = 70 + i;
            record.TemperatureL = 20 + l;
        }
    }
    return profile;
}

using FileEntries = std::vector<std::vector<std::wstring>>;

// The record that profile p's tab sends and pictures, read from the files.
struct StoredRecord {
    int32_t index = -1;
    EffectData record{};
};

class StoredProfileRoads : public dialogtest::ProfileFolderTest {
protected:
    void SetUp() override
    {
        ProfileFolderTest::SetUp();
        for (int p = 0; p < kProfileCount; ++p) ASSERT_TRUE(SaveProfile(m_folder.c_str(), p, DistinctProfile(p)));
        WritePrivateProfileStringW(L"RecentColor", nullptr, nullptr, File(L"Basic.ini").c_str());
        WritePrivateProfileStringW(L"RecentColor", L"Count", L"2", File(L"Basic.ini").c_str());
        WritePrivateProfileStringW(L"RecentColor", L"Color0", L"102030", File(L"Basic.ini").c_str());
        WritePrivateProfileStringW(L"RecentColor", L"Color1", L"405060", File(L"Basic.ini").c_str());
    }

    // What "-apply N" of another process stores, with the table it reads and
    // the model type it found.
    int32_t StoreAsApplyMode(uint32_t index, uint32_t modelType = kModelType)
    {
        ProfileTable table{};
        for (int p = 0; p < kProfileCount; ++p) LoadProfile(m_folder.c_str(), p, table[static_cast<size_t>(p)]);
        return StoreApplySelection(m_folder.c_str(), index, modelType, 1, table, 0);
    }

    // Another process's edit of the record that profile p's tab sends.
    void ChangeStoredRecord(int profile) const
    {
        CustomProfile stored{};
        LoadProfile(m_folder.c_str(), profile, stored);
        EffectData& record = profile == 0   ? stored.allData[stored.allIndex]
                             : profile == 1 ? stored.wasdData[stored.wasdIndex]
                                            : stored.qwerData[stored.qwerIndex];
        record.ColorR = 250 - record.ColorR % 50;
        SaveProfile(m_folder.c_str(), profile, stored);
    }

    FileEntries Entries() const
    {
        FileEntries entries;
        for (const wchar_t* name : testsupport::kProfileFiles) entries.push_back(testsupport::IniEntries(File(name)));
        return entries;
    }

    StoredRecord Stored(int profile) const
    {
        CustomProfile stored{};
        LoadProfile(m_folder.c_str(), profile, stored);
        StoredRecord out;
        if (const EffectData* record = DispatchRecord(stored, profile, kModelType, false, 0, out.index))
            out.record = *record;
        return out;
    }

    // The table and the keyboard picture hold the stored profile that the
    // window applies, and with sent, so does the last send.
    void ExpectTheStoredProfileIsHeld(ScriptedDlg& d, int profile, bool sent = true) const
    {
        CustomProfile stored{};
        LoadProfile(m_folder.c_str(), profile, stored);
        EXPECT_EQ(std::memcmp(&stored, &g_CustomProfiles[static_cast<size_t>(profile)], sizeof(stored)), 0)
            << "the table holds profile " << profile << " as its file";
        const StoredRecord expected = Stored(profile);
        const PreviewRecord pictured = SelectPreviewRecord(PreviewSource{g_CustomProfiles, g_dwSupport, kModelType}, profile);
        ASSERT_NE(pictured.record, nullptr);
        EXPECT_EQ(std::memcmp(pictured.record, &expected.record, sizeof(EffectData)), 0) << "the picture";
        if (!sent) return;
        if (profile == 0) {
            EXPECT_EQ(LastSetEffectCall(), EffectCall(WMI_SUBCMD_SET_EFFECT, expected.index, expected.record));
        } else {
            // The maker's library takes no zone effect: what the zone tab
            // sends is kept for the power-state page.
            const EffectSlot& sent = d.SyncPage().m_syncSlots.slotB;
            EXPECT_EQ(sent.effectIndex, expected.index);
            EXPECT_EQ(std::memcmp(&sent.effect, &expected.record, sizeof(EffectData)), 0) << "the zone send";
        }
    }

    // The last effect sent with the set word (a commit word may follow it).
    std::string LastSetEffectCall() const
    {
        const std::vector<std::string> calls = EffectCalls(m_library);
        for (auto call = calls.rbegin(); call != calls.rend(); ++call)
            if (call->find("B3 0x") != std::string::npos) return *call;
        return "";
    }

    void ExpectFiles(const FileEntries& expected, const char* step, bool withoutRecentColours = false) const
    {
        const FileEntries now = withoutRecentColours ? WithoutRecentColours(Entries()) : Entries();
        for (size_t i = 0; i < expected.size(); ++i)
            EXPECT_EQ(now[i], expected[i]) << step << ": " << testing::PrintToString(testsupport::kProfileFiles[i]);
    }

    // [Config] of Basic.ini with the given values, the other files as they are.
    FileEntries WithConfig(FileEntries entries, int apply, int mode, int effect) const
    {
        const std::wstring values[] = {L"Apply=" + std::to_wstring(apply), L"ApplyMode=" + std::to_wstring(mode),
                                       L"ApplyEff=" + std::to_wstring(effect)};
        bool inConfig = false;
        for (std::wstring& line : entries[0]) {
            if (!line.empty() && line[0] == L'[') inConfig = line == L"[Config]";
            if (!inConfig) continue;
            for (const std::wstring& value : values) {
                const size_t key = value.find(L'=') + 1;
                if (_wcsnicmp(line.c_str(), value.c_str(), key) == 0) line = line.substr(0, key) + value.substr(key);
            }
        }
        return entries;
    }

    static void ClickApply(ScriptedDlg& d) { d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kApplyButtonId, 0); }

    // A click on static, which no profile stores, previewed but not applied.
    void EditTheAppliedEffect(ScriptedDlg& d, int profile, const StoredRecord& stored) const
    {
        ASSERT_NE(stored.index, 0);
        d.EffectPanel()->m_effectButtons[0]->IsChecked = 1;
        testsupport::Pump(0);  // its posted change
        if (profile == 0)
            EXPECT_EQ(LastSetEffectCall(), EffectCall(WMI_SUBCMD_SET_EFFECT, 0, g_CustomProfiles[0].allData[0]));
        else
            EXPECT_EQ(d.SyncPage().m_syncSlots.slotB.effectIndex, 0) << "the zone send of the edit";
    }

    // Since the calls were cleared: the applied profile's stored effect sent
    // again (a zone profile's kept for the power-state page), the stored
    // power-state mask once, and the recent colours saved.
    void ExpectTheStoredStateRestored(ScriptedDlg& d, int profile, const StoredRecord& stored, const char* when) const
    {
        SCOPED_TRACE(when);
        if (profile == 0) {
            EXPECT_EQ(EffectCalls(m_library),
                      std::vector<std::string>{EffectCall(WMI_SUBCMD_SET_EFFECT, stored.index, stored.record)});
        } else {
            EXPECT_TRUE(EffectCalls(m_library).empty()) << "the maker's library takes no zone effect";
            const EffectSlot& sent = d.SyncPage().m_syncSlots.slotB;
            EXPECT_EQ(sent.effectIndex, stored.index);
            EXPECT_EQ(std::memcmp(&sent.effect, &stored.record, sizeof(EffectData)), 0) << "the zone send";
        }
        EXPECT_EQ(m_library.CallsOf("VoWMI_NB_DeviceControl"),
                  std::vector<std::string>{testsupport::PowerStateCall(kStoredPowerRestoreWord)});
        EXPECT_EQ(IniValue(File(L"Basic.ini"), L"RecentColor", L"Color2"), L"FFFF00");
    }

    static FileEntries WithoutRecentColours(FileEntries entries)
    {
        std::vector<std::wstring>& basic = entries[0];
        const auto section = std::find(basic.begin(), basic.end(), L"[RecentColor]");
        const auto next =
            std::find_if(section == basic.end() ? section : section + 1, basic.end(),
                         [](const std::wstring& line) { return !line.empty() && line[0] == L'['; });
        basic.erase(section, next);
        return entries;
    }
};

// "-apply N" on this keyboard: N of 0 to 5 applies an all-keys effect of
// profile 0, 6 and 7 profile 1 and 2, 8 stores nothing.
constexpr uint32_t kApplyIndexOfProfile[] = {1, 6, 7};

}  // namespace

TEST_F(StoredProfileRoads, ApplyWithoutAnEditOnEachStoredProfileChangesNoFile)
{
    for (int profile = 0; profile < kProfileCount; ++profile) {
        SCOPED_TRACE(profile);
        ASSERT_EQ(StoreAsApplyMode(kApplyIndexOfProfile[profile]), profile);
        // A profile's zone mode is its tab, for "-apply" and Apply alike.
        EXPECT_EQ(IniValue(File(L"Basic.ini"), L"Config", L"Apply"), std::to_wstring(profile));
        EXPECT_EQ(IniValue(File(L"Basic.ini"), L"Config", L"ApplyMode"), std::to_wstring(profile));
        const FileEntries before = Entries();
        ScriptedDlg dialog;
        dialog.script = [&](ScriptedDlg& d) {
            EXPECT_EQ(g_nAppliedProfile, profile);
            ExpectTheStoredProfileIsHeld(d, profile);
            ClickApply(d);
            ExpectFiles(before, "after Apply");
            ExpectTheStoredProfileIsHeld(d, profile);
            d.EndDialog(IDCANCEL);
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
}

// Every kind of close on each applied profile, with and without an unapplied
// edit, and with a power-state switch left unapplied: the stored effect goes
// back, the stored power-state mask goes out once before the close returns,
// the recent colours are saved, nothing else of the files changes, and
// everything made is released.
TEST_F(StoredProfileRoads, EveryCloseRestoresWhatIsStored)
{
    struct Close {
        const char* name;
        std::function<void(ScriptedDlg&)> request;
        bool endsAtOnce;  // else the window fades out
    };
    const Close closes[] = {
        {"close button", [](ScriptedDlg& d) { d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kCloseButtonId, 0); },
         false},
        {"Esc", [](ScriptedDlg& d) { d.SendMessage(WM_COMMAND, ID_ACCEL_ESCAPE, 0); }, false},
        {"Alt+F4", [](ScriptedDlg& d) { d.SendMessage(WM_COMMAND, ID_ACCEL_ALT_F4, 0); }, false},
        // As the taskbar, the system menu or the uninstall mode asks.
        {"WM_CLOSE", [](ScriptedDlg& d) { d.SendMessage(WM_CLOSE); }, false},
        // The process may be ended as soon as the message returns.
        {"session end",
         [](ScriptedDlg& d) {
             EXPECT_TRUE(d.SendMessage(WM_QUERYENDSESSION, 0, 0));
             d.SendMessage(WM_ENDSESSION, TRUE, 0);
         },
         true},
    };
    WriteStoredPowerStates();
    for (int profile = 0; profile < kProfileCount; ++profile) {
        for (bool edited : {false, true}) {
            for (const Close& close : closes) {
                SCOPED_TRACE(std::string(close.name) + " on profile " + std::to_string(profile) +
                             (edited ? " after an edit" : ""));
                StoreAsApplyMode(kApplyIndexOfProfile[profile]);
                const FileEntries before = Entries();
                const StoredRecord stored = Stored(profile);
                ScriptedDlg dialog;
                dialog.script = [&](ScriptedDlg& d) {
                    if (edited) EditTheAppliedEffect(d, profile, stored);
                    dialogtest::ClickBootSwitch(d);
                    d.ColorPopup().Picker().AddRecentColor(0xFFFFFF00);
                    m_library.ClearCalls();
                    close.request(d);
                    if (close.endsAtOnce) return;  // nothing more runs: checked below
                    EXPECT_TRUE(d.IsFadingOut());
                    // What matters was done before the close returned.
                    ExpectTheStoredStateRestored(d, profile, stored, "when the close returns");
                };
                EXPECT_EQ(dialog.DoModal(), IDCANCEL);
                ExpectTheStoredStateRestored(dialog, profile, stored, "after the close");
                EXPECT_TRUE(dialog.IsReleased());
                ExpectFiles(WithoutRecentColours(before), "after the close", true);
                const std::wstring basic = File(L"Basic.ini");
                EXPECT_EQ(IniValue(basic, L"RecentColor", L"Count"), L"3");
                EXPECT_EQ(IniValue(basic, L"RecentColor", L"Color2"), L"FFFF00");
            }
        }
    }
}

// Another process's "-apply N" stores its choice and broadcasts it; the
// running window takes the stored profile over, and its Apply keeps it, one
// "-apply" after another. On the second model with a HID controller "-apply"
// stores by the HID types' rules, while the window still runs the keyboard
// as model type 1.
TEST_F(StoredProfileRoads, ApplyAfterEachProfileModifyKeepsWhatTheOtherProcessStored)
{
    const struct {
        const char* name;
        uint32_t modelType;
    } others[] = {
        {"a type-1 controller", ModelTypeFromStatus(1, 0, 0, 9)},
        {"a type-2 controller of the second model", ModelTypeFromStatus(2, 0, 0, 2)},
    };
    for (const auto& other : others) {
        SCOPED_TRACE(other.name);
        StoreAsApplyMode(kApplyIndexOfProfile[0]);
        ScriptedDlg dialog;
        dialog.script = [&](ScriptedDlg& d) {
            for (uint32_t index = 0; index <= 8; ++index) {
                SCOPED_TRACE(testing::Message() << "-apply " << index);
                StoreAsApplyMode(index, other.modelType);
                // An index that stores nothing leaves the profile applied before.
                const int32_t applied = std::stoi(IniValue(File(L"Basic.ini"), L"Config", L"Apply"));
                // The other process applied the profile as its file holds it
                // now, which need not be what the window read before.
                ChangeStoredRecord(applied);
                const FileEntries stored = Entries();
                d.SendMessage(WM_PROFILEMODIFY_MESSAGE, 0, static_cast<LPARAM>(index));
                testsupport::Pump(0);  // the panel's posted profile
                EXPECT_EQ(g_nAppliedProfile, applied);
                // The other process sent it; the window only takes it over.
                ExpectTheStoredProfileIsHeld(d, applied, false);
                ClickApply(d);
                ExpectFiles(stored, "after Apply");
                ExpectTheStoredProfileIsHeld(d, applied, applied == 0);
            }
            d.EndDialog(IDCANCEL);
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
}

// Stored indices that the panel has no button for or that lie outside their
// lists stay as they are through an Apply that edits nothing: the applied
// profile's own index and, beside it, every other index key of its file, with
// [Config] as an Apply of that profile left it.
TEST_F(StoredProfileRoads, ApplyWithoutAnEditKeepsIndicesThePanelCannotShow)
{
    const struct {
        int profile;
        int32_t index;  // of the list the profile's tab sends
    } cases[] = {{0, 7}, {0, -1}, {0, 3}, {1, 5}, {1, -2}, {2, 5}, {2, 99}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "profile " << c.profile << " with index " << c.index);
        CustomProfile stored = DistinctProfile(c.profile);
        stored.modeIndex = 3;
        stored.allIndex = 9;
        stored.wasdIndex = 99;
        stored.qwerIndex = -2;
        stored.fourIndex = 5;
        stored.syncIndex = 9;
        *AppliedEffectField(stored, c.profile, true, kModelType) = c.index;
        ASSERT_TRUE(SaveProfile(m_folder.c_str(), c.profile, stored));
        WriteConfig(L"Apply", std::to_wstring(c.profile).c_str());
        WriteConfig(L"ApplyMode", std::to_wstring(c.profile).c_str());
        WriteConfig(L"ApplyEff", std::to_wstring(c.index).c_str());
        const FileEntries before = Entries();
        ScriptedDlg dialog;
        dialog.script = [&](ScriptedDlg& d) {
            ClickApply(d);
            ExpectFiles(before, "after Apply");
            d.EndDialog(IDCANCEL);
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
}

// "-init" broadcasts profile 0 applied but writes the program folder's seed:
// the profile folder still applies profile 2, whose effect is not profile 0's.
// A switch to the effects tab and Apply then store that choice and no more.
TEST_F(StoredProfileRoads, AnApplyAfterATabSwitchStoresOnlyTheChoice)
{
    for (bool initBroadcast : {false, true}) {
        SCOPED_TRACE(initBroadcast ? "after -init's broadcast" : "plain");
        StoreAsApplyMode(kApplyIndexOfProfile[2]);
        const FileEntries before = Entries();
        const StoredRecord profile0 = Stored(0);
        ASSERT_NE(profile0.index, Stored(2).index);
        ScriptedDlg dialog;
        dialog.script = [&](ScriptedDlg& d) {
            if (initBroadcast) d.SendMessage(WM_PROFILEMODIFY_MESSAGE, 0, 0);
            EXPECT_EQ(g_nAppliedProfile, 2);
            d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kFirstTabButtonId, 0);
            testsupport::Pump(0);  // the panel's posted profile
            ClickApply(d);
            ExpectFiles(WithConfig(before, 0, 0, profile0.index), "after Apply");
            ExpectTheStoredProfileIsHeld(d, 0);
            d.EndDialog(IDCANCEL);
        };
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    }
}

// On profile 2 the panel edits the QWER record that the keyboard and its
// picture use, and Apply stores just that.
TEST_F(StoredProfileRoads, OnProfileTwoThePanelEditsTheRecordItsTabSends)
{
    StoreAsApplyMode(kApplyIndexOfProfile[2]);
    ScriptedDlg dialog;
    dialog.script = [&](ScriptedDlg& d) {
        LumoEffectPanel* panel = d.EffectPanel();
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(static_cast<int>(panel->EffectType.Get()), Stored(2).index);
        panel->m_effectButtons[1]->IsChecked = 1;  // breathing
        testsupport::Pump(0);                      // its posted change
        CustomProfile expected{};
        LoadProfile(m_folder.c_str(), 2, expected);
        expected.qwerIndex = 1;
        EXPECT_EQ(std::memcmp(&expected, &g_CustomProfiles[2], sizeof(expected)), 0) << "only qwerIndex changed";
        EXPECT_EQ(d.SyncPage().m_syncSlots.slotB.effectIndex, 1);
        EXPECT_EQ(std::memcmp(&d.SyncPage().m_syncSlots.slotB.effect, &expected.qwerData[1], sizeof(EffectData)), 0);

        ClickApply(d);
        CustomProfile saved{};
        LoadProfile(m_folder.c_str(), 2, saved);
        EXPECT_EQ(std::memcmp(&expected, &saved, sizeof(saved)), 0);
        EXPECT_EQ(IniValue(File(L"Basic.ini"), L"Config", L"ApplyEff"), L"1");
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

// Closing drops the unapplied edits of the profile it restores: the zone
// send kept for the power-state page is the stored one again.
TEST_F(StoredProfileRoads, ClosingDropsTheUnappliedEditsOfAZoneProfile)
{
    StoreAsApplyMode(kApplyIndexOfProfile[2]);
    const StoredRecord stored = Stored(2);
    ScriptedDlg dialog;
    dialog.script = [&](ScriptedDlg& d) {
        d.EffectPanel()->m_effectButtons[1]->IsChecked = 1;  // breathing, not applied
        testsupport::Pump(0);                                // its posted change
        EXPECT_EQ(d.SyncPage().m_syncSlots.slotB.effectIndex, 1);
        d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kCloseButtonId, 0);
    };
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    CustomProfile file{};
    LoadProfile(m_folder.c_str(), 2, file);
    EXPECT_EQ(std::memcmp(&file, &g_CustomProfiles[2], sizeof(file)), 0) << "the table holds the file again";
    EXPECT_EQ(dialog.SyncPage().m_syncSlots.slotB.effectIndex, stored.index);
    EXPECT_EQ(std::memcmp(&dialog.SyncPage().m_syncSlots.slotB.effect, &stored.record, sizeof(EffectData)), 0);
}

// A live switch to profile 2 from the power-state tab puts the underline
// where a start on profile 2 puts it.
TEST_F(StoredProfileRoads, TheUnderlineStandsAsAfterAStartOnTheProfile)
{
    StoreAsApplyMode(kApplyIndexOfProfile[2]);
    int startedAt = -1;
    ScriptedDlg started;
    started.script = [&](ScriptedDlg& d) {
        startedAt = d.TabUnderline().GetTargetX();
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(started.DoModal(), IDCANCEL);

    StoreAsApplyMode(kApplyIndexOfProfile[0]);
    ScriptedDlg switched;
    switched.script = [&](ScriptedDlg& d) {
        const int underTab0 = d.TabUnderline().GetTargetX();
        d.SendMessage(WM_LIGHTBUTTON_CLICK_MESSAGE, CLumoDlg::kFirstTabButtonId + 1, 0);
        EXPECT_NE(d.TabUnderline().GetTargetX(), underTab0);
        StoreAsApplyMode(kApplyIndexOfProfile[2]);
        d.SendMessage(WM_PROFILEMODIFY_MESSAGE, 0, static_cast<LPARAM>(kApplyIndexOfProfile[2]));
        EXPECT_EQ(d.TabUnderline().GetTargetX(), startedAt);
        EXPECT_EQ(startedAt, underTab0);
        d.EndDialog(IDCANCEL);
    };
    EXPECT_EQ(switched.DoModal(), IDCANCEL);
}
