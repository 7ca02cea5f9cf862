#pragma once
#include <atomic>

// A value that a worker thread reads while the UI thread writes it, with no
// ordering between them: each read sees some whole value, the last or an
// earlier one, which the next read corrects.
template <typename T>
class RelaxedAtomic {
public:
    RelaxedAtomic(T value = T()) : m_value(value) {}
    RelaxedAtomic(const RelaxedAtomic&) = delete;
    RelaxedAtomic& operator=(const RelaxedAtomic&) = delete;

    T Load() const { return m_value.load(std::memory_order_relaxed); }
    void Store(T value) { m_value.store(value, std::memory_order_relaxed); }
    operator T() const { return Load(); }
    RelaxedAtomic& operator=(T value)
    {
        Store(value);
        return *this;
    }

private:
    std::atomic<T> m_value;
};
