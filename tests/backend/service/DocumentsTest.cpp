#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "backend/service/ServiceDocuments.h"

namespace {

struct HslCase {
    const char* name;
    float r, g, b;
    float hue, saturation, lightness;
};

class RgbToHsl : public testing::TestWithParam<HslCase> {};

TEST_P(RgbToHsl, GivesHueAsAFractionOfATurn)
{
    const HslCase& c = GetParam();
    LedRecord record;
    RGBToHSL(c.r, c.g, c.b, record);
    EXPECT_NEAR(record.hue, c.hue, 1e-5f);
    EXPECT_NEAR(record.saturation, c.saturation, 1e-5f);
    EXPECT_NEAR(record.lightness, c.lightness, 1e-5f);
    EXPECT_GE(record.hue, 0.0f);
    EXPECT_LT(record.hue, 1.0f);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, RgbToHsl,
    testing::Values(HslCase{"Red", 255, 0, 0, 0.0f, 1.0f, 0.5f}, HslCase{"Green", 0, 255, 0, 1.0f / 3, 1.0f, 0.5f},
                    HslCase{"Blue", 0, 0, 255, 2.0f / 3, 1.0f, 0.5f}, HslCase{"Cyan", 0, 255, 255, 0.5f, 1.0f, 0.5f},
                    // Red and blue tie for the maximum: the red branch wins.
                    HslCase{"Magenta", 255, 0, 255, 300.0f / 360, 1.0f, 0.5f},
                    HslCase{"Yellow", 255, 255, 0, 60.0f / 360, 1.0f, 0.5f},
                    HslCase{"RoseNegativeSixths", 255, 0, 128, (360.0f - 60.0f * 128 / 255) / 360, 1.0f, 0.5f},
                    HslCase{"Orange", 255, 128, 0, (60.0f * 128 / 255) / 360, 1.0f, 0.5f},
                    HslCase{"DarkBelowHalf", 100, 50, 50, 0.0f, 50.0f / 150, 75.0f / 255},
                    HslCase{"LightAboveHalf", 255, 200, 200, 0.0f, 1.0f, 455.0f / 510},
                    HslCase{"White", 255, 255, 255, 0.0f, 0.0f, 1.0f}, HslCase{"Black", 0, 0, 0, 0.0f, 0.0f, 0.0f},
                    HslCase{"Grey", 128, 128, 128, 0.0f, 0.0f, 128.0f / 255},
                    // Out-of-range channels are clamped to 0..255 first.
                    HslCase{"TooBrightRed", 510, 0, 0, 0.0f, 1.0f, 0.5f},
                    HslCase{"NegativeGreen", 255, -255, 0, 0.0f, 1.0f, 0.5f},
                    HslCase{"AllNegative", -5, -5, -300, 0.0f, 0.0f, 0.0f},
                    HslCase{"HugeAndNegative", 1e30f, 1e30f, -7, 60.0f / 360, 1.0f, 0.5f},
                    HslCase{"NanAndInfinity", std::numeric_limits<float>::quiet_NaN(),
                            std::numeric_limits<float>::infinity(), 0, 1.0f / 3, 1.0f, 0.5f}),
    [](const testing::TestParamInfo<HslCase>& info) { return std::string(info.param.name); });

// Every byte-valued triple gives finite values in range.
TEST(RgbToHslRange, AllByteColoursStayInRange)
{
    LedRecord record;
    for (int r = 0; r < 256; r += 5) {
        for (int g = 0; g < 256; g += 3) {
            for (int b = 0; b < 256; b += 7) {
                RGBToHSL(static_cast<float>(r), static_cast<float>(g), static_cast<float>(b), record);
                ASSERT_TRUE(record.hue >= 0.0f && record.hue < 1.0f) << r << "," << g << "," << b;
                ASSERT_TRUE(record.saturation >= 0.0f && record.saturation <= 1.0f) << r << "," << g << "," << b;
                ASSERT_TRUE(record.lightness >= 0.0f && record.lightness <= 1.0f) << r << "," << g << "," << b;
            }
        }
    }
}

TEST(ServiceMapping, EffectIndexToServiceMode)
{
    const std::pair<int, long long> cases[] = {{-2, -1}, {-1, 0}, {0, 1}, {1, 2}, {2, 4}, {3, 5}, {4, 17},
                                               {5, 19},  {6, 18}, {7, 8}, {8, 9}, {2147483647, 2147483648LL}};
    for (const auto& c : cases) EXPECT_EQ(service::ServiceModeFromEffectIndex(c.first), c.second) << c.first;
}

TEST(ServiceMapping, MusicTypeAndSpeedType)
{
    const int music[] = {3, 6, 5, 1, 7, 4, 2, 0};
    for (int type = 0; type < 8; ++type) EXPECT_EQ(service::MusicIndexFromMusicType(type), music[type]) << type;
    for (int type : {-1, 8, 1000, -2147483647 - 1}) EXPECT_EQ(service::MusicIndexFromMusicType(type), 0) << type;
    const std::pair<int, int> speeds[] = {{0, 0}, {1, -2}, {2, 0}, {3, 2}, {4, 0}, {-1, 0}};
    for (const auto& s : speeds) EXPECT_EQ(service::EffectSpeedFromSpeedType(s.first), s.second) << s.first;
}

TEST(ServiceText, UnitsAndBytesMapOneToOne)
{
    std::wstring units{L'<', wchar_t(0x0141), wchar_t(0x00FF), wchar_t(0xFF00), L'>'};
    EXPECT_EQ(service::NarrowUnits(units), std::string("<A\xFF\0>", 5));
    std::string bytes("a\x80\xFF", 3);
    EXPECT_EQ(service::WidenBytes(bytes), (std::wstring{L'a', wchar_t(0x80), wchar_t(0xFF)}));
}

}  // namespace
