#include "tests/support/MessagePump.h"

#include "platform/win/UniqueHandle.h"

namespace testsupport {

void Pump(DWORD milliseconds)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        const DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= milliseconds) return;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - elapsed, QS_ALLINPUT);
    }
}

void PumpTimerPeriods(DWORD periodMs, int periods)
{
    platform::UniqueHandle timer(::CreateWaitableTimerW(nullptr, FALSE, nullptr));
    LARGE_INTEGER due;
    due.QuadPart = -static_cast<LONGLONG>(periodMs) * 10000;
    if (!timer || !::SetWaitableTimer(timer.Get(), &due, static_cast<LONG>(periodMs), nullptr, nullptr, FALSE)) {
        Pump(periodMs * static_cast<DWORD>(periods));
        return;
    }
    // Expirations missed while this thread was held count once: it only waits longer.
    const HANDLE handle = timer.Get();
    for (int fired = 0; fired < periods;) {
        if (::MsgWaitForMultipleObjects(1, &handle, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0) ++fired;
        Pump(0);
    }
    ::CancelWaitableTimer(handle);
}

namespace {

BOOL CALLBACK NoteUnpainted(HWND window, LPARAM unpainted)
{
    if (::GetUpdateRect(window, nullptr, FALSE)) *reinterpret_cast<bool*>(unpainted) = true;
    return TRUE;
}

bool WaitsToBePainted(HWND window)
{
    bool unpainted = ::GetUpdateRect(window, nullptr, FALSE) != FALSE;
    ::EnumChildWindows(window, NoteUnpainted, reinterpret_cast<LPARAM>(&unpainted));
    return unpainted;
}

}  // namespace

bool PumpUntilPainted(HWND window, DWORD milliseconds)
{
    return PumpUntil([window] { return !WaitsToBePainted(window); }, milliseconds);
}

}  // namespace testsupport
