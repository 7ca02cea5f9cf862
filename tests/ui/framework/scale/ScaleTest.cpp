// Screen classes, scale factors and the layout rounding.
#include <windows.h>

#include <gtest/gtest.h>

#include "ui/framework/core/Control.h"
#include "ui/framework/scale/Scale.h"

namespace {

// Keeps the scale globals of one test from reaching the next.
class ScaleGlobals : public testing::Test {
protected:
    void SetUp() override
    {
        m_class = g_nResolutionClass;
        m_image = g_fImageScaleBase;
        m_font = g_fFontScaleBase;
        m_ui = g_fUIScale;
    }
    void TearDown() override
    {
        g_nResolutionClass = m_class;
        g_fImageScaleBase = m_image;
        g_fFontScaleBase = m_font;
        g_fUIScale = m_ui;
    }

private:
    int m_class = 0;
    float m_image = 0, m_font = 0, m_ui = 0;
};

TEST(ResolutionClass, EachThresholdHoldsInBothOrientations)
{
    struct Case {
        int width, height, expected;
    } cases[] = {
        {1920, 1080, 0}, {1920, 1200, 0}, {1921, 1080, 0}, {1921, 1081, 1}, {1081, 1921, 1}, {2560, 1440, 1},
        {2560, 1599, 1}, {2560, 1600, 2}, {1600, 2560, 2}, {3839, 2160, 2}, {3840, 2160, 3}, {2160, 3840, 3},
        {7680, 4320, 3}, {0, 0, 0},       {1280, 800, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(GetResolutionClass(c.width, c.height), c.expected) << c.width << "x" << c.height;
}

TEST(ResolutionClass, ClassZeroScaleComesFromTheSmallerDpiAbove120)
{
    struct Case {
        int dpiX, dpiY;
        float expected;
    } cases[] = {{96, 96, 1.0f}, {120, 120, 1.0f}, {121, 121, 1.25f}, {144, 144, 1.25f}, {144, 120, 1.0f}, {192, 192, 1.25f}};
    for (const Case& c : cases) EXPECT_EQ(ClassZeroScaleForDpi(c.dpiX, c.dpiY), c.expected) << c.dpiX << "/" << c.dpiY;
}

TEST_F(ScaleGlobals, EachClassSetsItsImageFontAndLayoutScales)
{
    struct Case {
        int resolutionClass;
        float classZero, image, font, ui;
    } cases[] = {
        {3, 1.0f, 1.0f, 2.0f, 2.0f},      {2, 1.0f, 0.75f, 1.5f, 1.5f},     {1, 1.0f, 1.25f, 1.25f, 1.25f},
        {0, 1.0f, 1.0f, 1.0f, 1.0f},      {0, 1.25f, 1.25f, 1.25f, 1.25f},  {2, 1.25f, 0.75f, 1.5f, 1.5f},
    };
    for (const Case& c : cases) {
        InitScaleFactorsFor(c.resolutionClass, c.classZero);
        EXPECT_EQ(g_fImageScaleBase, c.image) << c.resolutionClass;
        EXPECT_EQ(g_fFontScaleBase, c.font) << c.resolutionClass;
        EXPECT_EQ(g_fUIScale, c.ui) << c.resolutionClass;
    }
    g_nResolutionClass = 3;
    InitScaleFactors();
    EXPECT_EQ(g_fUIScale, 2.0f);
}

TEST(ScaleValue, RoundsHalfAwayFromZero)
{
    struct Case {
        int value;
        float scale;
        int expected;
    } cases[] = {
        {1, 1.25f, 1},  {2, 1.25f, 3},   {0, 1.25f, 0},  {-2, 1.25f, -3}, {-1, 1.25f, -1}, {17, 1.5f, 26},
        {-17, 1.5f, -26}, {5, 1.0f, 5},  {3, 0.75f, 2},  {1400, 0.75f, 1050}, {111, 2.0f, 222}, {10, 1.25f, 13},
    };
    for (const Case& c : cases) EXPECT_EQ(ScaleValue(c.value, c.scale), c.expected) << c.value << " x " << c.scale;
}

TEST(ScaleValue, StaysInRangeForHugeProducts)
{
    EXPECT_EQ(ScaleValue(INT_MAX, 2.0f), INT_MAX);
    EXPECT_EQ(ScaleValue(INT_MIN, 2.0f), INT_MIN);
}

TEST_F(ScaleGlobals, ScaleByDpiAndScaleThicknessReadTheLayoutScale)
{
    InitScaleFactorsFor(1, 1.0f);
    EXPECT_EQ(ScaleByDpi(2), 3);
    EXPECT_EQ(ScaleByDpi(-2), -3);

    Control::Thickness edges(1, 2, 0, -2);
    ScaleThickness(edges);
    EXPECT_EQ(edges.left, 1);
    EXPECT_EQ(edges.top, 3);
    EXPECT_EQ(edges.right, 0);
    EXPECT_EQ(edges.bottom, -3);

    InitScaleFactorsFor(2, 1.0f);
    RECT rect = {17, 0, 287, 514};
    ScaleThickness(rect);
    EXPECT_EQ(rect.left, 26);
    EXPECT_EQ(rect.top, 0);
    EXPECT_EQ(rect.right, 431);
    EXPECT_EQ(rect.bottom, 771);
}

}  // namespace
