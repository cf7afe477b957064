#pragma once
// Values made by several threads in any order and taken by one thread in the order of
// their numbers (0, 1, 2, ...). A maker waits while its number is a window or more ahead
// of the next one to take, so that at most a window of values waits at any time. Take
// gives false once every maker said Done and the next value never came, or after Abort
// (the taker's end of the exchange: Put refuses from then on).
#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>

template <typename T>
class COrderedHandOver {
public:
    COrderedHandOver(int64_t nWindow, int nMakers) : m_nWindow(nWindow), m_nMakers(nMakers) {}

    // False when the taker aborted; the value is dropped.
    bool Put(int64_t nNumber, T value)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [&] { return m_bAborted || nNumber < m_nNext + m_nWindow; });
        if (m_bAborted)
            return false;
        m_values.emplace(nNumber, std::move(value));
        m_changed.notify_all();
        return true;
    }

    bool Take(T* pValue)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_changed.wait(lock, [this] { return m_bAborted || m_nMakers == 0 || m_values.count(m_nNext) > 0; });
        const auto it = m_values.find(m_nNext);
        if (m_bAborted || it == m_values.end())
            return false;
        *pValue = std::move(it->second);
        m_values.erase(it);
        ++m_nNext;
        m_changed.notify_all();
        return true;
    }

    // One maker will put no more.
    void Done()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        --m_nMakers;
        m_changed.notify_all();
    }

    void Abort()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bAborted = true;
        m_values.clear();
        m_changed.notify_all();
    }

private:
    const int64_t m_nWindow;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::map<int64_t, T> m_values;
    int64_t m_nNext = 0;
    int m_nMakers;
    bool m_bAborted = false;
};
