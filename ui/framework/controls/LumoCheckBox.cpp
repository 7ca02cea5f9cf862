#include "ui/framework/controls/LumoCheckBox.h"

#include <utility>

#include "ui/framework/language/LanguageLayout.h"

using namespace VisualStateNames;
using namespace lumocheck;

LumoCheckBox::LumoCheckBox(std::wstring caption)
{
    m_label.text = std::move(caption);
    m_label.fontFamily = DefaultFontFamily();
}

Look LumoCheckBox::CurrentLook() const
{
    if (m_bLookChecked) return kLookChecked;
    if (m_bLookHover) return kLookHover;
    return kLookNormal;
}

DWORD LumoCheckBox::AdjustExStyle(DWORD exStyle)
{
    return exStyle | WS_EX_LAYERED;
}

void LumoCheckBox::SetLook(Look look)
{
    m_bLookNormal = look == kLookNormal ? 1 : 0;
    m_bLookChecked = look == kLookChecked ? 1 : 0;
    m_bLookHover = look == kLookHover ? 1 : 0;
}

int LumoCheckBox::OnCreated()
{
    if (!ToggleButton::OnCreated()) return 0;
    Background = Gdiplus::Color(kBackground);
    m_pNormalImage = LoadImage(kNormalImage);
    m_pHoverImage = LoadImage(kHoverImage);
    m_pCheckedImage = LoadImage(kCheckedImage);
    // Scaled from the 100 % values, so a second creation does not scale twice.
    m_scaledTextRect = ScaledRect(m_textRect);
    m_label.padding = Control::Thickness(0);

    // Each runs at once when its state is current: common first, so a
    // checked box keeps its checked look.
    SetStateAction(kCommonStates, kNormal, [this] {
        m_fHoverOpacity = 0.0f;
        m_label.color = kTextNormal;
        SetLook(kLookNormal);
        Render();
    });
    SetStateAction(kCommonStates, kMouseOver, [this] {
        m_fHoverOpacity = 1.0f;
        m_label.color = kTextHover;
        SetLook(kLookHover);
        Render();
    });
    SetStateAction(kCheckStates, kChecked, [this] {
        m_fCheckedOpacity = 1.0f;
        m_label.color = kTextChecked;
        SetLook(kLookChecked);
        Render();
    });
    SetStateAction(kCheckStates, kUnchecked, [this] {
        m_fCheckedOpacity = 0.0f;
        Render();
    });
    return 1;
}

void LumoCheckBox::PaintContent(Gdiplus::Graphics& graphics)
{
    const Gdiplus::GraphicsContainer container = graphics.BeginContainer();
    const Gdiplus::Rect box = ScaledImageRect();
    DrawLayer(graphics, m_pNormalImage.get(), box, m_fNormalOpacity);
    DrawLayer(graphics, m_pHoverImage.get(), box, m_fHoverOpacity);
    DrawLayer(graphics, m_pCheckedImage.get(), box, m_fCheckedOpacity);
    DrawLabel(graphics, m_label, m_scaledTextRect, TextColor(m_bLookNormal, m_bLookChecked, m_bLookHover));
    graphics.EndContainer(container);
}
