#include "calendar/DateTime.h"
#include "calendar/CivilDays.h"
#include "calendar/FileTime.h"
#include "platform/Clock.h"
#include <cstring>

DateTime::DateTime(int nYear, int nMonth, int nDay, int nHour, int nMinute, int nSecond, int /*nDST*/)
{
    struct tm t;
    std::memset(&t, 0, sizeof t);
    t.tm_year = nYear - 1900;
    t.tm_mon = nMonth - 1;
    t.tm_mday = nDay;
    t.tm_hour = nHour;
    t.tm_min = nMinute;
    t.tm_sec = nSecond;
    m_nTime = LocalToDateTime(&t);
}

DateTime::DateTime(const SYSTEMTIME& st, int nDST)
{
    if (st.wYear < 1900) {
        m_nTime = 0;
        return;
    }
    *this = DateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond, nDST);
}

DateTime DateTime::FromTime(uint32_t nTime)
{
    DateTime t;
    t.m_nTime = nTime;
    return t;
}

DateTime DateTime::GetCurrentTime()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    struct tm t;
    std::memset(&t, 0, sizeof t);
    SystemTimeToTm(st, &t);
    return FromTime(LocalToDateTime(&t));
}

struct tm* DateTime::GetLocalTm(struct tm* pOut) const
{
    struct tm* pLocal = DateTimeToLocal(m_nTime);
    if (!pOut)
        return pLocal;
    *pOut = *pLocal;
    return pOut;
}

BOOL DateTime::GetAsSystemTime(SYSTEMTIME& st) const
{
    struct tm t;
    GetLocalTm(&t);
    TmToSystemTime(t, &st);
    return TRUE;
}

int DateTime::GetYear() const { return GetLocalTm()->tm_year + 1900; }
int DateTime::GetMonth() const { return GetLocalTm()->tm_mon + 1; }
int DateTime::GetDay() const { return GetLocalTm()->tm_mday; }
int DateTime::GetHour() const { return GetLocalTm()->tm_hour; }
int DateTime::GetMinute() const { return GetLocalTm()->tm_min; }
int DateTime::GetSecond() const { return GetLocalTm()->tm_sec; }
int DateTime::GetDayOfWeek() const { return GetLocalTm()->tm_wday + 1; }

BOOL IsSameDay(const DateTime& a, const DateTime& b)
{
    struct tm ta;
    struct tm tb;
    a.GetLocalTm(&ta);
    b.GetLocalTm(&tb);
    return ta.tm_year == tb.tm_year && ta.tm_mon == tb.tm_mon && ta.tm_mday == tb.tm_mday;
}

int ToMondayFirst(int nDayOfWeek)
{
    return nDayOfWeek == 1 ? 7 : nDayOfWeek - 1;
}

int IsoWeekNumber(const DateTime& t)
{
    // Worked on local day numbers, so that a 23- or 25-hour day of a daylight-saving
    // change cannot shift the count of whole days.
    struct tm local;
    t.GetLocalTm(&local);
    const int64_t nDay = DaysFromCivil(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    const int nMondayFirst = ToMondayFirst(WeekdayFromDays(nDay) + 1);
    // The Thursday of t's Monday-to-Sunday week decides the week's year.
    const int64_t nThursday = nDay - nMondayFirst + 4;
    const int64_t nYear = CivilFromDays(nThursday).y;
    const int64_t nJan3 = DaysFromCivil(nYear, 1, 3);
    const int nJan3DayOfWeek = WeekdayFromDays(nJan3) + 1;
    return static_cast<int>((nDay - nJan3 + nJan3DayOfWeek + 5) / 7);
}
