#pragma once
// One item as the store keeps it: the plain values behind IAppointment and ITask.
// Times are "wall minutes": whole minutes since 1899-12-30 00:00 local wall time, the
// unit of the store's index (seconds are not kept). kNoDateMinutes stands for a date
// that is not set.
#include <QByteArray>
#include <QString>
#include <cstdint>

constexpr int64_t kNoDateMinutes = int64_t(949998) * 1440;  // 1 January 4501 00:00
// The times the store holds besides kNoDateMinutes: 1 January 1900 00:00 to 29 December
// 3000 23:59. libical writes no year after 3000 (it writes 00000000T000000 instead), and
// an export may add a day (an all-day end) and a zone's offset to a time.
constexpr int64_t kEarliestMinutes = int64_t(2) * 1440;
constexpr int64_t kLatestMinutes = int64_t(402132) * 1440 - 1;
// The earliest reminder the store keeps: a year before the start, in minutes.
constexpr int kLongestReminderMinutes = 366 * 1440;

struct CRecurrenceRule {
    int nType = -1;            // olRecurs...; -1: not recurring
    int nInterval = 1;         // every nInterval days, weeks, months or years
    int nDayOfWeekMask = 0;    // ol<Day> bits (weekly, MonthNth, YearNth)
    int nDayOfMonth = 0;       // 1..31 (monthly, yearly)
    int nInstance = 0;         // 1..5, 5 = last (MonthNth, YearNth)
    int nMonthOfYear = 0;      // 1..12 (yearly, YearNth)
    int nOccurrences = 0;      // > 0: ends after that many occurrences
    int64_t nPatternEnd = kNoDateMinutes;  // last day (00:00) when the rule ends by date
    bool IsRecurring() const { return nType >= 0; }
    bool operator==(const CRecurrenceRule&) const = default;
};

struct CItemRecord {
    int32_t nOid = 0;          // 0 until the item is saved the first time
    int nItemType = 0;         // olAppointmentItem or olTaskItem
    QString strSubject;
    QString strLocation;       // appointments only
    int64_t nStart = kNoDateMinutes;   // appointment start; task start date
    int64_t nEnd = kNoDateMinutes;     // appointment end; task due date
    bool bAllDay = false;      // start and end are 00:00 of the first and the last day
    bool bReminderSet = false;
    int nReminderMinutes = 15; // minutes before the start (appointments)
    int nImportance = 1;       // olImportance... (tasks)
    bool bComplete = false;
    int64_t nDateCompleted = kNoDateMinutes;
    bool bHasNotes = false;    // kept by the store beside the notes bytes
    bool bNotesFlagRead = false;  // bHasNotes was read with the row by a query
    QByteArray notes;          // CNotesData bytes; loaded on demand (bNotesLoaded)
    bool bNotesLoaded = false;
    CRecurrenceRule rule;
    int64_t nPatternStart = kNoDateMinutes;  // first occurrence of the pattern (tasks: the
                                             // anchor date; appointments: nStart)
    int64_t nLastStart = kNoDateMinutes;     // latest start the pattern allows
    QString strUid;            // iCalendar UID, kept for export
    QString strStamp;          // iCalendar DTSTAMP (UTC, yyyyMMddTHHmmssZ) of the last change
    int nSequence = 0;         // iCalendar SEQUENCE of the imported version
    // The zone a series repeats in (CSeriesZone): "" for local wall time. For a zoned
    // series nPatternStart, nLastStart, rule.nPatternEnd and its occurrences'
    // nOriginalStart are that zone's wall minutes; nStart and nEnd stay local. A timed
    // single appointment may name the zone it came in (its times stay local wall minutes).
    QString strTzid;
    // An occurrence of a series: the series' OID is nOid; these name the occurrence.
    bool bOccurrence = false;
    int64_t nOriginalStart = 0;        // the start the rule gives this occurrence
    int64_t nExceptionId = 0;          // row of the stored exception, 0 when none
    bool bDeletedOccurrence = false;   // a stored exception that deletes the occurrence
    // Read by a lean query: texts, UID and pattern details still to be read from the row.
    bool bPartial = false;
    // A partial record that holds its subject, reminder flag, recurrence type and completion
    // date all the same (and its notes flag, bNotesFlagRead).
    bool bSummaryRead = false;
};
