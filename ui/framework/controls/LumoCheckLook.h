#pragma once
#include <windows.h>

#include "platform/win/GdiplusHeaders.h"

#include <cstdint>
#include <memory>
#include <string>

#include "ui/framework/core/Control.h"

// What the styled check box and radio button share: their images, their text
// colours and the way they are drawn.
namespace lumocheck {

constexpr Gdiplus::ARGB kBackground = 0x01000000;  // every pixel takes the mouse
constexpr Gdiplus::ARGB kTextNormal = 0xBFFFFFFF;
constexpr Gdiplus::ARGB kTextHover = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kTextChecked = 0xFFFF252F;

constexpr const wchar_t* kNormalImage = L"RADIO_BTN_NORMAL";
constexpr const wchar_t* kHoverImage = L"RADIO_BTN_HOVER";
constexpr const wchar_t* kCheckedImage = L"RADIO_BTN_SELECT";

enum Look { kLookNormal, kLookChecked, kLookHover };

// A label kept as a text style: no window of its own.
struct Label {
    std::wstring text;  // a language key
    std::wstring fontFamily;
    float fontSize = 10.0f;
    int fontStyle = 0;
    Gdiplus::ARGB color = kTextHover;
    Control::Thickness padding;
    bool visible = true;

    // The language text of the key (empty when the key is missing).
    std::wstring DisplayText() const;
};

// The image box {0, 0, 15, 15} at g_fUIScale.
Gdiplus::Rect ScaledImageRect();
// A rectangle kept as x, y, width, height at 100 %, scaled to g_fUIScale.
Gdiplus::Rect ScaledRect(Control::Thickness rect);

std::shared_ptr<Gdiplus::Bitmap> LoadImage(const wchar_t* name);

// The text colour of a look: normal, then checked, then hover wins.
Gdiplus::ARGB TextColor(bool normal, bool checked, bool hover);

// Draws one image layer at an opacity (0 draws nothing visible).
void DrawLayer(Gdiplus::Graphics& graphics, Gdiplus::Bitmap* image, const Gdiplus::Rect& box, float opacity);

// Draws the label's text in the rectangle and colour.
void DrawLabel(Gdiplus::Graphics& graphics, const Label& label, const Gdiplus::Rect& box, Gdiplus::ARGB color);

}  // namespace lumocheck
