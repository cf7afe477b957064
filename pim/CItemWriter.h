#pragma once
// What Save, Delete and SkipRecurrence do to the stored rows: normalising the values,
// series and their exceptions, and the completion of recurring tasks. Each operation is
// one transaction; its change notifications go out after the commit.
#include "pim/CItemRecord.h"
#include "platform/WinTypes.h"
#include <QVector>
#include <cstdint>

class CPimStore;

class CItemWriter {
public:
    // ruleLoaded / nStartLoaded: the pattern and start as the item was read (a changed
    // pattern or a moved series drops the series' stored exceptions).
    static HRESULT Save(CPimStore& store, CItemRecord* pRecord, const CRecurrenceRule& ruleLoaded,
                        int64_t nStartLoaded, bool bCompleteLoaded);
    static HRESULT Delete(CPimStore& store, CItemRecord* pRecord);
    static HRESULT SkipRecurrence(CPimStore& store, CItemRecord* pRecord);

    // How many stored exceptions of the series Save would drop with the record's values:
    // those whose occurrence a changed pattern or a moved start no longer gives (every
    // one when the item stops recurring). 0 for a new item or an occurrence.
    static HRESULT CountDroppedExceptions(CPimStore& store, const CItemRecord& record, const CRecurrenceRule& ruleLoaded,
                                          int64_t nStartLoaded, int* pnCount);

    // For bulk writers (import) inside their own transaction: a new item (normalised as
    // Save does) and an exception of a stored series (pRecord->bOccurrence set).
    static HRESULT InsertNew(CPimStore& store, CItemRecord* pRecord);
    // An item already normalised: inserted when pRecord->nOid is 0, else written over the
    // stored row of that OID, whose exceptions are all dropped (the caller writes the new).
    static HRESULT WriteNormalized(CPimStore& store, CItemRecord* pRecord);
    static HRESULT InsertException(CPimStore& store, CItemRecord* pRecord);

    // The next occurrence of a recurring task after its current one: the new start and
    // due date (kNoDateMinutes where the task has none). false when none is left.
    static bool NextTaskOccurrence(const CItemRecord& task, int64_t* pnStart, int64_t* pnDue);
    // Normalises the values of an item before it is written (see ITask.h, IAppointment.h).
    static HRESULT Normalize(CItemRecord* pRecord, bool bPatternChanged);

private:
    static HRESULT Write(CPimStore& store, CItemRecord* pRecord, bool bDropExceptions);
    // The exception rows of a saved, normalised series that its pattern no longer gives.
    static bool ExceptionsOffPattern(CPimStore& store, const CItemRecord& series, QVector<int64_t>* pRows);
    static HRESULT WriteOccurrence(CPimStore& store, CItemRecord* pRecord);
    static HRESULT CompleteRecurringTask(CPimStore& store, CItemRecord* pRecord);
    static HRESULT InTransaction(CPimStore& store, HRESULT hr);
    static int64_t Today();
};
