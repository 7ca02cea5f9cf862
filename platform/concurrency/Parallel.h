#pragma once
#include "platform/concurrency/WorkerPool.h"

#include <algorithm>
#include <cstddef>
#include <functional>
#include <initializer_list>

namespace concurrency {

// body(i) for every i in [first, last), spread over the pool in contiguous
// chunks; returns when all are done. An exception ends the rest of its
// chunk and is rethrown here once every other chunk has ended.
template <typename Body>
void ParallelFor(WorkerPool& pool, size_t first, size_t last, const Body& body)
{
    if (last <= first) return;
    const size_t total = last - first;
    // A few chunks per thread evens out uneven items without much overhead.
    const size_t chunks = std::min<size_t>(total, (pool.ThreadCount() + 1) * 4);
    const std::function<void(size_t)> chunk = [&](size_t c) {
        const size_t begin = first + total * c / chunks;
        const size_t end = first + total * (c + 1) / chunks;
        for (size_t i = begin; i < end; ++i) body(i);
    };
    pool.RunBatch(chunks, chunk);
}

// Runs each task once, in parallel, and returns when all have ended.
inline void ParallelInvoke(WorkerPool& pool, std::initializer_list<std::function<void()>> tasks)
{
    const std::function<void()>* list = tasks.begin();
    pool.RunBatch(tasks.size(), [list](size_t i) { list[i](); });
}

}  // namespace concurrency
