#include "ui/windows/buttons/MouseEventCtrl.h"

#include <windowsx.h>

#include <algorithm>

BOOL CMouseEventCtrl::SetAreas(HWND window, int width, int height, const Gdiplus::RectF* areas, int count)
{
    m_hWnd = window;
    m_nWidth = width;
    m_nHeight = height;
    if (count < 1 || areas == nullptr) return FALSE;
    std::unique_ptr<Gdiplus::RectF[]> copy(new Gdiplus::RectF[static_cast<size_t>(count)]);
    std::copy(areas, areas + count, copy.get());
    m_areas = std::move(copy);
    m_nAreaCount = count;
    return TRUE;
}

int CMouseEventCtrl::HitTest(int x, int y) const
{
    if (x < 0 || y < 0 || x > m_nWidth || y > m_nHeight || !m_areas || m_nAreaCount < 1) return -1;
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    for (int i = 0; i < m_nAreaCount; ++i) {
        const Gdiplus::RectF& area = m_areas[i];
        if (area.X <= fx && fx < area.X + area.Width && area.Y <= fy && fy < area.Y + area.Height) return i;
    }
    return -1;
}

BOOL CMouseEventCtrl::OnMouseMove(LPARAM lParam, int* oldIndex, int* newIndex)
{
    if (!m_bTracking) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, m_hWnd, 0};
        ::TrackMouseEvent(&track);
        m_bTracking = TRUE;
    }
    const int hit = HitTest(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    if (newIndex) *newIndex = hit;
    if (hit == m_nHovered) return FALSE;
    if (oldIndex) *oldIndex = m_nHovered;
    m_nHovered = hit;
    return TRUE;
}

BOOL CMouseEventCtrl::OnMouseLeave(int* oldIndex, int* newIndex)
{
    m_bTracking = FALSE;
    if (m_nHovered == -1) return FALSE;
    if (oldIndex) *oldIndex = m_nHovered;
    m_nHovered = -1;
    if (newIndex) *newIndex = -1;
    return TRUE;
}

int CMouseEventCtrl::OnLButtonDown(LPARAM lParam)
{
    if (m_nHovered == -1) OnMouseMove(lParam, nullptr, nullptr);
    m_nPressed = m_nHovered;
    return m_nPressed;
}

Gdiplus::RectF CMouseEventCtrl::GetArea(int index) const
{
    if (!m_areas || index < 0 || index >= m_nAreaCount) return Gdiplus::RectF(0, 0, 0, 0);
    return m_areas[index];
}

void CMouseEventCtrl::Release(BOOL reset)
{
    m_areas.reset();
    if (reset) {
        m_bTracking = FALSE;
        m_hWnd = nullptr;
        m_nHovered = -1;
        m_nPressed = -1;
        m_nAreaCount = 0;
    }
}
