#pragma once
// Proleptic Gregorian calendar arithmetic over a day number (days since 1970-01-01),
// after H. Hinnant's days_from_civil / civil_from_days.
#include <cstdint>

constexpr bool IsGregorianLeapYear(int64_t y)
{
    return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}

constexpr int DaysInMonth(int64_t y, int m)  // m 1..12
{
    constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return (m == 2 && IsGregorianLeapYear(y)) ? 29 : kDays[m - 1];
}

constexpr int64_t DaysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;                                   // [0, 399]
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;  // [0, 365]
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;           // [0, 146096]
    return era * 146097 + doe - 719468;
}

struct CivilDate {
    int64_t y;
    int m;  // 1..12
    int d;  // 1..31
};

constexpr CivilDate CivilFromDays(int64_t z)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;                                 // [0, 146096]
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;  // [0, 399]
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);          // [0, 365]
    const int64_t mp = (5 * doy + 2) / 153;                               // [0, 11]
    const int d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);         // [1, 31]
    const int m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);            // [1, 12]
    return CivilDate{yoe + era * 400 + (m <= 2), m, d};
}

// 0 = Sunday ... 6 = Saturday; 1970-01-01 was a Thursday.
constexpr int WeekdayFromDays(int64_t z)
{
    return static_cast<int>(z >= -4 ? (z + 4) % 7 : (z + 5) % 7 + 6);
}
