#include "pim/IPOutlookItem.h"

#include "pim/CItemTable.h"
#include "pim/CItemWriter.h"
#include "pim/CNotesData.h"
#include "pim/CPimStore.h"
#include "pim/IAppointment.h"
#include "pim/IRecurrencePattern.h"
#include "pim/ITask.h"

IPOutlookItem::IPOutlookItem(std::shared_ptr<CPimStore> pStore, CItemRecord&& record)
    : m_pStore(std::move(pStore)), m_pRecord(std::make_shared<CItemRecord>(std::move(record)))
{
    m_ruleLoaded = m_pRecord->rule;
    m_nStartLoaded = m_pRecord->nStart;
    m_bCompleteLoaded = m_pRecord->bComplete;
}

IPOutlookItem::~IPOutlookItem() = default;

void IPOutlookItem::EnsureFull() const
{
    CItemRecord& r = *m_pRecord;
    if (!r.bPartial)
        return;
    r.bPartial = false;
    r.bSummaryRead = false;
    CItemRecord full;
    if (!CItemTable::Load(*m_pStore, r.nExceptionId != 0 ? r.nExceptionId : r.nOid, &full))
        return;  // deleted meanwhile: Save will tell
    r.strSubject = full.strSubject;
    r.strLocation = full.strLocation;
    r.strUid = full.strUid;
    r.strStamp = full.strStamp;
    r.bAllDay = full.bAllDay;
    r.nReminderMinutes = full.nReminderMinutes;
    r.bReminderSet = full.bReminderSet;
    r.nDateCompleted = full.nDateCompleted;
    r.rule = full.rule;
    r.nPatternStart = full.nPatternStart;
    r.nLastStart = full.nLastStart;
    m_ruleLoaded = full.rule;
}

void IPOutlookItem::EnsureSummary() const
{
    if (!m_pRecord->bSummaryRead)
        EnsureFull();
}

std::unique_ptr<IPOutlookItem> MakePimItem(std::shared_ptr<CPimStore> pStore, CItemRecord&& record)
{
    if (record.nItemType == olTaskItem)
        return std::make_unique<ITask>(std::move(pStore), std::move(record));
    return std::make_unique<IAppointment>(std::move(pStore), std::move(record));
}

int IPOutlookItem::GetItemType() const
{
    return m_pRecord->nItemType;
}

IAppointment* IPOutlookItem::AsAppointment()
{
    return GetItemType() == olAppointmentItem ? static_cast<IAppointment*>(this) : nullptr;
}

ITask* IPOutlookItem::AsTask()
{
    return GetItemType() == olTaskItem ? static_cast<ITask*>(this) : nullptr;
}

HRESULT IPOutlookItem::get_Oid(int32_t* pOid) const
{
    if (pOid == nullptr)
        return E_POINTER;
    *pOid = m_pRecord->nOid;
    return S_OK;
}

HRESULT IPOutlookItem::get_Subject(QString* pstr) const
{
    if (pstr == nullptr)
        return E_POINTER;
    EnsureSummary();
    *pstr = m_pRecord->strSubject;
    return S_OK;
}

HRESULT IPOutlookItem::put_Subject(const QString& str)
{
    EnsureFull();
    m_pRecord->strSubject = str;
    return S_OK;
}

HRESULT IPOutlookItem::get_ReminderSet(BOOL* pb) const
{
    if (pb == nullptr)
        return E_POINTER;
    EnsureSummary();
    *pb = m_pRecord->bReminderSet ? TRUE : FALSE;
    return S_OK;
}

HRESULT IPOutlookItem::put_ReminderSet(BOOL b)
{
    EnsureFull();
    m_pRecord->bReminderSet = b != FALSE;
    return S_OK;
}

