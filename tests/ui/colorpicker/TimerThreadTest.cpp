#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "platform/win/UniqueHandle.h"
#include "tests/support/MessagePump.h"
#include "tests/support/TraceCapture.h"
#include "ui/colorpicker/TimerThread.h"

namespace {

// Counts each hook and remembers the thread it last ran on; the tick signals
// an event so the test can wait for ticks without guessing a time.
struct CountingHooks {
    std::atomic<int> starts{0}, ticks{0}, stops{0};
    std::atomic<DWORD> startThread{0}, tickThread{0}, stopThread{0};
    platform::UniqueHandle tickEvent{CreateEventW(nullptr, FALSE, FALSE, nullptr)};

    void Install(TimerThread& timer)
    {
        timer.SetStartHook([this] {
            ++starts;
            startThread = GetCurrentThreadId();
        });
        timer.SetTickHook([this] {
            ++ticks;
            tickThread = GetCurrentThreadId();
            SetEvent(tickEvent.Get());
        });
        timer.SetStopHook([this] {
            ++stops;
            stopThread = GetCurrentThreadId();
        });
    }
    bool WaitTick(DWORD ms = 5000) { return WaitForSingleObject(tickEvent.Get(), ms) == WAIT_OBJECT_0; }
};

bool ThreadEnded(DWORD id)
{
    platform::UniqueHandle thread(OpenThread(SYNCHRONIZE, FALSE, id));
    return !thread || WaitForSingleObject(thread.Get(), 0) == WAIT_OBJECT_0;
}

// Runs work on a thread of its own; false when it has not returned in time.
// A Shutdown that waits for a worker nothing wakes would hang the whole run:
// work owns everything it touches, so a thread left blocked harms nothing.
bool ReturnsWithin(DWORD milliseconds, std::function<void()> work)
{
    auto done = std::make_shared<platform::UniqueHandle>(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    std::thread([work = std::move(work), done] {
        work();
        SetEvent(done->Get());
    }).detach();
    return WaitForSingleObject(done->Get(), milliseconds) == WAIT_OBJECT_0;
}

DWORD WINAPI RefuseApc(PAPCFUNC, HANDLE, ULONG_PTR)
{
    SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return 0;
}

TEST(TimerThread, TicksOnItsWorkerAndRunsStartAndStopOnTheCaller)
{
    CountingHooks hooks;
    TimerThread timer(20);
    hooks.Install(timer);
    EXPECT_FALSE(timer.HasWorker());

    timer.Start(0);
    ASSERT_TRUE(hooks.WaitTick()) << "due time 0 fires at once";
    ASSERT_TRUE(hooks.WaitTick()) << "and then periodically";
    EXPECT_EQ(hooks.starts, 1);
    EXPECT_EQ(hooks.startThread, GetCurrentThreadId());
    EXPECT_EQ(hooks.tickThread, timer.WorkerId());
    EXPECT_NE(hooks.tickThread, GetCurrentThreadId());

    timer.Stop();
    EXPECT_EQ(hooks.stops, 1);
    EXPECT_EQ(hooks.stopThread, GetCurrentThreadId());
    EXPECT_TRUE(timer.HasWorker()) << "the worker waits for the next start";
    // A tick may be under way, and one signal left from before the cancel;
    // a running timer has come due a dozen times more by the end of the wait.
    const int ticksAtStop = hooks.ticks;
    testsupport::PumpTimerPeriods(20, 12);
    EXPECT_LE(hooks.ticks - ticksAtStop, 2) << "a cancelled timer does not fire";

    const DWORD worker = timer.WorkerId();
    ResetEvent(hooks.tickEvent.Get());
    const int ticksBeforeRestart = hooks.ticks;
    timer.Start(0);
    ASSERT_TRUE(hooks.WaitTick());
    EXPECT_GT(hooks.ticks, ticksBeforeRestart) << "armed again";
    EXPECT_EQ(hooks.starts, 1) << "the start hook runs only on the first start";
    EXPECT_EQ(timer.WorkerId(), worker) << "one worker for the timer's life";
}

TEST(TimerThread, DestructionWakesAndJoinsATickingWorker)
{
    CountingHooks hooks;
    DWORD worker = 0;
    {
        TimerThread timer(10);
        hooks.Install(timer);
        timer.Start(0);
        ASSERT_TRUE(hooks.WaitTick());
        worker = timer.WorkerId();
        ASSERT_FALSE(ThreadEnded(worker));
    }
    EXPECT_TRUE(ThreadEnded(worker));
    const int ticks = hooks.ticks;
    testsupport::PumpTimerPeriods(10, 5);
    EXPECT_EQ(hooks.ticks, ticks) << "no tick after destruction";
}

TEST(TimerThread, ShutdownOfAStoppedOrNeverStartedTimer)
{
    CountingHooks hooks;
    TimerThread never(60);
    hooks.Install(never);
    never.Shutdown();  // nothing to end
    EXPECT_FALSE(never.HasWorker());
    EXPECT_EQ(hooks.starts, 0);

    TimerThread stopped(60);
    hooks.Install(stopped);
    stopped.Start(0);
    ASSERT_TRUE(hooks.WaitTick());
    stopped.Stop();
    const DWORD worker = stopped.WorkerId();
    stopped.Shutdown();
    EXPECT_TRUE(ThreadEnded(worker));
    EXPECT_FALSE(stopped.HasWorker());
    stopped.Shutdown();  // twice is harmless
}

TEST(TimerThread, ShutdownStraightAfterTheFirstStartEndsTheWorker)
{
    // The wake-up can come before the new worker has run at all.
    constexpr int kRounds = 20;
    auto ended = std::make_shared<std::atomic<int>>(0);
    ASSERT_TRUE(ReturnsWithin(10000, [ended] {
        for (int round = 0; round < kRounds; ++round) {
            TimerThread timer(60);
            timer.SetStartHook([] {});
            timer.SetTickHook([] {});
            timer.SetStopHook([] {});
            timer.Start(0);
            const DWORD worker = timer.WorkerId();
            timer.Shutdown();
            if (ThreadEnded(worker)) ++*ended;
        }
    })) << "Shutdown waits for a worker that was never woken";
    EXPECT_EQ(*ended, kRounds);
}

TEST(TimerThread, ShutdownJoinsTheWorkerWhenItsWakeUpCannotBeQueued)
{
    testsupport::TraceCapture trace;
    struct Outcome {
        bool ticked = false, endedAtShutdown = false;
        int ticksAtShutdown = 0, ticksLater = 0;
    };
    auto outcome = std::make_shared<Outcome>();
    ASSERT_TRUE(ReturnsWithin(10000, [outcome] {
        CountingHooks hooks;
        TimerThread timer(10);
        hooks.Install(timer);
        timer.SetQueueApcForTest(RefuseApc);
        timer.Start(0);
        outcome->ticked = hooks.WaitTick();
        const DWORD worker = timer.WorkerId();
        timer.Shutdown();
        outcome->endedAtShutdown = ThreadEnded(worker);
        outcome->ticksAtShutdown = hooks.ticks;
        testsupport::PumpTimerPeriods(10, 5);
        outcome->ticksLater = hooks.ticks;
    })) << "Shutdown waits for a worker that was never woken";
    ASSERT_TRUE(outcome->ticked);
    EXPECT_TRUE(outcome->endedAtShutdown) << "the worker outlives its timer";
    EXPECT_EQ(outcome->ticksLater, outcome->ticksAtShutdown) << "a tick after Shutdown";
    EXPECT_TRUE(trace.Contains(L"QueueUserAPC")) << "the failure is traced";
}

TEST(TimerThread, AMissingHookIsAProgrammingError)
{
    TimerThread timer(60);
    EXPECT_THROW(timer.Start(0), std::bad_function_call);
    EXPECT_FALSE(timer.HasWorker());
    EXPECT_THROW(timer.Stop(), std::bad_function_call);
}

}  // namespace
