#pragma once
#include <windows.h>
#include <d2d1.h>
#include <wincodec.h>

// Off-screen Direct2D rendering into WIC bitmaps, handed back as GDI memory
// DCs: a Gaussian blur of a client's picture and linear gradient fills.
// Clients register by their window handle; the shared factories live while
// at least one client is registered. UI thread only; COM must be initialised
// on it before the first client is added.
//
// Every DC handed out holds a top-down 32bpp DIB section of premultiplied
// BGRA pixels and belongs to the caller: with no HBITMAP handed out, delete
// it with DeleteMemoryDC (GdiHelpers.h), which also deletes its DIB; with one
// handed out, delete the DC first and then the bitmap. Out values are only
// written on success.

// 1 when the key was added; 0 for key 0, a key already present or a full
// table (four clients). Still 1 when the factories could not be made; every
// later operation then gives 0.
int D2DAddClient(HWND key);

// 1 when the key was found and removed; the last removal releases the
// factories.
int D2DRemoveClient(HWND key);

// Sets the client's source picture from the bitmap, or with none from the
// source DC's area (0, 0, width, height). Alpha is ignored. The old picture
// is dropped even when this fails.
int D2DSetSourceFromDC(HWND key, int width, int height, HDC source, HBITMAP bitmap);

// A width x height DC holding the client's source picture blurred with the
// effect's defaults (standard deviation 3, soft border). Where the Direct2D
// effect is missing, the same blur is computed on the CPU.
int D2DGaussianBlur(HWND key, int width, int height, HDC* dc);

// A width x height DC filled with a linear gradient of count stops
// (positions 0..1, colours as COLORREF, opaque). With gamma set the colours
// blend in linear light, else in gamma 2.2; with vertical set they run top to
// bottom, else left to right.
int D2DDrawLinearGradient(HWND key, int width, int height, const float* positions, const COLORREF* colors, int count,
                          HDC* dc, HBITMAP* bitmap, BOOL gamma, BOOL vertical);

// A DC holding a copy of the WIC bitmap's pixels: 32bpp BGR formats byte for
// byte, other formats converted to premultiplied BGRA.
int D2DCopyWicBitmapToDC(IWICBitmap* wicBitmap, HDC* dc, HBITMAP* bitmap);

// How the last successful D2DGaussianBlur was made.
enum class D2DBlurRoute { None, Effect, Cpu };
D2DBlurRoute D2DLastBlurRoute();

// The shared factories, null while none exists (not add-ref'd).
ID2D1Factory* D2DGetFactory();
IWICImagingFactory* D2DGetWicFactory();
