#include "pim/CRecurrenceMath.h"

#include "calendar/CivilDays.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include <algorithm>

namespace {

constexpr int64_t kEpochDays = DaysFromCivil(1899, 12, 30);

int64_t FloorDiv(int64_t a, int64_t b)
{
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)));
}

int WeekdayOf(int64_t nDay)  // 0 = Sunday
{
    return WeekdayFromDays(nDay + kEpochDays);
}

int64_t DayOf(int64_t nYear, int nMonth, int nDay)
{
    return DaysFromCivil(nYear, nMonth, nDay) - kEpochDays;
}

int64_t MonthIndexOfDay(int64_t nDay)
{
    const CivilDate d = CivilFromDays(nDay + kEpochDays);
    return d.y * 12 + (d.m - 1);
}

// Monday of the week of nDay (weeks start on Monday).
int64_t MondayOf(int64_t nDay)
{
    return nDay - (WeekdayOf(nDay) + 6) % 7;
}

}  // namespace

CRecurrenceMath::CRecurrenceMath(const CRecurrenceRule& rule, int64_t nPatternStart, int64_t nLastStart)
    : m_rule(rule)
{
    m_nStartDay = FloorDiv(nPatternStart, kMinutesPerDay);
    m_nTimeOfDay = static_cast<int>(nPatternStart - m_nStartDay * kMinutesPerDay);
    m_nFirst = nPatternStart;
    m_nLast = std::min(nLastStart, kNoDateMinutes);
    m_bDone = !IsValid(rule);
}

bool CRecurrenceMath::IsValid(const CRecurrenceRule& r)
{
    if (r.nInterval < 1 || r.nInterval > 9999)
        return false;
    const bool bMask = (r.nDayOfWeekMask & 0x7F) != 0 && (r.nDayOfWeekMask & ~0x7F) == 0;
    const bool bInstance = r.nInstance >= 1 && r.nInstance <= 5;
    const bool bMonth = r.nMonthOfYear >= 1 && r.nMonthOfYear <= 12;
    switch (r.nType) {
    case olRecursDaily: return true;
    case olRecursWeekly: return bMask;
    case olRecursMonthly: return r.nDayOfMonth >= 1 && r.nDayOfMonth <= 31;
    case olRecursMonthNth: return bMask && bInstance;
    case olRecursYearly:
        return bMonth && r.nDayOfMonth >= 1 && r.nDayOfMonth <= DaysInMonth(2000, r.nMonthOfYear);
    case olRecursYearNth: return bMask && bInstance && bMonth;
    default: return false;
    }
}

// The period (days, weeks, months or years since the pattern start's) holding nDay,
// divided by the interval and rounded down.
int64_t CRecurrenceMath::PeriodOfDay(int64_t nDay) const
{
    int64_t nUnits = 0;
    switch (m_rule.nType) {
    case olRecursDaily: nUnits = nDay - m_nStartDay; break;
    case olRecursWeekly: nUnits = (MondayOf(nDay) - MondayOf(m_nStartDay)) / 7; break;
    case olRecursMonthly:
    case olRecursMonthNth: nUnits = MonthIndexOfDay(nDay) - MonthIndexOfDay(m_nStartDay); break;
    default: nUnits = (MonthIndexOfDay(nDay) / 12) - (MonthIndexOfDay(m_nStartDay) / 12); break;
    }
    return FloorDiv(nUnits, m_rule.nInterval);
}

void CRecurrenceMath::Seek(int64_t nFrom, int64_t nTo)
{
    m_bDone = !IsValid(m_rule);
    m_nFirst = std::max(nFrom, m_nStartDay * kMinutesPerDay + m_nTimeOfDay);
    m_nLast = std::min({nTo, m_nLast, kNoDateMinutes});
    m_nPeriod = std::max<int64_t>(0, PeriodOfDay(FloorDiv(m_nFirst, kMinutesPerDay)));
    m_nDays = m_nNext = 0;
    FillPeriod();
}

// The days of a month (index year * 12 + month - 1) that the rule picks.
int CRecurrenceMath::DaysOfMonth(int64_t nMonthIndex, int64_t* pDays) const
{
    const int64_t nYear = FloorDiv(nMonthIndex, 12);
    const int nMonth = static_cast<int>(nMonthIndex - nYear * 12) + 1;
    const int nLength = DaysInMonth(nYear, nMonth);
    if (m_rule.nType == olRecursMonthly || m_rule.nType == olRecursYearly) {
        if (m_rule.nDayOfMonth > nLength)
            return 0;
        pDays[0] = DayOf(nYear, nMonth, m_rule.nDayOfMonth);
        return 1;
    }
    // n-th (or last) of the days whose weekday is in the mask
    const int64_t nFirstDay = DayOf(nYear, nMonth, 1);
    const bool bLast = m_rule.nInstance == 5;
    int nMatches = 0;
    int64_t nPicked = -1;
    for (int d = 0; d < nLength; ++d) {
        if (!(m_rule.nDayOfWeekMask & (1 << WeekdayOf(nFirstDay + d))))
            continue;
        ++nMatches;
        if (bLast || m_rule.nInstance == nMatches)
            nPicked = nFirstDay + d;
        if (!bLast && m_rule.nInstance == nMatches)
            break;
    }
    if (nPicked < 0)
        return 0;
    pDays[0] = nPicked;
    return 1;
}

