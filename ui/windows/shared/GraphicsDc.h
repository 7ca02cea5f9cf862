#pragma once
#include <windows.h>
#include <objidl.h>

#include "platform/win/GdiplusHeaders.h"

// The DC under a GDI+ graphics, its clip region applied, for GDI to draw
// into; GDI+ itself cannot draw on the graphics meanwhile.
class GraphicsDc {
public:
    explicit GraphicsDc(Gdiplus::Graphics* graphics);
    ~GraphicsDc();
    GraphicsDc(const GraphicsDc&) = delete;
    GraphicsDc& operator=(const GraphicsDc&) = delete;

    HDC Get() const { return m_hDC; }

private:
    Gdiplus::Graphics* m_pGraphics;
    HDC m_hDC = nullptr;
    int m_nSaved = 0;
};
