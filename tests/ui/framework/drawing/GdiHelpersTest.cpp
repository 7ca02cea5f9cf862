// Memory DCs, the 3x3 blur, band swapping, top-down reading and colour bands,
// checked through their pixels; GDI handles counted by the ledger.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/ui/framework/FrameworkTestSupport.h"
#include "tests/ui/framework/GdiLedger.h"
#include "ui/framework/drawing/GdiHelpers.h"

namespace {

using testsupport::Pixels;
using testsupport::ReadPixels;

class GdiHelpers : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_gdiplus.Ok());
        ASSERT_TRUE(m_ledger.Installed());
    }
    void ExpectNoLeaks()
    {
        EXPECT_EQ(m_ledger.LiveDcs(), 0);
        EXPECT_EQ(m_ledger.LiveBitmaps(), 0);
        EXPECT_EQ(m_ledger.RefusedDeletes(), 0);
        EXPECT_EQ(m_ledger.HeldScreenDcs(), 0);
    }
    // A DIB memory DC whose pixel (x, y) is colour(x, y) (0x00RRGGBB).
    template <typename Colour>
    static HDC PaintedDc(int width, int height, Colour colour)
    {
        HDC dc = nullptr;
        if (!CreateMemoryDCBitmap(width, height, &dc, TRUE, nullptr)) return nullptr;
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                uint32_t c = colour(x, y);
                SetPixelV(dc, x, y, RGB((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF));
            }
        }
        return dc;
    }

    testsupport::GdiplusSession m_gdiplus;
    testsupport::GdiLedger m_ledger;
};

std::vector<uint8_t> Buffer(int width, int height, uint8_t fill)
{
    return std::vector<uint8_t>(static_cast<size_t>(width) * height * 4, fill);
}

TEST(BlurBuffer, InnerPixelsAreTheTruncatedMeanAndBordersCopies)
{
    const int w = 4, h = 3;
    std::vector<uint8_t> in = Buffer(w, h, 0), out = Buffer(w, h, 7);
    for (int i = 0; i < w * h; ++i) {
        in[i * 4 + 0] = static_cast<uint8_t>(i + 1);     // B: 1..12
        in[i * 4 + 1] = 10;                             // G: flat
        in[i * 4 + 2] = i == 5 ? 255 : 0;               // R: one bright pixel at (1, 1)
        in[i * 4 + 3] = static_cast<uint8_t>(i * 20);   // A: ignored
    }
    BlurBuffer3x3(out.data(), in.data(), w, h);
    // (1, 1): B neighbours 1,2,3,5,6,7,9,10,11 = 54 -> 6; R 255 / 9 = 28 (28.33 dropped)
    // (2, 1): B 2,3,4,6,7,8,10,11,12 = 63 -> 7; R 255 / 9 = 28
    const uint8_t inner[2][3] = {{6, 10, 28}, {7, 10, 28}};
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const uint8_t* o = &out[(y * w + x) * 4];
            const uint8_t* i = &in[(y * w + x) * 4];
            bool border = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            for (int ch = 0; ch < 3; ++ch) {
                EXPECT_EQ(o[ch], border ? i[ch] : inner[x - 1][ch]) << x << "," << y << " ch " << ch;
            }
            EXPECT_EQ(o[3], 255);
        }
    }
}

TEST(BlurBuffer, NarrowAreasAreCopiedWithOpaqueAlphaAndEmptyOnesUntouched)
{
    struct Case {
        int width, height;
    } cases[] = {{1, 1}, {2, 2}, {1, 5}, {5, 1}, {2, 6}, {6, 2}};
    for (const Case& c : cases) {
        std::vector<uint8_t> in = Buffer(c.width, c.height, 0), out = Buffer(c.width, c.height, 0);
        for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<uint8_t>(i * 37 + 11);
        BlurBuffer3x3(out.data(), in.data(), c.width, c.height);
        for (size_t p = 0; p < in.size(); p += 4) {
            EXPECT_EQ(std::memcmp(&out[p], &in[p], 3), 0) << c.width << "x" << c.height;
            EXPECT_EQ(out[p + 3], 255);
        }
    }
    std::vector<uint8_t> in = Buffer(3, 3, 1), out = Buffer(3, 3, 9);
    BlurBuffer3x3(out.data(), in.data(), 0, 3);
    BlurBuffer3x3(out.data(), in.data(), 3, -1);
    BlurBuffer3x3(nullptr, in.data(), 3, 3);
    EXPECT_EQ(out, Buffer(3, 3, 9));
}

