#pragma once
// One holiday or anniversary of the special-days file, on the solar or the Korean lunar
// calendar, with the rule that places it on solar dates.
#include "calendar/DateTime.h"
#include "calendar/LunarCalendar.h"
#include "platform/WinTypes.h"
#include <QList>
#include <QString>

class SpecialDay {
public:
    SpecialDay(int32_t nYear, int32_t nMonth, int32_t nDay, BOOL bLunar, const QString& strName,
               COLORREF crColor, BOOL bLeapMonth = FALSE);
    virtual ~SpecialDay() = default;

    // The local dates at 00:00:00 from first to last inclusive on which this day falls, in
    // ascending year order. A date that does not exist in a year (31 February, day 30 of
    // a 29-day lunar month, a lunar year outside the table, a year DateTime cannot hold)
    // gives nothing for that year; except that a day of a leap month falls back, to the
    // regular month in a year without that leap month and to day 29 in a 29-day month.
    QList<DateTime> Occurrences(const DateTime& first, const DateTime& last) const;

    // The solar date on which this day falls in (solar or lunar) year nCandidateYear, by
    // the rule of Occurrences; FALSE when there is none.
    BOOL SolarDateOf(int nCandidateYear, SolarDate* pSolar) const;

    int32_t nYear;     // 0 = every year
    int32_t nMonth;    // solar month, or lunar month when bLunar
    int32_t nDay;      // solar day, or lunar day when bLunar
    BOOL bLunar;
    QString strName;
    COLORREF crColor;  // 0x00BBGGRR
    BOOL bLeapMonth;   // lunar: the leap month that follows month nMonth

private:
    // The solar date of this day in (solar or lunar) year nCandidateYear, as a DateTime
    // at local midnight; false when there is none.
    bool SolarDateIn(int nCandidateYear, DateTime* pDate) const;
};
