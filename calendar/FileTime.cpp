#include "calendar/FileTime.h"
#include "calendar/CivilDays.h"

namespace {

constexpr int kMaxFileTimeYear = 30827;
constexpr int64_t kDaysFrom1601To1970 = kEpochDistanceSeconds / 86400;

bool IsValidSystemTime(const SYSTEMTIME& st)
{
    return st.wYear >= 1601 && st.wYear <= kMaxFileTimeYear && st.wMonth >= 1 && st.wMonth <= 12
        && st.wDay >= 1 && st.wDay <= DaysInMonth(st.wYear, st.wMonth) && st.wHour <= 23
        && st.wMinute <= 59 && st.wSecond <= 59 && st.wMilliseconds <= 999;
}

}  // namespace

bool SystemTimeToFileTime(const SYSTEMTIME& st, int64_t* pFileTime)
{
    if (!IsValidSystemTime(st))
        return false;
    const int64_t nDays = DaysFromCivil(st.wYear, st.wMonth, st.wDay) + kDaysFrom1601To1970;
    const int64_t nSeconds = nDays * 86400 + st.wHour * 3600 + st.wMinute * 60 + st.wSecond;
    *pFileTime = nSeconds * kFileTimeUnitsPerSecond + st.wMilliseconds * 10000LL;
    return true;
}

bool FileTimeToSystemTime(int64_t nFileTime, SYSTEMTIME* pSt)
{
    if (nFileTime < 0)
        return false;
    const int64_t nMilliseconds = nFileTime / 10000;
    const int64_t nSeconds = nMilliseconds / 1000;
    const int64_t nDays = nSeconds / 86400 - kDaysFrom1601To1970;
    const CivilDate date = CivilFromDays(nDays);
    if (date.y > kMaxFileTimeYear)
        return false;
    const int64_t nSecondOfDay = nSeconds % 86400;
    pSt->wYear = static_cast<uint16_t>(date.y);
    pSt->wMonth = static_cast<uint16_t>(date.m);
    pSt->wDay = static_cast<uint16_t>(date.d);
    pSt->wDayOfWeek = static_cast<uint16_t>(WeekdayFromDays(nDays));
    pSt->wHour = static_cast<uint16_t>(nSecondOfDay / 3600);
    pSt->wMinute = static_cast<uint16_t>(nSecondOfDay / 60 % 60);
    pSt->wSecond = static_cast<uint16_t>(nSecondOfDay % 60);
    pSt->wMilliseconds = static_cast<uint16_t>(nMilliseconds % 1000);
    return true;
}

int DayOfYear(const SYSTEMTIME& st)
{
    SYSTEMTIME first;
    first.wYear = st.wYear;
    first.wMonth = 1;
    first.wDay = 1;
    SYSTEMTIME date = st;
    date.wHour = date.wMinute = date.wSecond = date.wMilliseconds = 0;
    int64_t nFirst = 0;
    int64_t nDate = 0;
    if (!SystemTimeToFileTime(first, &nFirst) || !SystemTimeToFileTime(date, &nDate))
        return 0;
    return static_cast<int>((nDate - nFirst) / kFileTimeUnitsPerSecond / 86400);
}

void SystemTimeToTm(const SYSTEMTIME& st, struct tm* pTm)
{
    pTm->tm_year = st.wYear - 1900;
    pTm->tm_mon = st.wMonth - 1;
    pTm->tm_wday = st.wDayOfWeek;
    pTm->tm_mday = st.wDay;
    pTm->tm_hour = st.wHour;
    pTm->tm_min = st.wMinute;
    pTm->tm_sec = st.wSecond;
    pTm->tm_yday = DayOfYear(st);
    pTm->tm_isdst = 0;
}

void TmToSystemTime(const struct tm& t, SYSTEMTIME* pSt)
{
    pSt->wYear = static_cast<uint16_t>(t.tm_year + 1900);
    pSt->wMonth = static_cast<uint16_t>(t.tm_mon + 1);
    pSt->wDayOfWeek = static_cast<uint16_t>(t.tm_wday);
    pSt->wDay = static_cast<uint16_t>(t.tm_mday);
    pSt->wHour = static_cast<uint16_t>(t.tm_hour);
    pSt->wMinute = static_cast<uint16_t>(t.tm_min);
    pSt->wSecond = static_cast<uint16_t>(t.tm_sec);
    pSt->wMilliseconds = 0;
}
