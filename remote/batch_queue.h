#pragma once
// Items handed from one thread to another in batches: bounded, so that a flood is
// refused at the door instead of growing the clock, and saying when it went from
// empty to not, so that one message wakes the taker for a whole batch.
#include <mutex>
#include <utility>
#include <vector>

namespace tallyglass {

template <typename T>
class BatchQueue {
public:
    enum class Pushed { Refused, First, Queued };

    explicit BatchQueue(size_t capacity) : m_capacity(capacity) {}

    Pushed Push(T item) {
        const std::lock_guard<std::mutex> lock(m_mutex);
        if (m_items.size() >= m_capacity) return Pushed::Refused;
        m_items.push_back(std::move(item));
        return m_items.size() == 1 ? Pushed::First : Pushed::Queued;
    }

    std::vector<T> TakeAll() {
        const std::lock_guard<std::mutex> lock(m_mutex);
        return std::exchange(m_items, {});
    }

private:
    std::mutex m_mutex;
    std::vector<T> m_items;  // guarded by m_mutex
    size_t m_capacity;
};

}  // namespace tallyglass