HRESULT IPOutlookItem::get_BodyInk(QByteArray* pBytes) const
{
    if (pBytes == nullptr)
        return E_POINTER;
    CItemRecord& r = *m_pRecord;
    if (!r.bNotesLoaded && r.nOid != 0) {
        const int64_t nRow = r.nExceptionId != 0 ? r.nExceptionId : r.nOid;
        if (!CItemTable::LoadNotes(*m_pStore, nRow, &r.notes))
            return E_FAIL;
        r.bNotesLoaded = true;
    }
    *pBytes = r.notes;
    return S_OK;
}

HRESULT IPOutlookItem::put_BodyInk(const QByteArray& bytes)
{
    m_pRecord->notes = bytes;
    m_pRecord->bNotesLoaded = true;
    return S_OK;
}

HRESULT IPOutlookItem::get_Body(QString* pstr) const
{
    QByteArray bytes;
    const HRESULT hr = pstr ? get_BodyInk(&bytes) : E_POINTER;
    if (SUCCEEDED(hr))
        *pstr = CNotesData::TextOf(bytes);
    return hr;
}

HRESULT IPOutlookItem::put_Body(const QString& str)
{
    QByteArray bytes;
    HRESULT hr = get_BodyInk(&bytes);
    if (FAILED(hr))
        return hr;
    CNotesData notes;
    notes.FromBytes(bytes);  // notes of another format are replaced by the text
    notes.m_strText = str;
    return put_BodyInk(notes.ToBytes());
}

HRESULT IPOutlookItem::get_IsRecurring(BOOL* pb) const
{
    if (pb == nullptr)
        return E_POINTER;
    EnsureSummary();
    *pb = (m_pRecord->rule.IsRecurring() || m_pRecord->bOccurrence) ? TRUE : FALSE;
    return S_OK;
}

HRESULT IPOutlookItem::GetRecurrencePattern(std::unique_ptr<IRecurrencePattern>* ppPattern)
{
    if (ppPattern == nullptr)
        return E_POINTER;
    EnsureFull();
    if (!m_pRecord->bOccurrence) {
        *ppPattern = std::make_unique<IRecurrencePattern>(m_pStore, m_pRecord, false);
        return S_OK;
    }
    // An occurrence shows its series' pattern, read-only.
    auto pSeries = std::make_shared<CItemRecord>();
    if (!CItemTable::Load(*m_pStore, m_pRecord->nOid, pSeries.get()))
        return E_PIM_NOTFOUND;
    *ppPattern = std::make_unique<IRecurrencePattern>(m_pStore, pSeries, true);
    return S_OK;
}

HRESULT IPOutlookItem::ClearRecurrencePattern()
{
    EnsureFull();
    if (m_pRecord->bOccurrence)
        return E_FAIL;
    m_pRecord->rule = CRecurrenceRule();
    m_pRecord->nPatternStart = m_pRecord->nLastStart = kNoDateMinutes;
    return S_OK;
}

HRESULT IPOutlookItem::CountDroppedExceptions(int32_t* pnCount) const
{
    if (pnCount == nullptr)
        return E_POINTER;
    EnsureFull();
    int nCount = 0;
    const HRESULT hr = CItemWriter::CountDroppedExceptions(*m_pStore, *m_pRecord, m_ruleLoaded, m_nStartLoaded, &nCount);
    *pnCount = nCount;
    return hr;
}

HRESULT IPOutlookItem::Save()
{
    EnsureFull();
    const HRESULT hr = CItemWriter::Save(*m_pStore, m_pRecord.get(), m_ruleLoaded, m_nStartLoaded, m_bCompleteLoaded);
    if (SUCCEEDED(hr)) {
        m_ruleLoaded = m_pRecord->rule;
        m_nStartLoaded = m_pRecord->nStart;
        m_bCompleteLoaded = m_pRecord->bComplete;
    }
    return hr;
}

HRESULT IPOutlookItem::Delete()
{
    return CItemWriter::Delete(*m_pStore, m_pRecord.get());
}

HRESULT IPOutlookItem::Display()
{
    return m_pStore->Display(this);
}

BOOL IPOutlookItem::IsOccurrence() const
{
    return m_pRecord->bOccurrence ? TRUE : FALSE;
}
