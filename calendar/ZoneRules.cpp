#include "calendar/ZoneRules.h"
#include "calendar/FileTime.h"
#include "platform/TimeZoneInformation.h"
#include <algorithm>
#include <cstring>

extern "C" {
__attribute__((visibility("default"))) int32_t g_bUseDST = 1;
}

namespace {

constexpr int32_t kMillisecondsPerDay = 86400000;

struct ZoneState {
    bool bRead = false;
    TIME_ZONE_INFORMATION tzi;
};

ZoneState& Zone()
{
    static ZoneState state;
    return state;
}

// Reads the zone record once; false (and nothing kept) when the platform cannot give it.
bool EnsureZoneRead()
{
    ZoneState& zone = Zone();
    if (zone.bRead)
        return true;
    TIME_ZONE_INFORMATION tzi;
    if (GetTimeZoneInformation(&tzi) == TIME_ZONE_ID_INVALID)
        return false;
    zone.tzi = tzi;
    zone.bRead = true;
    return true;
}

bool SameTransition(const SYSTEMTIME& a, const SYSTEMTIME& b)
{
    return a.wYear == b.wYear && a.wMonth == b.wMonth && a.wDayOfWeek == b.wDayOfWeek && a.wDay == b.wDay
        && a.wHour == b.wHour && a.wMinute == b.wMinute && a.wSecond == b.wSecond
        && a.wMilliseconds == b.wMilliseconds;
}

bool SameZoneRecord(const TIME_ZONE_INFORMATION& a, const TIME_ZONE_INFORMATION& b)
{
    return a.Bias == b.Bias && a.StandardBias == b.StandardBias && a.DaylightBias == b.DaylightBias
        && a.StandardDayOffset == b.StandardDayOffset && a.DaylightDayOffset == b.DaylightDayOffset
        && SameTransition(a.StandardDate, b.StandardDate) && SameTransition(a.DaylightDate, b.DaylightDate);
}

int PositiveModulo(int a, int b)
{
    const int r = a % b;
    return r < 0 ? r + b : r;
}

// Day of year of the 1st of each month, and the year length, under the transition rule's
// leap test (years divisible by 4).
constexpr int kMonthStartCommon[13] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334, 365};
constexpr int kMonthStartLeap[13] = {0, 31, 60, 91, 121, 152, 182, 213, 244, 274, 305, 335, 366};

}  // namespace

void GetZoneBiases(int32_t* pZoneOffset, int32_t* pDaylightShift)
{
    if (!EnsureZoneRead())
        return;
    const TIME_ZONE_INFORMATION& tzi = Zone().tzi;
    if (pZoneOffset)
        *pZoneOffset = 60 * (tzi.StandardDate.wMonth != 0 ? tzi.Bias + tzi.StandardBias : tzi.Bias);
    if (pDaylightShift) {
        const bool bHasShift = tzi.DaylightDate.wMonth != 0 && tzi.DaylightBias != 0;
        *pDaylightShift = bHasShift ? 60 * (tzi.DaylightBias - tzi.StandardBias) : 0;
    }
}

void ResetTimeZoneCache()
{
    Zone() = ZoneState();
}

bool RefreshTimeZone()
{
    TIME_ZONE_INFORMATION tzi;
    if (GetTimeZoneInformation(&tzi) == TIME_ZONE_ID_INVALID)
        return false;
    ZoneState& zone = Zone();
    const bool bChanged = zone.bRead && !SameZoneRecord(zone.tzi, tzi);
    zone.tzi = tzi;
    zone.bRead = true;
    return bChanged;
}