TEST_F(GdiHelpers, MemoryDcBitmapsHaveTheSizeAndKind)
{
    struct Case {
        BOOL dib;
        bool askBitmap;
    } cases[] = {{TRUE, false}, {TRUE, true}, {FALSE, false}, {FALSE, true}};
    for (const Case& c : cases) {
        HDC dc = nullptr;
        HBITMAP bitmap = nullptr;
        ASSERT_EQ(CreateMemoryDCBitmap(37, 21, &dc, c.dib, c.askBitmap ? &bitmap : nullptr), 1);
        ASSERT_NE(dc, nullptr);
        HGDIOBJ selected = GetCurrentObject(dc, OBJ_BITMAP);
        if (c.askBitmap) {
            EXPECT_EQ(bitmap, selected);
        }
        DIBSECTION section = {};
        int size = GetObjectW(selected, sizeof(section), &section);
        EXPECT_EQ(section.dsBm.bmWidth, 37);
        EXPECT_EQ(section.dsBm.bmHeight, 21);
        if (c.dib) {
            ASSERT_EQ(size, static_cast<int>(sizeof(DIBSECTION)));
            EXPECT_EQ(section.dsBm.bmBitsPixel, 32);
            EXPECT_GT(section.dsBmih.biHeight, 0);  // bottom-up rows
        } else {
            EXPECT_EQ(section.dsBm.bmBits, nullptr);
        }
        DeleteMemoryDC(dc);
    }
    ExpectNoLeaks();
}

TEST_F(GdiHelpers, MemoryDcFailureReturnsZeroAndMakesNothing)
{
    struct Case {
        int width, height;
        BOOL dib;
    } cases[] = {{0, 10, TRUE}, {10, 0, FALSE}, {-5, 10, TRUE}, {10, -5, FALSE}, {100000, 100000, TRUE}, {60000, 60000, FALSE}};
    for (const Case& c : cases) {
        HDC dc = reinterpret_cast<HDC>(1);
        HBITMAP bitmap = reinterpret_cast<HBITMAP>(1);
        EXPECT_EQ(CreateMemoryDCBitmap(c.width, c.height, &dc, c.dib, &bitmap), 0) << c.width << "x" << c.height;
        EXPECT_EQ(dc, nullptr);
        EXPECT_EQ(bitmap, nullptr);
    }
    ExpectNoLeaks();
}

TEST_F(GdiHelpers, BlurredRegionIsDrawnInPlaceTheRightWayUp)
{
    // Source: top three rows red, bottom three blue.
    const int w = 8, h = 6;
    HDC source = PaintedDc(w, h, [](int, int y) { return y < 3 ? 0xFF0000u : 0x0000FFu; });
    ASSERT_NE(source, nullptr);
    struct Case {
        int x, y, width, height;
    } cases[] = {{0, 0, w, h}, {2, 1, 4, 4}};
    for (const Case& c : cases) {
        HDC target = nullptr;
        ASSERT_EQ(CreateMemoryDCBitmap(w, h, &target, TRUE, nullptr), 1);
        {
            Gdiplus::Graphics graphics(target);
            EXPECT_EQ(DrawBlurredRegion(&graphics, source, c.x, c.y, c.width, c.height), 1);
        }
        Pixels out = ReadPixels(target);
        ASSERT_EQ(out.height, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                bool inside = x >= c.x && x < c.x + c.width && y >= c.y && y < c.y + c.height;
                bool border = x == c.x || y == c.y || x == c.x + c.width - 1 || y == c.y + c.height - 1;
                uint32_t expected;
                if (!inside) expected = 0;                             // not drawn
                else if (border || (y != 2 && y != 3)) expected = y < 3 ? 0xFF0000u : 0x0000FFu;
                else expected = y == 2 ? 0xAA0055u : 0x5500AAu;        // two of three rows red, or one
                EXPECT_EQ(out.Rgb(x, y), expected) << x << "," << y << " in " << c.x << "," << c.y;
            }
        }
        DeleteMemoryDC(target);
    }
    DeleteMemoryDC(source);
    ExpectNoLeaks();
}

TEST_F(GdiHelpers, BlurredRegionWithoutGraphicsSourceOrAreaDrawsNothing)
{
    HDC source = PaintedDc(4, 4, [](int, int) { return 0x123456u; });
    HDC target = nullptr;
    ASSERT_EQ(CreateMemoryDCBitmap(4, 4, &target, TRUE, nullptr), 1);
    {
        Gdiplus::Graphics graphics(target);
        EXPECT_EQ(DrawBlurredRegion(nullptr, source, 0, 0, 4, 4), 0);
        EXPECT_EQ(DrawBlurredRegion(&graphics, nullptr, 0, 0, 4, 4), 0);
        EXPECT_EQ(DrawBlurredRegion(&graphics, source, 0, 0, 0, 4), 0);
        EXPECT_EQ(DrawBlurredRegion(&graphics, source, 0, 0, 4, -1), 0);
    }
    EXPECT_EQ(ReadPixels(target).Rgb(1, 1), 0u);
    DeleteMemoryDC(target);
    DeleteMemoryDC(source);
    ExpectNoLeaks();
}

