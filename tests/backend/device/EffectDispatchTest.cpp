#include <gtest/gtest.h>

#include "backend/device/EffectDispatch.h"
#include "backend/device/RgbKeyboard.h"
#include "tests/fixtures/hid/FakeHidPort.h"
#include "tests/support/FixturePaths.h"
#include "tests/support/StandInLibrary.h"

namespace {

EffectData Tagged(int tag)
{
    EffectData e = DefaultEffectData();
    int32_t* f = &e.ColorR;
    for (int c = 0; c < kColorCount; ++c) f[c * 3] = tag + c;
    e.SpeedType = 1;
    return e;
}

// The dialog's side of a dispatch, with a scripted keyboard behind both transports.
class EffectDispatchTest : public testing::Test {
protected:
    void SetUp() override
    {
        for (int p = 0; p < kProfileCount; ++p) {
            profiles[p] = CustomProfile{};
            for (int i = 0; i < kAllZoneEffectCount; ++i) profiles[p].allData[i] = Tagged(100 + 10 * i);
            for (int i = 0; i < kZoneEffectCount; ++i) {
                profiles[p].wasdData[i] = Tagged(20 + i);
                profiles[p].qwerData[i] = Tagged(40 + i);
                profiles[p].fourData[i] = Tagged(60 + i);
            }
        }
        fakes::FakeHidCandidate keyboard;
        keyboard.path = L"kbd";
        port.candidates = {keyboard};
        InitRGBKBDevice();
        port.events.clear();
        wmi.InitWMILibrary();
        script.ClearCalls();
    }
    void TearDown() override { g_HidDevice = HidDeviceInfo{}; }

    void Apply(int profile, uint32_t modelType, bool useSelection = false)
    {
        EffectDispatchState state{profiles, support, applied, tab, snapshot, slots, wmi};
        ApplyEffect(state, profile, modelType, useSelection);
    }

    std::vector<uint8_t> SentCommands() const
    {
        std::vector<uint8_t> commands;
        for (const auto& report : port.SentReports()) commands.push_back(report[1]);
        return commands;
    }

    ProfileTable profiles{};
    DWORD support = 1;
    int32_t applied = 0;
    int32_t tab = 0;
    int32_t snapshot = 0;
    SyncEffectSlots slots{};
    fakes::FakeHidPort port;
    fakes::ScopedFakeHidPort scoped{port};
    testsupport::StandInLibraryScript script;
    WmiLibrary wmi{testsupport::FixturePath(L"nbhwctl\\full\\NBHWCTL.dll")};
};

}  // namespace

TEST_F(EffectDispatchTest, TypeOneOnTabZeroSendsOnlyWhileProfileZeroIsApplied)
{
    profiles[0].allIndex = 2;
    Apply(0, 1);
    ASSERT_EQ(script.CallsOf("VoWMI_NB_DeviceControl_2arg").size(), 1u);
    EXPECT_EQ(script.CallsOf("VoWMI_NB_DeviceControl_2arg")[0], "VoWMI_NB_DeviceControl_2arg 0x00100056 0x007802B3 0x0000F500")
        << "colour (120, 0, 0) of allData[2]";
    EXPECT_TRUE(port.SentReports().empty());

    script.ClearCalls();
    applied = 1;
    Apply(0, 1);
    EXPECT_TRUE(script.Calls().empty());
}

TEST_F(EffectDispatchTest, TypeOneOnAZoneTabKeepsSlotBAndAttemptsApply)
{
    tab = 1;
    profiles[1].wasdIndex = 3;
    Apply(1, 1);
    EXPECT_TRUE(script.Calls().empty());
    EXPECT_EQ(SentCommands(), (std::vector<uint8_t>{0xB5}));
    EXPECT_EQ(slots.slotB.effectIndex, 3);
    EXPECT_EQ(slots.slotB.effect.ColorR, 23);
    EXPECT_EQ(slots.lastFilled, 1);
}

