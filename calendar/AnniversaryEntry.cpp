#include "calendar/AnniversaryEntry.h"
#include "calendar/CivilDays.h"
#include "calendar/LunarCalendar.h"

namespace {

// Years whose dates a DateTime count can hold (1970-01-01 00:00 UTC .. 2106-02-07).
constexpr int kFirstDateTimeYear = 1970;
constexpr int kLastDateTimeYear = 2106;
constexpr int kLongLunarMonth = 30;  // days; a short lunar month has 29

// Local midnight of a valid solar date, unless the count wrapped around (local dates at
// the very ends of the range, depending on the zone offset).
bool MakeMidnight(int nYear, int nMonth, int nDay, DateTime* pDate)
{
    if (nYear < kFirstDateTimeYear || nYear > kLastDateTimeYear)
        return false;
    const DateTime date(nYear, nMonth, nDay, 0, 0, 0, -1);
    if (nYear == kFirstDateTimeYear || nYear == kLastDateTimeYear) {
        struct tm local;
        date.GetLocalTm(&local);
        if (local.tm_year + 1900 != nYear || local.tm_mon + 1 != nMonth || local.tm_mday != nDay)
            return false;
    }
    *pDate = date;
    return true;
}

}  // namespace

SpecialDay::SpecialDay(int32_t nYear_, int32_t nMonth_, int32_t nDay_, BOOL bLunar_,
                       const QString& strName_, COLORREF crColor_, BOOL bLeapMonth_)
    : nYear(nYear_), nMonth(nMonth_), nDay(nDay_), bLunar(bLunar_), strName(strName_), crColor(crColor_),
      bLeapMonth(bLeapMonth_)
{
}

BOOL SpecialDay::SolarDateOf(int nCandidateYear, SolarDate* pSolar) const
{
    if (bLunar) {
        const LunarCalendar calendar;
        // LunarToSolar itself gives the regular month for a leap month the year lacks.
        const bool bFound = calendar.LunarToSolar(nCandidateYear, nMonth, nDay, bLeapMonth, pSolar)
            || (bLeapMonth && nDay == kLongLunarMonth
                && calendar.LunarToSolar(nCandidateYear, nMonth, nDay - 1, TRUE, pSolar));
        return bFound ? TRUE : FALSE;
    }
    if (nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > DaysInMonth(nCandidateYear, nMonth))
        return FALSE;
    pSolar->wYear = static_cast<uint16_t>(nCandidateYear);
    pSolar->nMonth = static_cast<uint8_t>(nMonth);
    pSolar->nDay = static_cast<uint8_t>(nDay);
    pSolar->nDayOfWeek = static_cast<uint8_t>(WeekdayFromDays(DaysFromCivil(nCandidateYear, nMonth, nDay)));
    return TRUE;
}

bool SpecialDay::SolarDateIn(int nCandidateYear, DateTime* pDate) const
{
    SolarDate solar;
    return SolarDateOf(nCandidateYear, &solar) && MakeMidnight(solar.wYear, solar.nMonth, solar.nDay, pDate);
}

QList<DateTime> SpecialDay::Occurrences(const DateTime& first, const DateTime& last) const
{
    int nFromYear = nYear;
    int nToYear = nYear;
    if (nYear == 0) {
        nFromYear = first.GetYear();
        nToYear = last.GetYear();
        if (bLunar) {
            // A lunar date may fall in the neighbouring solar year.
            --nFromYear;
            ++nToYear;
        }
    }
    QList<DateTime> dates;
    for (int y = nFromYear; y <= nToYear; ++y) {
        DateTime date;
        if (SolarDateIn(y, &date) && first <= date && date <= last)
            dates.append(date);
    }
    return dates;
}
