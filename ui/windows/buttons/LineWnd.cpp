#include "ui/windows/buttons/LineWnd.h"

#include <algorithm>
#include <cstdlib>

#include "ui/framework/drawing/GdiHelpers.h"
#include "ui/framework/drawing/SkinImage.h"
#include "ui/windows/shared/BackBufferPaint.h"
#include "ui/windows/shared/CustomDrawnChild.h"

CLineWnd::~CLineWnd()
{
    Destroy();
}

BOOL CLineWnd::Create(CWnd* parent, HDC background, int x, int y, int width, int height)
{
    if (parent == nullptr) return FALSE;
    if (!CreateCustomDrawnChild(*this, parent->GetSafeHwnd(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, x, y, width,
                                height))
        return FALSE;

    m_hBackgroundDC = background;
    m_nX = x;
    m_nY = y;
    m_nWidth = width;
    m_nHeight = height;
    m_windowDC = std::make_unique<platform::WindowDc>(m_hWnd);
    m_backBuffer.Resize(width, height);
    if (m_backBuffer.GetSafeHdc() && background)
        ::BitBlt(m_backBuffer, 0, 0, width, height, background, x, y, SRCCOPY);

    HDC bar = nullptr;
    if (LoadSkinImageToDC(::GetModuleHandleW(nullptr), L"TAB_BAR", &bar, &m_nBarWidth, &m_nBarHeight))
        m_barDC.Reset(bar);
    m_nCurrentX = m_nStartX = m_nTargetX = 0;
    m_nCurrentY = 0;

    DrawAt(0);
    if (m_windowDC && m_backBuffer.GetSafeHdc())
        ::BitBlt(m_windowDC->Get(), 0, 0, width, height, m_backBuffer, 0, 0, SRCCOPY);
    m_bCreated = TRUE;
    return TRUE;
}

void CLineWnd::DrawAt(int x)
{
    HDC back = m_backBuffer.GetSafeHdc();
    if (!back) return;
    const bool moved = x != m_nCurrentX;
    if (moved && m_hBackgroundDC)
        ::BitBlt(back, m_nCurrentX, m_nCurrentY, m_nBarWidth, m_nBarHeight, m_hBackgroundDC, m_nX + m_nCurrentX,
                 m_nY + m_nCurrentY, SRCCOPY);
    if (m_barDC) {
        BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
        ::GdiAlphaBlend(back, x, m_nCurrentY, m_nBarWidth, m_nBarHeight, m_barDC.Get(), 0, 0, m_nBarWidth,
                        m_nBarHeight, blend);
    }
    if (moved) {
        const int left = std::min(x, m_nCurrentX);
        const int span = m_nBarWidth + std::abs(x - m_nCurrentX);
        if (m_windowDC) ::BitBlt(m_windowDC->Get(), left, m_nCurrentY, span, m_nBarHeight, back, left, m_nCurrentY, SRCCOPY);
        m_nCurrentX = x;
    }
}

BOOL CLineWnd::MoveTo(int index, const int* centres, int count)
{
    const bool jump = centres != nullptr && count > 0;
    if (jump) {
        m_centres.reset(new int[static_cast<size_t>(count)]);
        std::copy(centres, centres + count, m_centres.get());
        m_nCentreCount = count;
    }
    if (m_centres && index >= 0 && index < m_nCentreCount) m_nTargetX = m_centres[index] - m_nBarWidth / 2;
    StopTimer();
    if (m_nTargetX == m_nCurrentX) return TRUE;
    if (jump) {
        DrawAt(m_nTargetX);
        return TRUE;
    }
    // Before Create there is no window to glide, and a timer without one
    // would be the thread's.
    if (!m_hWnd) return FALSE;
    m_nStartX = m_nCurrentX;
    m_ullStartTick = ::GetTickCount64();
    m_nDuration = kGlideDurationMs;
    if (::SetTimer(m_hWnd, kGlideTimerId, kGlideTimerMs, nullptr) != 0) m_bTimerRunning = TRUE;
    return TRUE;
}

int CLineWnd::GlidePosition(int startX, int targetX, ULONGLONG elapsed, int duration)
{
    if (duration <= 0 || elapsed >= static_cast<ULONGLONG>(duration)) return targetX;
    const float u = static_cast<float>(elapsed) / static_cast<float>(duration);
    const float rest = 1.0f - u;
    const float eased = 1.0f - rest * rest * rest * rest * rest;
    return static_cast<int>(eased * static_cast<float>(targetX - startX) + static_cast<float>(startX) + 0.5f);
}

void CLineWnd::OnTimer(UINT_PTR id)
{
    if (id != kGlideTimerId) return;
    const ULONGLONG now = ::GetTickCount64();
    int x;
    if (now >= m_ullStartTick + static_cast<ULONGLONG>(m_nDuration)) {
        StopTimer();
        x = m_nTargetX;
    } else {
        x = GlidePosition(m_nStartX, m_nTargetX, now - m_ullStartTick, m_nDuration);
    }
    if (x != m_nCurrentX) DrawAt(x);
}

void CLineWnd::StopTimer()
{
    if (m_bTimerRunning && m_hWnd) ::KillTimer(m_hWnd, kGlideTimerId);
    m_bTimerRunning = FALSE;
}

LRESULT CLineWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        OnTimer(static_cast<UINT_PTR>(wParam));
        break;
    case WM_PAINT:
        PaintFromBackBuffer(m_hWnd, m_backBuffer.GetSafeHdc());
        return 0;
    case WM_DESTROY:
        StopTimer();
        m_windowDC.reset();
        break;
    default:
        break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

void CLineWnd::Destroy()
{
    StopTimer();
    m_centres.reset();
    m_nCentreCount = 0;
    m_barDC.Reset();
    m_backBuffer.Resize(0, 0);
    m_windowDC.reset();
    m_bCreated = FALSE;
}
