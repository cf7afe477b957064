#pragma once
// The store's recurrence patterns in libical terms: conversion to and from RRULE values,
// and expansion with libical's iterator (the reference the query-time CRecurrenceMath
// is tested against; used when a series is saved to find its first and last start).
#include "pim/CItemRecord.h"
#include <QVector>
#include <libical/ical.h>

class CRecurrence {
public:
    // The RRULE for a pattern starting at nPatternStart (WKST=MO). The end by date
    // becomes UNTIL at the end of that day (a DATE value when bDateValues).
    static icalrecurrencetype ToIcal(const CRecurrenceRule& rule, int64_t nPatternStart, bool bDateValues);
    // An RRULE (with a floating or DATE UNTIL) read into a pattern starting at nStart.
    // false for a rule outside the store's six kinds (BYHOUR, several month days, ...).
    static bool FromIcal(const icalrecurrencetype& r, int64_t nStart, CRecurrenceRule* pRule);
    // Starts in ascending order from nPatternStart, at most nMax, none after nTo.
    static void Expand(const CRecurrenceRule& rule, int64_t nPatternStart, int64_t nTo, int nMax,
                       QVector<int64_t>* pStarts);
    // The first occurrence at or after nStart, and the latest start the rule allows:
    // the last occurrence for an end by count, the end day's 23:59 for an end by date,
    // kNoDateMinutes without end. false when the rule is invalid or yields nothing.
    static bool Span(const CRecurrenceRule& rule, int64_t nStart, int64_t* pnFirst, int64_t* pnLastStart);

    static constexpr int kMaxOccurrences = 100000;
};
