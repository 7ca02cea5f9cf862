#include "ui/windows/keyboard/CustomWnd.h"

#include <memory>

#include "platform/win/GdiplusHeaders.h"
#include "ui/framework/core/LayeredChildren.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/framework/scale/Scale.h"
#include "ui/windows/shared/BackBufferPaint.h"
#include "ui/windows/shared/CustomDrawnChild.h"
#include "ui/windows/shared/SkinOverlay.h"

CCustomWnd::~CCustomWnd()
{
    Destroy();
}

BOOL CCustomWnd::Create(CWnd* parent, HDC parentBackground, int x, int y, int width, int height, unsigned modelType)
{
    const HWND parentWindow = parent ? parent->GetSafeHwnd() : nullptr;
    if (!CreateCustomDrawnChild(*this, parentWindow, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width, height)) {
        return FALSE;
    }
    m_hParentBackground = parentBackground;
    m_nX = x, m_nY = y, m_nWidth = width, m_nHeight = height;
    LoadFrame();
    if (m_windowDC && *m_windowDC && m_backBuffer.GetSafeHdc()) {
        BitBlt(m_windowDC->Get(), 0, 0, m_nWidth, m_nHeight, m_backBuffer, 0, 0, SRCCOPY);
    }
    m_keybd.Create(this, m_backBuffer.GetSafeHdc(), 0, 0, ScaleByDpi(kKeyboardWidth), ScaleByDpi(kKeyboardHeight),
                   modelType);
    m_bCreated = true;
    return TRUE;
}

void CCustomWnd::LoadFrame()
{
    m_windowDC = std::make_unique<platform::WindowDc>(m_hWnd);
    if (!m_backBuffer.Resize(m_nWidth, m_nHeight)) return;
    if (m_hParentBackground) {
        BitBlt(m_backBuffer, 0, 0, m_nWidth, m_nHeight, m_hParentBackground, m_nX, m_nY, SRCCOPY);
    }
    Gdiplus::Bitmap* raw = nullptr;
    if (!LoadSkinImage(&raw, GetModuleHandleW(nullptr), kFramePictureName)) return;
    std::unique_ptr<Gdiplus::Bitmap> frame(raw);
    OverlaySkin(m_backBuffer, *frame);
}

void CCustomWnd::MakeLayered()
{
    if (!m_hWnd) return;
    HWND top = GetAncestor(m_hWnd, GA_ROOT);
    if (!m_bLayered && top && ::IsWindowVisible(top)) {
        const LONG_PTR exStyle = GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE);
        const DWORD wanted = ChildLayeredExStyle(static_cast<DWORD>(exStyle) | WS_EX_LAYERED);
        if (wanted & WS_EX_LAYERED) {
            SetWindowLongPtrW(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(wanted));
            SetLayeredWindowAttributes(m_hWnd, 0, 255, LWA_ALPHA);
        }
        // Either way the frame now paints itself whole: no erasing needed.
        m_bLayered = true;
    }
    SetWindowPos(m_hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void CCustomWnd::Destroy()
{
    if (!m_bCreated) return;
    m_keybd.ReleaseDCs();
    m_keybd.DestroyWindow();
    m_backBuffer.Resize(0, 0);
    m_windowDC.reset();
    m_bCreated = false;
    DestroyWindow();
}

LRESULT CCustomWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        PaintFromBackBuffer(m_hWnd, m_backBuffer.GetSafeHdc());
        return 0;
    case WM_ERASEBKGND:
        if (m_bLayered) return 0;
        break;
    case WM_DESTROY:
        m_windowDC.reset();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
