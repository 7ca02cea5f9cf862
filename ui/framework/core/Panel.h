#pragma once
#include <vector>

#include "ui/framework/core/Control.h"

// A control that hosts other controls as child windows and renders them after
// itself. It does not own them: their owner destroys them.
class Panel : public Control {
public:
    // Creates the child's window inside the panel and appends it, whether or
    // not the creation succeeded.
    void AddChild(Control* child, int x, int y, int width, int height);

    void Render() override;

    std::vector<Control*> Children;
};
