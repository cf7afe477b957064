#include "pim/CItemWriter.h"

#include "pim/CItemTable.h"
#include "pim/CPimStore.h"
#include "pim/CRecurrence.h"
#include "pim/CRecurrenceMath.h"
#include "pim/CSeriesZone.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include "platform/Clock.h"
#include <algorithm>

namespace {

bool IsSet(int64_t n)
{
    return n < kNoDateMinutes;
}

// The date a task's recurrence is counted from: its start date, else its due date.
int64_t TaskAnchor(const CItemRecord& r)
{
    return IsSet(r.nStart) ? r.nStart : r.nEnd;
}

HRESULT NormalizeAppointment(CItemRecord* p)
{
    if (p->bAllDay) {  // inclusive dates: 00:00 of the first and of the last day
        p->nStart = WallDayStart(p->nStart);
        p->nEnd = WallDayStart(p->nEnd);
    }
    p->nEnd = std::max(p->nEnd, p->nStart);
    return S_OK;
}

// A task without a due date keeps none, with or without a start date.
HRESULT NormalizeTask(CItemRecord* p)
{
    if (IsSet(p->nStart) && IsSet(p->nEnd) && p->nStart > p->nEnd)
        p->nStart = p->nEnd;
    if (!p->bComplete)
        p->nDateCompleted = kNoDateMinutes;
    return S_OK;
}

}  // namespace

int64_t CItemWriter::Today()
{
    SYSTEMTIME st;
    GetLocalTime(&st);
    return WallFromFields(st.wYear, st.wMonth, st.wDay);
}

HRESULT CItemWriter::Normalize(CItemRecord* p, bool bPatternChanged)
{
    const HRESULT hr = p->nItemType == olTaskItem ? NormalizeTask(p) : NormalizeAppointment(p);
    // A single item keeps local wall time; a timed single appointment may name the zone
    // it was given in, which an export writes its instants in.
    if (!p->rule.IsRecurring() && !p->bOccurrence && (p->nItemType == olTaskItem || p->bAllDay))
        p->strTzid.clear();
    if (FAILED(hr) || !p->rule.IsRecurring() || p->bOccurrence)
        return hr;
    if (p->rule.nOccurrences > 0)
        p->rule.nPatternEnd = kNoDateMinutes;
    else if (IsSet(p->rule.nPatternEnd))
        p->rule.nPatternEnd = WallDayStart(p->rule.nPatternEnd);
    const bool bTask = p->nItemType == olTaskItem;
    const int64_t nAnchor = bTask ? TaskAnchor(*p) : p->nStart;
    if (!IsSet(nAnchor))
        return E_INVALIDARG;  // a task without dates cannot recur
    // A new or changed pattern starts at the item's (start) date, moved to the first day
    // the pattern gives; a task keeps its pattern start while it moves on.
    // A zoned series walks its pattern in its own zone's wall time (tasks keep dates).
    if (bTask)
        p->strTzid.clear();
    const int64_t nZoneAnchor = CSeriesZone::FromLocal(p->strTzid, nAnchor);
    const int64_t nPatternStart = (bTask && !bPatternChanged) ? p->nPatternStart : nZoneAnchor;
    int64_t nFirst = 0, nLast = 0;
    if (!CRecurrence::Span(p->rule, nPatternStart, &nFirst, &nLast))
        return E_INVALIDARG;
    p->nPatternStart = nFirst;
    p->nLastStart = nLast;
    if (bTask && !bPatternChanged)
        return S_OK;
    const int64_t nShift = CSeriesZone::ToLocal(p->strTzid, nFirst) - nAnchor;
    p->nStart += IsSet(p->nStart) ? nShift : 0;
    p->nEnd += IsSet(p->nEnd) ? nShift : 0;
    return S_OK;
}

HRESULT CItemWriter::InTransaction(CPimStore& store, HRESULT hr)
{
    if (SUCCEEDED(hr) && store.Commit())
        return hr;
    store.Rollback();
    return FAILED(hr) ? hr : E_FAIL;
}

HRESULT CItemWriter::Write(CPimStore& store, CItemRecord* p, bool bDropExceptions)
{
    if (p->strStamp.isEmpty())
        p->strStamp = CPimStore::NowStamp();
    if (p->nOid == 0) {
        if (p->strUid.isEmpty())
            p->strUid = CPimStore::NewUid();
        const int64_t nRow = CItemTable::Insert(store, *p);
        if (nRow == 0 || (!p->notes.isEmpty() && !CItemTable::SaveNotes(store, nRow, p->notes)))
            return E_FAIL;
        p->nOid = static_cast<int32_t>(nRow);
        store.RecordChange(DB_CEOID_CREATED, p->nOid, p->nItemType);
        return S_OK;
    }
    if (!CItemTable::Update(store, p->nOid, *p))
        return E_PIM_NOTFOUND;
    if (p->bNotesLoaded && !CItemTable::SaveNotes(store, p->nOid, p->notes))
        return E_FAIL;
    if (bDropExceptions) {
        QVector<int64_t> rows;
        if (!ExceptionsOffPattern(store, *p, &rows))
            return E_FAIL;
        for (int64_t nRow : rows) {
            if (!CItemTable::Remove(store, nRow))
                return E_FAIL;
        }
    }
    store.RecordChange(DB_CEOID_CHANGED, p->nOid, p->nItemType);
    return S_OK;
}

