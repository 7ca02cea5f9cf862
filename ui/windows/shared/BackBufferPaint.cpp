#include "ui/windows/shared/BackBufferPaint.h"

void PaintFromBackBuffer(HWND window, HDC backBuffer)
{
    PAINTSTRUCT paint;
    HDC dc = ::BeginPaint(window, &paint);
    if (dc && backBuffer) {
        const RECT& r = paint.rcPaint;
        ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, backBuffer, r.left, r.top, SRCCOPY);
    }
    ::EndPaint(window, &paint);
}
