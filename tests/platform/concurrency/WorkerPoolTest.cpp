// The worker pool: every item runs exactly once, work really spreads over
// threads, nested batches finish even on a pool with no spare thread, and
// errors reach the caller.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <set>
#include <stdexcept>
#include <thread>
#include <vector>

#include "platform/concurrency/Parallel.h"

namespace {

using concurrency::ParallelFor;
using concurrency::ParallelInvoke;
using concurrency::WorkerPool;

class PoolSizes : public testing::TestWithParam<unsigned> {};

TEST_P(PoolSizes, ParallelForVisitsEveryIndexOnce)
{
    WorkerPool pool(GetParam());
    for (size_t count : {size_t(0), size_t(1), size_t(3), size_t(17), size_t(1000)}) {
        std::vector<std::atomic<int>> visits(count + 10);
        ParallelFor(pool, 5, 5 + count, [&](size_t i) { visits[i].fetch_add(1); });
        for (size_t i = 0; i < visits.size(); ++i) {
            EXPECT_EQ(visits[i].load(), i >= 5 && i < 5 + count ? 1 : 0) << "count " << count << " index " << i;
        }
    }
}

TEST_P(PoolSizes, NestedLoopsInsideInvokedTasksFinish)
{
    // The backdrop blur's shape: three tasks, each running parallel loops.
    WorkerPool pool(GetParam());
    std::atomic<int> total{0};
    auto plane = [&] {
        for (int pass = 0; pass < 3; ++pass) ParallelFor(pool, 0, 100, [&](size_t) { total.fetch_add(1); });
    };
    ParallelInvoke(pool, {plane, plane, plane});
    EXPECT_EQ(total.load(), 900);
}

TEST_P(PoolSizes, FirstErrorIsRethrownAfterEveryOtherItemEnded)
{
    WorkerPool pool(GetParam());
    std::atomic<int> ran{0}, active{0};
    const std::function<void(size_t)> item = [&](size_t i) {
        active.fetch_add(1);
        ran.fetch_add(1);
        std::this_thread::yield();
        active.fetch_sub(1);
        if (i == 7) throw std::runtime_error("item 7");
    };
    EXPECT_THROW(pool.RunBatch(50, item), std::runtime_error);
    EXPECT_EQ(ran.load(), 50);
    EXPECT_EQ(active.load(), 0);

    // A loop stops the chunk that threw, but returns only when nothing runs.
    ran = 0;
    EXPECT_THROW(ParallelFor(pool, 0, 50, item), std::runtime_error);
    EXPECT_GE(ran.load(), 8);
    EXPECT_EQ(active.load(), 0);

    // The pool is still usable afterwards.
    std::atomic<int> again{0};
    ParallelFor(pool, 0, 10, [&](size_t) { again.fetch_add(1); });
    EXPECT_EQ(again.load(), 10);
}

INSTANTIATE_TEST_SUITE_P(Threads, PoolSizes, testing::Values(0u, 1u, 3u));

TEST(WorkerPool, ItemsRunOnTheWorkersAsWellAsTheCaller)
{
    // Two items that each wait for the other: they finish only when a worker
    // runs one while the caller runs the other.
    WorkerPool pool(1);
    ASSERT_EQ(pool.ThreadCount(), 1u);
    std::mutex mutex;
    std::condition_variable arrived;
    int count = 0;
    std::set<std::thread::id> threads;
    bool bothSeen = true;
    ParallelInvoke(pool, {[&] {
                              std::unique_lock<std::mutex> lock(mutex);
                              threads.insert(std::this_thread::get_id());
                              ++count;
                              arrived.notify_all();
                              bothSeen &= arrived.wait_for(lock, std::chrono::seconds(20), [&] { return count == 2; });
                          },
                          [&] {
                              std::unique_lock<std::mutex> lock(mutex);
                              threads.insert(std::this_thread::get_id());
                              ++count;
                              arrived.notify_all();
                              bothSeen &= arrived.wait_for(lock, std::chrono::seconds(20), [&] { return count == 2; });
                          }});
    EXPECT_TRUE(bothSeen);
    EXPECT_EQ(threads.size(), 2u);
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 1u);
}

}  // namespace
