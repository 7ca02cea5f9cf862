#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/GdiplusHeaders.h"

#include <memory>

// Captions of the custom-drawn windows: one call draws or measures a string
// in a rectangle with one of nine alignments and one of the text styles.
// UI thread only; GDI+ must be running.

// Multiplies every text size; copied from g_fFontScaleBase at start-up.
extern float g_fFontScale;

// Alignment index 0 to 8: horizontal = index % 3, vertical = index / 3, each
// near, center or far. Any other index is near and near.
struct TextAlignment {
    Gdiplus::StringAlignment horizontal;
    Gdiplus::StringAlignment vertical;
};
TextAlignment TextAlignmentForIndex(int alignment);

// What a style id stands for at a language index.
struct TextStyle {
    float size;             // pixels at 100 %, before g_fFontScale
    bool bold;
    Gdiplus::ARGB color;
    const wchar_t* family;  // "Segoe UI", "MS UI Gothic" for language 9
    bool fallbackFont;      // 31 and 32 build their font with CreateFontWithFallback
};
// False for an id outside the table (such a style draws nothing).
bool GetTextStyle(int styleId, int langIndex, TextStyle& style);

// The format every caption uses: ellipsis trimming, the alignment's two
// alignments, and right-to-left layout for language index 4.
void SetupTextFormat(Gdiplus::StringFormat& format, int alignment, int langIndex);

// Draws text in rect unless measureOnly; when bounds is given, measures it
// there and puts GDI+'s count of fitted characters in *fitted. The style's
// font and colour follow g_nLangIndexUI and g_fFontScale. False when a GDI+
// call failed or there was nothing to draw with (unknown style, no font,
// null graphics or text); the out values are zero unless measured.
bool DrawTextGdiplus(Gdiplus::Graphics* graphics, const Gdiplus::RectF& rect, const wchar_t* text, int alignment,
                     int styleId, Gdiplus::RectF* bounds = nullptr, bool measureOnly = false, int* fitted = nullptr);

// The same with the rectangle as x, y, width and height.
bool DrawTextOnDC(Gdiplus::Graphics* graphics, int x, int y, int width, int height, const wchar_t* text,
                  int alignment, int styleId, Gdiplus::RectF* bounds = nullptr, bool measureOnly = false,
                  int* fitted = nullptr);

struct FontAndBrush {
    std::unique_ptr<Gdiplus::Font> font;
    std::unique_ptr<Gdiplus::SolidBrush> brush;
};
// A font of size x g_fFontScale pixels and a solid brush of the colour; each
// is null when GDI+ could not make it (a family that is not installed, a
// size that is not positive).
FontAndBrush CreateFontAndBrush(const wchar_t* family, float size, bool bold, Gdiplus::ARGB color);

// A font of size pixels in the family; when the family or that style of it
// is missing, in GDI+'s generic sans-serif family instead. Null when neither
// can be had (under Wine the generic family itself may be missing).
std::unique_ptr<Gdiplus::Font> CreateFontWithFallback(const wchar_t* family, INT style, float size);
// The same with the fallback family given (null: no fallback).
std::unique_ptr<Gdiplus::Font> CreateFontWithFallbackTo(const wchar_t* family, INT style, float size,
                                                        const Gdiplus::FontFamily* fallback);
