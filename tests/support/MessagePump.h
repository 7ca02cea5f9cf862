#pragma once
#include <windows.h>

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

// Dispatches until a periodic timer of the period, started now, has fired
// the given number of times, then what is queued. A timer of that period
// armed before has come due at least as often by then, however slow the
// machine: for checks that something driven by one does not happen.
void PumpTimerPeriods(DWORD periodMs, int periods);

// Dispatches until neither the window nor any window inside it waits to be
// painted; returns whether that came within the time.
bool PumpUntilPainted(HWND window, DWORD milliseconds);

}  // namespace testsupport
