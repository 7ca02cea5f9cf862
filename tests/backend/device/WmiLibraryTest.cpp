#include <gtest/gtest.h>

#include "backend/device/WmiLibrary.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/StandInLibrary.h"

using testsupport::FixturePath;
using testsupport::StandInLibraryScript;

namespace {

EffectData Colour(int r, int g, int b, int speed)
{
    EffectData e = DefaultEffectData();
    e.ColorR = r;
    e.ColorG = g;
    e.ColorB = b;
    e.SpeedType = speed;
    return e;
}

const std::wstring kFull = FixturePath(L"nbhwctl\\full\\NBHWCTL.dll");
const std::wstring kPartial = FixturePath(L"nbhwctl\\partial\\NBHWCTL.dll");

}  // namespace

TEST(WmiWords, EffectWordExamples)
{
    WmiEffectWords strobing = BuildWmiEffectWords(0xB3, 4, Colour(255, 0, 0, 1));
    EXPECT_EQ(strobing.first, 0x00FF0AB3u);
    EXPECT_EQ(strobing.second, 0x00000000u);

    WmiEffectWords breathing = BuildWmiEffectWords(0xB3, 1, Colour(1, 2, 3, 3));
    EXPECT_EQ(breathing.first, 0x020101B3u);
    EXPECT_EQ(breathing.second, 0x0000E103u);

    WmiEffectWords cycle = BuildWmiEffectWords(0xB4, 2, Colour(0, 0, 0, 1));
    EXPECT_EQ(cycle.first, 0x000002B4u);
    EXPECT_EQ(cycle.second, 0x0000F500u);
    EXPECT_EQ(BuildWmiEffectWords(0xB3, 0, Colour(0, 0, 0, 2)).second, 0u);  // static has no speed
    EXPECT_EQ(BuildWmiEffectWords(0xB3, 1, Colour(0, 0, 0, 0)).second, 0u);  // unknown speed
}

TEST(WmiWords, FieldsOutsideAByteDoNotSpill)
{
    WmiEffectWords words = BuildWmiEffectWords(0xB3, 0, Colour(-1, 256, -1, 2));
    EXPECT_EQ(words.first, 0x00FF00B3u);
    EXPECT_EQ(words.second, 0x000000FFu);
}

TEST(WmiWords, PowerStateWord)
{
    EXPECT_EQ(BuildWmiPowerStateWord(0x55, 0), 0x005500BDu);
    EXPECT_EQ(BuildWmiPowerStateWord(0x55, 1), 0x005501BDu);
}

TEST(WmiLibraryLoad, OpensRegistersAndReadsStatus)
{
    StandInLibraryScript script;
    script.SetStatus(WMI_DEVID_RGBKB_STATUS, 0x1234);
    WmiLibrary wmi(kFull);
    wmi.InitWMILibrary();
    ASSERT_TRUE(wmi.IsLoaded());
    EXPECT_NE(wmi.m_pfnGetDeviceStatusMoreByte, nullptr);
    EXPECT_EQ(script.Calls(), (std::vector<std::string>{"VoWMI_CheckSupport", "VoWMI_Open", "VoWMI_NB_RegisterEvent",
                                                        "VoWMI_NB_GetDeviceStatus 0x00100055"}));
}

TEST(WmiLibraryLoad, OpenFalseStopsButCallsStillReachTheLibrary)
{
    StandInLibraryScript script;
    script.Set(L"LUMO_NBHWCTL_OPEN", L"0");
    WmiLibrary wmi(kFull);
    wmi.InitWMILibrary();
    EXPECT_EQ(script.Calls(), (std::vector<std::string>{"VoWMI_CheckSupport", "VoWMI_Open"}));
    wmi.SetEffectByWMI(0, Colour(1, 2, 3, 2), 0);
    EXPECT_EQ(script.CallsOf("VoWMI_NB_DeviceControl_2arg"),
              (std::vector<std::string>{"VoWMI_NB_DeviceControl_2arg 0x00100056 0x020100B3 0x00000003"}));
}

TEST(WmiLibraryLoad, MissingLibraryOrEntryPointMakesCallsNoOps)
{
    StandInLibraryScript script;
    WmiLibrary missing(L"C:\\no\\such\\folder\\NBHWCTL.dll");
    missing.InitWMILibrary();
    EXPECT_FALSE(missing.IsLoaded());
    missing.SetEffectByWMI(0, Colour(1, 2, 3, 2), 0);
    missing.SetPowerStateByWMI(0x55, 1);
    uint32_t status = 0;
    EXPECT_FALSE(missing.GetDeviceStatus(WMI_DEVID_KB_BACKLIGHT, status));

    WmiLibrary partial(kPartial);
    partial.InitWMILibrary();
    ASSERT_TRUE(partial.IsLoaded());
    EXPECT_EQ(partial.m_pfnDeviceControl2Arg, nullptr);
    script.ClearCalls();
    partial.SetEffectByWMI(0, Colour(1, 2, 3, 2), 0);
    partial.SetPowerStateByWMI(0x55, 1);
    EXPECT_EQ(script.Calls(), (std::vector<std::string>{"VoWMI_NB_DeviceControl 0x00100057 0x005501BD"}));
}

TEST(WmiLibraryCalls, GateAndAppliedProfileDecideWhatIsSent)
{
    StandInLibraryScript script;
    WmiLibrary wmi(kFull);
    wmi.InitWMILibrary();
    script.ClearCalls();

    wmi.SetEffectByWMI(4, Colour(255, 0, 0, 1), 1);
    wmi.SetEffectByWMI(4, Colour(255, 0, 0, 1), 2);
    EXPECT_TRUE(script.Calls().empty());
    wmi.SetEffectByWMI(4, Colour(255, 0, 0, 1), 0);
    EXPECT_EQ(script.Calls(), (std::vector<std::string>{"VoWMI_NB_DeviceControl_2arg 0x00100056 0x00FF0AB3 0x00000000"}));

    ProfileTable profiles{};
    profiles[0].allIndex = 1;
    profiles[0].allData[1] = Colour(1, 2, 3, 3);
    script.ClearCalls();
    wmi.CommitEffectByWMI(profiles, 1);
    EXPECT_TRUE(script.Calls().empty());
    wmi.CommitEffectByWMI(profiles, 0);
    EXPECT_EQ(script.Calls(), (std::vector<std::string>{"VoWMI_NB_DeviceControl_2arg 0x00100056 0x020101B4 0x0000E103"}));

    script.ClearCalls();
    profiles[0].allIndex = 7;  // outside the list: nothing
    wmi.CommitEffectByWMI(profiles, 0);
    EXPECT_TRUE(script.Calls().empty());
}
