#include "ui/framework/drawing/SkinImage.h"

#include <memory>

#include "platform/win/GdiHandles.h"
#include "ui/framework/drawing/PngDecoder.h"
#include "ui/framework/drawing/SkinPrefetch.h"

wchar_t g_szSkinResType[kSkinResTypeChars] = L"";
float g_fImageScale = 1.0f;

const wchar_t kSkinSet1080[] = L"1920_1080";
const wchar_t kSkinSet4K[] = L"4K";

namespace {

struct StreamRelease {
    void operator()(IStream* stream) const { stream->Release(); }
};

// Whatever GDI+ makes of the bytes: the way for any image the PNG path does
// not take, and the judge of what is no image at all.
std::unique_ptr<Gdiplus::Bitmap> DecodeThroughGdiplus(const void* bytes, DWORD size)
{
    IStream* rawStream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(nullptr, TRUE, &rawStream)) || !rawStream) return nullptr;
    std::unique_ptr<IStream, StreamRelease> stream(rawStream);
    ULONG written = 0;
    if (FAILED(stream->Write(bytes, size, &written)) || written != size) return nullptr;
    std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromStream(stream.get()));
    if (!decoded || decoded->GetLastStatus() != Gdiplus::Ok) return nullptr;
    return decoded;
}

}  // namespace

const wchar_t* SkinResourceTypeForClass(int resolutionClass)
{
    return resolutionClass >= 2 ? kSkinSet4K : kSkinSet1080;
}

int ScaledSkinSide(int side, float scale)
{
    return static_cast<int>(static_cast<float>(side) * scale + 0.5f);
}

std::unique_ptr<Gdiplus::Bitmap> DecodeSkinImage(HMODULE module, const wchar_t* skinSet, const wchar_t* name)
{
    if (!name || !skinSet || !skinSet[0]) return nullptr;
    HRSRC found = FindResourceW(module, name, skinSet);
    if (!found) return nullptr;
    DWORD size = SizeofResource(module, found);
    HGLOBAL loaded = size ? LoadResource(module, found) : nullptr;
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes) return nullptr;

    std::unique_ptr<Gdiplus::Bitmap> decoded = DecodeRgbaPng(bytes, size);
    if (!decoded) decoded = DecodeThroughGdiplus(bytes, size);
    return decoded;
}

int LoadSkinImage(Gdiplus::Bitmap** bitmap, HMODULE module, const wchar_t* name)
{
    if (!bitmap) return 0;
    *bitmap = nullptr;
    if (!name || !g_szSkinResType[0]) return 0;
    std::unique_ptr<Gdiplus::Bitmap> decoded = SkinPrefetch::Take(module, g_szSkinResType, name);
    if (!decoded) decoded = DecodeSkinImage(module, g_szSkinResType, name);
    if (!decoded) return 0;
    *bitmap = decoded.release();
    return 1;
}

int ScaleSkinBitmap(Gdiplus::Bitmap** scaled, Gdiplus::Bitmap* source, int width, int height)
{
    if (!scaled) return 0;
    *scaled = nullptr;
    if (!source || width <= 0 || height <= 0) return 0;
    auto work = std::make_unique<Gdiplus::Bitmap>(width, height, PixelFormat32bppARGB);
    if (work->GetLastStatus() != Gdiplus::Ok) return 0;
    {
        Gdiplus::Graphics graphics(work.get());
        if (graphics.GetLastStatus() != Gdiplus::Ok) return 0;
        if (graphics.DrawImage(source, Gdiplus::Rect(0, 0, width, height)) != Gdiplus::Ok) return 0;
    }
    // The work bitmap is handed out as it is: a whole-area clone in the same
    // format would be the same pixels at the cost of one more copy.
    *scaled = work.release();
    return 1;
}

int SkinBitmapToHBITMAP(Gdiplus::Bitmap* bitmap, HBITMAP* hbitmap, int* width, int* height, float scale)
{
    if (hbitmap) *hbitmap = nullptr;
    if (!bitmap) return 0;

    std::unique_ptr<Gdiplus::Bitmap> scaled;
    if (scale != 1.0f) {
        Gdiplus::Bitmap* made = nullptr;
        if (ScaleSkinBitmap(&made, bitmap, ScaledSkinSide(static_cast<int>(bitmap->GetWidth()), scale),
                            ScaledSkinSide(static_cast<int>(bitmap->GetHeight()), scale))) {
            scaled.reset(made);
        }
    }
    Gdiplus::Bitmap* image = scaled ? scaled.get() : bitmap;
    if (width) *width = static_cast<int>(image->GetWidth());
    if (height) *height = static_cast<int>(image->GetHeight());
    if (!hbitmap) return 1;
    HBITMAP made = nullptr;
    if (image->GetHBITMAP(Gdiplus::Color(0), &made) != Gdiplus::Ok || !made) return 0;
    *hbitmap = made;
    return 1;
}

int SkinBitmapToMemoryDC(Gdiplus::Bitmap* bitmap, int* width, int* height, HDC* dc, float scale)
{
    if (dc) *dc = nullptr;
    if (!bitmap || !dc) return 0;
    platform::WindowDc screen;
    if (!screen) return 0;
    platform::UniqueHdc memory(CreateCompatibleDC(screen.Get()));
    if (!memory) return 0;
    HBITMAP image = nullptr;
    int w = 0, h = 0;
    if (!SkinBitmapToHBITMAP(bitmap, &image, &w, &h, scale)) return 0;
    platform::UniqueBitmap owned(image);
    // The DC's initial bitmap is a stock object: nothing to delete.
    HGDIOBJ previous = SelectObject(memory.Get(), owned.Get());
    if (!previous || previous == HGDI_ERROR) return 0;
    owned.Release();
    if (width) *width = w;
    if (height) *height = h;
    *dc = memory.Release();
    return 1;
}

int LoadSkinImageToDC(HMODULE module, const wchar_t* name, HDC* dc, int* width, int* height)
{
    if (dc) *dc = nullptr;
    Gdiplus::Bitmap* raw = nullptr;
    if (!LoadSkinImage(&raw, module, name)) return 0;
    std::unique_ptr<Gdiplus::Bitmap> bitmap(raw);
    return SkinBitmapToMemoryDC(bitmap.get(), width, height, dc, g_fImageScale);
}
