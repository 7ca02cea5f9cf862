#include <gtest/gtest.h>

#include <algorithm>

#include "ui/framework/scale/Scale.h"
#include "ui/windows/keyboard/KeyPainter.h"
#include "ui/windows/keyboard/KeyboardKeys.h"
#include "ui/windows/keyboard/KeyboardPreviewModel.h"

namespace {

// Every index field distinct, so a test sees which one was read.
ProfileTable DistinctIndices()
{
    ProfileTable table = {};
    for (int p = 0; p < kProfileCount; ++p) {
        CustomProfile& profile = table[size_t(p)];
        profile.allIndex = 10 * p + 1;
        profile.wasdIndex = 10 * p + 2;
        profile.qwerIndex = 10 * p + 3;
        profile.fourIndex = 10 * p + 4;
    }
    return table;
}

void SetColor(EffectData& e, int index, int r, int g, int b)
{
    int32_t* fields = &e.ColorR + 3 * index;
    fields[0] = r, fields[1] = g, fields[2] = b;
}

constexpr uint32_t kRed = 0xFFFF0000u, kBlue = 0xFF0000FFu, kMissing = 0xFFFF102Eu;

TEST(KeyboardPreviewModel, EffectIndexByModelTypeSupportAndProfile)
{
    ProfileTable table = DistinctIndices();
    table[0].modeIndex = 0, table[1].modeIndex = 1, table[2].modeIndex = 2;
    struct Case {
        DWORD support;
        unsigned model;
        int profile;
        int expected;
    } cases[] = {
        // the profile number doubles as the zone mode
        {1, 0, 0, 1}, {1, 0, 1, 12}, {1, 0, 2, 23}, {1, 1, 1, 12}, {1, 7, 2, 23},
        {1, 2, 0, 1}, {1, 2, 1, 14}, {1, 6, 2, 24}, {1, 4, 1, 14},
        {1, 8, 1, 0}, {1, 0, 3, 0}, {1, 0, -1, 0},
        // the profile's own mode
        {0, 0, 0, 1}, {0, 0, 1, 12}, {0, 1, 2, 23}, {0, 3, 1, 14}, {0, 3, 2, 0}, {0, 8, 1, 0},
    };
    for (const Case& c : cases) {
        PreviewSource source{table, c.support, c.model};
        EXPECT_EQ(PreviewEffectIndex(source, c.profile), c.expected)
            << "support " << c.support << " model " << c.model << " profile " << c.profile;
    }
    table[1].modeIndex = 3;  // sync, which has no list
    PreviewSource noSupport{table, 0, 0};
    EXPECT_EQ(PreviewEffectIndex(noSupport, 1), 0);
    EXPECT_EQ(SelectPreviewRecord(noSupport, 1).record, nullptr);
}

TEST(KeyboardPreviewModel, RecordIsTheChosenListAtTheEffectIndex)
{
    ProfileTable table = {};
    table[1].wasdIndex = 1, table[1].fourIndex = 3, table[2].qwerIndex = 4, table[0].allIndex = 6;
    table[2].fourIndex = 2;
    struct Case {
        unsigned model;
        int profile;
        const EffectData* expected;
    } cases[] = {
        {0, 0, &table[0].allData[6]}, {0, 1, &table[1].wasdData[1]}, {0, 2, &table[2].qwerData[4]},
        {2, 1, &table[1].fourData[3]}, {5, 2, &table[2].fourData[2]}, {2, 0, &table[0].allData[6]},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(SelectPreviewRecord(PreviewSource{table, 1, c.model}, c.profile).record, c.expected)
            << c.model << "/" << c.profile;
    }
    // stored indices outside their lists leave the record missing
    table[0].allIndex = 7, table[1].wasdIndex = -1, table[2].fourIndex = 5;
    EXPECT_EQ(SelectPreviewRecord(PreviewSource{table, 1, 0}, 0).record, nullptr);
    EXPECT_EQ(SelectPreviewRecord(PreviewSource{table, 1, 0}, 1).record, nullptr);
    EXPECT_EQ(SelectPreviewRecord(PreviewSource{table, 1, 3}, 2).record, nullptr);
}

TEST(KeyboardPreviewModel, KeyColorsFollowTheZoneGroups)
{
    ProfileTable table = {};
    for (int p = 0; p < kProfileCount; ++p) {
        for (EffectData* list : {table[size_t(p)].allData, table[size_t(p)].wasdData, table[size_t(p)].qwerData,
                                 table[size_t(p)].fourData}) {
            SetColor(list[0], 0, 255, 0, 0);
            SetColor(list[0], 1, 0, 0, 255);
        }
    }
    struct Case {
        unsigned model;
        int profile;
        std::vector<int> colourA;  // every other lit key takes colourB
        uint32_t colourB;
    } cases[] = {
        {0, 1, {18, 31, 32, 33}, kBlue}, {7, 2, {17, 18, 19, 20}, kBlue},
        {0, 0, {}, kRed}, {2, 1, {}, kRed}, {2, 2, {}, kRed},
    };
    for (const Case& c : cases) {
        uint32_t colors[kKeyboardKeyCount];
        std::fill(std::begin(colors), std::end(colors), 0xFF000000u);
        colors[63] = 0x12345678u;  // a key without a lamp keeps its colour
        FillPreviewKeyColors(SelectPreviewRecord(PreviewSource{table, 1, c.model}, c.profile), c.model, colors);
        for (int key = 0; key < kKeyboardKeyCount; ++key) {
            uint32_t expected = KeyHasLamp(key) ? c.colourB : (key == 63 ? 0x12345678u : 0xFF000000u);
            if (std::count(c.colourA.begin(), c.colourA.end(), key)) expected = kRed;
            if (key == kLongKeyLowerEdge) expected = colors[kLongKey];
            ASSERT_EQ(colors[key], expected) << "model " << c.model << " profile " << c.profile << " key " << key;
        }
        EXPECT_EQ(colors[151], colors[61]);
    }
}

TEST(KeyboardPreviewModel, MissingRecordAndOutOfRangeColours)
{
    ProfileTable table = {};
    table[0].allIndex = 9;  // outside the list
    uint32_t colors[kKeyboardKeyCount] = {};
    FillPreviewKeyColors(SelectPreviewRecord(PreviewSource{table, 1, 0}, 0), 0, colors);
    EXPECT_EQ(colors[1], kMissing);
    EXPECT_EQ(colors[151], kMissing);
    EXPECT_EQ(colors[0], 0u);
    table[0].allIndex = 0;
    SetColor(table[0].allData[0], 0, 300, -4, 128);  // from a hand-edited file
    FillPreviewKeyColors(SelectPreviewRecord(PreviewSource{table, 1, 0}, 0), 0, colors);
    EXPECT_EQ(colors[1], 0xFFFF0080u);
}

TEST(KeyboardPreviewModel, WhichEffectsGetAFrame)
{
    ProfileTable table = {};
    struct Case {
        DWORD support;
        unsigned model;
        int profile, zoneMode, effect;
        bool expected;
    } cases[] = {
        {1, 0, 0, 0, 3, true}, {1, 0, 1, 1, 5, true}, {1, 1, 2, 2, 6, true}, {1, 0, 0, 0, 0, false},
        {1, 0, 1, 1, 2, false}, {1, 2, 1, 1, 0, true}, {1, 2, 2, 2, 4, true}, {1, 2, 1, 1, 2, false},
        {1, 2, 0, 0, 0, false}, {1, 2, 0, 0, 3, true},
        {0, 2, 1, 1, 0, true}, {0, 2, 1, 1, 1, true}, {0, 2, 1, 1, 3, false}, {0, 2, 0, 0, 0, false},
        {0, 0, 1, 1, 0, false}, {0, 0, 0, 0, 3, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(WantsEffectFrame(PreviewSource{table, c.support, c.model}, c.profile, c.zoneMode, c.effect),
                  c.expected)
            << c.support << "/" << c.model << "/" << c.profile << "/" << c.effect;
    }
}

TEST(KeyboardPreviewModel, GradientStops)
{
    const FrameGeometry geometry{516, 90, 390};
    EffectData record = {};
    SetColor(record, 0, 1, 2, 3);
    SetColor(record, 1, 4, 5, 6);
    SetColor(record, 2, 7, 8, 9);
    SetColor(record, 3, 10, 11, 12);
    const COLORREF c1 = RGB(1, 2, 3), c2 = RGB(4, 5, 6), c3 = RGB(7, 8, 9), c4 = RGB(10, 11, 12);
    struct Case {
        const char* name;
        int effect;
        unsigned model;
        DWORD style;
        EffectFrameLayout::Kind kind;
        bool vertical;
        std::vector<float> positions;
        std::vector<COLORREF> colors;
    } cases[] = {
        {"music", 5, 0, kDefaultFrameStyle, EffectFrameLayout::Kind::Gradient, true,
         {190.0f / 516, 290.0f / 516}, {RGB(255, 0, 255), RGB(119, 0, 255)}},
        {"rainbow", 3, 0, kDefaultFrameStyle, EffectFrameLayout::Kind::Gradient, false,
         {0.1f, 0.3f, 0.55f, 0.7f, 0.8f, 0.9f},
         {RGB(255, 0, 255), RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 0), RGB(0, 255, 255), RGB(0, 0, 255)}},
        {"temperature", 6, 0, kDefaultFrameStyle, EffectFrameLayout::Kind::Gradient, true,
         {140.0f / 516, 240.0f / 516, 340.0f / 516}, {RGB(255, 0, 0), RGB(255, 255, 0), RGB(0, 255, 0)}},
        {"six stops", 0, 2, kDefaultFrameStyle, EffectFrameLayout::Kind::Gradient, false,
         {0.267f, 0.387f, 0.542f, 0.662f, 0.75f, 0.87f}, {c1, c2, c2, c3, c3, c4}},
        {"four stops, model 3", 1, 3, kDefaultFrameStyle, EffectFrameLayout::Kind::Gradient, false,
         {0.204f, 0.472f, 0.683f, 0.915f}, {c1, c2, c3, c4}},
        {"four stops, model 4", 4, 4, kFrameStyleSixStop, EffectFrameLayout::Kind::Gradient, false,
         {0.1915f, 0.448f, 0.6435f, 0.887f}, {c1, c2, c3, c4}},
        {"four-stop bit", 0, 2, kFrameStyleFourStop | kFrameStyleSixStop, EffectFrameLayout::Kind::Gradient, false,
         {0.1635f, 0.4645f, 0.706f, 0.905f}, {c1, c2, c3, c4}},
        {"bands", 0, 2, kFrameStyleBands, EffectFrameLayout::Kind::Bands, false,
         {0.1635f, 0.4645f, 0.706f, 0.905f}, {c1, c2, c3, c4}},
        {"no style bit", 0, 2, 0x4, EffectFrameLayout::Kind::None, false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const EffectFrameLayout layout = DescribeEffectFrame(c.effect, &record, c.model, c.style, geometry);
        ASSERT_EQ(layout.kind, c.kind);
        if (c.kind == EffectFrameLayout::Kind::None) continue;
        EXPECT_EQ(layout.vertical, c.vertical);
        ASSERT_EQ(layout.count, int(c.positions.size()));
        for (int i = 0; i < layout.count; ++i) {
            EXPECT_NEAR(layout.positions[i], c.positions[size_t(i)], 1e-4) << i;
            EXPECT_EQ(layout.colors[i], c.colors[size_t(i)]) << i;
        }
    }
    EXPECT_EQ(DescribeEffectFrame(0, nullptr, 2, kDefaultFrameStyle, geometry).kind, EffectFrameLayout::Kind::None);
}

class KeyTables : public ::testing::Test {
protected:
    void TearDown() override { g_fUIScale = 1.0f; }
};

TEST_F(KeyTables, HalfDpiScaling)
{
    struct Case {
        float scale;
        int value, expected;
    } cases[] = {{1.0f, 9, 5}, {1.0f, 8, 4}, {1.0f, 0, 0}, {1.0f, -3, -2}, {2.0f, 9, 9}, {1.25f, 3, 2}, {1.5f, 1795, 1346}};
    for (const Case& c : cases) {
        g_fUIScale = c.scale;
        EXPECT_EQ(ScaleByHalfDpi(c.value), c.expected) << c.scale << " x " << c.value;
    }
}

TEST_F(KeyTables, RectanglesAndOutlines)
{
    RECT rect;
    for (int key : {-1, 153, 0, 14, 140, 148}) EXPECT_FALSE(GetKeyRect(key, &rect, 0)) << key;
    ASSERT_TRUE(GetKeyRect(151, &rect, 1));
    ASSERT_TRUE(GetKeyRect(2, &rect, 0));
    EXPECT_EQ(rect.left, 184);
    ASSERT_TRUE(GetKeyRect(2, &rect, 1));
    EXPECT_EQ(rect.left, 180);

    KeyOutline outline;
    EXPECT_FALSE(GetKeyOutline(151, &outline, 0));
    EXPECT_FALSE(GetKeyOutline(152, &outline, 1));
    EXPECT_FALSE(GetKeyOutline(0, &outline, 0));
    ASSERT_TRUE(GetKeyOutline(61, &outline, 1));
    ASSERT_EQ(outline.count, 7);
    EXPECT_EQ(outline.points[2].x, 493);
    EXPECT_EQ(outline.points[2].y, 675);
    EXPECT_EQ(outline.cornerKinds[1], kSharpCorner);
    EXPECT_EQ(outline.cornerKinds[5], 2);
    ASSERT_TRUE(GetKeyOutline(2, &outline, 0));
    ASSERT_EQ(outline.count, 4);
    const POINT corners[4] = {{184, 183}, {184, 267}, {265, 267}, {265, 183}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(outline.points[i].x, corners[i].x);
        EXPECT_EQ(outline.points[i].y, corners[i].y);
        EXPECT_EQ(outline.cornerKinds[i], i);
    }
}

TEST_F(KeyTables, OffsetOutlinesRingTheKey)
{
    KeyOutline cap, lamp;
    ASSERT_TRUE(GetKeyOutline(2, &cap, 0));
    ASSERT_TRUE(GetKeyOutline(2, &lamp, 1));
    PixelOutline outer, inner, plain;
    BuildKeyOffsetOutline(&cap, &lamp, &outer, 2, 1.0f);
    BuildKeyOffsetOutline(&cap, &lamp, &inner, -2, 0.0f);
    BuildKeyOffsetOutline(&cap, nullptr, &plain, 2, 1.0f);
    ASSERT_EQ(outer.count, 4);
    // lamp (180, 179)-(269, 271) at half size, 2 px further out; cap (184, 183)-(265, 267) 2 px further in
    EXPECT_FLOAT_EQ(outer.points[0].X, 88.0f);
    EXPECT_FLOAT_EQ(outer.points[0].Y, 88.0f);
    EXPECT_FLOAT_EQ(outer.points[2].X, 137.0f);
    EXPECT_FLOAT_EQ(outer.points[2].Y, 138.0f);
    EXPECT_FLOAT_EQ(inner.points[0].X, 94.0f);
    EXPECT_FLOAT_EQ(inner.points[2].X, 131.0f);
    EXPECT_FLOAT_EQ(inner.points[2].Y, 132.0f);
    EXPECT_FLOAT_EQ(plain.points[0].X, 92.0f);
    EXPECT_EQ(plain.cornerKinds[3], 3);
    // the long key keeps its seven vertices and their corner kinds
    ASSERT_TRUE(GetKeyOutline(61, &cap, 0));
    ASSERT_TRUE(GetKeyOutline(61, &lamp, 1));
    BuildKeyOffsetOutline(&cap, &lamp, &outer, 2, 1.0f);
    ASSERT_EQ(outer.count, 7);
    EXPECT_EQ(outer.cornerKinds[1], kSharpCorner);
    EXPECT_FLOAT_EQ(outer.points[6].X, 482.0f);  // 960 / 2 + 2
}

}  // namespace
