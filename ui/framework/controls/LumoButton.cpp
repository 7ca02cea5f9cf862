#include "ui/framework/controls/LumoButton.h"

#include <utility>

#include "ui/framework/drawing/ControlText.h"

using namespace VisualStateNames;

LumoButton::LumoButton(std::wstring normalImage, std::wstring mouseOverImage, std::wstring pressedImage)
{
    if (!normalImage.empty()) SetStateAction(kCommonStates, kNormal, ShowImageAction(std::move(normalImage), &m_pNormalImage));
    if (!mouseOverImage.empty())
        SetStateAction(kCommonStates, kMouseOver, ShowImageAction(std::move(mouseOverImage), &m_pMouseOverImage));
    if (!pressedImage.empty())
        SetStateAction(kCommonStates, kPressed, ShowImageAction(std::move(pressedImage), &m_pPressedImage));
}

StateAction LumoButton::ShowImageAction(std::wstring name, std::shared_ptr<Gdiplus::Bitmap>* image)
{
    return [this, name = std::move(name), image] {
        // A failed load is tried again next time rather than kept as "none".
        if (!*image) *image = std::shared_ptr<Gdiplus::Bitmap>(LoadSkinImageScaled(name.c_str()));
        BackgroundImage = *image;
    };
}

DWORD LumoButton::AdjustExStyle(DWORD exStyle)
{
    return exStyle | WS_EX_LAYERED;
}
