// Caption drawing: the style and alignment tables, the string format, and
// what lands in a 32-bpp DIB (place, colour, size, family), measuring, and
// the cases that must draw nothing.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "platform/win/Dib.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/language/Language.h"

namespace {

using Gdiplus::StringAlignmentCenter;
using Gdiplus::StringAlignmentFar;
using Gdiplus::StringAlignmentNear;

// GDI+ once for the whole run: the generic family is kept for the process.
class GdiplusEnvironment : public testing::Environment {
public:
    void SetUp() override
    {
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&m_token, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override
    {
        if (m_token) Gdiplus::GdiplusShutdown(m_token);
    }

private:
    ULONG_PTR m_token = 0;
};
testing::Environment* const g_gdiplus = testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

struct InkBox {
    int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;  // right and bottom inclusive
    bool Empty() const { return right < 0; }
    double CenterX() const { return (left + right) / 2.0; }
    double CenterY() const { return (top + bottom) / 2.0; }
};

// A black top-down 32-bpp DIB with a GDI+ graphics on it.
class Canvas {
public:
    Canvas(int width, int height) : m_width(width), m_height(height)
    {
        BITMAPINFO info = platform::Dib32Info(width, -height);
        void* bits = nullptr;
        m_bitmap.Reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        m_bits = static_cast<uint32_t*>(bits);
        m_dc.Reset(CreateCompatibleDC(nullptr));
        if (m_dc && m_bitmap) m_old = SelectObject(m_dc.Get(), m_bitmap.Get());
        if (m_bits) std::memset(m_bits, 0, static_cast<size_t>(width) * height * 4);
        m_graphics.reset(new Gdiplus::Graphics(m_dc.Get()));
        // One bit per pixel: every inked pixel is the brush colour over black.
        m_graphics->SetTextRenderingHint(Gdiplus::TextRenderingHintSingleBitPerPixelGridFit);
    }
    ~Canvas()
    {
        m_graphics.reset();
        if (m_old) SelectObject(m_dc.Get(), m_old);
    }
    bool Ok() const { return m_bits && m_old && m_graphics->GetLastStatus() == Gdiplus::Ok; }
    Gdiplus::Graphics* Graphics() { return m_graphics.get(); }
    int Width() const { return m_width; }
    int Height() const { return m_height; }

    uint32_t Rgb(int x, int y)
    {
        GdiFlush();
        return m_bits[static_cast<size_t>(y) * m_width + x] & 0x00FFFFFFu;
    }
    InkBox Ink()
    {
        InkBox box;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                if (!Rgb(x, y)) continue;
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
        }
        return box;
    }
    // The brightest inked pixel (by its largest channel).
    uint32_t Brightest()
    {
        uint32_t best = 0;
        int bestLevel = 0;
        for (int y = 0; y < m_height; ++y) {
            for (int x = 0; x < m_width; ++x) {
                uint32_t c = Rgb(x, y);
                int level = std::max({int(c >> 16), int((c >> 8) & 0xFF), int(c & 0xFF)});
                if (level > bestLevel) {
                    bestLevel = level;
                    best = c;
                }
            }
        }
        return best;
    }

private:
    int m_width, m_height;
    platform::UniqueBitmap m_bitmap;
    platform::UniqueHdc m_dc;
    HGDIOBJ m_old = nullptr;
    uint32_t* m_bits = nullptr;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;
};

// Each test sets the language and font scale it needs; they are put back.
class TextDraw : public testing::Test {
protected:
    void SetUp() override
    {
        m_savedLang = g_nLangIndexUI;
        m_savedScale = g_fFontScale;
        g_nLangIndexUI = 1;
        g_fFontScale = 1.0f;
    }
    void TearDown() override
    {
        g_nLangIndexUI = m_savedLang;
        g_fFontScale = m_savedScale;
    }
    // Measured size of text in a roomy rectangle.
    static Gdiplus::RectF Measure(int style, const wchar_t* text = L"Lighting")
    {
        Canvas canvas(8, 8);
        Gdiplus::RectF bounds;
        EXPECT_TRUE(DrawTextGdiplus(canvas.Graphics(), Gdiplus::RectF(0, 0, 1000, 500), text, 0, style, &bounds, true));
        return bounds;
    }

