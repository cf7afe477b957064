#pragma once
// Occurrence starts of a recurrence rule, computed in closed form for the six pattern
// kinds of the store. Queries use it to expand a series inside a window in a few
// operations per occurrence (creating a libical iterator costs tens of microseconds,
// too much for a week of hundreds of series); CRecurrence (libical) is the reference it
// is tested against. The rules follow RFC 5545 with WKST=MO: a day of month that a month
// lacks is skipped; Instance 5 is the last matching day.
#include "pim/CItemRecord.h"
#include <cstdint>

class CRecurrenceMath {
public:
    // nPatternStart: the first occurrence's start (wall minutes); nLastStart: no start
    // after it is an occurrence (the rule's end by date or count, or kNoDateMinutes).
    CRecurrenceMath(const CRecurrenceRule& rule, int64_t nPatternStart, int64_t nLastStart);

    // Restricts the walk to starts in [nFrom, nTo] and rewinds it there.
    void Seek(int64_t nFrom, int64_t nTo);
    // The next occurrence start in ascending order; false at the end.
    bool Next(int64_t* pnStart);

    // The start of the occurrence nCount (from 1) of the rule whose first occurrence
    // starts at nFirst, or of the last there is when there are fewer (none after
    // kNoDateMinutes). Daily and weekly rules are counted in closed form, the others
    // walked. false when the rule is not valid or nCount < 1.
    static bool NthStart(const CRecurrenceRule& rule, int64_t nFirst, int64_t nCount, int64_t* pnStart);

    // Whether the rule's fields describe a usable pattern (interval >= 1, a day mask
    // where one is needed, days and months in range, a month that has the day).
    static bool IsValid(const CRecurrenceRule& rule);

private:
    static bool ClosedNthStart(const CRecurrenceRule& rule, int64_t nFirst, int64_t nCount, int64_t* pnStart);
    int64_t PeriodOfDay(int64_t nDay) const;
    int64_t PeriodFirstDay() const;
    void FillPeriod();
    int DaysOfMonth(int64_t nMonthIndex, int64_t* pDays) const;

    CRecurrenceRule m_rule;
    int64_t m_nStartDay = 0;      // day number of the pattern start
    int m_nTimeOfDay = 0;         // minutes after midnight
    int64_t m_nFirst = 0;         // lower limit of starts
    int64_t m_nLast = 0;          // upper limit of starts
    int64_t m_nPeriod = 0;        // index of the current period (step of the interval)
    int64_t m_days[7] = {};       // candidate days of the current period, ascending
    int m_nDays = 0;
    int m_nNext = 0;
    bool m_bDone = false;
};
