#include <gtest/gtest.h>

#include <cmath>

#include "ui/colorpicker/PickerGeometry.h"

namespace {

float Distance(Gdiplus::PointF p, Gdiplus::PointF q)
{
    return std::hypot(p.X - q.X, p.Y - q.Y);
}

TEST(PickerGeometry, LengthsFollowTheScale)
{
    const struct {
        float scale;
        float radius, ring, margin, gradient, triangleRadius;
    } cases[] = {
        {1.0f, 200, 24, 10, 50, 156},
        {1.25f, 250, 30, 13, 63, 194},  // 12.5 rounds half up
        {2.0f, 400, 48, 20, 100, 312},
    };
    for (const auto& c : cases) {
        const PickerGeometry g = PickerGeometry::For(413, 413, c.scale);
        EXPECT_EQ(g.radius, c.radius) << c.scale;
        EXPECT_EQ(g.ringWidth, c.ring) << c.scale;
        EXPECT_EQ(g.triangleMargin, c.margin) << c.scale;
        EXPECT_EQ(g.gradientSize, c.gradient) << c.scale;
        EXPECT_EQ(g.TriangleRadius(), c.triangleRadius) << c.scale;
    }
    EXPECT_EQ(ScaledLength(22.5f, 1.0f), 23.0f);
}

TEST(PickerGeometry, TriangleAtScaleOne)
{
    const PickerGeometry g = PickerGeometry::For(413, 413, 1.0f);
    EXPECT_FLOAT_EQ(g.centre.X, 206.5f);
    EXPECT_FLOAT_EQ(g.centre.Y, 206.5f);
    EXPECT_NEAR(g.side, 270.2f, 0.05f);
    EXPECT_NEAR(g.side / g.gradientSize + 0.4f, 5.80f, 0.005f);
    // B at 3 o'clock, A up and left, C down and left, on one vertical line.
    EXPECT_FLOAT_EQ(g.b.X, 206.5f + 156.0f);
    EXPECT_FLOAT_EQ(g.b.Y, 206.5f);
    EXPECT_NEAR(g.a.X, 206.5f - 78.0f, 1e-3f);
    EXPECT_NEAR(g.c.X, 206.5f - 78.0f, 1e-3f);
    EXPECT_LT(g.a.Y, g.c.Y);
    EXPECT_NEAR(Distance(g.a, g.b), g.side, 1e-3f);
    EXPECT_NEAR(Distance(g.b, g.c), g.side, 1e-3f);
}

TEST(PickerGeometry, SixthTurnTables)
{
    for (int k = 0; k < 6; ++k) {
        EXPECT_FLOAT_EQ(g_afCos60[k], std::cos(static_cast<float>(k) * 3.14159265f / 3.0f));
        EXPECT_FLOAT_EQ(g_afSin60[k], std::sin(static_cast<float>(k) * 3.14159265f / 3.0f));
    }
}

TEST(SVMarker, CornersAndEdges)
{
    const PickerGeometry g = PickerGeometry::For(413, 413, 1.0f);
    const struct {
        float s, v;
        Gdiplus::PointF expected;
    } cases[] = {
        {1, 1, g.b},
        {0, 1, g.c},
        {0, 0, g.a},
        {0.7f, 0, g.a},
        {0, 0.5f, Gdiplus::PointF((g.a.X + g.c.X) / 2, (g.a.Y + g.c.Y) / 2)},
        {1, 0.5f, Gdiplus::PointF((g.a.X + g.b.X) / 2, (g.a.Y + g.b.Y) / 2)},
        {0.5f, 1, Gdiplus::PointF((g.b.X + g.c.X) / 2, (g.b.Y + g.c.Y) / 2)},
    };
    for (const auto& c : cases) {
        const Gdiplus::PointF m = SVMarkerFromSV(g, c.s, c.v);
        EXPECT_NEAR(m.X, c.expected.X, 2e-3f) << c.s << " " << c.v;
        EXPECT_NEAR(m.Y, c.expected.Y, 2e-3f) << c.s << " " << c.v;
    }
}

TEST(SVMarker, BackFromTheMarkerCutToThreeDecimals)
{
    const PickerGeometry g = PickerGeometry::For(413, 413, 1.0f);
    for (float s : {0.0f, 0.1f, 0.25f, 0.5f, 0.9f, 1.0f}) {
        for (float v : {0.05f, 0.3f, 0.5f, 0.75f, 1.0f}) {
            float backS = -1, backV = -1;
            SVFromMarker(g, SVMarkerFromSV(g, s, v), backS, backV);
            EXPECT_NEAR(backS, s, 1.01e-3f) << s << " " << v;
            EXPECT_NEAR(backV, v, 1.01e-3f) << s << " " << v;
            EXPECT_EQ(backS, std::trunc(backS * 1000.0f) / 1000.0f);
            EXPECT_EQ(backV, std::trunc(backV * 1000.0f) / 1000.0f);
        }
    }
    float s = -1, v = -1;
    SVFromMarker(g, SVMarkerFromSV(g, 0.99987f, 1.0f), s, v);
    EXPECT_EQ(s, 0.999f);
    SVFromMarker(g, g.a, s, v);  // the angle is taken as 0 on the black corner
    EXPECT_EQ(s, 0.0f);
    EXPECT_EQ(v, 0.0f);
}

TEST(SVMarker, NoiseOutsideTheTriangleStaysInRange)
{
    const PickerGeometry g = PickerGeometry::For(413, 413, 1.0f);
    const Gdiplus::PointF outside[] = {
        Gdiplus::PointF(g.b.X + 0.01f, g.b.Y),         // just past the pure-hue corner
        Gdiplus::PointF(g.c.X, g.c.Y + 0.01f),         // just past the white corner along A-C
        Gdiplus::PointF(g.a.X, g.a.Y + 1e-4f),         // a hair from A straight down: ratio about 1
        Gdiplus::PointF(g.a.X - 3.0f, g.a.Y - 40.0f),  // well outside
    };
    for (const auto& m : outside) {
        float s = -1, v = -1;
        SVFromMarker(g, m, s, v);
        EXPECT_TRUE(s >= 0.0f && s <= 1.0f) << m.X << "," << m.Y << " s " << s;
        EXPECT_TRUE(v >= 0.0f && v <= 1.0f) << m.X << "," << m.Y << " v " << v;
    }
}

TEST(HueFromPoint, ClockPositions)
{
    const Gdiplus::PointF centre(100, 100);
    const struct {
        float x, y, hue;
    } cases[] = {
        {150, 100, 0}, {100, 150, 90}, {50, 100, 180}, {100, 50, 270}, {150, 150, 45}, {150, 50, 315},
        {150, 100 - 1e-5f, 0},  // a hair above 3 o'clock would be 360 itself
    };
    for (const auto& c : cases) {
        const float hue = HueFromPoint(centre, c.x, c.y);
        EXPECT_NEAR(hue, c.hue, 1e-3f) << c.x << "," << c.y;
        EXPECT_TRUE(hue >= 0.0f && hue < 360.0f) << hue;
    }
    EXPECT_EQ(WrapHue(370.0), 10.0f);
    EXPECT_EQ(WrapHue(-10.0), 350.0f);
    EXPECT_EQ(WrapHue(360.0), 0.0f);
    EXPECT_EQ(WrapHue(-360.0), 0.0f);
}

TEST(ClampMarker, NearestPointOfTheTriangle)
{
    const PickerGeometry g = PickerGeometry::For(413, 413, 1.0f);
    const Gdiplus::PointF midAC((g.a.X + g.c.X) / 2, (g.a.Y + g.c.Y) / 2);
    const Gdiplus::PointF midBC((g.b.X + g.c.X) / 2, (g.b.Y + g.c.Y) / 2);
    const Gdiplus::PointF inside(g.centre.X, g.centre.Y);
    const struct {
        Gdiplus::PointF marker, expected;
    } cases[] = {
        {inside, inside},
        {Gdiplus::PointF(g.b.X + 30, g.b.Y), g.b},                 // beyond the pure-hue corner
        {Gdiplus::PointF(g.a.X - 10, g.a.Y - 30), g.a},            // beyond the black corner
        {Gdiplus::PointF(g.c.X - 5, g.c.Y + 40), g.c},             // beyond the white corner
        {Gdiplus::PointF(midAC.X - 25, midAC.Y), midAC},           // left of the A-C edge
        {Gdiplus::PointF(midBC.X + 0.5f * 20, midBC.Y + 0.866025f * 20), midBC},  // out from B-C
    };
    for (const auto& c : cases) {
        const Gdiplus::PointF p = ClampMarkerToTriangle(g, c.marker);
        EXPECT_NEAR(p.X, c.expected.X, 1e-2f) << c.marker.X << "," << c.marker.Y;
        EXPECT_NEAR(p.Y, c.expected.Y, 1e-2f) << c.marker.X << "," << c.marker.Y;
    }
}

TEST(HueTarget, GoesTheShortWayRound)
{
    const struct {
        float current, target, expected;
    } cases[] = {
        {350, 10, 370}, {10, 350, -10}, {0, 180, 180}, {180, 0, 360}, {90, 100, 100},
        {100, 90, 90},  {0, 270, -90},  {270, 0, 360}, {45, 45, 45},  {359, 1, 361},
    };
    for (const auto& c : cases)
        EXPECT_EQ(HueTargetTheShortWay(c.current, c.target), c.expected) << c.current << " -> " << c.target;
}

}  // namespace
