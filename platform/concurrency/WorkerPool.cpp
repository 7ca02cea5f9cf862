#include "platform/concurrency/WorkerPool.h"

#include <algorithm>
#include <chrono>
#include <system_error>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace concurrency {

namespace {

// Batches of one job (a blur's passes) follow each other within
// microseconds; waking a sleeping thread costs far more than that under
// Wine, so idle threads look for work this long before they sleep.
constexpr auto kSpinTime = std::chrono::microseconds(300);

inline void CpuRelax()
{
#if defined(__SSE2__)
    _mm_pause();
#else
    std::this_thread::yield();
#endif
}

// Spins until ready() or the spin time is over; returns ready().
template <typename Ready>
bool SpinUntil(Ready ready)
{
    const auto until = std::chrono::steady_clock::now() + kSpinTime;
    for (;;) {
        for (int i = 0; i < 64; ++i) {
            if (ready()) return true;
            CpuRelax();
        }
        if (std::chrono::steady_clock::now() >= until) return ready();
    }
}

}  // namespace

struct WorkerPool::Batch {
    const std::function<void(size_t)>* item = nullptr;
    size_t count = 0;
    std::atomic<size_t> next{0};
    std::atomic<size_t> done{0};
    std::mutex mutex;
    std::condition_variable finished;
    bool waiting = false;
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
    // Passes over pictures are bound by memory: beyond four threads in all
    // they got no faster here, only less steady.
    constexpr unsigned kMaxDefaultWorkers = 3;
    const unsigned hardware = std::thread::hardware_concurrency();
    return hardware > 1 ? std::min(hardware - 1, kMaxDefaultWorkers) : 0u;
}

void WorkerPool::RunItems(Batch& batch)
{
    for (;;) {
        const size_t index = batch.next.fetch_add(1);
        if (index >= batch.count) return;
        try {
            (*batch.item)(index);
        } catch (...) {
            std::lock_guard<std::mutex> lock(batch.mutex);
            if (!batch.error) batch.error = std::current_exception();
        }
        if (batch.done.fetch_add(1) + 1 == batch.count) {
            std::lock_guard<std::mutex> lock(batch.mutex);
            if (batch.waiting) batch.finished.notify_all();
        }
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
        int sleeping = 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            for (size_t i = 0; i < helpers; ++i) m_queue.push_back(batch);
            m_queued.fetch_add(helpers);
            sleeping = m_sleeping;
        }
        if (sleeping == 1 || helpers == 1) {
            m_wake.notify_one();
        } else if (sleeping > 1) {
            m_wake.notify_all();
        }
    }
    RunItems(*batch);
    if (!SpinUntil([&] { return batch->done.load() == count; })) {
        std::unique_lock<std::mutex> lock(batch->mutex);
        batch->waiting = true;
        batch->finished.wait(lock, [&] { return batch->done.load() == count; });
    }
    // Workers that pick this batch up later find no item left and never
    // touch `item`, which may be gone by then; the batch itself is shared.
    std::lock_guard<std::mutex> lock(batch->mutex);
    if (batch->error) std::rethrow_exception(batch->error);
}

void WorkerPool::Work()
{
    for (;;) {
        SpinUntil([&] { return m_queued.load() != 0; });
        std::shared_ptr<Batch> batch;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            if (m_queue.empty()) {
                if (m_stopping) return;
                ++m_sleeping;
                m_wake.wait(lock, [&] { return m_stopping || !m_queue.empty(); });
                --m_sleeping;
                if (m_queue.empty()) return;  // stopping with nothing left
            }
            batch = std::move(m_queue.front());
            m_queue.pop_front();
            m_queued.fetch_sub(1);
        }
        RunItems(*batch);
    }
}

}  // namespace concurrency
