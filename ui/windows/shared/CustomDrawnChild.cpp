#include "ui/windows/shared/CustomDrawnChild.h"

BOOL CreateCustomDrawnChild(CWnd& window, HWND parent, DWORD style, int x, int y, int width, int height,
                            UINT classStyle)
{
    LPCWSTR className = AfxRegisterWndClass(classStyle, ::LoadCursorW(nullptr, IDC_ARROW),
                                            static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
    if (className == nullptr) return FALSE;
    return window.CreateEx(0, className, L"", style, x, y, width, height, parent, nullptr);
}
