#include "platform/ui/AnimationFrameTimer.h"

#include <utility>

AnimationFrameTimer::AnimationFrameTimer(std::function<void()> tick) : m_tick(std::move(tick)) {}

AnimationFrameTimer::~AnimationFrameTimer()
{
    Stop();
    DestroyWindow();
}

bool AnimationFrameTimer::Start(UINT intervalMs)
{
    if (!m_hWnd) {
        LPCWSTR className = AfxRegisterWndClass(0);
        if (!className || !CreateEx(0, className, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr)) return false;
    }
    m_bRunning = ::SetTimer(m_hWnd, kTimerId, intervalMs, nullptr) != 0;
    return m_bRunning;
}

void AnimationFrameTimer::Stop()
{
    if (m_bRunning && m_hWnd) ::KillTimer(m_hWnd, kTimerId);
    m_bRunning = false;
}

LRESULT AnimationFrameTimer::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_TIMER && wParam == kTimerId) {
        if (m_bRunning) m_tick();
        return 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}
