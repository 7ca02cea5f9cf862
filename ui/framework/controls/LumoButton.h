#pragma once
#include <memory>
#include <string>

#include "ui/framework/controls/Button.h"

// A layered button whose face is one of three skin images, by common state.
// An empty image name leaves that state without a look of its own.
class LumoButton : public Button {
public:
    LumoButton(std::wstring normalImage, std::wstring mouseOverImage, std::wstring pressedImage);

protected:
    DWORD AdjustExStyle(DWORD exStyle) override;

    // Loaded the first time their state is entered.
    std::shared_ptr<Gdiplus::Bitmap> m_pNormalImage;
    std::shared_ptr<Gdiplus::Bitmap> m_pMouseOverImage;
    std::shared_ptr<Gdiplus::Bitmap> m_pPressedImage;

private:
    StateAction ShowImageAction(std::wstring name, std::shared_ptr<Gdiplus::Bitmap>* image);
};
