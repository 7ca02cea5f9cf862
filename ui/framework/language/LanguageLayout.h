#pragma once
#include <string>

#include "ui/framework/language/Language.h"
#include "ui/framework/scale/Scale.h"

// Layout values that differ by g_nLangIndexUI.

// "MS UI Gothic" for Japanese, else "Segoe UI".
std::wstring DefaultFontFamily();

// Left and top text inset of the number text boxes at a language and scale.
void NumberBoxTextPadding(int langIndexUI, float uiScale, int& left, int& top);

// The number boxes' Padding at g_nLangIndexUI and g_fUIScale (right and
// bottom 0); Edges is any record with int left, top, right, bottom.
template <typename Edges>
Edges GetNumberBoxTextPadding()
{
    Edges padding{};
    int left = 0, top = 0;
    NumberBoxTextPadding(g_nLangIndexUI, g_fUIScale, left, top);
    padding.left = left;
    padding.top = top;
    padding.right = 0;
    padding.bottom = 0;
    return padding;
}

// How far the colour picker's labels move left (0: not at all) and whether
// their font shrinks, at a language and scale; only language 20 has one.
int ColorPickerLabelShift(int langIndexUI, float uiScale);
constexpr float kColorPickerLabelFontSize = 8.0f;

// Language-20 adjustment of one colour-picker label: FontSize 8 and moved
// left. Control is any type with FontSize and X properties (Get/Set).
template <typename Control>
void AdjustColorPickerForLanguage(Control& control)
{
    if (g_nLangIndexUI != 20) return;
    control.FontSize.Set(kColorPickerLabelFontSize);
    control.X.Set(control.X.Get() - ColorPickerLabelShift(g_nLangIndexUI, g_fUIScale));
}

// Unscaled label widths of the effect panel by language; false for a
// language without its own (the widths then stay as they are).
struct LanguageLabelWidths {
    int single;   // the direction title
    int pair;     // the colour and other-colour titles
    int four[4];  // the tempo title and the three tempo buttons
};
bool GetLanguageLabelWidths(int langIndexUI, LanguageLabelWidths& widths);

// Set the widths of one, two or four rectangles for g_nLangIndexUI; the
// caller passes each rectangle's width field.
void ApplyLanguageWidth(int& width);
void ApplyLanguageWidths2(int& first, int& second);
void ApplyLanguageWidths4(int& first, int& second, int& third, int& fourth);