// The first day of the current period (a month or year period may pick no day at all).
int64_t CRecurrenceMath::PeriodFirstDay() const
{
    const int64_t nStep = m_nPeriod * m_rule.nInterval;
    switch (m_rule.nType) {
    case olRecursDaily: return m_nStartDay + nStep;
    case olRecursWeekly: return MondayOf(m_nStartDay) + nStep * 7;
    case olRecursMonthly:
    case olRecursMonthNth: {
        const int64_t nIndex = MonthIndexOfDay(m_nStartDay) + nStep;
        const int64_t nYear = FloorDiv(nIndex, 12);
        return DayOf(nYear, static_cast<int>(nIndex - nYear * 12) + 1, 1);
    }
    default: return DayOf(MonthIndexOfDay(m_nStartDay) / 12 + nStep, 1, 1);
    }
}

void CRecurrenceMath::FillPeriod()
{
    const int64_t nStep = m_nPeriod * m_rule.nInterval;
    m_nDays = 0;
    m_nNext = 0;
    switch (m_rule.nType) {
    case olRecursDaily:
        m_days[m_nDays++] = m_nStartDay + nStep;
        break;
    case olRecursWeekly: {
        const int64_t nMonday = MondayOf(m_nStartDay) + nStep * 7;
        for (int i = 0; i < 7; ++i) {  // Monday .. Sunday
            if (m_rule.nDayOfWeekMask & (1 << ((i + 1) % 7)))
                m_days[m_nDays++] = nMonday + i;
        }
        break;
    }
    case olRecursMonthly:
    case olRecursMonthNth:
        m_nDays = DaysOfMonth(MonthIndexOfDay(m_nStartDay) + nStep, m_days);
        break;
    default:  // yearly kinds: the rule's month of the period's year
        m_nDays = DaysOfMonth((MonthIndexOfDay(m_nStartDay) / 12 + nStep) * 12 + m_rule.nMonthOfYear - 1,
                              m_days);
        break;
    }
}

bool CRecurrenceMath::Next(int64_t* pnStart)
{
    while (!m_bDone) {
        if (m_nNext >= m_nDays) {
            ++m_nPeriod;
            if (PeriodFirstDay() * kMinutesPerDay > m_nLast) {
                m_bDone = true;
                break;
            }
            FillPeriod();
            continue;
        }
        const int64_t nStart = m_days[m_nNext++] * kMinutesPerDay + m_nTimeOfDay;
        if (nStart > m_nLast) {
            m_bDone = true;
            break;
        }
        if (nStart < m_nFirst)
            continue;
        *pnStart = nStart;
        return true;
    }
    return false;
}

bool CRecurrenceMath::NthStart(const CRecurrenceRule& rule, int64_t nFirst, int64_t nCount, int64_t* pnStart)
{
    if (nCount < 1 || !IsValid(rule))
        return false;
    if (ClosedNthStart(rule, nFirst, nCount, pnStart) && *pnStart <= kNoDateMinutes)
        return true;
    CRecurrenceMath math(rule, nFirst, kNoDateMinutes);
    math.Seek(nFirst, kNoDateMinutes);
    bool bAny = false;
    int64_t nStart = 0;
    for (int64_t i = 0; i < nCount && math.Next(&nStart); ++i) {
        *pnStart = nStart;
        bAny = true;
    }
    return bAny;
}

// Daily: every interval days. Weekly: the days of the first occurrence's week from it on,
// then every interval weeks the mask's days, Monday first.
bool CRecurrenceMath::ClosedNthStart(const CRecurrenceRule& rule, int64_t nFirst, int64_t nCount, int64_t* pnStart)
{
    const int64_t nStep = nCount - 1;
    if (rule.nType == olRecursDaily) {
        *pnStart = nFirst + nStep * rule.nInterval * kMinutesPerDay;
        return true;
    }
    if (rule.nType != olRecursWeekly)
        return false;
    const int64_t nDay = FloorDiv(nFirst, kMinutesPerDay);
    const int64_t nMonday = MondayOf(nDay);
    int offsets[7] = {};  // the mask's days after Monday, in order
    int nDays = 0;
    int nFirstIndex = -1;
    for (int i = 0; i < 7; ++i) {
        if (!(rule.nDayOfWeekMask & (1 << ((i + 1) % 7))))
            continue;
        if (nMonday + i == nDay)
            nFirstIndex = nDays;
        offsets[nDays++] = i;
    }
    if (nFirstIndex < 0)
        return false;  // not an occurrence: walked instead
    const int64_t nIndex = nFirstIndex + nStep;  // counted from the first week's Monday
    const int64_t nWeek = nIndex / nDays;
    *pnStart = nFirst + (nMonday - nDay + nWeek * rule.nInterval * 7 + offsets[nIndex % nDays]) * kMinutesPerDay;
    return true;
}
