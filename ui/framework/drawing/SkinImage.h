#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/GdiplusHeaders.h"

#include <cstddef>
#include <memory>

constexpr size_t kSkinResTypeChars = 260;

// The resource type every skin load reads ("1920_1080" or "4K"), and the
// scale the images are drawn at; both set once before any window is built.
// Empty until then, so an early load finds nothing.
extern wchar_t g_szSkinResType[kSkinResTypeChars];
extern float g_fImageScale;

extern const wchar_t kSkinSet1080[];  // "1920_1080"
extern const wchar_t kSkinSet4K[];    // "4K"

// "1920_1080" for resolution classes 0 and 1, "4K" for 2 and 3.
const wchar_t* SkinResourceTypeForClass(int resolutionClass);

// A side of an image at a scale: the integer part of side x scale + 0.5, in
// float.
int ScaledSkinSide(int side, float scale);

// Each returns 1 on success and 0 on failure; what is handed out belongs to
// the caller.

// The skin PNG of that name from the g_szSkinResType set, as a new bitmap.
int LoadSkinImage(Gdiplus::Bitmap** bitmap, HMODULE module, const wchar_t* name);

// The same decoded from the given set on any thread; null when missing.
std::unique_ptr<Gdiplus::Bitmap> DecodeSkinImage(HMODULE module, const wchar_t* skinSet, const wchar_t* name);

// A new 32bpp ARGB bitmap of exactly width x height with the source stretched
// into it.
int ScaleSkinBitmap(Gdiplus::Bitmap** scaled, Gdiplus::Bitmap* source, int width, int height);

// A GDI bitmap of the image at the scale (1.0: unscaled; a failed scaling
// falls back to the unscaled image) and its size. Each out may be null; with
// no out bitmap only the size is reported.
int SkinBitmapToHBITMAP(Gdiplus::Bitmap* bitmap, HBITMAP* hbitmap, int* width, int* height, float scale);

// A new screen-compatible memory DC holding the image at the scale. The
// image bitmap stays selected in it and belongs to it: release the pair with
// DeleteMemoryDC.
int SkinBitmapToMemoryDC(Gdiplus::Bitmap* bitmap, int* width, int* height, HDC* dc, float scale);

// LoadSkinImage, then SkinBitmapToMemoryDC at g_fImageScale.
int LoadSkinImageToDC(HMODULE module, const wchar_t* name, HDC* dc, int* width, int* height);
