#pragma once
// Rows of the items table (with their notes and their R*Tree span) to and from
// CItemRecord. Every write here runs inside the caller's transaction.
#include "pim/CItemRecord.h"
#include <QByteArray>
#include <QPair>
#include <QString>
#include <QVector>
#include <cstdint>

class CPimStore;
class CSqlStatement;

class CItemTable {
public:
    // The column list that Read expects, starting at column nFirst of a SELECT.
    static const char* const kColumns;
    // The same without UID and time stamp (read as empty; an update keeps the stored UID).
    static const char* const kQueryColumns;
    // What the week load reads of each task it finds, in index order of items_task:
    // OID, start and due date, importance, completion date, reminder flag and recurrence
    // type (the complete flag is known from the index range read), then the subject and
    // whether it has notes. The record is marked partial (with its summary read) and the
    // rest is read from its row on first use.
    static const char* const kTaskQueryColumns;
    static constexpr int kColumnCount = 29;
    // Whether the row has notes of its own (a column to select after kQueryColumns).
    static const char* const kNotesFlag;
    // A row: singles and series as themselves; an exception row as an occurrence of its
    // series (nOid = the series, nExceptionId = the row). Values out of their ranges (a
    // damaged store) are brought into them: times into kEarliestMinutes..kLatestMinutes or
    // not set, reminders into 0..kLongestReminderMinutes, an appointment's end before its
    // start to the start, a pattern no walk can follow to none. false then, with the
    // columns named in *pstrDamage.
    static bool Read(const CSqlStatement& st, int nFirst, CItemRecord* pRecord, QString* pstrDamage = nullptr);
    // Read of kQueryColumns followed by kNotesFlag.
    static bool ReadWithNotesFlag(const CSqlStatement& st, CItemRecord* pRecord);

    // Any row by its row id. false when there is none.
    static bool Load(CPimStore& store, int64_t nRow, CItemRecord* pRecord);
    // Inserts a row (an exception row when pRecord->bOccurrence) and sets its span; the
    // new row id, or 0 on failure.
    static int64_t Insert(CPimStore& store, const CItemRecord& record);
    static bool Update(CPimStore& store, int64_t nRow, const CItemRecord& record);
    // Sets the span of a row written by other means than Insert and Update.
    static bool RestoreSpan(CPimStore& store, int64_t nRow);
    // Deletes a row with its notes and span (not its exceptions).
    static bool Remove(CPimStore& store, int64_t nRow);
    // Deletes every exception row of a series.
    static bool RemoveExceptions(CPimStore& store, int32_t nSeries);
    // Every exception row of a series with the original start of its occurrence.
    static bool ListExceptions(CPimStore& store, int32_t nSeries, QVector<QPair<int64_t, int64_t>>* pRows);
    // The exception row of a series' occurrence, 0 when none.
    static int64_t FindException(CPimStore& store, int32_t nSeries, int64_t nOriginalStart);
    // The row of a stored, not deleted occurrence that now starts at nStart, 0 when none.
    static int64_t FindExceptionStartingAt(CPimStore& store, int32_t nSeries, int64_t nStart);

    static bool LoadNotes(CPimStore& store, int64_t nRow, QByteArray* pBytes);
    // Empty bytes delete the notes.
    static bool SaveNotes(CPimStore& store, int64_t nRow, const QByteArray& bytes);
    // Copies the notes of one row to another (an exception gets its series' notes).
    static bool CopyNotes(CPimStore& store, int64_t nFrom, int64_t nTo);
    static int64_t NotesLength(CPimStore& store, int64_t nRow);

    // The duration of a series' occurrences (minutes).
    static int64_t Duration(const CItemRecord& record) { return record.nEnd - record.nStart; }

    // Appointments that last longer (minutes) have a row in the R*Tree appt_span; shorter
    // ones are found by their start through the index on kind and start: an item of at
    // most this length that ends after a moment starts at most this long before it.
    static constexpr int64_t kShortItemMinutes = 24 * 60;
    // Whether a single appointment or stored occurrence lasting nStart..nEnd is short.
    static bool IsShort(int64_t nStart, int64_t nEnd) { return nEnd - nStart <= kShortItemMinutes; }

private:
    static void BindValues(CSqlStatement& st, const CItemRecord& record);
    static bool PutSpan(CPimStore& store, int64_t nRow, const CItemRecord& record, bool bNew);
};
