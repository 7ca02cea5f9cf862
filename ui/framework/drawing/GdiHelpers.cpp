#include "ui/framework/drawing/GdiHelpers.h"

#include <cstring>
#include <memory>
#include <new>

#include "platform/win/Dib.h"
#include "platform/win/GdiHandles.h"

namespace {

// width x height x 4 as a byte count; 0 when empty or too large for a DIB.
size_t PixelBytes(int width, int height)
{
    if (width <= 0 || height <= 0) return 0;
    unsigned long long bytes = static_cast<unsigned long long>(width) * static_cast<unsigned long long>(height) * 4ull;
    if (bytes > 0x7FFFFFFFull) return 0;
    return static_cast<size_t>(bytes);
}

int RoundFloat(float value)
{
    return static_cast<int>(value + 0.5f);
}

}  // namespace

int CreateMemoryDCBitmap(int width, int height, HDC* dc, BOOL dib, HBITMAP* bitmap)
{
    if (dc) *dc = nullptr;
    if (bitmap) *bitmap = nullptr;
    if (!dc || PixelBytes(width, height) == 0) return 0;
    platform::WindowDc screen;
    if (!screen) return 0;
    platform::UniqueHdc memory(CreateCompatibleDC(screen.Get()));
    if (!memory) return 0;
    platform::UniqueBitmap made;
    if (dib) {
        BITMAPINFO info = platform::Dib32Info(width, height);
        void* bits = nullptr;
        made.Reset(CreateDIBSection(screen.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    } else {
        made.Reset(CreateCompatibleBitmap(screen.Get(), width, height));
    }
    if (!made) return 0;
    // The DC's initial bitmap is a stock object: nothing to delete.
    HGDIOBJ previous = SelectObject(memory.Get(), made.Get());
    if (!previous || previous == HGDI_ERROR) return 0;
    HBITMAP handedOut = static_cast<HBITMAP>(made.Release());
    if (bitmap) *bitmap = handedOut;
    *dc = memory.Release();
    return 1;
}

void DeleteMemoryDC(HDC dc)
{
    if (!dc) return;
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    DeleteDC(dc);
    // Out of its DC now; the stock bitmap of an empty DC ignores this.
    if (bitmap) DeleteObject(bitmap);
}

int DrawBlurredRegion(Gdiplus::Graphics* graphics, HDC source, int x, int y, int width, int height)
{
    if (!graphics || !source) return 0;
    size_t bytes = PixelBytes(width, height);
    if (bytes == 0) return 0;

    platform::UniqueHdc memory(CreateCompatibleDC(source));
    if (!memory) return 0;
    BITMAPINFO info = platform::Dib32Info(width, -height);
    void* bits = nullptr;
    platform::UniqueBitmap dib(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib || !bits) return 0;

    std::unique_ptr<uint8_t[]> blurred(new (std::nothrow) uint8_t[bytes]);
    if (!blurred) return 0;
    {
        platform::SelectGuard selected(memory.Get(), dib.Get());
        if (!selected.Selected()) return 0;
        if (!BitBlt(memory.Get(), 0, 0, width, height, source, x, y, SRCCOPY)) return 0;
        GdiFlush();
        BlurBuffer3x3(blurred.get(), static_cast<const uint8_t*>(bits), width, height);
        // Same top-down header as the DIB, so the rows land where they came from.
        if (StretchDIBits(memory.Get(), 0, 0, width, height, 0, 0, width, height, blurred.get(), &info, DIB_RGB_COLORS,
                          SRCCOPY) == 0) {
            return 0;
        }
        GdiFlush();
    }
    // GDI+ wants a bitmap that is not selected into a DC.
    std::unique_ptr<Gdiplus::Bitmap> image(Gdiplus::Bitmap::FromHBITMAP(dib.Get(), nullptr));
    if (!image || image->GetLastStatus() != Gdiplus::Ok) return 0;
    return graphics->DrawImage(image.get(), x, y, 0, 0, width, height, Gdiplus::UnitPixel) == Gdiplus::Ok ? 1 : 0;
}

void BlurBuffer3x3(uint8_t* output, const uint8_t* input, int width, int height)
{
    if (!output || !input || width < 1 || height < 1) return;
    const size_t stride = static_cast<size_t>(width) * 4;
    for (int row = 0; row < height; ++row) {
        const uint8_t* in = input + static_cast<size_t>(row) * stride;
        uint8_t* out = output + static_cast<size_t>(row) * stride;
        bool borderRow = row == 0 || row == height - 1;
        for (int col = 0; col < width; ++col) {
            const size_t at = static_cast<size_t>(col) * 4;
            if (borderRow || col == 0 || col == width - 1) {
                out[at] = in[at];
                out[at + 1] = in[at + 1];
                out[at + 2] = in[at + 2];
            } else {
                for (size_t channel = 0; channel < 3; ++channel) {
                    unsigned sum = 0;
                    for (const uint8_t* line : {in - stride, in, in + stride}) {
                        sum += line[at - 4 + channel] + line[at + channel] + line[at + 4 + channel];
                    }
                    out[at + channel] = static_cast<uint8_t>(sum / 9);
                }
            }
            out[at + 3] = 255;
        }
    }
}

void SwapImageColumns(HDC* dc, int width, int height, int x1, int x2, int y, int bandWidth, int bandHeight)
{
    if (!dc || !*dc) return;
    HDC old = *dc;
    HDC copy = nullptr;
    if (!CreateMemoryDCBitmap(width, height, &copy, FALSE, nullptr)) return;

    auto blit = [&](int left, int top, int w, int h) { BitBlt(copy, left, top, w, h, old, left, top, SRCCOPY); };
    if (y > 0) blit(0, 0, width, y);
    if (x1 > 0) blit(0, y, x1, bandHeight);
    if (x1 + bandWidth < x2) blit(x1 + bandWidth, y, x2 - (x1 + bandWidth), bandHeight);
    if (x2 + bandWidth < width) blit(x2 + bandWidth, y, width - (x2 + bandWidth), bandHeight);
    if (y + bandHeight < height) blit(0, y + bandHeight, width, height - (y + bandHeight));

    BitBlt(copy, x1, y, bandWidth, bandHeight, old, x2, y, SRCCOPY);
    BitBlt(copy, x2, y, bandWidth, bandHeight, old, x1, y, SRCCOPY);

    DeleteMemoryDC(old);
    *dc = copy;
}

void GetBitmapBitsTopDown(HBITMAP bitmap, uint8_t* buffer, int width, int height)
{
    if (!bitmap || !buffer) return;
    size_t bytes = PixelBytes(width, height);
    if (bytes == 0) return;
    std::memset(buffer, 0, bytes);

    DIBSECTION section = {};
    if (GetObjectW(bitmap, sizeof(section), &section) != sizeof(section)) return;
    const BITMAP& source = section.dsBm;
    if (!source.bmBits || source.bmBitsPixel != 32 || source.bmWidth <= 0 || source.bmHeight <= 0) return;
    GdiFlush();

    const int rows = height < source.bmHeight ? height : source.bmHeight;
    const size_t rowBytes = static_cast<size_t>(width < source.bmWidth ? width : source.bmWidth) * 4;
    const size_t sourceStride = static_cast<size_t>(source.bmWidthBytes);
    const bool bottomUp = section.dsBmih.biHeight > 0;
    const uint8_t* bits = static_cast<const uint8_t*>(source.bmBits);
    for (int row = 0; row < rows; ++row) {
        size_t sourceRow = static_cast<size_t>(bottomUp ? source.bmHeight - 1 - row : row);
        std::memcpy(buffer + static_cast<size_t>(row) * width * 4, bits + sourceRow * sourceStride, rowBytes);
    }
}

bool SelectedDib32Size(HDC dc, SIZE& size)
{
    size = SIZE{0, 0};
    HGDIOBJ bitmap = dc ? GetCurrentObject(dc, OBJ_BITMAP) : nullptr;
    DIBSECTION section = {};
    if (!bitmap || GetObjectW(bitmap, sizeof(section), &section) != sizeof(section)) return false;
    const BITMAP& dib = section.dsBm;
    if (!dib.bmBits || dib.bmBitsPixel != 32 || dib.bmWidth <= 0 || dib.bmHeight <= 0) return false;
    size = SIZE{dib.bmWidth, dib.bmHeight};
    return true;
}

bool AllPixelsOpaque(const uint32_t* pixels, int width, int height)
{
    if (!pixels || width <= 0 || height <= 0) return false;
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    // Row by row, so a transparent corner ends the scan early.
    for (size_t start = 0; start < count; start += static_cast<size_t>(width)) {
        uint32_t alphas = 0xFF000000u;
        for (size_t i = start; i < start + static_cast<size_t>(width); ++i) alphas &= pixels[i];
        if (alphas != 0xFF000000u) return false;
    }
    return true;
}

void FillColorBands(HDC dc, int width, int height, const float positions[4], const COLORREF colors[4])
{
    if (!dc || !positions || !colors) return;
    Gdiplus::Graphics graphics(dc);
    if (graphics.GetLastStatus() != Gdiplus::Ok) return;
    const float w = static_cast<float>(width);
    auto mid = [&](int i) { return i < 3 ? (positions[i] + positions[i + 1]) / 2.0f : 1.0f; };
    for (int i = 0; i < 4; ++i) {
        COLORREF c = colors[i];
        Gdiplus::SolidBrush brush(Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c)));
        int start = RoundFloat(w * (i == 0 ? 0.0f : mid(i - 1)));
        int at = RoundFloat(w * positions[i]);
        int end = RoundFloat(w * mid(i));
        graphics.FillRectangle(&brush, start, 0, at - start, height);
        graphics.FillRectangle(&brush, at, 0, end - at, height);
    }
}
