#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "backend/profiles/AppliedConfig.h"
#include "backend/profiles/IniStore.h"
#include "tests/support/TempDir.h"

namespace {

struct FieldCase {
    bool support;
    uint32_t modelType;
    int32_t appliedProfile;
    int32_t modeIndex;
    int32_t CustomProfile::*expected;  // null: no field
};

TEST(AppliedConfig, TheAppliedProfileOrTheModeChoosesTheEffectField)
{
    const FieldCase cases[] = {
        {true, 1, 0, 2, &CustomProfile::allIndex},   {true, 1, 1, 0, &CustomProfile::wasdIndex},
        {true, 1, 2, 0, &CustomProfile::qwerIndex},  {true, 3, 1, 0, &CustomProfile::fourIndex},
        {true, 6, 2, 0, &CustomProfile::fourIndex},  {false, 1, 2, 0, &CustomProfile::allIndex},
        {false, 1, 0, 1, &CustomProfile::wasdIndex}, {false, 4, 0, 1, &CustomProfile::fourIndex},
        {false, 4, 0, 2, &CustomProfile::qwerIndex}, {false, 1, 0, 3, nullptr},
        {false, 1, 0, -1, nullptr},
    };
    for (const FieldCase& c : cases) {
        CustomProfile profile{};
        profile.modeIndex = c.modeIndex;
        int32_t* field = AppliedEffectField(profile, c.appliedProfile, c.support, c.modelType);
        int32_t* expected = c.expected ? &(profile.*c.expected) : nullptr;
        EXPECT_EQ(field, expected) << c.support << " type " << c.modelType << " applied " << c.appliedProfile
                                   << " mode " << c.modeIndex;
    }
}

class AppliedConfigFile : public ::testing::Test {
protected:
    void Write(const std::string& text)
    {
        testsupport::WriteFileBytes(basic, text);
        // The profile-string functions cache a file by its time, which may not
        // have moved since the last write.
        WritePrivateProfileStringW(nullptr, nullptr, nullptr, basic.c_str());
    }
    std::string Value(const wchar_t* key)
    {
        wchar_t value[64] = {};
        GetPrivateProfileStringW(L"Config", key, L"<missing>", value, 64, basic.c_str());
        return std::string(value, value + wcslen(value));
    }

    testsupport::TempDir dir;
    std::wstring basic = dir.File(L"Basic.ini");
    ProfileTable table{};
};

// Missing keys are written back from profile 0. A file that could not be read
// gives the same defaults, and nothing taken from it is written back: with
// the support flag the zone mode is the profile's number, not its file's.
TEST_F(AppliedConfigFile, AMissingSectionIsWrittenBackFromWhatWasRead)
{
    const struct {
        const char* name;
        bool basicRead, profileRead;
        const char* mode;
        const char* effect;
    } cases[] = {
        {"both read", true, true, "0", "2"},
        {"Basic.ini not read", false, true, "<missing>", "<missing>"},
        {"profile not read", true, false, "0", "<missing>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Write("[Setting]\r\nAWAKE=1\r\n");
        table[0].modeIndex = 0;
        table[0].allIndex = 2;
        AppliedConfigReads reads;
        reads.basicIni = c.basicRead;
        reads.profiles[0] = c.profileRead;
        AppliedConfig state = LoadAppliedConfig(basic.c_str(), table, true, 1, reads);
        EXPECT_EQ(state.appliedProfile, 0);
        EXPECT_EQ(state.effect, 2);
        EXPECT_EQ(state.syncMode, 0);
        EXPECT_EQ(state.zoneMode, 1);
        EXPECT_EQ(Value(L"ApplyMode"), c.mode);
        EXPECT_EQ(Value(L"ApplyEff"), c.effect);
        EXPECT_EQ(Value(L"Apply"), "<missing>");
    }
}

// Without the support flag the mode comes from the profile too.
TEST_F(AppliedConfigFile, WithoutSupportAProfileThatWasNotReadWritesNothingBack)
{
    Write("[Config]\r\nApply=1\r\n");
    table[1].modeIndex = 3;
    AppliedConfigReads reads;
    reads.profiles[1] = false;
    LoadAppliedConfig(basic.c_str(), table, false, 1, reads);
    EXPECT_EQ(Value(L"ApplyMode"), "<missing>");
    EXPECT_EQ(Value(L"ApplyEff"), "<missing>");
}

TEST_F(AppliedConfigFile, StoredValuesGoIntoTheAppliedProfile)
{
    Write("[Config]\r\nApply=1\r\nApplyMode=1\r\nApplyEff=4\r\n");
    table[1].modeIndex = 0;
    AppliedConfig state = LoadAppliedConfig(basic.c_str(), table, true, 1);
    EXPECT_EQ(state.appliedProfile, 1);
    EXPECT_EQ(table[1].wasdIndex, 4);
    EXPECT_EQ(table[1].modeIndex, 0) << "with the support flag the tab is the zone mode: the file's modeIndex stays";
    EXPECT_EQ(table[0].wasdIndex, 0);
    EXPECT_EQ(state.syncMode, 1);
    EXPECT_EQ(state.zoneMode, 1);

    Write("[Config]\r\nApply=2\r\nApplyMode=0\r\nApplyEff=0\r\n");
    state = LoadAppliedConfig(basic.c_str(), table, true, 1);
    EXPECT_EQ(table[2].qwerIndex, 0);
    EXPECT_EQ(state.zoneMode, 0);
}

TEST_F(AppliedConfigFile, WithoutSupportTheStoredModeIsTheProfilesMode)
{
    Write("[Config]\r\nApply=2\r\nApplyMode=1\r\nApplyEff=3\r\n");
    AppliedConfig state = LoadAppliedConfig(basic.c_str(), table, false, 1);
    EXPECT_EQ(table[2].modeIndex, 1);
    EXPECT_EQ(table[2].wasdIndex, 3);
    EXPECT_EQ(state.effect, 3);
}

TEST_F(AppliedConfigFile, WithoutSupportTheModeChoosesAndANoZoneModeWritesMinusOne)
{
    Write("[Config]\r\nApplyMode=0\r\n");
    table[0].allIndex = 3;
    AppliedConfig state = LoadAppliedConfig(basic.c_str(), table, false, 1);
    EXPECT_EQ(state.effect, 3);
    EXPECT_EQ(Value(L"ApplyEff"), "3");

    Write("[Config]\r\nApplyMode=5\r\n");
    state = LoadAppliedConfig(basic.c_str(), table, false, 1);
    EXPECT_EQ(state.effect, -1);
    EXPECT_EQ(Value(L"ApplyEff"), "-1");
}

TEST_F(AppliedConfigFile, AnAppliedProfileOutsideTheTableCountsAsProfileZero)
{
    for (const char* apply : {"3", "7", "8", "-1", "99999999999"}) {
        Write(std::string("[Config]\r\nApply=") + apply + "\r\nApplyMode=0\r\nApplyEff=1\r\n");
        table = ProfileTable{};
        AppliedConfig state = LoadAppliedConfig(basic.c_str(), table, true, 1);
        EXPECT_EQ(state.appliedProfile, 0) << apply;
        EXPECT_EQ(table[0].allIndex, 1) << apply;
    }
}

TEST_F(AppliedConfigFile, ApplyWritesTheThreeKeys)
{
    ASSERT_TRUE(SaveAppliedConfig(basic.c_str(), 2, 1, 3));
    EXPECT_EQ(Value(L"Apply"), "2");
    EXPECT_EQ(Value(L"ApplyMode"), "1");
    EXPECT_EQ(Value(L"ApplyEff"), "3");
}

}  // namespace
