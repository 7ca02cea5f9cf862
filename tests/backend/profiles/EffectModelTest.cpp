#include <gtest/gtest.h>

#include "backend/profiles/EffectModel.h"

TEST(EffectModel, DefaultRecordIsRedMediumSpeed)
{
    EffectData e = DefaultEffectData();
    for (int c = 0; c < kColorCount; ++c) {
        RgbTriple rgb = EffectColor(e, c);
        EXPECT_EQ(rgb.r, 255);
        EXPECT_EQ(rgb.g, 0);
        EXPECT_EQ(rgb.b, 0);
    }
    EXPECT_EQ(e.SpeedType, 2);
    EXPECT_EQ(e.DirectType, 0);
    EXPECT_EQ(e.MusicType, 0);
    EXPECT_EQ(e.TemperatureH, 60);
    EXPECT_EQ(e.TemperatureL, 30);
    EXPECT_EQ(e.StrobingRandom, 0);
}

TEST(EffectModel, TempoMirrorsSpeedType)
{
    const struct {
        int32_t speed;
        Tempo tempo;
    } cases[] = {{1, Tempo::Fast}, {2, Tempo::Medium}, {3, Tempo::Slow}, {0, Tempo::None}, {4, Tempo::None},
                 {-1, Tempo::None}};
    for (const auto& c : cases) EXPECT_EQ(TempoFromSpeedType(c.speed), c.tempo) << c.speed;
    EXPECT_EQ(SpeedTypeFromTempo(Tempo::Slow), 3);
    EXPECT_EQ(SpeedTypeFromTempo(Tempo::Fast), 1);
}

TEST(EffectModel, OutOfRangeIndicesSelectNoRecord)
{
    CustomProfile p{};
    EXPECT_EQ(RecordAt(p.allData, kAllZoneEffectCount, 6), &p.allData[6]);
    EXPECT_EQ(RecordAt(p.allData, kAllZoneEffectCount, 7), nullptr);
    EXPECT_EQ(RecordAt(p.wasdData, kZoneEffectCount, 6), nullptr);
    EXPECT_EQ(RecordAt(p.wasdData, kZoneEffectCount, -1), nullptr);
}

TEST(EffectModel, ZoneSelectsIndexFieldAndListByModelType)
{
    CustomProfile p{};
    int length = 0;
    EXPECT_EQ(ZoneIndexField(p, Zone::ZoneList1, 1), &p.wasdIndex);
    EXPECT_EQ(ZoneIndexField(p, Zone::ZoneList2, 1), &p.qwerIndex);
    EXPECT_EQ(ZoneIndexField(p, Zone::ZoneList2, 3), &p.fourIndex);
    EXPECT_EQ(ZoneIndexField(p, Zone::Sync, 1), &p.syncIndex);
    EXPECT_EQ(ZoneRecordList(p, Zone::AllKeys, 1, length), p.allData);
    EXPECT_EQ(length, kAllZoneEffectCount);
    EXPECT_EQ(ZoneRecordList(p, Zone::ZoneList1, 2, length), p.fourData);
    EXPECT_EQ(length, kZoneEffectCount);
    EXPECT_EQ(ZoneRecordList(p, Zone::Sync, 1, length), nullptr);
    EXPECT_EQ(length, 0);
}

TEST(EffectModel, TableStartsZeroed)
{
    for (const CustomProfile& p : g_CustomProfiles) {
        EXPECT_EQ(p.modeIndex, 0);
        EXPECT_EQ(p.allData[0].ColorR, 0);
    }
}
