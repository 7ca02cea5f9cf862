#pragma once
#include <windows.h>

#include <algorithm>

namespace testsupport {

// Dispatches this thread's messages for about the given time (0: only what
// is queued now).
void Pump(DWORD milliseconds);

// Dispatches until the predicate holds or the time is up; returns the
// predicate. The limit only keeps a broken build from hanging.
template <typename Pred>
bool PumpUntil(Pred pred, DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    while (!pred()) {
        if (::GetTickCount() - start >= milliseconds) return pred();
        Pump(5);
    }
    return true;
}

// Dispatches one message at a time and checks the predicate after each, so it
// sees every state a message leaves behind, before any later timer tick or
// input is dispatched; waits for messages while none is queued. The limit
// only keeps a broken build from hanging.
template <typename Pred>
bool DispatchUntil(Pred pred, DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    while (!pred()) {
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= milliseconds) return pred();
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        } else {
            // Bounded: the predicate may wait for another thread or process.
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, std::min<DWORD>(milliseconds - elapsed, 10), QS_ALLINPUT);
        }
    }
    return true;
}

// Dispatches until a periodic timer of the period, started now, has fired
// the given number of times, then what is queued. A timer of that period
// armed before has come due at least as often by then, however slow the
// machine: for checks that something driven by one does not happen.
void PumpTimerPeriods(DWORD periodMs, int periods);

// Dispatches until neither the window nor any window inside it waits to be
// painted; returns whether that came within the time.
bool PumpUntilPainted(HWND window, DWORD milliseconds);

}  // namespace testsupport
