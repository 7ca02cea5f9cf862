#pragma once
#include "platform/win/GdiplusHeaders.h"

#include <memory>
#include <string>

// Text and image helpers of the framework's controls. Both text paths size
// the font alike, so GDI and GDI+ text of one control match: the drawn
// height is ceil(size x 1.4) x g_fFontScale pixels.

// Font style bits, the same as Gdiplus::FontStyle.
constexpr int kFontBold = 1;
constexpr int kFontItalic = 2;
constexpr int kFontUnderline = 4;
constexpr int kFontStrikeout = 8;

// The pixel height a control's FontSize draws at.
float ControlFontPixelHeight(float size);

// A new GDI font the caller deletes (null on failure).
HFONT CreateGdiFont(int style, const wchar_t* family, float size);

// Draws single-line text with GDI into a DC, or into the graphics' DC.
void DrawTextGdi(HDC dc, const std::wstring& text, const Gdiplus::RectF& layout, float size, int style,
                 const Gdiplus::StringFormat& format, const wchar_t* family, const Gdiplus::Brush* brush);
void DrawTextGdi(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::RectF& layout, float size,
                 int style, const Gdiplus::StringFormat& format, const wchar_t* family, const Gdiplus::Brush* brush);

// Draws text with GDI+, its box moved to sit on the baseline; returns 0.
int DrawTextGdiplusRect(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::RectF& layout,
                        float size, int style, const Gdiplus::StringFormat& format, const wchar_t* family,
                        const Gdiplus::Brush* brush);
int DrawTextGdiplusRectI(Gdiplus::Graphics& graphics, const std::wstring& text, const Gdiplus::Rect& layout,
                         float size, int style, const Gdiplus::StringFormat& format, const wchar_t* family,
                         const Gdiplus::Brush* brush);

// A skin image at g_fImageScale that the caller owns, or null.
std::unique_ptr<Gdiplus::Bitmap> LoadSkinImageScaled(const wchar_t* name);
