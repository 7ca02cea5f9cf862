#include <gtest/gtest.h>

#include <algorithm>

#include "platform/win/Dib.h"
#include "platform/win/GdiHandles.h"
#include "tests/ui/framework/FrameworkTestSupport.h"
#include "ui/framework/drawing/ControlText.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/TextDraw.h"
#include "ui/framework/scale/Scale.h"

namespace {

// A black 32-bpp surface with a GDI+ graphics on it; GDI+ runs for the
// whole run (text drawing keeps its families).
class Surface {
public:
    Surface(int width, int height)
        : m_dc(CreateCompatibleDC(nullptr)), m_bitmap(MakeDib(width, height)), m_selected(m_dc.Get(), m_bitmap.Get())
    {
        m_graphics = std::make_unique<Gdiplus::Graphics>(m_dc.Get());
    }
    ~Surface() { m_graphics.reset(); }

    Gdiplus::Graphics& Graphics() { return *m_graphics; }
    // Rows holding a lit pixel: first and last, or -1 when none.
    std::pair<int, int> InkRows()
    {
        m_graphics->Flush(Gdiplus::FlushIntentionSync);
        testsupport::Pixels pixels = testsupport::ReadPixels(m_bitmap.Get());
        int first = -1, last = -1;
        for (int y = 0; y < pixels.height; ++y)
            for (int x = 0; x < pixels.width; ++x)
                if (pixels.Rgb(x, y) != 0) {
                    if (first < 0) first = y;
                    last = y;
                    break;
                }
        return {first, last};
    }

private:
    static HBITMAP MakeDib(int width, int height)
    {
        BITMAPINFO info = platform::Dib32Info(width, -height);
        void* bits = nullptr;
        return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    }

    platform::UniqueHdc m_dc;
    platform::UniqueBitmap m_bitmap;
    platform::SelectGuard m_selected;
    std::unique_ptr<Gdiplus::Graphics> m_graphics;
};

class ControlTextTest : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(gdiplus.Ok());
        g_fFontScale = 1.0f;
        g_fUIScale = 1.0f;
    }
    testsupport::GdiplusSession gdiplus;
    Gdiplus::SolidBrush white{Gdiplus::Color(255, 255, 255, 255)};
    Gdiplus::StringFormat format;
};

}  // namespace

TEST_F(ControlTextTest, GdiFontHeightAndStyleBits)
{
    const struct {
        float size;
        float scale;
        int style;
        LONG height;
    } cases[] = {{10.0f, 1.0f, 0, -14}, {9.0f, 1.0f, kFontBold, -13}, {9.0f, 2.0f, kFontItalic | kFontUnderline, -26},
                 {12.0f, 1.5f, kFontStrikeout, -25}};
    for (const auto& c : cases) {
        g_fFontScale = c.scale;
        platform::UniqueGdiObject font(CreateGdiFont(c.style, L"Liberation Sans", c.size));
        LOGFONTW info{};
        ASSERT_TRUE(GetObjectW(font.Get(), sizeof(info), &info));
        EXPECT_EQ(info.lfHeight, c.height) << c.size << " at " << c.scale;
        EXPECT_EQ(info.lfWeight, (c.style & kFontBold) ? FW_BOLD : FW_NORMAL);
        EXPECT_EQ(info.lfItalic != 0, (c.style & kFontItalic) != 0);
        EXPECT_EQ(info.lfUnderline != 0, (c.style & kFontUnderline) != 0);
        EXPECT_EQ(info.lfStrikeOut != 0, (c.style & kFontStrikeout) != 0);
        EXPECT_EQ(info.lfCharSet, DEFAULT_CHARSET);
    }
    // A long family name is cut to the face-name field, never past it.
    std::wstring longName(80, L'f');
    platform::UniqueGdiObject font(CreateGdiFont(0, longName.c_str(), 10.0f));
    LOGFONTW info{};
    ASSERT_TRUE(GetObjectW(font.Get(), sizeof(info), &info));
    EXPECT_EQ(wcslen(info.lfFaceName), static_cast<size_t>(LF_FACESIZE - 1));
}

