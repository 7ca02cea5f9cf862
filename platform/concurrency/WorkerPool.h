#pragma once
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace concurrency {

// A fixed set of worker threads owned by one object and joined in its
// destructor. Work comes in as batches of numbered items; the thread that
// hands a batch in takes items too and waits until every item is done, so a
// batch finishes even when all workers are busy (or there are none), and an
// item may itself hand in a nested batch.
class WorkerPool {
public:
    // threadCount workers; 0 makes a pool whose callers do all the work.
    explicit WorkerPool(unsigned threadCount = DefaultThreadCount());
    ~WorkerPool();
    WorkerPool(const WorkerPool&) = delete;
    WorkerPool& operator=(const WorkerPool&) = delete;

    // One fewer than the processors (the calling thread is the last one),
    // at most three.
    static unsigned DefaultThreadCount();
    unsigned ThreadCount() const { return static_cast<unsigned>(m_threads.size()); }

    // Runs item(i) for every i in [0, count) and returns when all are done.
    // The first exception an item throws is rethrown here, after the others.
    void RunBatch(size_t count, const std::function<void(size_t)>& item);

private:
    struct Batch;

    void Work();
    static void RunItems(Batch& batch);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::deque<std::shared_ptr<Batch>> m_queue;
    // The queue's length, read without the lock by spinning workers.
    std::atomic<size_t> m_queued{0};
    int m_sleeping = 0;
    bool m_stopping = false;
    std::vector<std::thread> m_threads;
};

}  // namespace concurrency