    int m_savedLang = 0;
    float m_savedScale = 0;
};

const Gdiplus::RectF kBox(20, 10, 260, 60);

TEST(TextAlignmentTable, IndexGivesHorizontalThenVerticalAndOutOfRangeIsNear)
{
    struct Case {
        int index;
        Gdiplus::StringAlignment horizontal, vertical;
    } cases[] = {
        {0, StringAlignmentNear, StringAlignmentNear},     {1, StringAlignmentCenter, StringAlignmentNear},
        {2, StringAlignmentFar, StringAlignmentNear},      {3, StringAlignmentNear, StringAlignmentCenter},
        {4, StringAlignmentCenter, StringAlignmentCenter}, {5, StringAlignmentFar, StringAlignmentCenter},
        {6, StringAlignmentNear, StringAlignmentFar},      {7, StringAlignmentCenter, StringAlignmentFar},
        {8, StringAlignmentFar, StringAlignmentFar},       {9, StringAlignmentNear, StringAlignmentNear},
        {100, StringAlignmentNear, StringAlignmentNear},   {-1, StringAlignmentNear, StringAlignmentNear},
    };
    for (const Case& c : cases) {
        TextAlignment a = TextAlignmentForIndex(c.index);
        EXPECT_EQ(a.horizontal, c.horizontal) << c.index;
        EXPECT_EQ(a.vertical, c.vertical) << c.index;
    }
}

TEST(TextStyleTable, SizeWeightAndColourOfEveryKnownId)
{
    struct Case {
        int id;
        float size;
        bool bold;
        Gdiplus::ARGB color;
    } cases[] = {
        {31, 17, true, 0xBFFFFFFF},  {32, 17, true, 0xFFFFFFFF},  {33, 17, true, 0xFFFF0000},
        {34, 17, true, 0xFFFF252F},  {35, 17, true, 0xFFFFFFFF},  {42, 17, true, 0xFFFFFFFF},
        {43, 14, false, 0xFFFFFFFF}, {44, 18, true, 0xFF922734},  {45, 18, true, 0xFF28B1AA},
        {46, 18, true, 0xFFFFFFFF},  {51, 17, true, 0xFFFFFFFF},  {52, 17, true, 0xCCFFFFFF},
        {53, 14, false, 0xFFFFFFFF},
    };
    for (const Case& c : cases) {
        TextStyle style{};
        ASSERT_TRUE(GetTextStyle(c.id, 1, style)) << c.id;
        EXPECT_EQ(style.size, c.size) << c.id;
        EXPECT_EQ(style.bold, c.bold) << c.id;
        EXPECT_EQ(style.color, c.color) << c.id;
        EXPECT_EQ(style.fallbackFont, c.id == 31 || c.id == 32) << c.id;
    }
    const Gdiplus::ARGB byDigit[9] = {0xFFFFFFFF, 0x08FF0000, 0x03FF0000, 0x01FF0000, 0x4DFFFFFF,
                                      0xFFFFFFFF, 0x0CFF0000, 0x05FF0000, 0x02FF0000};
    const float familySize[3] = {17, 14, 14};
    for (int family = 0; family < 3; ++family) {
        for (int digit = 0; digit <= 8; ++digit) {
            int id = 210 + family * 10 + digit;
            TextStyle style{};
            ASSERT_TRUE(GetTextStyle(id, 1, style)) << id;
            EXPECT_EQ(style.size, familySize[family]) << id;
            EXPECT_TRUE(style.bold) << id;
            EXPECT_EQ(style.color, byDigit[digit]) << id;
            EXPECT_FALSE(style.fallbackFont) << id;
        }
    }
    for (int id : {0, 30, 36, 41, 47, 50, 54, 99, 209, 219, 229, 239, 240, 2100, -31}) {
        TextStyle style{};
        EXPECT_FALSE(GetTextStyle(id, 1, style)) << id;
    }
}

TEST(TextStyleTable, Style23xShrinksForSomeLanguages)
{
    struct Case {
        int lang;
        float size;
    } cases[] = {{1, 14}, {9, 14}, {13, 13}, {14, 13}, {21, 13}, {16, 12}, {20, 12}, {15, 14}, {22, 14}};
    for (const Case& c : cases) {
        TextStyle style{}, other{};
        ASSERT_TRUE(GetTextStyle(235, c.lang, style));
        EXPECT_EQ(style.size, c.size) << c.lang;
        ASSERT_TRUE(GetTextStyle(225, c.lang, other));
        EXPECT_EQ(other.size, 14) << c.lang;  // only the 23x family changes
    }
}

TEST(TextStyleTable, FamilyFollowsLanguageExceptStyle53)
{
    for (int lang : {0, 1, 4, 8, 9, 10}) {
        for (int id : {31, 43, 53, 230}) {
            TextStyle style{};
            ASSERT_TRUE(GetTextStyle(id, lang, style));
            bool gothic = lang == 9 && id != 53;
            EXPECT_STREQ(style.family, gothic ? L"MS UI Gothic" : L"Segoe UI") << id << " at " << lang;
        }
    }
}

TEST(TextFormat, EllipsisAlignmentsAndRightToLeftOnlyForLanguage4)
{
    for (int lang : {0, 1, 3, 4, 5, 9}) {
        for (int alignment : {0, 4, 8, 9}) {
            Gdiplus::StringFormat format(0, LANG_NEUTRAL);
            SetupTextFormat(format, alignment, lang);
            TextAlignment expected = TextAlignmentForIndex(alignment);
            EXPECT_EQ(format.GetTrimming(), Gdiplus::StringTrimmingEllipsisCharacter);
            EXPECT_EQ(format.GetAlignment(), expected.horizontal) << alignment;
            EXPECT_EQ(format.GetLineAlignment(), expected.vertical) << alignment;
            EXPECT_EQ(format.GetFormatFlags(), lang == 4 ? Gdiplus::StringFormatFlagsDirectionRightToLeft : 0)
                << lang;
        }
    }
}

// place: -1 near edge, 0 centred, 1 far edge, judged by the gaps to both edges.
void ExpectPlaced(double nearGap, double farGap, int place, const char* axis, int alignment)
{
    const double edgeSlack = 8, centreSlack = 6;
    if (place < 0) {
        EXPECT_LT(nearGap, edgeSlack) << axis << " " << alignment;
        EXPECT_GT(farGap, nearGap) << axis << " " << alignment;
    } else if (place > 0) {
        EXPECT_LT(farGap, edgeSlack) << axis << " " << alignment;
        EXPECT_GT(nearGap, farGap) << axis << " " << alignment;
    } else {
        EXPECT_NEAR(nearGap, farGap, centreSlack) << axis << " " << alignment;
    }
}

TEST_F(TextDraw, DrawsInsideTheBoxAndAlignmentMovesTheText)
{
    struct Case {
        int alignment;
        int horizontal, vertical;  // -1 near edge, 0 centre, 1 far edge
    } cases[] = {{0, -1, -1}, {1, 0, -1}, {2, 1, -1}, {3, -1, 0}, {4, 0, 0},
                 {5, 1, 0},   {6, -1, 1}, {7, 0, 1},  {8, 1, 1},  {9, -1, -1}};
    for (const Case& c : cases) {
        Canvas canvas(300, 80);
        ASSERT_TRUE(canvas.Ok());
        ASSERT_TRUE(DrawTextGdiplus(canvas.Graphics(), kBox, L"Keyboard", c.alignment, 42));
        InkBox ink = canvas.Ink();
        ASSERT_FALSE(ink.Empty()) << c.alignment;
        EXPECT_GE(ink.left, kBox.X) << c.alignment;
        EXPECT_GE(ink.top, kBox.Y) << c.alignment;
        EXPECT_LT(ink.right, kBox.GetRight()) << c.alignment;
        EXPECT_LT(ink.bottom, kBox.GetBottom()) << c.alignment;

        // Near and far leave the text within a few pixels of their edge
        // (glyph side bearings and line spacing); centre splits the slack.
        ExpectPlaced(ink.left - kBox.X, kBox.GetRight() - 1 - ink.right, c.horizontal, "horizontal", c.alignment);
        ExpectPlaced(ink.top - kBox.Y, kBox.GetBottom() - 1 - ink.bottom, c.vertical, "vertical", c.alignment);
    }
}

TEST_F(TextDraw, IntRectangleDrawsLikeTheFloatOne)
{
    Canvas byFloat(300, 80), byInt(300, 80);
    ASSERT_TRUE(DrawTextGdiplus(byFloat.Graphics(), kBox, L"Keyboard", 4, 42));
    ASSERT_TRUE(DrawTextOnDC(byInt.Graphics(), 20, 10, 260, 60, L"Keyboard", 4, 42));
    InkBox a = byFloat.Ink(), b = byInt.Ink();
    ASSERT_FALSE(a.Empty());
    EXPECT_EQ(a.left, b.left);
    EXPECT_EQ(a.top, b.top);
    EXPECT_EQ(a.right, b.right);
    EXPECT_EQ(a.bottom, b.bottom);
}

TEST_F(TextDraw, InkIsTheStyleColourOverBlack)
{
    // 31 and 32 make their font another way: they must still get a brush.
    for (int style : {31, 32, 33, 34, 44, 45, 52, 214, 220}) {
        TextStyle look{};
        ASSERT_TRUE(GetTextStyle(style, 1, look));
        Canvas canvas(300, 80);
        ASSERT_TRUE(DrawTextGdiplus(canvas.Graphics(), kBox, L"Keyboard", 4, style)) << style;
        uint32_t ink = canvas.Brightest();
        ASSERT_NE(ink, 0u) << style << " drew nothing";
        double alpha = (look.color >> 24) / 255.0;
        for (int shift : {16, 8, 0}) {
            double expected = ((look.color >> shift) & 0xFF) * alpha;
            EXPECT_NEAR((ink >> shift) & 0xFF, expected, 1.5) << style << " channel " << shift;
        }
    }
}

TEST_F(TextDraw, SizeFollowsFontScaleAndLanguageOfStyle230)
{
    Gdiplus::RectF base = Measure(230);
    ASSERT_GT(base.Height, 0);
    ASSERT_GT(base.Width, 0);

    g_fFontScale = 2.0f;
    Gdiplus::RectF doubled = Measure(230);
    EXPECT_NEAR(doubled.Height / base.Height, 2.0, 0.1);

    g_fFontScale = 1.0f;
    g_nLangIndexUI = 16;
    Gdiplus::RectF small = Measure(230);
    EXPECT_NEAR(small.Height / base.Height, 12.0 / 14.0, 0.05);

    // 220 shares 230's size except in those languages.
    EXPECT_NEAR(Measure(220).Height / base.Height, 1.0, 0.01);
}

TEST_F(TextDraw, FamilyIsGothicForLanguage9ButStyle53KeepsSegoe)
{
    // 43 and 53 differ only by family at language 9; the two families are
    // mapped to fonts of different widths in the test prefix.
    Gdiplus::RectF segoe43 = Measure(43), segoe53 = Measure(53);
    g_nLangIndexUI = 9;
    Gdiplus::RectF gothic43 = Measure(43), still53 = Measure(53);
    EXPECT_FLOAT_EQ(segoe43.Width, segoe53.Width);
    EXPECT_FLOAT_EQ(still53.Width, segoe53.Width);
    EXPECT_NE(gothic43.Width, segoe43.Width);
}

TEST_F(TextDraw, MeasureOnlyReturnsSizesWithoutDrawing)
{
    const wchar_t* text = L"Sync";
    Canvas canvas(300, 80);
    Gdiplus::RectF bounds;
    int fitted = -1;
    ASSERT_TRUE(DrawTextGdiplus(canvas.Graphics(), kBox, text, 4, 42, &bounds, true, &fitted));
    EXPECT_TRUE(canvas.Ink().Empty());
    EXPECT_GT(bounds.Width, 0);
    EXPECT_GT(bounds.Height, 0);
    EXPECT_EQ(fitted, static_cast<int>(wcslen(text)));

    // Drawn with the same arguments, the measure is the same and the ink fits
    // its size (Wine leaves the alignment out of the box's place).
    Gdiplus::RectF drawnBounds;
    ASSERT_TRUE(DrawTextGdiplus(canvas.Graphics(), kBox, text, 4, 42, &drawnBounds, false));
    InkBox ink = canvas.Ink();
    ASSERT_FALSE(ink.Empty());
    EXPECT_FLOAT_EQ(drawnBounds.Width, bounds.Width);
    EXPECT_FLOAT_EQ(drawnBounds.Height, bounds.Height);
    EXPECT_LE(ink.right - ink.left + 1, bounds.Width + 1);
    EXPECT_LE(ink.bottom - ink.top + 1, bounds.Height + 1);

    // A longer text measures wider.
    EXPECT_GT(Measure(42, L"Sync and power").Width, Measure(42, text).Width);
}

TEST_F(TextDraw, TooLongTextIsCutToTheBoxWidth)
{
    const wchar_t* text = L"Static Breathing Colour cycle Strobing Rainbow Music Temperature";
    const Gdiplus::RectF narrow(10, 10, 120, 22);  // one line of 17 px text
    Canvas canvas(300, 60);
    Gdiplus::RectF bounds;
    int fitted = 0;
    ASSERT_TRUE(DrawTextGdiplus(canvas.Graphics(), narrow, text, 0, 42, &bounds, false, &fitted));
    EXPECT_GT(fitted, 0);
    EXPECT_LT(fitted, static_cast<int>(wcslen(text)));
    InkBox ink = canvas.Ink();
    ASSERT_FALSE(ink.Empty());
    EXPECT_GE(ink.left, narrow.X);
    EXPECT_LT(ink.right, narrow.GetRight());
}

TEST_F(TextDraw, NothingIsDrawnOrMeasuredWithoutStyleFontGraphicsOrText)
{
    struct Case {
        const char* what;
        int style;
        float fontScale;
        bool nullGraphics;
        const wchar_t* text;
    } cases[] = {
        {"unknown style 99", 99, 1.0f, false, L"Keyboard"},
        {"unknown style 219", 219, 1.0f, false, L"Keyboard"},
        {"zero font scale", 42, 0.0f, false, L"Keyboard"},
        {"zero font scale, fallback style", 31, 0.0f, false, L"Keyboard"},
        {"negative font scale", 43, -1.0f, false, L"Keyboard"},
        {"NaN font scale", 32, std::nanf(""), false, L"Keyboard"},
        {"null graphics", 42, 1.0f, true, L"Keyboard"},
        {"null text", 42, 1.0f, false, nullptr},
    };
    for (const Case& c : cases) {
        g_fFontScale = c.fontScale;
        Canvas canvas(300, 80);
        Gdiplus::RectF bounds(1, 2, 3, 4);
        int fitted = 7;
        EXPECT_FALSE(DrawTextGdiplus(c.nullGraphics ? nullptr : canvas.Graphics(), kBox, c.text, 4, c.style,
                                     &bounds, false, &fitted))
            << c.what;
        EXPECT_TRUE(canvas.Ink().Empty()) << c.what;
        EXPECT_TRUE(bounds.Equals(Gdiplus::RectF())) << c.what;
        EXPECT_EQ(fitted, 0) << c.what;
    }
}

TEST_F(TextDraw, EmptyTextDrawsNothingButSucceeds)
{
    Canvas canvas(300, 80);
    Gdiplus::RectF bounds;
    EXPECT_TRUE(DrawTextGdiplus(canvas.Graphics(), kBox, L"", 4, 42, &bounds));
    EXPECT_TRUE(canvas.Ink().Empty());
    EXPECT_EQ(bounds.Width, 0);
}

std::wstring FamilyName(const Gdiplus::Font& font)
{
    Gdiplus::FontFamily family;
    if (font.GetFamily(&family) != Gdiplus::Ok) return L"";
    WCHAR name[LF_FACESIZE] = {};
    family.GetFamilyName(name);
    return name;
}

std::wstring FamilyName(const Gdiplus::FontFamily& family)
{
    WCHAR name[LF_FACESIZE] = {};
    family.GetFamilyName(name);
    return name;
}

TEST_F(TextDraw, CreateFontAndBrushScalesTheSizeAndKeepsTheColour)
{
    g_fFontScale = 1.5f;
    FontAndBrush made = CreateFontAndBrush(L"Segoe UI", 14, true, 0xCC112233);
    ASSERT_TRUE(made.font);
    ASSERT_TRUE(made.brush);
    EXPECT_FLOAT_EQ(made.font->GetSize(), 21.0f);
    EXPECT_EQ(made.font->GetUnit(), Gdiplus::UnitPixel);
    EXPECT_EQ(made.font->GetStyle(), Gdiplus::FontStyleBold);
    Gdiplus::Color color;
    made.brush->GetColor(&color);
    EXPECT_EQ(color.GetValue(), 0xCC112233u);

    FontAndBrush regular = CreateFontAndBrush(L"Segoe UI", 14, false, 0xFFFFFFFF);
    ASSERT_TRUE(regular.font);
    EXPECT_EQ(regular.font->GetStyle(), Gdiplus::FontStyleRegular);

    FontAndBrush missing = CreateFontAndBrush(L"No Such Family Anywhere", 14, true, 0xFFFFFFFF);
    EXPECT_FALSE(missing.font);
    EXPECT_TRUE(missing.brush);
    EXPECT_FALSE(CreateFontAndBrush(nullptr, 14, true, 0xFFFFFFFF).font);
}

TEST_F(TextDraw, FallbackFontUsesTheGivenFamilyOnlyWhenTheNamedOneFails)
{
    Gdiplus::FontFamily fallback(L"DejaVu Sans");
    ASSERT_EQ(fallback.GetLastStatus(), Gdiplus::Ok) << "the test prefix maps fonts to DejaVu and Liberation";
    Gdiplus::FontFamily segoe(L"Segoe UI");
    ASSERT_EQ(segoe.GetLastStatus(), Gdiplus::Ok);
    ASSERT_NE(FamilyName(segoe), FamilyName(fallback));

    auto named = CreateFontWithFallbackTo(L"Segoe UI", Gdiplus::FontStyleBold, 17, &fallback);
    ASSERT_TRUE(named);
    EXPECT_EQ(FamilyName(*named), FamilyName(segoe));
    EXPECT_FLOAT_EQ(named->GetSize(), 17.0f);
    EXPECT_EQ(named->GetUnit(), Gdiplus::UnitPixel);
    EXPECT_EQ(named->GetStyle(), Gdiplus::FontStyleBold);

    for (const wchar_t* family : {L"No Such Family Anywhere", static_cast<const wchar_t*>(nullptr)}) {
        auto replaced = CreateFontWithFallbackTo(family, Gdiplus::FontStyleBold, 17, &fallback);
        ASSERT_TRUE(replaced);
        EXPECT_EQ(FamilyName(*replaced), FamilyName(fallback));
        EXPECT_FALSE(CreateFontWithFallbackTo(family, Gdiplus::FontStyleBold, 17, nullptr));
    }
    EXPECT_FALSE(CreateFontWithFallbackTo(L"Segoe UI", Gdiplus::FontStyleBold, 0, &fallback));
}

TEST_F(TextDraw, FallbackFontUsesGdiplusGenericFamilyWhenThereIsOne)
{
    // Wine's generic sans-serif may be missing: then there is no font at all,
    // and no crash.
    const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif();
    auto font = CreateFontWithFallback(L"No Such Family Anywhere", Gdiplus::FontStyleRegular, 12);
    ASSERT_EQ(font != nullptr, generic != nullptr);
    if (font) {
        EXPECT_EQ(FamilyName(*font), FamilyName(*generic));
    }
}

}  // namespace