bool CItemWriter::ExceptionsOffPattern(CPimStore& store, const CItemRecord& series, QVector<int64_t>* pRows)
{
    QVector<QPair<int64_t, int64_t>> exceptions;
    pRows->clear();
    if (!CItemTable::ListExceptions(store, series.nOid, &exceptions))
        return false;
    for (const auto& [nRow, nOriginalStart] : exceptions) {
        bool bOnPattern = false;
        if (series.rule.IsRecurring()) {
            CRecurrenceMath math(series.rule, series.nPatternStart, series.nLastStart);
            math.Seek(nOriginalStart, nOriginalStart);
            int64_t nFound = 0;
            bOnPattern = math.Next(&nFound) && nFound == nOriginalStart;
        }
        if (!bOnPattern)
            pRows->push_back(nRow);
    }
    return true;
}

HRESULT CItemWriter::CountDroppedExceptions(CPimStore& store, const CItemRecord& record,
                                            const CRecurrenceRule& ruleLoaded, int64_t nStartLoaded, int* pnCount)
{
    *pnCount = 0;
    if (record.nOid == 0 || record.bOccurrence || record.nItemType != olAppointmentItem)
        return S_OK;
    CItemRecord work = record;
    const bool bPatternChanged = !(work.rule == ruleLoaded);
    const HRESULT hr = Normalize(&work, bPatternChanged);
    if (FAILED(hr) || !(bPatternChanged || work.nStart != nStartLoaded))
        return hr;
    QVector<int64_t> rows;
    if (!ExceptionsOffPattern(store, work, &rows))
        return E_FAIL;
    *pnCount = static_cast<int>(rows.size());
    return S_OK;
}

// An occurrence is stored as an exception row of its series, keyed by its original start.
HRESULT CItemWriter::WriteOccurrence(CPimStore& store, CItemRecord* p)
{
    CItemRecord series;
    if (!CItemTable::Load(store, p->nOid, &series) || !series.rule.IsRecurring())
        return E_PIM_NOTFOUND;
    if (p->strStamp.isEmpty())
        p->strStamp = CPimStore::NowStamp();
    p->strUid = series.strUid;
    p->rule = CRecurrenceRule();
    if (p->nExceptionId == 0)
        p->nExceptionId = CItemTable::FindException(store, p->nOid, p->nOriginalStart);
    if (p->nExceptionId != 0) {
        if (!CItemTable::Update(store, p->nExceptionId, *p))
            return E_PIM_NOTFOUND;
    } else {
        p->nExceptionId = CItemTable::Insert(store, *p);
        if (p->nExceptionId == 0)
            return E_FAIL;
        if (!p->bNotesLoaded && !CItemTable::CopyNotes(store, p->nOid, p->nExceptionId))
            return E_FAIL;
    }
    if (p->bNotesLoaded && !CItemTable::SaveNotes(store, p->nExceptionId, p->notes))
        return E_FAIL;
    store.RecordChange(DB_CEOID_CHANGED, p->nOid, p->nItemType);
    return S_OK;
}

bool CItemWriter::NextTaskOccurrence(const CItemRecord& task, int64_t* pnStart, int64_t* pnDue)
{
    const int64_t nAnchor = TaskAnchor(task);
    if (!task.rule.IsRecurring() || !IsSet(nAnchor))
        return false;
    CRecurrenceMath math(task.rule, task.nPatternStart, task.nLastStart);
    math.Seek(WallDayStart(nAnchor) + kMinutesPerDay, kNoDateMinutes - 1);
    int64_t nNext = 0;
    if (!math.Next(&nNext))
        return false;
    const int64_t nShift = nNext - nAnchor;
    *pnStart = IsSet(task.nStart) ? task.nStart + nShift : kNoDateMinutes;
    *pnDue = IsSet(task.nEnd) ? task.nEnd + nShift : kNoDateMinutes;
    return true;
}

