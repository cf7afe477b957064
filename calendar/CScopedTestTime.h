#pragma once
// A test aid: while it exists the device zone is the one given (TZ set and the zone
// record read again at the next conversion), and after SetNow the clock stands still at
// that local wall time. Destroying it restores TZ and g_bUseDST and lets the clock run.
//
//     CScopedTestTime time("EST5EDT,M3.2.0,M11.1.0");
//     time.SetNow(2007, 7, 1, 12, 34);
#include "platform/WinTypes.h"
#include <cstdint>
#include <optional>
#include <string>

class CScopedTestTime {
public:
    // pszZone: a POSIX rule ("KST-9") or a zone name ("America/New_York").
    explicit CScopedTestTime(const char* pszZone);
    ~CScopedTestTime();
    CScopedTestTime(const CScopedTestTime&) = delete;
    CScopedTestTime& operator=(const CScopedTestTime&) = delete;

    // Fixes the clock at these local fields; the weekday follows from the date.
    void SetNow(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0, int nSecond = 0,
                int nMilliseconds = 0);

    static SYSTEMTIME MakeSystemTime(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0,
                                     int nSecond = 0, int nMilliseconds = 0);

private:
    static void UseZone(const char* pszZone);

    std::optional<std::string> m_oldZone;
    int32_t m_nOldUseDST;
    bool m_bClockFixed = false;
};
