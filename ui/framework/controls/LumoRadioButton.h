#pragma once
#include <memory>
#include <string>

#include "ui/framework/controls/LumoCheckLook.h"
#include "ui/framework/controls/RadioButton.h"

// The styled radio button: the radio images as layers blended by opacity, a
// text whose colour follows the look and an optional icon per look.
class LumoRadioButton : public RadioButton {
public:
    // The text is a language key; an empty icon name means no icon for that look.
    LumoRadioButton(std::wstring text, std::wstring groupName, std::wstring normalIcon, std::wstring hoverIcon,
                    std::wstring checkedIcon);

    property_bst_override<std::wstring> Text;
    property_bst_override<float> NormalOpacity;
    property_bst_override<float> HoverOpacity;
    property_bst_override<float> CheckedOpacity;

    // Also halves the opacity while disabled.
    void SetIsEnabled(int enabled) override;

    lumocheck::Look CurrentLook() const;

protected:
    DWORD AdjustExStyle(DWORD exStyle) override;
    int OnCreated() override;
    void PaintContent(Gdiplus::Graphics& graphics) override;

    float m_fNormalOpacity = 1.0f;
    float m_fHoverOpacity = 0.0f;
    float m_fCheckedOpacity = 0.0f;
    // One per look, indexed by lumocheck::Look; only the shown one is visible.
    lumocheck::Label m_labels[3];
    // At 100 %: x, y, width, height.
    Control::Thickness m_textRect{22, 0, 150, 20};
    int32_t m_bLookNormal = 1;
    int32_t m_bLookChecked = 0;
    int32_t m_bLookHover = 0;
    std::shared_ptr<Gdiplus::Bitmap> m_pNormalImage;
    std::shared_ptr<Gdiplus::Bitmap> m_pHoverImage;
    std::shared_ptr<Gdiplus::Bitmap> m_pCheckedImage;
    // Built the first time their look is entered.
    std::shared_ptr<Gdiplus::Bitmap> m_pIcons[3];

private:
    void EnterLook(lumocheck::Look look);

    std::wstring m_iconNames[3];
    Gdiplus::Rect m_scaledTextRect;
};
