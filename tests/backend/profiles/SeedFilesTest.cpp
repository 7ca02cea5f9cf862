#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "backend/profiles/IniStore.h"
#include "backend/profiles/ProfileFolders.h"
#include "tests/backend/profiles/ProfileTestSupport.h"
#include "tests/support/ShippedSeeds.h"

using profiletest::kDay;
using profiletest::kJan2020;
using profiletest::MakeFolder;
using profiletest::ReadText;
using profiletest::SetWriteTime;
using testsupport::FileExists;
using testsupport::IniEntries;
using testsupport::SeedFolder;
using testsupport::ShippedProfile;
using testsupport::TempDir;

namespace {

bool SameProfile(const CustomProfile& a, const CustomProfile& b)
{
    return std::memcmp(&a, &b, sizeof(CustomProfile)) == 0;
}

std::wstring CustomName(int n)
{
    return L"Custom" + std::to_wstring(n) + L".Ini";
}

}  // namespace

TEST(ShippedSeeds, ProfileFilesHoldEveryKeyTheStoreWritesAndLoadToTheFirstStartProfile)
{
    const CustomProfile shipped = ShippedProfile();
    for (int n = 0; n < kProfileCount; ++n) {
        TempDir saved;
        ASSERT_TRUE(SaveProfile(saved.Path().c_str(), n, shipped));
        const std::vector<std::wstring> written = IniEntries(saved.File(CustomName(n)));
        for (const std::wstring suffix : {L".Ini", L"_20.ini"}) {
            const std::wstring seed = SeedFolder() + L"\\Custom" + std::to_wstring(n) + suffix;
            SCOPED_TRACE(testing::Message() << "seed " << std::string(seed.begin(), seed.end()));
            EXPECT_EQ(IniEntries(seed), written) << "the seed must hold what a save of that profile writes";

            TempDir folder;
            ASSERT_TRUE(CopyFileW(seed.c_str(), folder.File(CustomName(n)).c_str(), FALSE));
            CustomProfile loaded{};
            std::memset(&loaded, 0x5A, sizeof(loaded));
            ASSERT_TRUE(LoadProfile(folder.Path().c_str(), n, loaded));
            EXPECT_TRUE(SameProfile(loaded, shipped));
        }
    }
}

TEST(ShippedSeeds, BasicFilesHoldEverySettingWithFirstStartValues)
{
    const std::wstring colorCycle = std::to_wstring(ShippedProfile().allIndex);
    for (const auto& file : {std::make_pair(L"Basic.ini", L"1"), std::make_pair(L"Basic_20.ini", L"0")}) {
        const std::wstring path = SeedFolder() + L"\\" + file.first;
        SCOPED_TRACE(testing::Message() << "seed " << std::string(path.begin(), path.end()));
        const std::vector<std::wstring> expected = {
            L"[Config]", L"Apply=0", L"ApplyMode=0", L"ApplyEff=" + colorCycle, L"4ZONE=0",
            L"[Setting]", L"BOOTUP=1", L"AWAKE=1", L"SLEEPING=1", L"SHUTDOWN=1",
            L"[Sync]", L"Enable=0", L"PreviewOthers=0", std::wstring(L"Support=") + file.second,
            L"[RecentColor]", L"Count=0",
            L"[Profile]", L"ForceCopy=0",
        };
        EXPECT_EQ(IniEntries(path), expected);
        // Read as the UWP copy reads them: neither asks for a reseed.
        EXPECT_EQ(ReadIniInt(path.c_str(), L"Setting", L"AWAKE", L"5"), 1);
        EXPECT_NE(ReadIniInt(path.c_str(), L"Config", L"4ZONE", L"-1"), -1);
        EXPECT_TRUE(LoadRecentColors(path.c_str()).empty());
    }
}

namespace {

// The profile folders seeded from a program folder that holds what ships.
class ShippedSeedingTest : public testing::Test {
protected:
    void SetUp() override
    {
        sources.appData = root.File(L"ProgramData");
        sources.program = ProgramDir() + L"\\";
        sources.sid = L"S-1-5-21-1001";
        MakeFolder(sources.appData);
        MakeFolder(ProgramDir());
        ASSERT_TRUE(testsupport::CopySeedFiles(SeedFolder(), ProgramDir()));
    }

