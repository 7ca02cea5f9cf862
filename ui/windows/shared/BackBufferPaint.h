#pragma once
#include <windows.h>

// Answers WM_PAINT for a window that keeps its whole picture in a back
// buffer: copies the invalid part across. Without a back buffer the paint is
// only validated.
void PaintFromBackBuffer(HWND window, HDC backBuffer);
