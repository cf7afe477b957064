#pragma once
// Special days as iCalendar events and back: each day an all-day VEVENT; a yearly solar
// day with RRULE:FREQ=YEARLY, a lunar day with a yearly rule on the Korean lunar calendar
// (RFC 7529: RRULE:RSCALE=DANGI;FREQ=YEARLY;BYMONTH=4;BYMONTHDAY=15, a leap month as
// BYMONTH=4L). SKIP says what the file does with a day a year lacks: a regular lunar day
// is left out (OMIT); a leap-month day falls back to the regular month and to day 29
// (BACKWARD). A lunar day of one year only is the same rule with COUNT=1.
#include "calendar/AnniversaryEntry.h"
#include "calendar/AnniversaryFields.h"
#include <QString>
#include <QStringList>
#include <QVector>
#include <libical/ical.h>

class CAnniversaryLines;
class SpecialDayList;
struct ICalSpecialDay;

class CAnniversaryEvents {
public:
    // The calendar the lunar rules name: libical (through ICU) expands it to the same
    // solar dates as our lunar table for every year the table holds.
    static const char* const kLunarScale;
    // Every-year days start in the first year from this one in which they fall.
    static constexpr int kFirstYear = 1970;

    // The event of a day; nFromYear is the first year tried for DTSTART of a yearly day.
    // Null for a day that falls on no date from nFromYear to the end of the lunar table.
    static icalcomponent* EventOf(const SpecialDay& day, const QString& strUid, int nFromYear = kFirstYear);
    // The RRULE value of a day; empty for a solar day of one year.
    static QString RuleText(const SpecialDay& day);
    // Stable UIDs: the same line gives the same UID in every export; nRepeat counts earlier
    // days with the same line.
    static QString UidOf(const SpecialDay& day, int nRepeat);
    // The events of all days, added to pCalendar; the number added.
    static int AddAll(icalcomponent* pCalendar, const SpecialDayList& days);

    // A special day from an event: a yearly RSCALE rule of the Korean (or Chinese) lunar
    // calendar with one month and one day, or a yearly or single all-day event when
    // bPlainToo. False with *pstrWhy when the event is not one.
    // Adds the days to the file, in its last colour group, leaving out a day it already
    // has; one summary line a day: "Special day <UID>: <line> -> <where>" or
    // "... already in <where>".
    static QStringList AddToFile(const QVector<ICalSpecialDay>& days, CAnniversaryLines* pFile, const QString& strWhere);
    static bool DayOfEvent(icalcomponent* pEvent, bool bPlainToo, AnniversaryFields* pDay, QString* pstrWhy);
};