TEST_F(EffectDispatchTest, TypeOneWithoutSupportGatesOnTheZoneMode)
{
    support = 0;
    profiles[0].modeIndex = 2;
    Apply(0, 1);
    EXPECT_TRUE(script.Calls().empty());
    EXPECT_EQ(SentCommands(), (std::vector<uint8_t>{0xB5}));

    script.ClearCalls();
    profiles[0].modeIndex = 0;
    Apply(0, 1);
    EXPECT_EQ(script.CallsOf("VoWMI_NB_DeviceControl_2arg").size(), 1u);
}

TEST_F(EffectDispatchTest, HidWithoutSupportSendsFourZonesThenApply)
{
    support = 0;
    profiles[0].modeIndex = 2;
    profiles[0].fourIndex = 1;
    Apply(0, 3);
    EXPECT_EQ(SentCommands(), (std::vector<uint8_t>{0xB3, 0xB3, 0xB3, 0xB3, 0xB5}));
    auto reports = port.SentReports();
    EXPECT_EQ(reports[0][2], 1);
    EXPECT_EQ(reports[0][4], 61);  // fourData[1], colour 1
    EXPECT_EQ(reports[3][4], 64);  // colour 4
    EXPECT_TRUE(script.Calls().empty());
}

TEST_F(EffectDispatchTest, HidOnTabZeroKeepsSlotAWithoutApply)
{
    profiles[2].allIndex = 1;
    Apply(2, 2);
    EXPECT_EQ(SentCommands(), (std::vector<uint8_t>{0xB3}));
    EXPECT_EQ(port.SentReports()[0][2], 0);
    EXPECT_EQ(slots.slotA.effectIndex, 1);
    EXPECT_EQ(slots.slotA.effect.ColorR, 110);
    EXPECT_EQ(slots.lastFilled, 0);
}

TEST_F(EffectDispatchTest, TypeSixZoneTabSendsSevenZones)
{
    tab = 2;
    Apply(0, 6);
    EXPECT_EQ(SentCommands(), (std::vector<uint8_t>{0xB3, 0xB3, 0xB3, 0xB3, 0xB3, 0xB3, 0xB3, 0xB5}));
    EXPECT_EQ(slots.lastFilled, 1);
}

TEST_F(EffectDispatchTest, NothingIsSentForRecordsThatDoNotExist)
{
    struct Case {
        DWORD support;
        int32_t modeIndex;
        int32_t tab;
        uint32_t modelType;
        int32_t wasdIndex;
    };
    const Case cases[] = {
        {0, 5, 0, 3, 0},   // zone mode outside 0..2
        {1, 0, 3, 2, 0},   // tab outside 0..2
        {1, 0, 0, 7, 0},   // unknown model type
        {1, 0, 0, 0, 0},   // model type 0
        {1, 0, 1, 1, 6},   // index outside its list
        {1, 0, 1, 1, -1},
    };
    for (const Case& c : cases) {
        support = c.support;
        profiles[0].modeIndex = c.modeIndex;
        profiles[0].wasdIndex = c.wasdIndex;
        tab = c.tab;
        slots = SyncEffectSlots{};
        slots.lastFilled = 9;
        Apply(0, c.modelType);
        EXPECT_TRUE(port.SentReports().empty()) << c.modelType;
        EXPECT_TRUE(script.Calls().empty()) << c.modelType;
        EXPECT_EQ(slots.lastFilled, 9);
    }
    Apply(3, 2);
    Apply(-1, 2);
    EXPECT_TRUE(port.SentReports().empty());
}

TEST_F(EffectDispatchTest, UseSelectionMovesTheTabAndTakesThePanelSnapshot)
{
    tab = 0;
    snapshot = 3;
    profiles[2].fourIndex = 0;
    Apply(2, 4, true);
    EXPECT_EQ(tab, 2);
    EXPECT_EQ(slots.slotB.effectIndex, 3);
    EXPECT_EQ(slots.slotB.effect.ColorR, 63);
    EXPECT_EQ(port.SentReports()[0][3], 3);
}

TEST_F(EffectDispatchTest, TheTableIsNotChanged)
{
    ProfileTable before = profiles;
    tab = 1;
    Apply(0, 2, true);
    EXPECT_EQ(memcmp(&before, &profiles, sizeof(ProfileTable)), 0);
}
