#include <gtest/gtest.h>

#include "backend/device/KeyboardReports.h"

namespace {

EffectData Effect(int speed = 2, int direction = 0)
{
    EffectData e = DefaultEffectData();
    int32_t* f = &e.ColorR;
    for (int c = 0; c < kColorCount; ++c) {
        f[c * 3] = 10 * (c + 1);
        f[c * 3 + 1] = 10 * (c + 1) + 1;
        f[c * 3 + 2] = 10 * (c + 1) + 2;
    }
    e.SpeedType = speed;
    e.DirectType = direction;
    return e;
}

}  // namespace

TEST(KeyboardReports, HandshakeCarriesTheMarkAndPadsToTheLength)
{
    std::vector<uint8_t> report = BuildInitReport(20);
    ASSERT_EQ(report.size(), 20u);
    EXPECT_EQ(report[0], 0x5D);
    EXPECT_EQ(std::string(report.begin() + 1, report.begin() + 15), "VORN Tech.Inc.");
    for (size_t i = 15; i < 20; ++i) EXPECT_EQ(report[i], 0);
    // A short feature report takes only what fits.
    std::vector<uint8_t> shortReport = BuildInitReport(5);
    EXPECT_EQ(std::string(shortReport.begin() + 1, shortReport.end()), "VORN");
    EXPECT_TRUE(BuildInitReport(0).empty());
}

TEST(KeyboardReports, StatusRequestAndReply)
{
    EXPECT_EQ(BuildStatusRequest(8), (std::vector<uint8_t>{0x5D, 0x05, 0x20, 0x31, 0x00, 0x08, 0, 0}));
    EXPECT_EQ(BuildStatusRequest(3), (std::vector<uint8_t>{0x5D, 0x05, 0x20}));

    uint8_t reply[16] = {0x5D, 0x05, 0x20, 0x31, 0x00, 0x08, 0x10, 0, 0, 3, 0, 1};
    StatusReply status{};
    ASSERT_TRUE(ParseStatusReply(reply, sizeof(reply), status));
    EXPECT_EQ(status.type, 3u);
    EXPECT_EQ(status.subType, 1u);
    EXPECT_TRUE(status.support);

    reply[6] = 0x0F;
    ASSERT_TRUE(ParseStatusReply(reply, sizeof(reply), status));
    EXPECT_FALSE(status.support);

    EXPECT_FALSE(ParseStatusReply(reply, 13, status));  // too short
    reply[3] = 0x32;
    EXPECT_FALSE(ParseStatusReply(reply, sizeof(reply), status));  // no echo
}

TEST(KeyboardReports, SyncAnswerNeedsItsThreeBytes)
{
    const uint8_t good[] = {0x5D, 0xEC, 0x02, 0x99};
    EXPECT_TRUE(IsSyncAnswer(good, sizeof(good)));
    EXPECT_FALSE(IsSyncAnswer(good, 2));
    const uint8_t bad[] = {0x5D, 0xEC, 0x03};
    EXPECT_FALSE(IsSyncAnswer(bad, sizeof(bad)));
}

TEST(KeyboardReports, ModeCodeSendsStrobingAs0A)
{
    const struct {
        int index;
        uint8_t code;
    } cases[] = {{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 0x0A}, {5, 5}, {6, 6}};
    for (const auto& c : cases) EXPECT_EQ(ModeCode(c.index), c.code) << c.index;
}

TEST(KeyboardReports, SpeedCodesByProductModel)
{
    const struct {
        uint32_t pid;
        int speed;
        uint8_t code;
    } cases[] = {{0, 1, 0},    {0, 3, 0},    {1, 1, 0xFF}, {1, 2, 0xFE}, {1, 3, 0xFD}, {1, 0, 0},
                 {2, 1, 0xF5}, {2, 2, 0xEB}, {3, 3, 0xE1}, {3, 4, 0},    {2, -1, 0}};
    for (const auto& c : cases) EXPECT_EQ(HidSpeedCode(c.pid, c.speed), c.code) << c.pid << "/" << c.speed;
}

TEST(KeyboardReports, WholeKeyboardBreathingCarriesTheSecondColour)
{
    auto commands = BuildSetEffectCommands(1, true, Effect(1, 2), 2, 2);
    ASSERT_EQ(commands.size(), 1u);
    const CommandBuffer expected = {0x5D, 0xB3, 0, 1, 10, 11, 12, 0xF5, 2, 1, 20, 21, 22, 0, 0, 0};
    EXPECT_EQ(commands[0], expected);
}

TEST(KeyboardReports, WholeKeyboardStaticHasNoSpeedButZonesDo)
{
    auto whole = BuildSetEffectCommands(0, true, Effect(1), 1, 2);
    ASSERT_EQ(whole.size(), 1u);
    EXPECT_EQ(whole[0][7], 0);
    EXPECT_EQ(whole[0][9], 0);
    EXPECT_EQ(whole[0][10], 0);

    auto zones = BuildSetEffectCommands(0, false, Effect(1), 1, 2);
    ASSERT_EQ(zones.size(), 4u);
    for (int z = 0; z < 4; ++z) {
        EXPECT_EQ(zones[z][2], z + 1);
        EXPECT_EQ(zones[z][7], 0xFF);
        EXPECT_EQ(zones[z][4], 10 * (z + 1));  // zone n takes colour n
        EXPECT_EQ(zones[z][6], 10 * (z + 1) + 2);
        EXPECT_EQ(zones[z][9], 0);
    }
}

TEST(KeyboardReports, ModelType6SendsSevenZones)
{
    auto zones = BuildSetEffectCommands(4, false, Effect(), 0, 6);
    ASSERT_EQ(zones.size(), 7u);
    EXPECT_EQ(zones[6][2], 7);
    EXPECT_EQ(zones[6][3], 0x0A);
    EXPECT_EQ(zones[6][4], 70);
}

TEST(KeyboardReports, DirectionOutsideItsRangeGoesOutAsZero)
{
    for (int direction : {4, -1, 100}) EXPECT_EQ(BuildSetEffectCommands(2, true, Effect(2, direction), 1, 2)[0][8], 0);
    EXPECT_EQ(BuildSetEffectCommands(2, true, Effect(2, 3), 1, 2)[0][8], 3);
}

TEST(KeyboardReports, ColourFieldsAreBytes)
{
    EffectData e = Effect();
    e.ColorR = 256;
    e.ColorG = -1;
    auto commands = BuildSetEffectCommands(0, true, e, 0, 2);
    EXPECT_EQ(commands[0][4], 0x00);
    EXPECT_EQ(commands[0][5], 0xFF);
}

TEST(KeyboardReports, PaddingCutsOrExtends)
{
    CommandBuffer command = BuildSimpleCommand(0xB5);
    EXPECT_EQ(PadReport(command, 4), (std::vector<uint8_t>{0x5D, 0xB5, 0, 0}));
    std::vector<uint8_t> padded = PadReport(command, 33);
    ASSERT_EQ(padded.size(), 33u);
    EXPECT_EQ(padded[1], 0xB5);
    EXPECT_EQ(padded[32], 0);
}
