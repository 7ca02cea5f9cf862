// PNGs decoded by WIC straight into GDI+ bitmaps: the very pixels GDI+
// makes of them, or nothing, so that GDI+ decodes what this path does not take.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "tests/ui/framework/FrameworkTestSupport.h"
#include "ui/framework/drawing/PngDecoder.h"

namespace {

using testsupport::DecodeWithGdiplus;
using testsupport::ReadPixels;

// The bitmap as a PNG, encoded by GDI+ (a 32bpp ARGB bitmap becomes 8-bit
// RGBA, a 24bpp one 8-bit RGB).
std::vector<uint8_t> EncodePng(Gdiplus::Bitmap& bitmap)
{
    UINT count = 0, bytes = 0;
    Gdiplus::GetImageEncodersSize(&count, &bytes);
    std::vector<uint8_t> buffer(bytes);
    auto* encoders = reinterpret_cast<Gdiplus::ImageCodecInfo*>(buffer.data());
    Gdiplus::GetImageEncoders(count, bytes, encoders);
    const CLSID* png = nullptr;
    for (UINT i = 0; i < count; ++i) {
        if (IsEqualGUID(encoders[i].FormatID, Gdiplus::ImageFormatPNG)) png = &encoders[i].Clsid;
    }
    std::vector<uint8_t> encoded;
    IStream* stream = nullptr;
    if (!png || FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return encoded;
    if (bitmap.Save(stream, png, nullptr) == Gdiplus::Ok) {
        STATSTG stat = {};
        LARGE_INTEGER start = {};
        ULONG read = 0;
        stream->Stat(&stat, STATFLAG_NONAME);
        encoded.resize(static_cast<size_t>(stat.cbSize.QuadPart));
        stream->Seek(start, STREAM_SEEK_SET, nullptr);
        stream->Read(encoded.data(), static_cast<ULONG>(encoded.size()), &read);
        encoded.resize(read);
    }
    stream->Release();
    return encoded;
}

// Every pixel different, in colour and in alpha (transparent, half, opaque).
std::unique_ptr<Gdiplus::Bitmap> Pattern(int width, int height, Gdiplus::PixelFormat format)
{
    auto bitmap = std::make_unique<Gdiplus::Bitmap>(width, height, format);
    const BYTE alphas[] = {0, 128, 255, 37};
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap->SetPixel(x, y, Gdiplus::Color(alphas[(x + y) % 4], static_cast<BYTE>(x * 31), static_cast<BYTE>(y * 47),
                                                  static_cast<BYTE>(x * y + 5)));
        }
    }
    return bitmap;
}

class PngDecoding : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_gdiplus.Ok()); }
    testsupport::GdiplusSession m_gdiplus;
};

TEST_F(PngDecoding, RgbaPngsGiveGdiplusOwnPixelsAndFormat)
{
    // Odd sizes: rows whose byte length is no multiple of eight.
    for (auto size : {std::pair<int, int>{7, 5}, {1, 1}, {33, 19}}) {
        auto source = Pattern(size.first, size.second, PixelFormat32bppARGB);
        std::vector<uint8_t> png = EncodePng(*source);
        ASSERT_FALSE(png.empty());
        auto reference = DecodeWithGdiplus(png.data(), png.size());
        ASSERT_TRUE(reference);
        ASSERT_EQ(reference->GetPixelFormat(), PixelFormat32bppARGB);

        std::unique_ptr<Gdiplus::Bitmap> decoded = DecodeRgbaPng(png.data(), png.size());
        ASSERT_TRUE(decoded) << size.first << "x" << size.second;
        EXPECT_EQ(decoded->GetPixelFormat(), PixelFormat32bppARGB);
        EXPECT_EQ(ReadPixels(*decoded).data, ReadPixels(*reference).data) << size.first << "x" << size.second;
        // Straight alpha both ways: the pattern itself comes back.
        EXPECT_EQ(ReadPixels(*decoded).data, ReadPixels(*source).data);
    }
}

TEST_F(PngDecoding, WhatIsNoRgbaPngIsLeftToGdiplus)
{
    // GDI+ keeps an RGB PNG 24-bit: that format is not this path's to make.
    auto opaque = Pattern(6, 4, PixelFormat24bppRGB);
    std::vector<uint8_t> rgb = EncodePng(*opaque);
    ASSERT_FALSE(rgb.empty());
    auto reference = DecodeWithGdiplus(rgb.data(), rgb.size());
    ASSERT_TRUE(reference);
    EXPECT_EQ(reference->GetPixelFormat(), PixelFormat24bppRGB);
    EXPECT_FALSE(DecodeRgbaPng(rgb.data(), rgb.size()));

    auto source = Pattern(40, 30, PixelFormat32bppARGB);
    std::vector<uint8_t> rgba = EncodePng(*source);
    ASSERT_GT(rgba.size(), 100u);
    const uint8_t notAnImage[] = "not an image at all, only some text";
    EXPECT_FALSE(DecodeRgbaPng(rgba.data(), rgba.size() / 2)) << "cut in the middle of its pixels";
    EXPECT_FALSE(DecodeRgbaPng(rgba.data(), 8)) << "the signature alone";
    EXPECT_FALSE(DecodeRgbaPng(notAnImage, sizeof notAnImage));
    EXPECT_FALSE(DecodeRgbaPng(nullptr, 0));
    EXPECT_FALSE(DecodeRgbaPng(rgba.data(), 0));
}

}  // namespace
