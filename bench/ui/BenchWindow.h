#pragma once
#include <windows.h>

#include "platform/win/GdiplusHeaders.h"

namespace bench {

// A visible popup of a solid colour that benchmark controls live on.
inline HWND MakeHost(const wchar_t* className, int width, int height, COLORREF background)
{
    WNDCLASSEXW wc = {};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = CreateSolidBrush(background);
    wc.lpszClassName = className;
    RegisterClassExW(&wc);
    return CreateWindowExW(0, className, L"bench", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 20, 20, width, height,
                           nullptr, nullptr, wc.hInstance, nullptr);
}

// Handles this thread's messages for a while.
inline void Pump(DWORD milliseconds)
{
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        const DWORD elapsed = GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

// GDI+ for the benchmark's lifetime.
class GdiplusRun {
public:
    GdiplusRun()
    {
        Gdiplus::GdiplusStartupInput input;
        m_ok = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiplusRun()
    {
        if (m_ok) Gdiplus::GdiplusShutdown(m_token);
    }
    GdiplusRun(const GdiplusRun&) = delete;
    GdiplusRun& operator=(const GdiplusRun&) = delete;
    bool Ok() const { return m_ok; }

private:
    ULONG_PTR m_token = 0;
    bool m_ok = false;
};

}  // namespace bench
