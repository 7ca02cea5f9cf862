#pragma once
#include <functional>

#include "platform/win/GdiplusHeaders.h"

// What an effect panel needs of the colour picker popup: set the colour to
// edit, show it, hear its colour changes. ColorChanged reaches the handler on
// the UI thread. There is no unsubscribing: the panel guards its handler.
class LumoEffectPanelColorPopup {
public:
    using ColorHandler = std::function<void(const Gdiplus::Color&)>;

    virtual ~LumoEffectPanelColorPopup() = default;
    virtual void SetColor(const Gdiplus::Color& color) = 0;
    // Shows the popup above the other windows.
    virtual void Show() = 0;
    virtual void SubscribeColorChanged(ColorHandler handler) = 0;
};
