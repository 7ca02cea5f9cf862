#pragma once
#include <windows.h>

#include <functional>

#include "platform/ui/Wnd.h"

// A UI-thread timer on a message-only window of its own: calls the tick
// function from WM_TIMER on the thread that made it, while started.
class AnimationFrameTimer : public CWnd {
public:
    explicit AnimationFrameTimer(std::function<void()> tick);
    ~AnimationFrameTimer() override;

    // The window is made on the first Start.
    bool Start(UINT intervalMs);
    void Stop();
    bool IsRunning() const { return m_bRunning; }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    static constexpr UINT_PTR kTimerId = 1;
    std::function<void()> m_tick;
    bool m_bRunning = false;
};