// Completing a recurring task keeps a completed copy of this occurrence and moves the task
// on; the task itself is completed when no occurrence is left.
HRESULT CItemWriter::CompleteRecurringTask(CPimStore& store, CItemRecord* p)
{
    int64_t nStart = 0, nDue = 0;
    if (!NextTaskOccurrence(*p, &nStart, &nDue)) {
        p->nDateCompleted = Today();
        return Write(store, p, false);
    }
    CItemRecord copy = *p;
    if (!copy.bNotesLoaded && p->nOid != 0) {
        if (!CItemTable::LoadNotes(store, p->nOid, &copy.notes))
            return E_FAIL;
        copy.bNotesLoaded = true;
    }
    copy.nOid = 0;
    copy.strUid.clear();
    copy.strStamp.clear();
    copy.rule = CRecurrenceRule();
    copy.nPatternStart = copy.nLastStart = kNoDateMinutes;
    copy.nDateCompleted = Today();
    HRESULT hr = Write(store, &copy, false);
    if (FAILED(hr))
        return hr;
    p->nStart = nStart;
    p->nEnd = nDue;
    p->bComplete = false;
    p->nDateCompleted = kNoDateMinutes;
    return Write(store, p, false);
}

HRESULT CItemWriter::Save(CPimStore& store, CItemRecord* p, const CRecurrenceRule& ruleLoaded,
                          int64_t nStartLoaded, bool bCompleteLoaded)
{
    CItemRecord work = *p;
    work.strStamp = CPimStore::NowStamp();
    const bool bNew = work.nOid == 0;
    const bool bPatternChanged = bNew || !(work.rule == ruleLoaded);
    HRESULT hr = Normalize(&work, bPatternChanged);
    if (FAILED(hr) || !store.Begin())
        return FAILED(hr) ? hr : E_FAIL;
    const bool bTask = work.nItemType == olTaskItem;
    if (bTask && work.bComplete && !IsSet(work.nDateCompleted))
        work.nDateCompleted = Today();
    if (work.bOccurrence)
        hr = WriteOccurrence(store, &work);
    else if (bTask && work.rule.IsRecurring() && work.bComplete && !bCompleteLoaded)
        hr = CompleteRecurringTask(store, &work);
    else
        hr = Write(store, &work, !bNew && (bPatternChanged || work.nStart != nStartLoaded));
    hr = InTransaction(store, hr);
    if (SUCCEEDED(hr))
        *p = work;
    return hr;
}

HRESULT CItemWriter::InsertNew(CPimStore& store, CItemRecord* p)
{
    p->nOid = 0;
    const HRESULT hr = Normalize(p, true);
    return FAILED(hr) ? hr : Write(store, p, false);
}

HRESULT CItemWriter::WriteNormalized(CPimStore& store, CItemRecord* p)
{
    // The caller brings the item's whole new set of exceptions.
    if (p->nOid != 0 && !CItemTable::RemoveExceptions(store, p->nOid))
        return E_FAIL;
    return Write(store, p, false);
}

HRESULT CItemWriter::InsertException(CPimStore& store, CItemRecord* p)
{
    p->nExceptionId = 0;
    p->bOccurrence = true;
    NormalizeAppointment(p);
    return WriteOccurrence(store, p);
}

HRESULT CItemWriter::Delete(CPimStore& store, CItemRecord* p)
{
    if (p->nOid == 0)
        return E_FAIL;  // never saved
    if (!store.Begin())
        return E_FAIL;
    HRESULT hr = S_OK;
    if (p->bOccurrence) {
        CItemRecord gone = *p;
        gone.strStamp = CPimStore::NowStamp();
        gone.bDeletedOccurrence = true;
        hr = WriteOccurrence(store, &gone);
    } else {
        CItemRecord stored;
        if (!CItemTable::Load(store, p->nOid, &stored) || stored.bOccurrence)
            hr = E_PIM_NOTFOUND;
        else if (!CItemTable::RemoveExceptions(store, p->nOid) || !CItemTable::Remove(store, p->nOid))
            hr = E_FAIL;
        else
            store.RecordChange(DB_CEOID_RECORD_DELETED, p->nOid, p->nItemType);
    }
    return InTransaction(store, hr);
}

HRESULT CItemWriter::SkipRecurrence(CPimStore& store, CItemRecord* p)
{
    if (p->nItemType != olTaskItem || !p->rule.IsRecurring() || p->nOid == 0)
        return E_FAIL;
    CItemRecord work = *p;
    work.strStamp = CPimStore::NowStamp();
    int64_t nStart = 0, nDue = 0;
    if (NextTaskOccurrence(work, &nStart, &nDue)) {
        work.nStart = nStart;
        work.nEnd = nDue;
    } else {
        work.bComplete = true;
        work.nDateCompleted = Today();
    }
    if (!store.Begin())
        return E_FAIL;
    const HRESULT hr = InTransaction(store, Write(store, &work, false));
    if (SUCCEEDED(hr))
        *p = work;
    return hr;
}
