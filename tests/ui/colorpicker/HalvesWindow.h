#pragma once
#include <windows.h>

namespace pickertest {

// A top-level window painted left half one colour and right half another:
// the picture a backdrop is copied from.
HWND CreateHalvesWindow(int x, int y, int width, int height, DWORD style, COLORREF left, COLORREF right);

// New colours for the halves, shown from the next paint on.
void SetHalvesColours(HWND window, COLORREF left, COLORREF right);

}  // namespace pickertest
