#include "platform/concurrency/WorkerPool.h"

#include <algorithm>
#include <atomic>
#include <system_error>

namespace concurrency {

struct WorkerPool::Batch {
    const std::function<void(size_t)>* item = nullptr;
    size_t count = 0;
    std::atomic<size_t> next{0};
    std::mutex mutex;
    std::condition_variable finished;
    size_t done = 0;
    std::exception_ptr error;
};

WorkerPool::WorkerPool(unsigned threadCount)
{
    m_threads.reserve(threadCount);
    for (unsigned i = 0; i < threadCount; ++i) {
        try {
            m_threads.emplace_back(&WorkerPool::Work, this);
        } catch (const std::system_error&) {
            break;  // the ones made so far will do; callers work as well
        }
    }
}

WorkerPool::~WorkerPool()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    for (std::thread& thread : m_threads) thread.join();
}

unsigned WorkerPool::DefaultThreadCount()
{
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware > 1 ? std::min(hardware - 1, 15u) : 0u;
}

void WorkerPool::RunItems(Batch& batch)
{
    for (;;) {
        const size_t index = batch.next.fetch_add(1);
        if (index >= batch.count) return;
        std::exception_ptr error;
        try {
            (*batch.item)(index);
        } catch (...) {
            error = std::current_exception();
        }
        std::lock_guard<std::mutex> lock(batch.mutex);
        if (error && !batch.error) batch.error = error;
        if (++batch.done == batch.count) batch.finished.notify_all();
    }
}

void WorkerPool::RunBatch(size_t count, const std::function<void(size_t)>& item)
{
    if (count == 0) return;
    auto batch = std::make_shared<Batch>();
    batch->item = &item;
    batch->count = count;
    const size_t helpers = std::min<size_t>(count - 1, m_threads.size());
    if (helpers > 0) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (size_t i = 0; i < helpers; ++i) m_queue.push_back(batch);
        }
        if (helpers == 1) {
            m_wake.notify_one();
        } else {
            m_wake.notify_all();
        }
    }
    RunItems(*batch);
    std::unique_lock<std::mutex> lock(batch->mutex);
    batch->finished.wait(lock, [&] { return batch->done == batch->count; });
    // Workers that pick this batch up later find no item left and never
    // touch `item`, which may be gone by then; the batch itself is shared.
    if (batch->error) std::rethrow_exception(batch->error);
}

void WorkerPool::Work()
{
    for (;;) {
        std::shared_ptr<Batch> batch;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_wake.wait(lock, [&] { return m_stopping || !m_queue.empty(); });
            if (m_queue.empty()) return;  // stopping with nothing left
            batch = std::move(m_queue.front());
            m_queue.pop_front();
        }
        RunItems(*batch);
    }
}

}  // namespace concurrency
