#include "week/WeekRange.h"
#include "calendar/CivilDays.h"
#include "platform/IsoDate.h"

namespace {

DateTime DateAt(int64_t nDay, int nHour, int nMinute, int nSecond)
{
    const CivilDate c = CivilFromDays(nDay);
    return DateTime(static_cast<int>(c.y), c.m, c.d, nHour, nMinute, nSecond);
}

}  // namespace

int64_t LocalDayNumber(const DateTime& t)
{
    struct tm fields;
    t.GetLocalTm(&fields);
    return DaysFromCivil(fields.tm_year + 1900, fields.tm_mon + 1, fields.tm_mday);
}

int WholeDaysBetween(const DateTime& a, const DateTime& b)
{
    return static_cast<int>(LocalDayNumber(b) - LocalDayNumber(a));
}

DateTime LocalMidnight(const DateTime& t)
{
    return DateAt(LocalDayNumber(t), 0, 0, 0);
}

DateTime AddLocalDays(const DateTime& t, int nDays)
{
    return DateAt(LocalDayNumber(t) + nDays, 0, 0, 0);
}

WeekRange WeekRangeOf(const DateTime& t)
{
    WeekRange week;
    const int64_t nDay = LocalDayNumber(t);
    const int nFromMonday = ToMondayFirst(WeekdayFromDays(nDay) + 1) - 1;
    week.nMondayDay = nDay - nFromMonday;
    for (int i = 0; i < 7; ++i)
        week.dayStart[i] = DateAt(week.nMondayDay + i, 0, 0, 0);
    week.weekStart = week.dayStart[0];
    week.weekEnd = DateAt(week.nMondayDay + 6, 23, 59, 59);
    return week;
}

int WeekRange::DayIndexOf(const DateTime& t) const
{
    const int64_t nIndex = LocalDayNumber(t) - nMondayDay;
    return (nIndex >= 0 && nIndex < 7) ? static_cast<int>(nIndex) : -1;
}

QDate FirstShownDay()
{
    return QDate(1970, 1, 5);
}

QDate LastShownDay()
{
    return QDate(2105, 12, 31);
}

bool ParseWeekDate(const QString& strDate, DateTime* pDate)
{
    const std::optional<QDate> date = ParseIsoDate(strDate);
    if (!date || *date < FirstShownDay() || *date > LastShownDay())
        return false;
    *pDate = DateTime(date->year(), date->month(), date->day(), 0, 0, 0);
    return true;
}
