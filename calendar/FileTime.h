#pragma once
// Stand-ins for the platform's file-time calls: a file time is the count of 100 ns
// units since 1601-01-01 00:00:00 in the proleptic Gregorian calendar. Also the
// conversions between SYSTEMTIME and the C tm record used by the zone rules.
#include "platform/WinTypes.h"
#include <cstdint>
#include <ctime>

constexpr int64_t kFileTimeUnitsPerSecond = 10000000;
// Seconds from 1601-01-01 to 1970-01-01.
constexpr int64_t kEpochDistanceSeconds = 11644473600LL;

// False when the fields do not form a valid date and time (year 1601..30827).
bool SystemTimeToFileTime(const SYSTEMTIME& st, int64_t* pFileTime);
// False for a negative file time or one beyond year 30827.
bool FileTimeToSystemTime(int64_t nFileTime, SYSTEMTIME* pSt);

// Day of year (0 = 1 January) of the date of st; 0 when the date is not valid.
int DayOfYear(const SYSTEMTIME& st);
// tm_year = wYear - 1900, tm_mon = wMonth - 1, tm_wday = wDayOfWeek, tm_yday by DayOfYear,
// tm_isdst = 0.
void SystemTimeToTm(const SYSTEMTIME& st, struct tm* pTm);
// The inverse, with wMilliseconds = 0.
void TmToSystemTime(const struct tm& t, SYSTEMTIME* pSt);
