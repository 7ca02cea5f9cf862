#pragma once
#include "ui/framework/core/Control.h"

// Shows a picture that its owner keeps in a device context. The control
// only borrows the DC: the owner keeps it alive (and its bitmap selected)
// while the control is shown, and sets null before releasing it.
class LumoPic : public Control {
public:
    HDC PictureDC() const { return m_hPictureDC; }
    // Stores the picture and renders it.
    void SetPictureDC(HDC picture);

protected:
    void PaintContent(Gdiplus::Graphics& graphics) override;  // 41

    HDC m_hPictureDC = nullptr;
};
