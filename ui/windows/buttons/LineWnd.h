#pragma once
#include <windows.h>

#include <memory>

#include "platform/ui/Wnd.h"
#include "platform/win/GdiHandles.h"
#include "ui/framework/core/MemoryDC.h"
#include "ui/windows/shared/UniqueMemoryDc.h"

// The underline under the selected tab: shows "TAB_BAR" and glides it to a
// newly selected tab with a quintic ease-out.
class CLineWnd : public CWnd {
public:
    static constexpr UINT_PTR kGlideTimerId = 1;
    static constexpr UINT kGlideTimerMs = 16;
    static constexpr int kGlideDurationMs = 1000;

    CLineWnd() = default;
    ~CLineWnd() override;

    BOOL Create(CWnd* parent, HDC background, int x, int y, int width, int height);
    // With centres (count > 0): stores them and jumps under tab index. Without
    // (null, 0): glides to tab index of the stored centres; FALSE when there
    // is no window to glide yet.
    BOOL MoveTo(int index, const int* centres, int count);
    void Destroy();
    void OnTimer(UINT_PTR id);

    // The bar's left edge in the window, and where a glide is heading.
    int GetCurrentX() const { return m_nCurrentX; }
    int GetTargetX() const { return m_nTargetX; }
    int GetBarWidth() const { return m_nBarWidth; }
    BOOL IsGliding() const { return m_bTimerRunning; }
    HDC GetBackBuffer() const { return m_backBuffer.GetSafeHdc(); }

    // The quintic ease-out position of a glide after elapsed of duration ms.
    static int GlidePosition(int startX, int targetX, ULONGLONG elapsed, int duration);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void DrawAt(int x);
    void StopTimer();

    HDC m_hBackgroundDC = nullptr;  // the parent's, not owned
    int m_nX = 0, m_nY = 0, m_nWidth = 0, m_nHeight = 0;
    std::unique_ptr<platform::WindowDc> m_windowDC;
    CMemoryDC m_backBuffer;
    UniqueMemoryDc m_barDC;
    int m_nBarWidth = 0, m_nBarHeight = 0;
    int m_nCurrentX = 0, m_nCurrentY = 0;
    int m_nStartX = 0, m_nTargetX = 0;
    ULONGLONG m_ullStartTick = 0;
    int m_nDuration = kGlideDurationMs;
    std::unique_ptr<int[]> m_centres;
    int m_nCentreCount = 0;
    BOOL m_bTimerRunning = FALSE;
    BOOL m_bCreated = FALSE;
};
