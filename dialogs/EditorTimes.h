#pragma once
// The time-of-day texts and lists of the appointment editor, and the date arithmetic its
// start and end rules share with the task editor. Pure functions: no window, no store.
#include "calendar/DateTime.h"
#include "platform/WinTypes.h"
#include "week/WeekRange.h"  // WholeDaysBetween: calendar days, not 24-hour periods
#include <QDate>
#include <QString>
#include <QStringList>

struct TimeOfDay {
    int nHour = 0;    // 0..23
    int nMinute = 0;  // 0..59
    bool operator==(const TimeOfDay&) const = default;
};

// "9:05" / "13:30" with bUse24Hour; otherwise "9:05 AM" / "1:30 PM", midnight "0:00 AM"
// and noon "12:00 PM".
QString FormatTimeText(int nHour, int nMinute, bool bUse24Hour);
// Reads what a person typed into a time field; never fails. "9:5" is 9:05, "1:30 pm"
// 13:30 (AM and PM only without bUse24Hour; only PM changes the hour), "930" 9:30, "14"
// 14:00, an empty or unreadable text 12:00. Parts out of range fall back to their first
// digit ("25:70" is 2:07).
TimeOfDay ParseTimeText(const QString& strText, bool bUse24Hour);

// The 48 half hours of a day, 0:00 to 23:30.
QStringList MakeStartTimes(bool bUse24Hour);
// The end times offered for a start: on the start's own day the half hours after the
// start time (none after 23:30), on a later day the whole day from 0:00.
QStringList MakeEndTimes(bool bSameDay, TimeOfDay startTime, bool bUse24Hour);

// The local date of t at the given time of day.
DateTime AtTimeOfDay(const DateTime& t, TimeOfDay time);
DateTime AtTimeOfDay(const DateTime& t, int nHour, int nMinute, int nSecond);
TimeOfDay TimeOfDayOf(const DateTime& t);
// t moved by nDays calendar days, keeping its time of day.
DateTime AddWholeDays(const DateTime& t, int nDays);
// The local date of t, and t with its date replaced (time of day kept).
QDate DateOf(const DateTime& t);
DateTime WithDate(const DateTime& t, const QDate& date);

// The store's dates (OLE automation dates, local wall time) and DateTime. FALSE, leaving
// *pTime as it was, for a date outside what a DateTime holds. Seconds are dropped.
BOOL DateTimeFromVariant(DATE dt, DateTime* pTime);
DATE VariantFromDateTime(const DateTime& t);
// Whether two store dates fall on the same minute.
bool SameMinute(DATE a, DATE b);

// The longest appointment the editors and the detail form let a person make.
constexpr int kMaxAppointmentDays = 31;
