#pragma once
// The shown week: Monday 00:00:00 to Sunday 23:59:59 local time, and the local midnight
// that starts each of its days. Every bound is built from local calendar fields, never by
// adding seconds, so a week in which daylight time starts or ends still has seven days
// that each begin at their own midnight.
#include "calendar/DateTime.h"
#include <QDate>
#include <cstdint>

struct WeekRange {
    DateTime weekStart;    // Monday 00:00:00
    DateTime weekEnd;      // Sunday 23:59:59
    DateTime dayStart[7];  // 0 = Monday ... 6 = Sunday, each at 00:00:00
    int64_t nMondayDay = 0;  // civil day number of the Monday (days since 1970-01-01)

    // 0..6 for a day of this week, -1 for any other day.
    int DayIndexOf(const DateTime& t) const;
    bool Contains(const DateTime& t) const { return weekStart <= t && t <= weekEnd; }
};

// The week (Monday first) of the local date of t; a Sunday belongs to the week that began
// six days earlier.
WeekRange WeekRangeOf(const DateTime& t);
// Civil day number (days since 1970-01-01) of the local date of t.
int64_t LocalDayNumber(const DateTime& t);
// Whole days from the local date of a to the local date of b, counted by calendar dates
// (negative when b is earlier).
int WholeDaysBetween(const DateTime& a, const DateTime& b);
// The local date of t at 00:00:00.
DateTime LocalMidnight(const DateTime& t);
// The date n days after the local date of t, at 00:00:00.
DateTime AddLocalDays(const DateTime& t, int nDays);
// The days the week can show: from the first Monday a DateTime holds whole (5 January
// 1970) to the end of 2105. Every date field of the editors and forms takes this range.
QDate FirstShownDay();
QDate LastShownDay();
// "YYYY-MM-DD" to that date at 00:00:00; false for another text or a date whose week the
// program cannot show.
bool ParseWeekDate(const QString& strDate, DateTime* pDate);
