// Skin images found in the chosen resource set, decoded by GDI+ and turned
// into GDI bitmaps and memory DCs at a scale.
#include <gtest/gtest.h>

#include <memory>

#include "tests/ui/framework/FrameworkTestSupport.h"
#include "tests/ui/framework/GdiLedger.h"
#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/drawing/SkinPrefetch.h"

namespace {

using testsupport::DecodeWithGdiplus;
using testsupport::Pixels;
using testsupport::ReadPixels;

class SkinImages : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_gdiplus.Ok());
        wcscpy_s(m_savedType, g_szSkinResType);
        m_savedScale = g_fImageScale;
    }
    void TearDown() override
    {
        wcscpy_s(g_szSkinResType, m_savedType);
        g_fImageScale = m_savedScale;
    }
    static void UseSet(const wchar_t* type) { wcscpy_s(g_szSkinResType, type); }

    static std::unique_ptr<Gdiplus::Bitmap> Load(const wchar_t* name)
    {
        Gdiplus::Bitmap* bitmap = nullptr;
        if (!LoadSkinImage(&bitmap, GetModuleHandleW(nullptr), name)) return nullptr;
        return std::unique_ptr<Gdiplus::Bitmap>(bitmap);
    }

    // Left half opaque red, right half opaque blue.
    static std::unique_ptr<Gdiplus::Bitmap> TwoHalves(int width, int height)
    {
        auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                bitmap->SetPixel(x, y, x < width / 2 ? Gdiplus::Color(255, 255, 0, 0) : Gdiplus::Color(255, 0, 0, 255));
            }
        }
        return bitmap;
    }

    testsupport::GdiplusSession m_gdiplus;

private:
    wchar_t m_savedType[kSkinResTypeChars] = L"";
    float m_savedScale = 1.0f;
};

TEST(SkinSet, ResolutionClassChoosesTheSetAndScaledSidesRoundHalfUp)
{
    EXPECT_STREQ(SkinResourceTypeForClass(0), L"1920_1080");
    EXPECT_STREQ(SkinResourceTypeForClass(1), L"1920_1080");
    EXPECT_STREQ(SkinResourceTypeForClass(2), L"4K");
    EXPECT_STREQ(SkinResourceTypeForClass(3), L"4K");
    struct Case {
        int side;
        float scale;
        int expected;
    } cases[] = {{17, 1.25f, 21}, {15, 0.75f, 11}, {2800, 0.75f, 2100}, {1400, 1.25f, 1750}, {10, 1.0f, 10}, {1, 0.25f, 0}};
    for (const Case& c : cases) EXPECT_EQ(ScaledSkinSide(c.side, c.scale), c.expected) << c.side << " x " << c.scale;
}

TEST_F(SkinImages, ImagesAreFoundOnlyInTheChosenSet)
{
    struct Case {
        const wchar_t* type;
        const wchar_t* name;
        UINT width, height;  // 0: not found
    } cases[] = {
        {L"1920_1080", L"MAIN_BG", 1400, 788}, {L"4K", L"MAIN_BG", 2800, 1576}, {L"1920_1080", L"BTN_NORMAL", 150, 38},
        {L"1920_1080", L"APPLY_ICON", 0, 0},   {L"4K", L"APPLY_ICON", 24, 24},  {L"1920_1080", L"LINE", 0, 0},
        {L"4K", L"NO_SUCH_IMAGE", 0, 0},       {L"", L"MAIN_BG", 0, 0},          // before the set is chosen
    };
    for (const Case& c : cases) {
        UseSet(c.type);
        Gdiplus::Bitmap* bitmap = reinterpret_cast<Gdiplus::Bitmap*>(1);
        int result = LoadSkinImage(&bitmap, GetModuleHandleW(nullptr), c.name);
        std::unique_ptr<Gdiplus::Bitmap> owned(result ? bitmap : nullptr);
        if (c.width == 0) {
            EXPECT_EQ(result, 0) << c.name;
            EXPECT_EQ(bitmap, nullptr) << c.name;
            continue;
        }
        ASSERT_EQ(result, 1) << c.name;
        EXPECT_EQ(bitmap->GetWidth(), c.width) << c.name;
        EXPECT_EQ(bitmap->GetHeight(), c.height) << c.name;
        EXPECT_EQ(bitmap->GetPixelFormat(), PixelFormat32bppARGB);
    }
    EXPECT_EQ(LoadSkinImage(nullptr, GetModuleHandleW(nullptr), L"MAIN_BG"), 0);
}

