#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/Dib.h"
#include "platform/win/GdiplusHeaders.h"

#include <cstdint>
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

}  // namespace testsupport
