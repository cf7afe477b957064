#pragma once
// An instant as an unsigned 32-bit count of seconds since 1970-01-01 00:00:00 UTC
// (1970-01-01 00:00:00 to 2106-02-07 06:28:15 UTC). Every calendar field read or set
// through it is local wall-clock time of the device zone (calendar/ZoneRules.h).
// Fields are converted afresh on every call; nothing is cached in the value.
#include "calendar/DateTimeSpan.h"
#include "calendar/ZoneRules.h"
#include "platform/WinTypes.h"
#include <compare>
#include <cstdint>
#include <ctime>

class DateTime {
public:
    DateTime() = default;
    // Local fields: year e.g. 2007, month 1..12, day 1..31, hour 0..23, minute and second
    // 0..59. The fields are not normalised: pass a valid date and time. nDST is accepted
    // and ignored (callers pass -1); the zone rules decide daylight time.
    DateTime(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond, int nDST = -1);
    // wYear below 1900 gives the count 0; wDayOfWeek and wMilliseconds are ignored.
    explicit DateTime(const SYSTEMTIME& st, int nDST = -1);

    static DateTime FromTime(uint32_t nTime);
    static DateTime GetCurrentTime();

    // The raw second count.
    uint32_t GetTime() const { return m_nTime; }

    // Local fields. Without pOut the shared record of DateTimeToLocal is returned, which
    // the next conversion overwrites.
    struct tm* GetLocalTm(struct tm* pOut = nullptr) const;
    BOOL GetAsSystemTime(SYSTEMTIME& st) const;
    int GetYear() const;
    int GetMonth() const;      // 1..12
    int GetDay() const;        // 1..31
    int GetHour() const;       // 0..23
    int GetMinute() const;     // 0..59
    int GetSecond() const;     // 0..59
    int GetDayOfWeek() const;  // 1 = Sunday ... 7 = Saturday

    DateTime operator+(DateTimeSpan span) const { return FromTime(m_nTime + span.GetTotalSeconds()); }
    DateTime operator-(DateTimeSpan span) const { return FromTime(m_nTime - span.GetTotalSeconds()); }
    DateTimeSpan operator-(DateTime other) const { return DateTimeSpan::FromSeconds(m_nTime - other.m_nTime); }
    DateTime& operator+=(DateTimeSpan span) { m_nTime += span.GetTotalSeconds(); return *this; }
    DateTime& operator-=(DateTimeSpan span) { m_nTime -= span.GetTotalSeconds(); return *this; }
    auto operator<=>(const DateTime&) const = default;

private:
    uint32_t m_nTime = 0;
};

// TRUE when both instants have the same local year, month and day.
BOOL IsSameDay(const DateTime& a, const DateTime& b);
// Maps GetDayOfWeek (1 = Sunday) to Monday-first numbering (1 = Monday ... 7 = Sunday).
int ToMondayFirst(int nDayOfWeek);
// ISO 8601 week number (1..53) of the local date of t.
int IsoWeekNumber(const DateTime& t);
