#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "ui/colorpicker/HSVColor.h"

namespace {

struct Rgb {
    float r, g, b;
};

Rgb ToRgb(float h, float s, float v)
{
    Rgb out{-1, -1, -1};
    HsvToRgb(h, s, v, out.r, out.g, out.b);
    return out;
}

struct HsvToRgbCase {
    float h, s, v;
    float r, g, b;
};

TEST(HsvToRgb, WorkedValues)
{
    const HsvToRgbCase cases[] = {
        {0, 1, 1, 255, 0, 0},       {120, 1, 1, 0, 255, 0},     {240, 1, 1, 0, 0, 255},
        {0, 0, 1, 255, 255, 255},   {200, 0, 1, 255, 255, 255}, {0, 1, 0, 0, 0, 0},
        {300, 0.5f, 0, 0, 0, 0},    {60, 1, 1, 255, 255, 0},    {300, 1, 1, 255, 0, 255},
        // a whole turn and its multiples behave as 0
        {360, 1, 1, 255, 0, 0},     {720, 1, 1, 255, 0, 0},
        // one case per sector
        {30, 1, 1, 255, 128, 0},    {90, 1, 1, 128, 255, 0},    {150, 1, 1, 0, 255, 128},
        {210, 1, 1, 0, 128, 255},   {270, 1, 1, 128, 0, 255},   {330, 1, 1, 255, 0, 128},
        {0, 0, 0.5f, 128, 128, 128},
    };
    for (const auto& c : cases) {
        const Rgb out = ToRgb(c.h, c.s, c.v);
        EXPECT_EQ(out.r, c.r) << c.h << " " << c.s << " " << c.v;
        EXPECT_EQ(out.g, c.g) << c.h << " " << c.s << " " << c.v;
        EXPECT_EQ(out.b, c.b) << c.h << " " << c.s << " " << c.v;
    }
}

TEST(HsvToRgb, CutsAtTheThirdDecimalThenRoundsHalvesUp)
{
    const struct {
        float channel;  // what (p + m) x 255 works out to
        float expected;
    } cases[] = {{127.4999f, 127}, {127.5f, 128}, {127.5004f, 128}, {0.5f, 1}, {0.4999f, 0}, {254.5f, 255}};
    for (const auto& c : cases) EXPECT_EQ(ToRgb(0, 0, c.channel / 255.0f).r, c.expected) << c.channel;
}

TEST(HsvToRgb, NoiseAboveOneStaysInTheChannelRange)
{
    // A value a hair above 1 must not make a channel of 256, whose low byte is 0.
    const Rgb white = ToRgb(0, 0, 1.002f);
    EXPECT_EQ(white.r, 255.0f);
    EXPECT_EQ(HsvToArgb(0, 0, 1.002f), 0xFFFFFFFFu);
    EXPECT_EQ(HsvToArgb(0, 1.01f, 1.0f), 0xFFFF0000u);
    EXPECT_EQ(HsvToArgb(120, 1.0f, -0.001f), 0xFF000000u);
}

struct RgbToHsvCase {
    uint32_t argb;
    float h, s, v;
};

TEST(RgbToHsv, WorkedValues)
{
    const RgbToHsvCase cases[] = {
        {0xFFFF0000, 0, 1, 1},   {0xFF0000FF, 240, 1, 1}, {0xFF00FF00, 120, 1, 1}, {0xFFFFFFFF, 0, 0, 1},
        {0xFF000000, 0, 0, 0},   {0x00000000, 0, 0, 0},
        // yellow: red and green tie, the red case takes it
        {0xFFFFFF00, 60, 1, 1},
        // magenta: fmod(-1, 6) = -1, so -60 before the last step
        {0xFFFF00FF, 300, 1, 1},
        // cyan: green and blue tie, the green case takes it
        {0xFF00FFFF, 180, 1, 1},
    };
    for (const auto& c : cases) {
        const HSVColor hsv(c.argb);
        EXPECT_EQ(hsv.H, c.h) << std::hex << c.argb;
        EXPECT_EQ(hsv.S, c.s) << std::hex << c.argb;
        EXPECT_EQ(hsv.V, c.v) << std::hex << c.argb;
    }
}

TEST(RgbToHsv, GreyHasNoHueOrSaturation)
{
    for (uint32_t grey : {1u, 77u, 128u, 254u}) {
        const HSVColor hsv(0xFF000000u | grey << 16 | grey << 8 | grey);
        EXPECT_EQ(hsv.H, 0.0f);
        EXPECT_EQ(hsv.S, 0.0f);
        EXPECT_EQ(hsv.V, static_cast<float>(grey) / 255.0f);
    }
}

TEST(HSVColor, EqualityIsExact)
{
    EXPECT_EQ(HSVColor(10, 0.5f, 0.5f), HSVColor(10, 0.5f, 0.5f));
    EXPECT_NE(HSVColor(10, 0.5f, 0.5f), HSVColor(10, std::nextafter(0.5f, 1.0f), 0.5f));
    EXPECT_NE(HSVColor(10, 0.5f, 0.5f), HSVColor(10.0001f, 0.5f, 0.5f));
}

TEST(HSVColor, PackingIsAlwaysOpaque)
{
    for (uint32_t argb : {0x00123456u, 0x7FABCDEFu, 0x01FFFFFFu}) {
        EXPECT_EQ(HsvToArgb(HSVColor(argb)), 0xFF000000u | (argb & 0x00FFFFFFu)) << std::hex << argb;
    }
}

TEST(HSVColor, EveryColourSurvivesTheRoundTrip)
{
    uint32_t failures = 0, first = 0;
    for (uint32_t rgb = 0; rgb < (1u << 24); ++rgb) {
        const HSVColor hsv(rgb);
        if (HsvToArgb(hsv) != (0xFF000000u | rgb)) {
            if (failures++ == 0) first = rgb;
        }
        if (!(hsv.H >= 0.0f && hsv.H < 360.0f) || hsv.S < 0.0f || hsv.S > 1.0f || hsv.V < 0.0f || hsv.V > 1.0f) {
            if (failures++ == 0) first = rgb;
        }
    }
    EXPECT_EQ(failures, 0u) << "first failing colour " << std::hex << first;
}

}  // namespace
