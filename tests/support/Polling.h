#pragma once
// Waiting for a state that another thread or process brings about. This
// thread's messages are not dispatched meanwhile: MessagePump.h has the waits
// that dispatch them.
#include <windows.h>

namespace testsupport {

// How long a wait for a state may last before the test gives up on it. A wait
// ends as soon as its state comes, so this only keeps a broken build from
// hanging; it leaves room for a machine that other work loads many times over.
constexpr DWORD kPatienceMs = 20000;

// Polls the condition until it holds or the patience is up; returns whether
// it held.
template <typename Condition>
bool PollUntil(Condition condition, DWORD patienceMs = kPatienceMs)
{
    const ULONGLONG deadline = ::GetTickCount64() + patienceMs;
    while (!condition()) {
        if (::GetTickCount64() >= deadline) return condition();
        ::Sleep(10);
    }
    return true;
}

}  // namespace testsupport