TEST_F(GdiHelpers, SwapImageColumnsTradesTheBandsAndKeepsTheRest)
{
    const int w = 40, h = 20;
    auto colour = [](int x, int y) { return static_cast<uint32_t>((x * 6) << 16 | (y * 12) << 8 | 0x40); };
    struct Case {
        int x1, x2, y, bandWidth, bandHeight;
    } cases[] = {
        {5, 25, 4, 8, 6},    // bands apart, rows above and below
        {0, 20, 0, 10, 20},  // no left part, no rows above or below
        {3, 32, 14, 8, 6},   // second band reaches the right edge
        {4, 12, 2, 8, 5},    // bands side by side: nothing between
    };
    for (const Case& c : cases) {
        HDC dc = PaintedDc(w, h, colour);
        ASSERT_NE(dc, nullptr);
        HDC before = dc;
        SwapImageColumns(&dc, w, h, c.x1, c.x2, c.y, c.bandWidth, c.bandHeight);
        EXPECT_NE(dc, before);
        Pixels out = ReadPixels(dc);
        ASSERT_EQ(out.width, w);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                int fromX = x;
                if (y >= c.y && y < c.y + c.bandHeight) {
                    if (x >= c.x1 && x < c.x1 + c.bandWidth) fromX = x - c.x1 + c.x2;
                    else if (x >= c.x2 && x < c.x2 + c.bandWidth) fromX = x - c.x2 + c.x1;
                }
                ASSERT_EQ(out.Rgb(x, y), colour(fromX, y)) << x << "," << y << " case x1 " << c.x1;
            }
        }
        DeleteMemoryDC(dc);
    }
    // The old DCs went with their bitmaps.
    ExpectNoLeaks();
}

TEST_F(GdiHelpers, TopDownBitsNeverReachPastTheSource)
{
    // 4 x 3 source, row y filled with 0x10 * (y + 1) in every byte of blue.
    const int w = 4, h = 3;
    HDC dc = PaintedDc(w, h, [](int x, int y) { return static_cast<uint32_t>(0x10 * (y + 1) + x); });
    ASSERT_NE(dc, nullptr);
    HBITMAP bitmap = static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP));
    struct Case {
        int width, height;
    } cases[] = {{w, h}, {6, 5}, {2, 2}, {w, 1}};
    for (const Case& c : cases) {
        std::vector<uint8_t> buffer = Buffer(c.width, c.height, 0xCD);
        buffer.resize(buffer.size() + 16, 0xEE);  // guard after the buffer
        GetBitmapBitsTopDown(bitmap, buffer.data(), c.width, c.height);
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                uint8_t blue = buffer[(static_cast<size_t>(y) * c.width + x) * 4];
                uint8_t expected = (x < w && y < h) ? static_cast<uint8_t>(0x10 * (y + 1) + x) : 0;
                EXPECT_EQ(blue, expected) << x << "," << y << " of " << c.width << "x" << c.height;
            }
        }
        for (size_t i = buffer.size() - 16; i < buffer.size(); ++i) EXPECT_EQ(buffer[i], 0xEE);
    }
    std::vector<uint8_t> untouched = Buffer(2, 2, 0xAB);
    GetBitmapBitsTopDown(nullptr, untouched.data(), 2, 2);
    EXPECT_EQ(untouched, Buffer(2, 2, 0xAB));
    GetBitmapBitsTopDown(bitmap, nullptr, 2, 2);
    DeleteMemoryDC(dc);
    ExpectNoLeaks();
}

TEST_F(GdiHelpers, ColourBandsEndAtTheMidpointsAndTheLastAtTheEdge)
{
    HDC dc = nullptr;
    ASSERT_EQ(CreateMemoryDCBitmap(400, 4, &dc, TRUE, nullptr), 1);
    const COLORREF colours[4] = {RGB(0x11, 0x22, 0x33), RGB(0xFF, 0, 0), RGB(0, 0xFF, 0), RGB(0, 0, 0xFF)};
    const float positions[4] = {0.0f, 0.25f, 0.5f, 0.75f};
    FillColorBands(dc, 400, 4, positions, colours);
    Pixels out = ReadPixels(dc);
    ASSERT_EQ(out.width, 400);
    struct Span {
        int from, to;  // inclusive
        uint32_t argb;
    } spans[] = {{0, 49, 0xFF112233u}, {50, 149, 0xFFFF0000u}, {150, 249, 0xFF00FF00u}, {250, 399, 0xFF0000FFu}};
    for (const Span& s : spans) {
        for (int x = s.from; x <= s.to; ++x) {
            for (int y = 0; y < 4; ++y) ASSERT_EQ(out.At(x, y), s.argb) << x << "," << y;
        }
    }
    DeleteMemoryDC(dc);
    ExpectNoLeaks();
}

}  // namespace
