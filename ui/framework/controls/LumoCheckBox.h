#pragma once
#include <memory>
#include <string>

#include "ui/framework/controls/LumoCheckLook.h"
#include "ui/framework/controls/ToggleButton.h"

// The styled check box: the radio images as layers blended by opacity and a
// caption whose colour follows the look.
class LumoCheckBox : public ToggleButton {
public:
    // The caption is a language key.
    explicit LumoCheckBox(std::wstring caption);

    // For tests and layout: the look now shown.
    lumocheck::Look CurrentLook() const;

protected:
    DWORD AdjustExStyle(DWORD exStyle) override;
    int OnCreated() override;
    void PaintContent(Gdiplus::Graphics& graphics) override;

    lumocheck::Label m_label;
    std::shared_ptr<Gdiplus::Bitmap> m_pNormalImage;
    std::shared_ptr<Gdiplus::Bitmap> m_pHoverImage;
    std::shared_ptr<Gdiplus::Bitmap> m_pCheckedImage;
    float m_fNormalOpacity = 1.0f;
    float m_fHoverOpacity = 0.0f;
    float m_fCheckedOpacity = 0.0f;
    // At 100 %: x, y, width, height.
    Control::Thickness m_textRect{22, 0, 100, 20};
    int32_t m_bLookNormal = 1;
    int32_t m_bLookChecked = 0;
    int32_t m_bLookHover = 0;

private:
    void SetLook(lumocheck::Look look);

    // m_textRect at the scale of the last creation.
    Gdiplus::Rect m_scaledTextRect;
};
