#pragma once
// A first-in first-out queue between one thread that fills it and one or more that empty
// it, holding at most a given number of values: Push waits while it is full, Pop while it
// is empty. Either side may end the exchange: Close (the filler: no more values; the rest
// are still taken) or Abort (a taker: Push and Pop refuse from then on).
#include <condition_variable>
#include <deque>
#include <mutex>

template <typename T>
class CBoundedQueue {
public:
    explicit CBoundedQueue(size_t nCapacity) : m_nCapacity(nCapacity) {}

    // False when the taker aborted; the value is dropped.
    bool Push(T value)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_notFull.wait(lock, [this] { return m_bAborted || m_values.size() < m_nCapacity; });
        if (m_bAborted)
            return false;
        m_values.push_back(std::move(value));
        m_notEmpty.notify_one();
        return true;
    }

    // False when the queue is closed and empty, or aborted.
    bool Pop(T* pValue)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_notEmpty.wait(lock, [this] { return m_bAborted || m_bClosed || !m_values.empty(); });
        if (m_bAborted || m_values.empty())
            return false;
        *pValue = std::move(m_values.front());
        m_values.pop_front();
        m_notFull.notify_one();
        return true;
    }

    void Close()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bClosed = true;
        m_notEmpty.notify_all();
    }

    void Abort()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bAborted = true;
        m_values.clear();
        m_notFull.notify_all();
        m_notEmpty.notify_all();
    }

private:
    const size_t m_nCapacity;
    std::mutex m_mutex;
    std::condition_variable m_notFull;
    std::condition_variable m_notEmpty;
    std::deque<T> m_values;
    bool m_bClosed = false;
    bool m_bAborted = false;
};