TEST_F(SkinImages, EachLoadIsANewBitmapWithThePixelsGdiplusMakesOfTheResource)
{
    struct Case {
        const wchar_t* type;
        const wchar_t* name;
    } cases[] = {{L"1920_1080", L"RADIO_BTN_NORMAL"}, {L"1920_1080", L"MAIN_BG"}, {L"4K", L"BTN_NORMAL"},
                 {L"4K", L"APPLY_ICON"}, {L"1920_1080", L"COLOR_RING"}};
    const HMODULE module = GetModuleHandleW(nullptr);
    for (const Case& c : cases) {
        HRSRC found = FindResourceW(module, c.name, c.type);
        ASSERT_TRUE(found) << c.name;
        auto reference = DecodeWithGdiplus(LockResource(LoadResource(module, found)), SizeofResource(module, found));
        ASSERT_TRUE(reference) << c.name;
        const Pixels expected = ReadPixels(*reference);

        UseSet(c.type);
        auto first = Load(c.name);
        auto second = Load(c.name);
        ASSERT_TRUE(first && second) << c.name;
        EXPECT_NE(first.get(), second.get());
        EXPECT_EQ(first->GetPixelFormat(), reference->GetPixelFormat()) << c.name;
        EXPECT_EQ(ReadPixels(*first).data, expected.data) << c.name;
        // Each caller draws on and deletes its own: the other load stays whole.
        Gdiplus::Color corner;
        first->GetPixel(0, 0, &corner);
        first->SetPixel(0, 0, Gdiplus::Color(corner.GetValue() ^ 0xFF00FF00u));
        first.reset();
        EXPECT_EQ(ReadPixels(*second).data, expected.data) << c.name;
        EXPECT_EQ(ReadPixels(*Load(c.name)).data, expected.data) << c.name;
    }
}

TEST_F(SkinImages, ScaledBitmapsHaveTheRoundedSizeAndTheStretchedPixels)
{
    auto halves = TwoHalves(20, 10);
    Gdiplus::Bitmap* scaled = nullptr;
    ASSERT_EQ(ScaleSkinBitmap(&scaled, halves.get(), 40, 15), 1);
    std::unique_ptr<Gdiplus::Bitmap> owned(scaled);
    EXPECT_EQ(scaled->GetWidth(), 40u);
    EXPECT_EQ(scaled->GetHeight(), 15u);
    EXPECT_EQ(scaled->GetPixelFormat(), PixelFormat32bppARGB);
    Gdiplus::Color left, right;
    scaled->GetPixel(5, 7, &left);
    scaled->GetPixel(34, 7, &right);
    EXPECT_EQ(left.GetValue(), 0xFFFF0000u);
    EXPECT_EQ(right.GetValue(), 0xFF0000FFu);

    for (int bad : {0, -3}) {
        Gdiplus::Bitmap* none = reinterpret_cast<Gdiplus::Bitmap*>(1);
        EXPECT_EQ(ScaleSkinBitmap(&none, halves.get(), bad, 10), 0);
        EXPECT_EQ(none, nullptr);
        EXPECT_EQ(ScaleSkinBitmap(&none, halves.get(), 10, bad), 0);
    }
    EXPECT_EQ(ScaleSkinBitmap(&scaled, nullptr, 10, 10), 0);
}

TEST_F(SkinImages, HbitmapOfAnImageAtAScale)
{
    testsupport::GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    struct Case {
        int side;
        float scale;
        int expected;
    } cases[] = {{17, 1.25f, 21}, {15, 0.75f, 11}, {20, 1.0f, 20}, {20, 2.0f, 40}};
    for (const Case& c : cases) {
        auto halves = TwoHalves(c.side, c.side);
        HBITMAP hbitmap = nullptr;
        int width = 0, height = 0;
        ASSERT_EQ(SkinBitmapToHBITMAP(halves.get(), &hbitmap, &width, &height, c.scale), 1);
        EXPECT_EQ(width, c.expected);
        EXPECT_EQ(height, c.expected);
        Pixels pixels = ReadPixels(hbitmap);
        ASSERT_EQ(pixels.width, c.expected);
        ASSERT_EQ(pixels.height, c.expected);
        // Away from the edges, which the stretch blends with the outside.
        EXPECT_EQ(pixels.Rgb(c.expected / 4, c.expected / 2), 0xFF0000u);
        EXPECT_EQ(pixels.Rgb(c.expected * 3 / 4, c.expected / 2), 0x0000FFu);
        DeleteObject(hbitmap);
    }
    // Sizes alone when no bitmap is asked for; nothing for no image.
    auto halves = TwoHalves(17, 17);
    int width = 0;
    EXPECT_EQ(SkinBitmapToHBITMAP(halves.get(), nullptr, &width, nullptr, 1.25f), 1);
    EXPECT_EQ(width, 21);
    HBITMAP none = reinterpret_cast<HBITMAP>(1);
    EXPECT_EQ(SkinBitmapToHBITMAP(nullptr, &none, nullptr, nullptr, 1.0f), 0);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(ledger.RefusedDeletes(), 0);
}

