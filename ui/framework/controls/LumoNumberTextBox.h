#pragma once
#include <memory>
#include <string>

#include "ui/framework/controls/TextBox.h"

// A number entry: digits only, held to [Min, Max] while the user types, on
// the skin's text-box looks. An empty entry becomes Min when editing ends.
class LumoNumberTextBox : public TextBox {
public:
    LumoNumberTextBox(float fontSize, float opacity, Gdiplus::ARGB color);
    ~LumoNumberTextBox() override;  // 45

    property_bst_override<int> Value;
    property_bst_override<int> Min;
    property_bst_override<int> Max;

    void SetText(const std::wstring& text) override;  // 44

    // The text as a decimal number: leading digits after an optional sign,
    // held to the int range; 0 when nothing parses.
    static int ParseNumber(const std::wstring& text);

protected:
    DWORD AdjustExStyle(DWORD exStyle) override;             // 38
    int OnCreated() override;                                // 39
    void PaintContent(Gdiplus::Graphics& graphics) override; // 41
    void OnEditChange() override;                            // 48
    void OnEditSetFocus() override;                          // 49

    int32_t m_nMin = 0;
    int32_t m_nMax = 255;
    std::shared_ptr<Gdiplus::Bitmap> m_pNormalLook;
    std::shared_ptr<Gdiplus::Bitmap> m_pHoverLook;

private:
    // The look's image, shared by all boxes while any holds it.
    static std::shared_ptr<Gdiplus::Bitmap> SharedLook(const wchar_t* name);
};

class LumoNumberTextBox_10pt_Bold_100 : public LumoNumberTextBox {
public:
    LumoNumberTextBox_10pt_Bold_100() : LumoNumberTextBox(10.0f, 1.0f, 0xFFFFFFFF) {}
};

// The temperature entry: 10 to 99; a two-digit number below 10 cannot occur,
// but one digit stays while the user types on.
class LumoNumberTemperatureTextBox : public LumoNumberTextBox_10pt_Bold_100 {
public:
    LumoNumberTemperatureTextBox();

protected:
    void OnEditChange() override;  // 48
};
