#include "ui/colorpicker/TimerThread.h"

#include <utility>

#include "backend/trace/Trace.h"

TimerThread::TimerThread(int32_t periodMs) : m_periodMs(periodMs) {}

TimerThread::~TimerThread()
{
    Shutdown();
}

void TimerThread::SetStartHook(Hook hook)
{
    m_startHook = std::move(hook);
}

void TimerThread::SetTickHook(Hook hook)
{
    m_tickHook = std::move(hook);
}

void TimerThread::SetStopHook(Hook hook)
{
    m_stopHook = std::move(hook);
}

void TimerThread::Start(int64_t dueTime)
{
    if (!m_timer) {
        m_startHook();
        m_timer.Reset(::CreateWaitableTimerW(nullptr, FALSE, nullptr));
        if (!m_timer) {
            LogMessage(L"CreateWaitableTimerW", L"TimerThread::Start", false, ::GetLastError());
            return;
        }
        m_bEnding.store(false);
        m_worker.Reset(::CreateThread(nullptr, 0, Run, this, 0, &m_workerId));
        if (!m_worker) {
            LogMessage(L"CreateThread", L"TimerThread::Start", false, ::GetLastError());
            m_timer.Reset();
            return;
        }
    }
    LARGE_INTEGER due;
    due.QuadPart = dueTime;
    ::SetWaitableTimer(m_timer.Get(), &due, m_periodMs, nullptr, nullptr, FALSE);
}

void TimerThread::Stop()
{
    if (m_timer) ::CancelWaitableTimer(m_timer.Get());
    m_stopHook();
}

void TimerThread::Shutdown()
{
    if (m_worker) {
        m_bEnding.store(true);
        if (m_timer) ::CancelWaitableTimer(m_timer.Get());
        // The APC ends the worker's alertable wait with WAIT_IO_COMPLETION.
        if (!m_queueApc(WakeUp, m_worker.Get(), 0)) {
            LogMessage(L"QueueUserAPC", L"TimerThread::Shutdown", false, ::GetLastError());
            // Without it, one last signal wakes the worker, which then sees the flag.
            LARGE_INTEGER now = {};
            if (!::SetWaitableTimer(m_timer.Get(), &now, 0, nullptr, nullptr, FALSE))
                LogMessage(L"SetWaitableTimer", L"TimerThread::Shutdown", false, ::GetLastError());
        }
        // Always joined: the worker reads this object and its timer.
        ::WaitForSingleObject(m_worker.Get(), INFINITE);
        m_worker.Reset();
        m_workerId = 0;
    }
    m_timer.Reset();
}

DWORD WINAPI TimerThread::Run(LPVOID self)
{
    auto* timer = static_cast<TimerThread*>(self);
    while (!timer->m_bEnding.load()) {
        const DWORD result = ::WaitForSingleObjectEx(timer->m_timer.Get(), INFINITE, TRUE);
        if (result == WAIT_IO_COMPLETION || result == WAIT_FAILED)
            break;  // woken to end; a failed wait would only spin
        if (result == WAIT_OBJECT_0 && !timer->m_bEnding.load()) timer->m_tickHook();
    }
    return 0;
}

VOID CALLBACK TimerThread::WakeUp(ULONG_PTR) {}
