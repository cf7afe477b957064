#include "calendar/LunarCalendar.h"
#include "calendar/CivilDays.h"
#include <array>

namespace {

// One group per lunar year from 1841, digit k = code of month k:
// 1 = 29 days; 2 = 30 days; and a leap month follows the month for
// 3 = 29 + 29, 4 = 29 + 30, 5 = 30 + 29, 6 = 30 + 30 days.
// Corrected against the Korean astronomy institute's calendar in 1851, 1862, 1965, 1966,
// 1990, 2036 and 2042.
constexpr const char* kLunarMonthTable[LunarCalendar::kLastYear - LunarCalendar::kFirstYear + 1] = {
    "124112121221", "221211212121", "222121412121", "221212121212", "121221212121",  // 1841-1845
    "212152122121", "211212122212", "121121212221", "212321212122", "212112112212",  // 1846-1850
    "221211232122", "212211212112", "212212121212", "121212521212", "112122122121",  // 1851-1855
    "211212122212", "121152121222", "121121122122", "212112112122", "216112112122",  // 1856-1860
    "122121212112", "212122152112", "122121221212", "112121221221", "211241221221",  // 1861-1865
    "211211221222", "121121121222", "122321121221", "222112112121", "222121211521",  // 1866-1870
    "221221212112", "121221212212", "112124212212", "112121212221", "211211212221",  // 1871-1875
    "221151212212", "221121121212", "221212112121", "224212112121", "212212212112",  // 1876-1880
    "121212522121", "121212122122", "112112122212", "211232122122", "211211212122",  // 1881-1885
    "212121121212", "221521121212", "212212112121", "212212121212", "152122121212",  // 1886-1890
    "121212122122", "112115221222", "112112121222", "121211212122", "212151212121",  // 1891-1895
    "222121121212", "122121212121", "215221212121", "212121221212", "121121252212",  // 1896-1900
    "121121212221", "212112121222", "121232112212", "221211211221", "221221121212",  // 1901-1905
    "122412121212", "121212212121", "211221212212", "151212122212", "121121212221",  // 1906-1910
    "212115122122", "212112112212", "221211211212", "221251212112", "212212121212",  // 1911-1915
    "121212212121", "232122122121", "211212122212", "121121522122", "121121122122",  // 1916-1920
    "212112112122", "212232112122", "122121212112", "212122121211", "212521221212",  // 1921-1925
    "112121221221", "211212122122", "151211221222", "121121121222", "122115121221",  // 1926-1930
    "222112112121", "222121211212", "122161212112", "121221221212", "112121221221",  // 1931-1935
    "214121212221", "211211212221", "221121412212", "221121121212", "221212112121",  // 1936-1940
    "221224112121", "212212212112", "121212212212", "112412122122", "112112122212",  // 1941-1945
    "211211212212", "251211212122", "212121121212", "221212321212", "212212112121",  // 1946-1950
    "212212121212", "121242121212", "121122122122", "112112122122", "214112121222",  // 1951-1955
    "121211212122", "212121152122", "122121121212", "122121212121", "212125212121",  // 1956-1960
    "212121221212", "121121221221", "212321212221", "212112121222", "121211211222",  // 1961-1965
    "125211211221", "221221121212", "122121521212", "121212212121", "211221212212",  // 1966-1970
    "121152122212", "121121212221", "212112112221", "221512112212", "221211211212",  // 1971-1975
    "221212152112", "212212121211", "221212212121", "211216122121", "211212122122",  // 1976-1980
    "121121122122", "212321122122", "212112112122", "212211211522", "122121211212",  // 1981-1985
    "122122121211", "212215221212", "112121221221", "211212122122", "121151221222",  // 1986-1990
    "121121121222", "122112112122", "125212112121", "222121211212", "122122152112",  // 1991-1995
    "121221212212", "112121221221", "211232212221", "211211212221", "221121121221",  // 1996-2000
    "222321121212", "221212112121", "221221211212", "152212121212", "121212212211",  // 2001-2005
    "212121522122", "112112122212", "211211212212", "221151212122", "212121121212",  // 2006-2010
    "212212112121", "216212112121", "212212121212", "121212125212", "121121222121",  // 2011-2015
    "212112122122", "121232121222", "121211212122", "212121121212", "212521121212",  // 2016-2020
    "122121212121", "212122121212", "152121221212", "121121221221", "212115212221",  // 2021-2025
    "212112121222", "121211211222", "122151211221", "221221121122", "121221212121",  // 2026-2030
    "215212212121", "211212212212", "121121212252", "121121212221", "212112112212",  // 2031-2035
    "221214112212", "221211211212", "221212121121", "221252121211", "212212212121",  // 2036-2040
    "211212212212", "151212122122", "121121122122",  // 2041-2043
};

constexpr int kYearCount = LunarCalendar::kLastYear - LunarCalendar::kFirstYear + 1;
// Lunar 1841-01-01 is the 23rd day of solar 1841.
constexpr int kFirstDayOffset = 22;

constexpr int MonthCode(int nYear, int nMonth)
{
    return kLunarMonthTable[nYear - LunarCalendar::kFirstYear][nMonth - 1] - '0';
}

// Days of month m and its leap month together.
constexpr int CombinedDays(int nCode)
{
    constexpr int kDays[7] = {0, 29, 30, 58, 59, 59, 60};
    return kDays[nCode];
}

constexpr int RegularMonthDays(int nCode)
{
    return (nCode == 2 || nCode == 5 || nCode == 6) ? 30 : 29;
}

constexpr int LeapMonthDays(int nCode)
{
    return (nCode == 4 || nCode == 6) ? 30 : 29;
}

// Days from lunar 1841-01-01 to the first day of each lunar year.
constexpr std::array<int, kYearCount + 1> MakeYearStarts()
{
    std::array<int, kYearCount + 1> starts{};
    for (int i = 0; i < kYearCount; ++i) {
        int nDays = 0;
        for (int m = 1; m <= 12; ++m)
            nDays += CombinedDays(MonthCode(LunarCalendar::kFirstYear + i, m));
        starts[i + 1] = starts[i] + nDays;
    }
    return starts;
}

constexpr std::array<int, kYearCount + 1> kYearStarts = MakeYearStarts();

}  // namespace

