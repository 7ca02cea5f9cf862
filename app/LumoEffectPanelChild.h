#pragma once
#include <windows.h>

#include "ui/framework/LayeredChildren.h"

// A styled control as a child of an effect panel: its window is layered only
// where layered child windows work; elsewhere it draws over the panel's
// rendered image and is painted in WM_PAINT.
template <typename Base>
class LumoEffectPanelChild : public Base {
public:
    using Base::Base;

protected:
    DWORD AdjustExStyle(DWORD exStyle) override { return ChildLayeredExStyle(Base::AdjustExStyle(exStyle)); }
};
