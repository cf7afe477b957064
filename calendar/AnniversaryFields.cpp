#include "calendar/AnniversaryFields.h"
#include "calendar/AnniversaryFile.h"
#include "calendar/CivilDays.h"
#include "calendar/LunarCalendar.h"
#include <memory>

namespace {

constexpr int kLastYear = 9999;          // four digits
constexpr int kLeapYearForYearly = 2000;  // a yearly 29 February exists in leap years
constexpr int kLongestLunarMonth = 30;
constexpr qsizetype kLongestLine = 254;  // units the line readers take in one piece

SpecialDayProblem CheckSolar(const AnniversaryFields& day)
{
    const int nYear = day.nYear == 0 ? kLeapYearForYearly : day.nYear;
    if (day.nMonth < 1 || day.nMonth > 12 || day.nDay < 1 || day.nDay > DaysInMonth(nYear, day.nMonth))
        return SpecialDayProblem::NoSuchDay;
    return SpecialDayProblem::None;
}

SpecialDayProblem CheckLunar(const AnniversaryFields& day)
{
    if (day.nMonth < 1 || day.nMonth > 12 || day.nDay < 1 || day.nDay > kLongestLunarMonth)
        return SpecialDayProblem::NoSuchLunarDay;
    if (day.nYear == 0)
        return SpecialDayProblem::None;
    if (day.nYear < LunarCalendar::kFirstYear || day.nYear > LunarCalendar::kLastYear)
        return SpecialDayProblem::BadYear;
    const LunarCalendar calendar;
    if (day.bLeapMonth && !calendar.HasLeapMonth(day.nYear, day.nMonth))
        return SpecialDayProblem::NoLeapMonth;
    SolarDate solar;
    if (!calendar.LunarToSolar(day.nYear, day.nMonth, day.nDay, day.bLeapMonth ? TRUE : FALSE, &solar))
        return SpecialDayProblem::NoSuchLunarDay;
    return SpecialDayProblem::None;
}

}  // namespace

SpecialDayProblem CheckSpecialDay(const AnniversaryFields& day)
{
    if (day.strName.trimmed().isEmpty())
        return SpecialDayProblem::EmptyName;
    if (FormatSpecialDayLine(day).size() > kLongestLine)
        return SpecialDayProblem::NameTooLong;
    if (day.nYear < 0 || day.nYear > kLastYear)
        return SpecialDayProblem::BadYear;
    return day.bLunar ? CheckLunar(day) : CheckSolar(day);
}

QString FormatSpecialDayLine(const AnniversaryFields& day)
{
    QString strName = day.strName;
    strName.replace(u'\r', u' ').replace(u'\n', u' ');
    const QChar chMonthEnd = day.bLunar && day.bLeapMonth ? u'L' : u'-';
    return QStringLiteral("%1%2-%3%4%5 %6")
        .arg(day.bLunar ? QStringLiteral("L") : QString())
        .arg(day.nYear, 4, 10, QLatin1Char('0'))
        .arg(day.nMonth, 2, 10, QLatin1Char('0'))
        .arg(chMonthEnd)
        .arg(day.nDay, 2, 10, QLatin1Char('0'))
        .arg(strName);
}

bool ReadSpecialDayLine(const QString& line, AnniversaryFields* pDay)
{
    const std::unique_ptr<SpecialDay> pEntry(ParseSpecialDayLine(line, 0));
    AnniversaryFields day;
    day.strName = pEntry->strName;
    day.nYear = pEntry->nYear;
    day.nMonth = pEntry->nMonth;
    day.nDay = pEntry->nDay;
    day.bLunar = pEntry->bLunar != FALSE;
    day.bLeapMonth = pEntry->bLeapMonth != FALSE;
    if (CheckSpecialDay(day) != SpecialDayProblem::None)
        return false;
    *pDay = day;
    return true;
}
