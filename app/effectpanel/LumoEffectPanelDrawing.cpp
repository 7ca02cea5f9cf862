// How the effect panel draws: its background once, and each child that
// changed or moved once per change.
#include "app/effectpanel/LumoEffectPanel.h"

#include <algorithm>
#include <cstring>

void LumoEffectPanel::MoveChild(Control& child, int dx, int dy)
{
    PlaceChild(child, child.X.Get() + dx, child.Y.Get() + dy);
}

void LumoEffectPanel::PlaceChild(Control& child, int x, int y)
{
    if (!child.Handle.Get() || (x == child.X.Get() && y == child.Y.Get())) return;
    child.Location = Gdiplus::Point(x, y);
    m_movedChildren.push_back(&child);
}

bool LumoEffectPanel::IsShownNow(const Control& child)
{
    HWND window = child.Handle.Get();
    return window && (::GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
}

void LumoEffectPanel::SetShown(Control& child, int shown)
{
    // Showing or hiding a window costs a repaint: only when it changes.
    if (child.IsVisible.Get() == shown && IsShownNow(child) == (shown != 0)) return;
    child.IsVisible = shown;
    if (shown && m_renderBatches == 0) RenderIfPending(child);
}

void LumoEffectPanel::RenderIfPending(Control& child)
{
    auto* deferred = dynamic_cast<LumoEffectPanelDeferredRender*>(&child);
    if (deferred && deferred->RenderPending()) child.Render();
}

void LumoEffectPanel::RenderMovedChildren()
{
    if (m_renderBatches > 0) return;  // the batch's end draws them
    std::vector<Control*> moved;
    moved.swap(m_movedChildren);
    std::sort(moved.begin(), moved.end());
    moved.erase(std::unique(moved.begin(), moved.end()), moved.end());
    for (Control* child : moved)
        if (IsShownNow(*child) && child->BackgroundDC.Get()) child->Render();
}

void LumoEffectPanel::BeginRenderBatch()
{
    ++m_renderBatches;
}

void LumoEffectPanel::LeaveRenderBatch()
{
    if (m_renderBatches > 0) --m_renderBatches;
}

void LumoEffectPanel::EndRenderBatch()
{
    if (m_renderBatches == 0 || --m_renderBatches > 0) return;
    for (Control* child : Children) {
        if (!IsShownNow(*child)) continue;
        if (std::find(m_movedChildren.begin(), m_movedChildren.end(), child) != m_movedChildren.end())
            continue;  // drawn with the moved ones below
        RenderIfPending(*child);
    }
    RenderMovedChildren();
}

Gdiplus::Status LumoEffectPanel::PaintBackground(Gdiplus::Graphics& graphics)
{
    if (m_backgroundCache.Width() != m_nWidth || m_backgroundCache.Height() != m_nHeight ||
        m_pCachedBackground != m_pBackgroundImage) {
        m_pCachedBackground = m_pBackgroundImage;
        Gdiplus::Bitmap* cache = m_backgroundCache.Resize(m_nWidth, m_nHeight) ? m_backgroundCache.Surface() : nullptr;
        if (!cache) return Control::PaintBackground(graphics);
        Gdiplus::Graphics cacheGraphics(cache);
        Control::PaintBackground(cacheGraphics);
        cacheGraphics.Flush(Gdiplus::FlushIntentionSync);
    }
    // Straight into the surface, which this render has just cleared.
    ::GdiFlush();
    if (m_memDC.Bits() && m_memDC.Width() == m_nWidth && m_memDC.Height() == m_nHeight) {
        std::memcpy(m_memDC.Bits(), m_backgroundCache.Bits(), static_cast<size_t>(m_nWidth) * m_nHeight * 4);
        return Gdiplus::Ok;
    }
    return Control::PaintBackground(graphics);
}

void LumoEffectPanel::PaintContent(Gdiplus::Graphics& graphics)
{
    if (!m_pSeparatorImage) return;
    const Gdiplus::GraphicsContainer container = graphics.BeginContainer();
    graphics.DrawImage(m_pSeparatorImage.get(),
                       Gdiplus::Rect(m_scaledSeparatorAt.x, m_scaledSeparatorAt.y,
                                     static_cast<INT>(m_pSeparatorImage->GetWidth()),
                                     static_cast<INT>(m_pSeparatorImage->GetHeight())));
    graphics.EndContainer(container);
}
