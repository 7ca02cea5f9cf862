#pragma once
#include <windows.h>

#include "platform/ui/Wnd.h"

// Creates window as a child of parent in the class the custom-drawn windows
// share: the arrow cursor, black until their first paint.
BOOL CreateCustomDrawnChild(CWnd& window, HWND parent, DWORD style, int x, int y, int width, int height,
                            UINT classStyle = 0);
