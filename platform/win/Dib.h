#pragma once
#include <windows.h>

#include <cstdint>
#include <cstdlib>

namespace platform {

// The header of a 32-bpp BI_RGB DIB; a negative height gives top-down rows.
inline BITMAPINFO Dib32Info(int width, int height)
{
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const uint64_t bytes = width > 0 ? uint64_t(width) * uint64_t(std::llabs(height)) * 4u : 0u;
    info.bmiHeader.biSizeImage = bytes <= 0xFFFFFFFFu ? static_cast<DWORD>(bytes) : 0;
    return info;
}

}  // namespace platform