    std::wstring ProgramDir() const { return root.File(L"Program"); }
    std::wstring DataFolder() const { return sources.appData + L"\\VORN\\VYLLumoCore"; }

    std::wstring Run(bool uwp)
    {
        wchar_t iniDir[MAX_PATH] = L"unset";
        CopyIniFiles(sources, settings, uwp, iniDir, ARRAYSIZE(iniDir));
        return iniDir;
    }

    static CustomProfile Load(const std::wstring& folder, int n)
    {
        CustomProfile profile{};
        EXPECT_TRUE(LoadProfile(folder.c_str(), n, profile));
        return profile;
    }

    static void ExpectCompleteShippedSet(const std::wstring& folder)
    {
        EXPECT_TRUE(FileExists(folder + L"\\Basic.ini"));
        for (int n = 0; n < kProfileCount; ++n) {
            EXPECT_TRUE(FileExists(folder + L"\\" + CustomName(n))) << n;
            EXPECT_TRUE(SameProfile(Load(folder, n), ShippedProfile())) << "profile " << n;
        }
        EXPECT_EQ(ReadIniInt((folder + L"\\Basic.ini").c_str(), L"Setting", L"AWAKE", L""), 1);
    }

    TempDir root;
    profiletest::FakeSources sources;
    SeedSettings settings;
};

}  // namespace

TEST_F(ShippedSeedingTest, FirstUserGetsACompleteSetThatLoadsToTheFirstStartProfile)
{
    const std::wstring folder = Run(false);
    ASSERT_EQ(folder, DataFolder() + L"\\S-1-5-21-1001");
    ExpectCompleteShippedSet(folder);
}

TEST_F(ShippedSeedingTest, UwpSecondRunKeepsTheUsersEditedProfiles)
{
    const struct {
        const char* name;
        uint32_t support;
        unsigned modelType;
    } cases[] = {{"support, model type 1", 1, 1}, {"support, model type 2", 1, 2}, {"no support", 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        RemoveFiles(DataFolder().c_str(), L"*.*", true);
        settings.support = c.support;
        settings.modelType = c.modelType;

        const std::wstring folder = Run(true);
        ASSERT_EQ(folder, DataFolder() + L"\\UWPIni");
        ExpectCompleteShippedSet(folder);

        // The user applies edits: another effect on profile 0, a record of
        // profile 1, and the awake switch off.
        CustomProfile edited0 = ShippedProfile();
        edited0.allIndex = 5;
        edited0.allData[5].ColorB = 200;
        CustomProfile edited1 = ShippedProfile();
        edited1.modeIndex = 1;
        edited1.fourData[2].SpeedType = 3;
        ASSERT_TRUE(SaveProfile(folder.c_str(), 0, edited0));
        ASSERT_TRUE(SaveProfile(folder.c_str(), 1, edited1));
        const std::wstring basic = folder + L"\\Basic.ini";
        ASSERT_TRUE(WriteIniInt(basic.c_str(), L"Setting", L"AWAKE", 0));
        // The program's Basic.ini changed after the copy (an update, "-init").
        SetWriteTime(basic, kJan2020);
        SetWriteTime(ProgramDir() + L"\\Basic.ini", kJan2020 + kDay);

        std::vector<std::string> before;
        for (const std::wstring& name : {std::wstring(L"Basic.ini"), CustomName(0), CustomName(1), CustomName(2)})
            before.push_back(ReadText(folder + L"\\" + name));

        EXPECT_EQ(Run(true), folder);
        std::vector<std::string> after;
        for (const std::wstring& name : {std::wstring(L"Basic.ini"), CustomName(0), CustomName(1), CustomName(2)})
            after.push_back(ReadText(folder + L"\\" + name));
        EXPECT_EQ(after, before) << "the second run reseeded the folder";
        EXPECT_TRUE(SameProfile(Load(folder, 0), edited0));
        EXPECT_TRUE(SameProfile(Load(folder, 1), edited1));
        EXPECT_TRUE(SameProfile(Load(folder, 2), ShippedProfile()));
    }
}
