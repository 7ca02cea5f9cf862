#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/Dib.h"
#include "platform/win/GdiplusHeaders.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace testsupport {

class GdiplusSession {
public:
    GdiplusSession()
    {
        Gdiplus::GdiplusStartupInput input;
        m_ok = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusSession()
    {
        if (m_ok) Gdiplus::GdiplusShutdown(m_token);
    }
    GdiplusSession(const GdiplusSession&) = delete;
    GdiplusSession& operator=(const GdiplusSession&) = delete;
    bool Ok() const { return m_ok; }

private:
    ULONG_PTR m_token = 0;
    bool m_ok = false;
};

// A bitmap's pixels as 0xAARRGGBB, top row first, read with GetDIBits.
struct Pixels {
    int width = 0, height = 0;
    std::vector<uint32_t> data;
    uint32_t At(int x, int y) const { return data[static_cast<size_t>(y) * width + x]; }
    uint32_t Rgb(int x, int y) const { return At(x, y) & 0x00FFFFFFu; }
};

inline Pixels ReadPixels(HBITMAP bitmap)
{
    Pixels pixels;
    BITMAP info = {};
    if (!bitmap || !GetObjectW(bitmap, sizeof(info), &info)) return pixels;
    pixels.width = info.bmWidth;
    pixels.height = info.bmHeight;
    pixels.data.assign(static_cast<size_t>(pixels.width) * pixels.height, 0);
    BITMAPINFO header = platform::Dib32Info(pixels.width, -pixels.height);
    HDC screen = GetDC(nullptr);
    int rows = GetDIBits(screen, bitmap, 0, pixels.height, pixels.data.data(), &header, DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
    if (rows != pixels.height) pixels.data.clear();
    return pixels;
}

inline Pixels ReadPixels(HDC dc)
{
    return ReadPixels(static_cast<HBITMAP>(GetCurrentObject(dc, OBJ_BITMAP)));
}

// A GDI+ bitmap's pixels as 32bpp ARGB, read through LockBits.
inline Pixels ReadPixels(Gdiplus::Bitmap& bitmap)
{
    Pixels pixels;
    Gdiplus::Rect all(0, 0, static_cast<INT>(bitmap.GetWidth()), static_cast<INT>(bitmap.GetHeight()));
    Gdiplus::BitmapData data;
    if (bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) != Gdiplus::Ok) return pixels;
    pixels.width = all.Width;
    pixels.height = all.Height;
    for (int y = 0; y < all.Height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(data.Scan0) + y * data.Stride);
        pixels.data.insert(pixels.data.end(), row, row + all.Width);
    }
    bitmap.UnlockBits(&data);
    return pixels;
}

// What GDI+ itself makes of encoded image bytes: the reference for our own
// decoding. Null when GDI+ refuses them.
inline std::unique_ptr<Gdiplus::Bitmap> DecodeWithGdiplus(const void* bytes, size_t size)
{
    IStream* stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &stream))) return nullptr;
    ULONG written = 0;
    std::unique_ptr<Gdiplus::Bitmap> bitmap;
    if (SUCCEEDED(stream->Write(bytes, static_cast<ULONG>(size), &written)) && written == size)
        bitmap.reset(Gdiplus::Bitmap::FromStream(stream));
    stream->Release();
    if (bitmap && bitmap->GetLastStatus() != Gdiplus::Ok) bitmap.reset();
    return bitmap;
}

}  // namespace testsupport