TEST_F(ControlTextTest, BothPathsDrawTextAndTheGdiPathTakesTheBrushColour)
{
    Surface gdi(200, 40);
    Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0));
    DrawTextGdi(gdi.Graphics(), L"Hg", Gdiplus::RectF(0, 0, 200, 40), 12.0f, 0, format, L"Liberation Sans", &red);
    EXPECT_GE(gdi.InkRows().first, 0);

    Surface plus(200, 40);
    DrawTextGdiplusRect(plus.Graphics(), L"Hg", Gdiplus::RectF(0, 0, 200, 40), 12.0f, 0, format, L"Liberation Sans",
                        &white);
    EXPECT_GE(plus.InkRows().first, 0);

    Surface empty(200, 40);
    EXPECT_EQ(DrawTextGdiplusRect(empty.Graphics(), L"", Gdiplus::RectF(0, 0, 200, 40), 12.0f, 0, format,
                                  L"Liberation Sans", &white),
              0);
    EXPECT_EQ(empty.InkRows().first, -1);
}

TEST_F(ControlTextTest, GdiTextKeepsTheSurfacePremultipliedOverClearAndOpaquePixels)
{
    // A surface cleared to transparent on the left half and opaque blue on the right.
    const int width = 120, height = 30;
    platform::UniqueHdc dc(CreateCompatibleDC(nullptr));
    BITMAPINFO info = platform::Dib32Info(width, -height);
    void* bits = nullptr;
    platform::UniqueBitmap bitmap(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    ASSERT_NE(bits, nullptr);
    platform::SelectGuard selected(dc.Get(), bitmap.Get());
    auto* pixels = static_cast<uint32_t*>(bits);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) pixels[y * width + x] = x < width / 2 ? 0u : 0xFF0000FFu;

    Gdiplus::SolidBrush red(Gdiplus::Color(255, 255, 0, 0));
    DrawTextGdi(dc.Get(), L"HHHHHHHHHHHHHHHHHHHH", Gdiplus::RectF(0, 0, static_cast<float>(width), 30.0f), 12.0f,
                0, format, L"Liberation Sans", &red);
    GdiFlush();
    int inkedClear = 0, inkedOpaque = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t p = pixels[y * width + x];
            const uint32_t a = p >> 24, r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
            // Premultiplied: no channel above the alpha.
            ASSERT_LE(std::max({r, g, b}), a) << x << "," << y << " " << std::hex << p;
            if (x < width / 2) {
                EXPECT_EQ(b, 0u);  // red text over nothing: red at the text's coverage
                if (a > 0) ++inkedClear;
            } else {
                EXPECT_EQ(a, 0xFFu);  // over opaque pixels it stays opaque
                if (r > 0) ++inkedOpaque;
            }
        }
    }
    EXPECT_GT(inkedClear, 20);
    EXPECT_GT(inkedOpaque, 20);
}

TEST_F(ControlTextTest, TallLayoutsKeepTheTextBoxAtTheirTop)
{
    auto inkTop = [&](float height) {
        Surface surface(200, 120);
        DrawTextGdiplusRect(surface.Graphics(), L"Hg", Gdiplus::RectF(0, 10, 200, height), 12.0f, 0, format,
                            L"Liberation Sans", &white);
        return surface.InkRows().first;
    };
    const int at61 = inkTop(61.0f);
    const int at100 = inkTop(100.0f);
    const int at60 = inkTop(60.0f);
    ASSERT_GE(at61, 0);
    EXPECT_EQ(at61, at100);
    EXPECT_NE(at60, at61) << "a 60-tall layout moves its box by the baseline shift";
    // The integer rectangle draws as the float one.
    Surface integer(200, 120);
    DrawTextGdiplusRectI(integer.Graphics(), L"Hg", Gdiplus::Rect(0, 10, 200, 60), 12.0f, 0, format,
                         L"Liberation Sans", &white);
    EXPECT_EQ(integer.InkRows().first, at60);
}

TEST_F(ControlTextTest, SkinImagesComeScaledToTheImageScale)
{
    wcscpy(g_szSkinResType, kSkinSet1080);
    const struct {
        float scale;
        UINT side;
    } cases[] = {{1.0f, 15}, {1.5f, 23}, {2.0f, 30}, {0.5f, 8}};
    for (const auto& c : cases) {
        g_fImageScale = c.scale;
        std::unique_ptr<Gdiplus::Bitmap> image = LoadSkinImageScaled(L"ARROR_UP_NORMAL");
        ASSERT_NE(image, nullptr) << c.scale;
        EXPECT_EQ(image->GetWidth(), c.side) << c.scale;
        EXPECT_EQ(image->GetHeight(), c.side) << c.scale;
    }
    EXPECT_EQ(LoadSkinImageScaled(L"NO_SUCH_IMAGE"), nullptr);
    g_fImageScale = 1.0f;
    g_szSkinResType[0] = L'\0';
}
