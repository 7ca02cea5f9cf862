#include "ui/framework/language/LanguageLayout.h"

namespace {

struct WidthRow {
    int lang;
    LanguageLabelWidths widths;
};

const WidthRow kWidthRows[] = {
    {1, {93, 106, {67, 59, 77, 52}}},   {2, {50, 79, {50, 37, 37, 37}}},    {3, {50, 100, {50, 38, 38, 38}}},
    {5, {91, 129, {67, 89, 69, 81}}},   {6, {93, 105, {64, 68, 69, 75}}},   {7, {93, 105, {67, 58, 75, 72}}},
    {9, {47, 89, {47, 42, 42, 42}}},    {11, {79, 110, {67, 72, 73, 79}}},  {12, {79, 110, {67, 72, 73, 79}}},
    {13, {125, 142, {58, 118, 95, 95}}}, {17, {85, 118, {67, 106, 108, 63}}},
};

int RoundedScaled(double value, float scale)
{
    return static_cast<int>(value * static_cast<double>(scale) + 0.5);
}

}  // namespace

std::wstring DefaultFontFamily()
{
    return g_nLangIndexUI == kLangJapanese ? L"MS UI Gothic" : L"Segoe UI";
}

void NumberBoxTextPadding(int langIndexUI, float uiScale, int& left, int& top)
{
    if (langIndexUI == kLangJapanese) {
        left = RoundedScaled(7.0, uiScale);
        top = RoundedScaled(8.0, uiScale);
    } else {
        left = top = RoundedScaled(5.0, uiScale);
    }
}

int ColorPickerLabelShift(int langIndexUI, float uiScale)
{
    return langIndexUI == 20 ? RoundedScaled(10.0, uiScale) : 0;
}

bool GetLanguageLabelWidths(int langIndexUI, LanguageLabelWidths& widths)
{
    for (const WidthRow& row : kWidthRows) {
        if (row.lang == langIndexUI) {
            widths = row.widths;
            return true;
        }
    }
    return false;
}

void ApplyLanguageWidth(int& width)
{
    LanguageLabelWidths widths;
    if (GetLanguageLabelWidths(g_nLangIndexUI, widths)) width = widths.single;
}

void ApplyLanguageWidths2(int& first, int& second)
{
    LanguageLabelWidths widths;
    if (GetLanguageLabelWidths(g_nLangIndexUI, widths)) first = second = widths.pair;
}

void ApplyLanguageWidths4(int& first, int& second, int& third, int& fourth)
{
    LanguageLabelWidths widths;
    if (!GetLanguageLabelWidths(g_nLangIndexUI, widths)) return;
    first = widths.four[0];
    second = widths.four[1];
    third = widths.four[2];
    fourth = widths.four[3];
}