TransitionPoint TransitionDay(bool bEnd, int nYear, const SYSTEMTIME& rule, int32_t nDaylightShift, int nDayOffset)
{
    const int* pMonthStart = nYear % 4 == 0 ? kMonthStartLeap : kMonthStartCommon;
    const int nMonth = std::clamp<int>(rule.wMonth, 1, 12);
    const int nFirst = pMonthStart[nMonth - 1];
    // Weekday of the 1st, from the day count since 1970-01-01 (a Thursday).
    const int nFirstWeekday =
        PositiveModulo(nFirst + 365 * (nYear - 70) + ((nYear - 1) >> 2) - 17 + 4, 7);
    int nDay = nFirst + PositiveModulo(rule.wDayOfWeek - nFirstWeekday, 7) + 7 * (rule.wDay - 1);
    if (rule.wDay == 5 && nDay >= pMonthStart[nMonth])
        nDay -= 7;
    nDay += nDayOffset;
    int32_t nMs = 1000 * (rule.wSecond + 60 * (rule.wMinute + 60 * rule.wHour)) + rule.wMilliseconds;
    if (bEnd) {
        // The end rule's time is in daylight time; move it to standard time.
        nMs += 1000 * nDaylightShift;
        if (nMs < 0) {
            nMs += kMillisecondsPerDay;
            --nDay;
        } else if (nMs >= kMillisecondsPerDay) {
            nMs -= kMillisecondsPerDay;
            ++nDay;
        }
    }
    return TransitionPoint{nDay, nMs};
}

bool IsDaylightTime(const struct tm& t)
{
    if (g_bUseDST == 0 || !EnsureZoneRead())
        return false;
    const TIME_ZONE_INFORMATION& tzi = Zone().tzi;
    if (tzi.DaylightDate.wYear != 0 || tzi.StandardDate.wYear != 0 || tzi.DaylightDate.wMonth == 0)
        return false;
    int32_t nShift = 0;
    GetZoneBiases(nullptr, &nShift);
    const TransitionPoint start = TransitionDay(false, t.tm_year, tzi.DaylightDate, nShift, tzi.DaylightDayOffset);
    const TransitionPoint end = TransitionDay(true, t.tm_year, tzi.StandardDate, nShift, tzi.StandardDayOffset);
    if (start.nDay < end.nDay) {
        if (t.tm_yday < start.nDay || t.tm_yday > end.nDay)
            return false;
        if (t.tm_yday > start.nDay && t.tm_yday < end.nDay)
            return true;
    } else {
        if (t.tm_yday < end.nDay || t.tm_yday > start.nDay)
            return true;
        if (t.tm_yday > end.nDay && t.tm_yday < start.nDay)
            return false;
    }
    const int32_t nMs = 1000 * (t.tm_sec + 60 * t.tm_min + 3600 * t.tm_hour);
    if (t.tm_yday == start.nDay)
        return nMs >= start.nMillisecond;
    return nMs < end.nMillisecond;
}

uint32_t LocalToDateTime(struct tm* pTm)
{
    SYSTEMTIME st;
    TmToSystemTime(*pTm, &st);
    pTm->tm_yday = DayOfYear(st);
    int64_t nFileTime = 0;
    if (!SystemTimeToFileTime(st, &nFileTime))
        return 0;  // not a valid date: callers never pass one
    int32_t nZoneOffset = 0;
    int32_t nDaylightShift = 0;
    GetZoneBiases(&nZoneOffset, &nDaylightShift);
    int64_t nOffset = nZoneOffset;
    if (IsDaylightTime(*pTm))
        nOffset += nDaylightShift;
    const int64_t nSeconds = nFileTime / kFileTimeUnitsPerSecond - kEpochDistanceSeconds;
    return static_cast<uint32_t>(nSeconds + nOffset);
}

struct tm* DateTimeToLocal(uint32_t nTime)
{
    thread_local struct tm s_local;
    std::memset(&s_local, 0, sizeof s_local);
    int32_t nZoneOffset = 0;
    int32_t nDaylightShift = 0;
    GetZoneBiases(&nZoneOffset, &nDaylightShift);
    int64_t nFileTime =
        (static_cast<int64_t>(nTime) + kEpochDistanceSeconds - nZoneOffset) * kFileTimeUnitsPerSecond;
    SYSTEMTIME st;
    if (!FileTimeToSystemTime(nFileTime, &st))
        return &s_local;
    struct tm standard;
    std::memset(&standard, 0, sizeof standard);
    SystemTimeToTm(st, &standard);
    if (IsDaylightTime(standard)) {
        nFileTime -= static_cast<int64_t>(nDaylightShift) * kFileTimeUnitsPerSecond;
        if (!FileTimeToSystemTime(nFileTime, &st))
            return &s_local;
    }
    SystemTimeToTm(st, &s_local);
    return &s_local;
}
