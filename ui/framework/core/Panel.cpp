#include "ui/framework/core/Panel.h"

void Panel::AddChild(Control* child, int x, int y, int width, int height)
{
    if (!child) return;
    child->Create(m_hWnd, x, y, width, height);
    Children.push_back(child);
}

void Panel::Render()
{
    Control::Render();
    // Hidden children too: their surfaces stay current for when they show.
    for (Control* child : Children) child->Render();
}