BOOL LunarCalendar::LunarToSolar(int nYear, int nMonth, int nDay, BOOL bLeapMonth,
                                 SolarDate* pSolar) const
{
    if (nYear < kFirstYear || nYear > kLastYear || nMonth < 1 || nMonth > 12)
        return FALSE;
    const int nCode = MonthCode(nYear, nMonth);
    const bool bLeap = bLeapMonth && nCode >= 3;
    const int nLength = bLeap ? LeapMonthDays(nCode) : RegularMonthDays(nCode);
    if (nDay < 1 || nDay > nLength)
        return FALSE;
    // n: 1-based day number counted from solar 1841-01-01.
    int n = kYearStarts[nYear - kFirstYear];
    for (int m = 1; m < nMonth; ++m)
        n += CombinedDays(MonthCode(nYear, m));
    if (bLeap)
        n += RegularMonthDays(nCode);
    n += nDay + kFirstDayOffset;
    const int64_t nDayNumber = DaysFromCivil(kFirstYear, 1, 1) + n - 1;
    const CivilDate date = CivilFromDays(nDayNumber);
    pSolar->wYear = static_cast<uint16_t>(date.y);
    pSolar->nMonth = static_cast<uint8_t>(date.m);
    pSolar->nDay = static_cast<uint8_t>(date.d);
    pSolar->nDayOfWeek = static_cast<uint8_t>(WeekdayFromDays(nDayNumber));
    return TRUE;
}

BOOL LunarCalendar::HasLeapMonth(int nYear, int nMonth) const
{
    if (nYear < kFirstYear || nYear > kLastYear || nMonth < 1 || nMonth > 12)
        return FALSE;
    return MonthCode(nYear, nMonth) >= 3 ? TRUE : FALSE;
}
