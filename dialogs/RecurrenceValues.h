#pragma once
// The recurrence part of the store's detail forms as plain values: read from an item's
// pattern, prefilled from a start date, checked, and written back through the object
// model. No widgets here, so the rules can be tested without a window.
#include "platform/WinTypes.h"
#include <QDate>
#include <QString>

class IPOutlookItem;

// How a pattern ends.
constexpr int kEndNever = 0;
constexpr int kEndAfterCount = 1;
constexpr int kEndByDate = 2;

// No recurrence (the other kinds are the store's olRecurs... values).
constexpr int kRecursNone = -1;

struct RecurrenceValues {
    int nType = kRecursNone;
    int nInterval = 1;        // every N days, weeks, months or years
    int nDayOfWeekMask = 0;   // ol<Day> bits: the weekly days; one day for the Nth kinds
    int nDayOfMonth = 1;      // 1..31 (monthly, yearly)
    int nInstance = 1;        // 1..4, 5 = last (Nth kinds)
    int nMonthOfYear = 1;     // 1..12 (yearly kinds)
    int nEnd = kEndNever;
    int nOccurrences = 10;    // with kEndAfterCount
    QDate endDate;            // with kEndByDate: the last day an occurrence may start
    bool operator==(const RecurrenceValues&) const = default;
};

// The values a new pattern starts from: weekly on the start's weekday, its day of month,
// its month, its week of the month (the fifth week as "last"), ending never; the end date
// and count are prefilled for when the user picks them.
RecurrenceValues DefaultRecurrence(const QDate& start);
// The item's pattern, or for an item that does not recur the defaults of its start with
// kRecursNone.
RecurrenceValues ReadRecurrence(IPOutlookItem* pItem, const QDate& start);
// The key of the text that says what is wrong, or an empty key when the values can be
// stored for a pattern starting on that day.
QString CheckRecurrence(const RecurrenceValues& values, const QDate& start);
// Writes the values to the item's pattern (or removes it for kRecursNone). Only the
// fields the kind uses are written, so an unchanged pattern stays the same.
HRESULT WriteRecurrence(const RecurrenceValues& values, IPOutlookItem* pItem);
// Whether the pattern repeats on a day of the month that some months lack (29 to 31),
// which those months skip.
bool SkipsShortMonths(const RecurrenceValues& values);
// The ol<Day> bit of a date's weekday.
int WeekdayBit(const QDate& date);
