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

}  // namespace testsupport