TEST_F(SkinImages, MemoryDcHoldsTheSkinImageAtTheImageScale)
{
    testsupport::GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    struct Case {
        const wchar_t* type;
        float scale;
        int width, height;
    } cases[] = {{L"1920_1080", 1.0f, 1400, 788}, {L"1920_1080", 1.25f, 1750, 985}, {L"4K", 0.75f, 2100, 1182}};
    for (const Case& c : cases) {
        UseSet(c.type);
        g_fImageScale = c.scale;
        HDC dc = nullptr;
        int width = 0, height = 0;
        ASSERT_EQ(LoadSkinImageToDC(GetModuleHandleW(nullptr), L"MAIN_BG", &dc, &width, &height), 1) << c.type;
        EXPECT_EQ(width, c.width);
        EXPECT_EQ(height, c.height);
        Pixels pixels = ReadPixels(dc);
        ASSERT_EQ(pixels.width, c.width);
        ASSERT_EQ(pixels.height, c.height);
        if (c.scale == 1.0f) {
            // Unscaled: the DC shows the decoded image pixel for pixel.
            auto decoded = Load(L"MAIN_BG");
            ASSERT_TRUE(decoded);
            int compared = 0;
            for (int gy = 0; gy < 9; ++gy) {
                for (int gx = 0; gx < 9; ++gx) {
                    int x = (c.width - 1) * gx / 8, y = (c.height - 1) * gy / 8;
                    Gdiplus::Color expected;
                    decoded->GetPixel(x, y, &expected);
                    if (expected.GetA() != 255) continue;  // opaque only: no premultiplication to undo
                    EXPECT_EQ(pixels.Rgb(x, y), expected.GetValue() & 0x00FFFFFFu) << x << "," << y;
                    ++compared;
                }
            }
            EXPECT_GE(compared, 40);
        }
        DeleteMemoryDC(dc);
    }
    EXPECT_EQ(ledger.LiveDcs(), 0);
    EXPECT_EQ(ledger.LiveBitmaps(), 0);
    EXPECT_EQ(ledger.RefusedDeletes(), 0);
    EXPECT_EQ(ledger.HeldScreenDcs(), 0);
}

TEST_F(SkinImages, FailuresHandOutNothingAndLeakNothing)
{
    testsupport::GdiLedger ledger;
    ASSERT_TRUE(ledger.Installed());
    UseSet(L"1920_1080");
    HDC dc = reinterpret_cast<HDC>(1);
    int width = -1;
    EXPECT_EQ(LoadSkinImageToDC(GetModuleHandleW(nullptr), L"APPLY_ICON", &dc, &width, nullptr), 0);
    EXPECT_EQ(dc, nullptr);
    EXPECT_EQ(width, -1);
    EXPECT_EQ(SkinBitmapToMemoryDC(nullptr, nullptr, nullptr, &dc, 1.0f), 0);
    EXPECT_EQ(dc, nullptr);
    EXPECT_EQ(ledger.LiveDcs(), 0);
    EXPECT_EQ(ledger.LiveBitmaps(), 0);
    EXPECT_EQ(ledger.HeldScreenDcs(), 0);
}

}  // namespace

TEST_F(SkinImages, PrefetchedPicturesAreHandedOutOnceWithTheSamePixels)
{
    UseSet(L"1920_1080");
    const Pixels background = ReadPixels(*Load(L"MAIN_BG"));
    const Pixels ring = ReadPixels(*Load(L"COLOR_RING"));
    const Pixels button = ReadPixels(*Load(L"BTN_NORMAL"));
    {
        SkinPrefetch prefetch(GetModuleHandleW(nullptr), {L"MAIN_BG", L"color_ring", L"NO_SUCH_IMAGE", nullptr});
        // Asked for at once: the load waits for the thread.
        auto first = Load(L"MAIN_BG");
        ASSERT_TRUE(first);
        EXPECT_EQ(ReadPixels(*first).data, background.data);
        EXPECT_EQ(prefetch.TakenCount(), 1u);
        auto again = Load(L"MAIN_BG");
        ASSERT_TRUE(again);
        EXPECT_NE(again.get(), first.get());
        EXPECT_EQ(ReadPixels(*again).data, background.data);
        EXPECT_EQ(prefetch.TakenCount(), 1u) << "taken once; later loads decode";

        auto other = Load(L"BTN_NORMAL");
        ASSERT_TRUE(other);
        EXPECT_EQ(ReadPixels(*other).data, button.data);
        EXPECT_FALSE(Load(L"NO_SUCH_IMAGE"));
        EXPECT_EQ(ReadPixels(*Load(L"COLOR_RING")).data, ring.data) << "names match without case";
        EXPECT_EQ(prefetch.TakenCount(), 2u);

        // Another set in the meantime: its own picture, not the prefetched one.
        SkinPrefetch second(GetModuleHandleW(nullptr), {L"MAIN_BG"});
        UseSet(L"4K");
        auto large = Load(L"MAIN_BG");
        ASSERT_TRUE(large);
        EXPECT_EQ(large->GetWidth(), 2 * first->GetWidth());
        EXPECT_EQ(second.TakenCount(), 0u) << "one prefetch at a time";
    }
    // Ended without every picture taken: nothing is left behind for later loads.
    UseSet(L"1920_1080");
    {
        SkinPrefetch unused(GetModuleHandleW(nullptr), {L"MAIN_BG", L"COLOR_RING"});
    }
    EXPECT_EQ(ReadPixels(*Load(L"MAIN_BG")).data, background.data);
}
