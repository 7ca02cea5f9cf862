#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <functional>

#include "platform/win/UniqueHandle.h"

// A periodic waitable timer with its own worker thread, which runs the tick
// hook each time the timer fires. Made on the first Start; the worker lives
// until Shutdown or destruction, which wake it with an APC (or, when that
// cannot be queued, with the timer) and join it.
class TimerThread {
public:
    using Hook = std::function<void()>;

    explicit TimerThread(int32_t periodMs);
    ~TimerThread();
    TimerThread(const TimerThread&) = delete;
    TimerThread& operator=(const TimerThread&) = delete;

    void SetStartHook(Hook hook);
    void SetTickHook(Hook hook);
    void SetStopHook(Hook hook);

    // The first call runs the start hook on this thread and makes the timer
    // and the worker; every call arms the timer. dueTime is in the waitable
    // timer's units: 0 (in the past) fires at once.
    void Start(int64_t dueTime);
    // Cancels the timer and runs the stop hook on this thread; the worker
    // stays, waiting for the next Start.
    void Stop();
    // Ends the worker and closes the timer; no tick runs after it returns.
    void Shutdown();

    bool HasWorker() const { return m_worker.IsValid(); }
    DWORD WorkerId() const { return m_workerId; }

    // For tests: the call that queues the wake-up APC (QueueUserAPC), so
    // that its failure can be tried.
    using QueueApc = DWORD(WINAPI*)(PAPCFUNC, HANDLE, ULONG_PTR);
    void SetQueueApcForTest(QueueApc queueApc) { m_queueApc = queueApc; }

private:
    static DWORD WINAPI Run(LPVOID self);
    static VOID CALLBACK WakeUp(ULONG_PTR);

    int32_t m_periodMs;
    Hook m_startHook;
    Hook m_tickHook;
    Hook m_stopHook;
    platform::UniqueHandle m_timer;
    platform::UniqueHandle m_worker;
    DWORD m_workerId = 0;
    // Set before the worker is woken to end: an APC queued before a new
    // thread first runs does not end its wait.
    std::atomic<bool> m_bEnding{false};
    QueueApc m_queueApc = ::QueueUserAPC;
};
