#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>

#include "platform/win/UniqueHandle.h"

// A periodic waitable timer with its own worker thread, which runs the tick
// hook each time the timer fires. Made on the first Start; the worker lives
// until Shutdown or destruction, which wake it with an APC and join it.
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
};
