#pragma once
// A length of time: an unsigned 32-bit count of seconds. Arithmetic wraps modulo 2^32,
// so only spans whose end is not before their start have meaningful components.
#include <compare>
#include <cstdint>

class DateTimeSpan {
public:
    DateTimeSpan() = default;
    // seconds + 60 * (minutes + 60 * (hours + 24 * days)), modulo 2^32.
    DateTimeSpan(int32_t nDays, int nHours, int nMinutes, int nSeconds)
        : m_nSpan(static_cast<uint32_t>(nSeconds)
                  + 60u * (static_cast<uint32_t>(nMinutes)
                           + 60u * (static_cast<uint32_t>(nHours)
                                    + 24u * static_cast<uint32_t>(nDays))))
    {
    }

    static DateTimeSpan FromSeconds(uint32_t nSeconds)
    {
        DateTimeSpan span;
        span.m_nSpan = nSeconds;
        return span;
    }

    uint32_t GetTotalSeconds() const { return m_nSpan; }
    // Whole days of the unsigned count (truncating).
    uint32_t GetDays() const { return m_nSpan / 86400u; }
    uint32_t GetHours() const { return m_nSpan / 3600u % 24u; }
    uint32_t GetMinutes() const { return m_nSpan / 60u % 60u; }
    uint32_t GetSeconds() const { return m_nSpan % 60u; }

    DateTimeSpan operator+(DateTimeSpan other) const { return FromSeconds(m_nSpan + other.m_nSpan); }
    DateTimeSpan operator-(DateTimeSpan other) const { return FromSeconds(m_nSpan - other.m_nSpan); }
    auto operator<=>(const DateTimeSpan&) const = default;

private:
    uint32_t m_nSpan = 0;
};
