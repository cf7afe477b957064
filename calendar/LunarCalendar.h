#pragma once
// Korean lunisolar calendar to Gregorian dates, for lunar years 1841 to 2043 (the last
// day of lunar 2043 is 2044-01-29).
#include "platform/WinTypes.h"
#include <cstdint>

struct LunarDate {
    int nYear = 0;        // 1841..2043
    int nMonth = 0;       // 1..12
    int nDay = 0;         // 1..30
    BOOL bLeapMonth = FALSE;
};

struct SolarDate {
    uint16_t wYear = 0;
    uint8_t nMonth = 0;      // 1..12
    uint8_t nDay = 0;        // 1..31
    uint8_t nDayOfWeek = 0;  // 0 = Sunday ... 6 = Saturday
};

class LunarCalendar {
public:
    static constexpr int kFirstYear = 1841;
    static constexpr int kLastYear = 2043;

    // TRUE and *pSolar filled when the lunar date exists; FALSE with *pSolar untouched
    // otherwise. A leap month asked for in a month without one is the regular month.
    BOOL LunarToSolar(int nYear, int nMonth, int nDay, BOOL bLeapMonth, SolarDate* pSolar) const;
    // TRUE when a leap month follows the given month of the lunar year.
    BOOL HasLeapMonth(int nYear, int nMonth) const;
    BOOL LunarToSolar(const LunarDate& lunar, SolarDate* pSolar) const
    {
        return LunarToSolar(lunar.nYear, lunar.nMonth, lunar.nDay, lunar.bLeapMonth, pSolar);
    }
};
