#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/GdiplusHeaders.h"

#include <memory>

// A table of rectangular hit areas of one window with hover, press and leave
// tracking. It draws nothing: windows that paint their own buttons or zones
// feed it their mouse messages and ask which area is under the cursor.
class CMouseEventCtrl {
public:
    CMouseEventCtrl() = default;
    virtual ~CMouseEventCtrl() = default;
    CMouseEventCtrl(const CMouseEventCtrl&) = delete;
    CMouseEventCtrl& operator=(const CMouseEventCtrl&) = delete;

    // FALSE for an empty table (the old areas stay); window, width and height
    // are taken either way.
    BOOL SetAreas(HWND window, int width, int height, const Gdiplus::RectF* areas, int count);
    // TRUE when the hovered area changed; arms leave tracking on the first move.
    BOOL OnMouseMove(LPARAM lParam, int* oldIndex, int* newIndex);
    // TRUE when something was hovered; the hover is cleared, the press kept.
    BOOL OnMouseLeave(int* oldIndex, int* newIndex);
    // The pressed area or -1.
    int OnLButtonDown(LPARAM lParam);
    int HitTest(int x, int y) const;
    Gdiplus::RectF GetArea(int index) const;
    void Release(BOOL reset);

    int GetHovered() const { return m_nHovered; }
    int GetPressed() const { return m_nPressed; }
    void SetPressed(int index) { m_nPressed = index; }
    int GetAreaCount() const { return m_nAreaCount; }
    BOOL IsTracking() const { return m_bTracking; }

private:
    BOOL m_bTracking = FALSE;
    int m_nWidth = 0;
    int m_nHeight = 0;
    int m_nHovered = -1;
    int m_nPressed = -1;
    std::unique_ptr<Gdiplus::RectF[]> m_areas;
    int m_nAreaCount = 0;
    HWND m_hWnd = nullptr;
};
