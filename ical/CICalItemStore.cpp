#include "ical/CICalItemStore.h"

#include "pim/CItemTable.h"
#include "pim/CItemWriter.h"
#include "pim/CPimStore.h"
#include "pim/CSqlStatement.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include <QMap>
#include <QSet>

namespace {

// The fields of a rule that its kind uses (the others keep whatever the start gave).
CRecurrenceRule Used(CRecurrenceRule rule)
{
    const int nType = rule.nType;
    if (nType != olRecursWeekly && nType != olRecursMonthNth && nType != olRecursYearNth)
        rule.nDayOfWeekMask = 0;
    if (nType != olRecursMonthly && nType != olRecursYearly)
        rule.nDayOfMonth = 0;
    if (nType != olRecursMonthNth && nType != olRecursYearNth)
        rule.nInstance = 0;
    if (nType != olRecursYearly && nType != olRecursYearNth)
        rule.nMonthOfYear = 0;
    return rule;
}

// The rule as an export writes a task's: an end by count becomes the day of its last
// occurrence, so that it means the same from any of its occurrences.
CRecurrenceRule TaskRuleAsWritten(const CItemRecord& r)
{
    CRecurrenceRule rule = Used(r.rule);
    if (rule.nOccurrences > 0) {
        rule.nOccurrences = 0;
        rule.nPatternEnd = WallDayStart(r.nLastStart);
    }
    return rule;
}

bool SameItemFields(const CItemRecord& a, const CItemRecord& b)
{
    const bool bTask = a.nItemType == olTaskItem;
    return a.nItemType == b.nItemType && a.strSubject == b.strSubject && a.strLocation == b.strLocation
        && a.nStart == b.nStart && a.nEnd == b.nEnd && a.bAllDay == b.bAllDay && a.bReminderSet == b.bReminderSet
        && (!a.bReminderSet || a.nReminderMinutes == b.nReminderMinutes) && a.nImportance == b.nImportance
        && a.bComplete == b.bComplete && a.nDateCompleted == b.nDateCompleted && a.notes == b.notes
        && a.strTzid == b.strTzid
        && (bTask ? TaskRuleAsWritten(a) == TaskRuleAsWritten(b)
                  : Used(a.rule) == Used(b.rule) && (!a.rule.IsRecurring() || (a.nPatternStart == b.nPatternStart
                                                                   && a.nLastStart == b.nLastStart)));
}

}  // namespace

bool CICalItemStore::Begin(QString* pstrError)
{
    if (!m_pStore->Begin()) {
        *pstrError = QStringLiteral("the store is busy or read-only");
        return false;
    }
    m_pStore->SetBulkChanges(true);
    // A big transaction in a bounded page cache: what does not fit goes to the WAL instead
    // of growing the process with the file.
    sqlite3_exec(m_pStore->Db(), "PRAGMA cache_size=-16384", nullptr, nullptr, nullptr);
    if (!BeginBulk()) {
        m_pStore->NoteError();
        *pstrError = StoreError();
        End(false);
        return false;
    }
    return true;
}

bool CICalItemStore::BeginBulk()
{
    CSqlStatement any(m_pStore->Db(), "SELECT 1 FROM items LIMIT 1");
    const int rc = any.Step();
    m_bBulk = rc == SQLITE_DONE;
    // The indexes that every appointment lands in at a random place are made afterwards,
    // each by one pass over the rows; the others take rows in the order they are written
    // (by OID) or are small, and each index made afterwards costs a pass over the table.
    static const QList<QByteArray> kDeferred = {"items_uid", "items_kind_start", "items_appt_reminder"};
    return rc == SQLITE_ROW || (rc == SQLITE_DONE && m_indexes.Drop(m_pStore->Db(), "items", kDeferred));
}

bool CICalItemStore::End(bool bComplete)
{
    if (!bComplete && !m_bFailed)
        m_pStore->NoteError();
    const bool bIndexed = !bComplete || m_bFailed
                       || (m_indexes.RestoreAll(m_pStore->Db()) && (!m_bBulk || RenameDoubledUids())) || StoreFailed();
    const bool bOk = bComplete && !m_bFailed && bIndexed && m_pStore->Commit();  // notes its own failure
    m_pStore->SetBulkChanges(false);
    if (!bOk)
        m_pStore->Rollback();
    sqlite3_exec(m_pStore->Db(), "PRAGMA cache_size=-8192", nullptr, nullptr, nullptr);
    if (!bOk)
        ForgetCounts();
    m_indexes.Forget();
    m_bBulk = false;
    return bOk;
}

QString CICalItemStore::StoreError() const
{
    return QStringLiteral("store %1: %2").arg(m_pStore->Path(), m_pStore->LastError());
}

bool CICalItemStore::StoreFailed()
{
    m_pStore->NoteError();
    m_bFailed = true;
    return false;
}

void CICalItemStore::Reset()
{
    m_skipped.clear();
    m_renamed.clear();
    m_touched.clear();
    ForgetCounts();
    m_bFailed = false;
}

void CICalItemStore::ForgetCounts()
{
    m_nAppointments = m_nTasks = m_nUpdated = m_nUnchanged = 0;
}

bool CICalItemStore::StorePrepared(ICalPrepared& prepared)
{
    m_skipped << prepared.skipped;
    for (ICalWanted& wanted : prepared.items) {
        if (!Store(wanted))
            return false;
    }
    return true;
}

bool CICalItemStore::LoadStored(int32_t nOid, CItemRecord* pRecord, QVector<CItemRecord>* pExceptions) const
{
    if (!CItemTable::LoadNotes(*m_pStore, nOid, &pRecord->notes))
        return false;
    if (!pRecord->rule.IsRecurring() || pRecord->nItemType != olAppointmentItem)
        return true;
    static const QByteArray sql = QByteArray("SELECT ") + CItemTable::kColumns
                                + " FROM items WHERE series=?1 ORDER BY orig_start, oid";
    CSqlStatement st(m_pStore->Cached(sql.constData()));
    st.Bind(1, int64_t(nOid));
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW) {
        CItemRecord e;
        CItemTable::Read(st, 0, &e);
        pExceptions->push_back(e);
    }
    if (rc != SQLITE_DONE)
        return false;
    for (CItemRecord& e : *pExceptions) {
        if (!e.bDeletedOccurrence && !CItemTable::LoadNotes(*m_pStore, e.nExceptionId, &e.notes))
            return false;
    }
    return true;
}

bool CICalItemStore::SameContent(const CItemRecord& stored, const QVector<CItemRecord>& storedExceptions,
                                 const ICalWanted& w) const
{
    if (!SameItemFields(stored, w.record) || storedExceptions.size() != w.exceptions.size())
        return false;
    for (int i = 0; i < storedExceptions.size(); ++i) {
        const CItemRecord& a = storedExceptions[i];
        CItemRecord b = w.exceptions[i];
        CItemWriter::Normalize(&b, false);
        if (a.nOriginalStart != b.nOriginalStart || a.bDeletedOccurrence != b.bDeletedOccurrence)
            return false;
        if (!a.bDeletedOccurrence
            && (a.strSubject != b.strSubject || a.strLocation != b.strLocation || a.nStart != b.nStart
                || a.nEnd != b.nEnd || a.bAllDay != b.bAllDay || a.bReminderSet != b.bReminderSet
                || (a.bReminderSet && a.nReminderMinutes != b.nReminderMinutes) || a.notes != b.notes))
            return false;
    }
    return true;
}

void CICalItemStore::Touch(int32_t nOid)
{
    if (nOid < 0)
        return;
    if (nOid >= int32_t(m_touched.size()))
        m_touched.resize(size_t(nOid) + 1 + m_touched.size() / 2);
    m_touched[nOid] = true;
}

bool CICalItemStore::FindByUid(CItemRecord& r, int32_t* pnOid, int* pnKind, CItemRecord* pStored)
{
    *pnOid = 0;
    *pnKind = 0;
    if (m_bBulk)
        return true;
    static const QByteArray sql = QByteArray("SELECT ") + CItemTable::kColumns
                                + " FROM items WHERE uid=?1 AND series IS NULL LIMIT 1";
    const QString strUid = r.strUid;
    for (int nCopy = 2;; ++nCopy) {
        CSqlStatement find(m_pStore->Cached(sql.constData()));
        find.Bind(1, r.strUid);
        const int rc = find.Step();
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            return StoreFailed();
        *pnOid = rc == SQLITE_ROW ? static_cast<int32_t>(find.Int(0)) : 0;
        *pnKind = rc == SQLITE_ROW ? static_cast<int>(find.Int(1)) : 0;
        const bool bTouched = Touched(*pnOid);
        if (rc == SQLITE_ROW && !bTouched)
            CItemTable::Read(find, 0, pStored);
        find.Reset();
        if (!bTouched)
            break;
        r.strUid = QStringLiteral("%1#%2").arg(strUid).arg(nCopy);
    }
    if (r.strUid != strUid)
        m_renamed << QStringLiteral("%1 as %2").arg(strUid, r.strUid);
    return true;
}

// As an import into a store with items would have named them, in file order: each item
// keeps its UID unless an earlier one has it, and then takes "<UID>#2" (#3, ...), the
// first that no earlier item has; its changed occurrences go with it. Only the items of a
// UID given twice and those whose UID starts with such a UID and "#" can be concerned.
bool CICalItemStore::RenameDoubledUids()
{
    CSqlStatement doubled(m_pStore->Db(), "SELECT uid FROM items WHERE series IS NULL GROUP BY uid HAVING count(*) > 1");
    CSqlStatement related(m_pStore->Db(),
                          "SELECT oid, uid FROM items WHERE series IS NULL AND (uid=?1 OR (uid>=?1||'#' AND uid<?1||'$'))");
    QMap<int64_t, QString> concerned;  // by OID, which is file order
    int rc = SQLITE_ROW;
    while ((rc = doubled.Step()) == SQLITE_ROW) {
        related.Bind(1, doubled.Text(0));
        while ((rc = related.Step()) == SQLITE_ROW)
            concerned.insert(related.Int(0), related.Text(1));
        related.Reset();
        if (rc != SQLITE_DONE)
            return false;
    }
    if (rc != SQLITE_DONE)
        return false;
    CSqlStatement rename(m_pStore->Db(), "UPDATE items SET uid=?1 WHERE oid=?2 OR series=?2");
    QSet<QString> given;
    for (auto it = concerned.cbegin(); it != concerned.cend(); ++it) {
        QString strUid = it.value();
        for (int nCopy = 2; given.contains(strUid); ++nCopy)
            strUid = QStringLiteral("%1#%2").arg(it.value()).arg(nCopy);
        given.insert(strUid);
        if (strUid == it.value())
            continue;
        if (!rename.Bind(1, strUid).Bind(2, it.key()).Exec())
            return false;
        rename.Reset();
        m_renamed << QStringLiteral("%1 as %2").arg(it.value(), strUid);
    }
    return true;
}

bool CICalItemStore::Store(ICalWanted& w)
{
    CItemRecord& r = w.record;
    const bool bTask = r.nItemType == olTaskItem;
    int32_t nFound = 0;
    int nFoundKind = 0;
    CItemRecord stored;
    if (!FindByUid(r, &nFound, &nFoundKind, &stored))
        return false;
    if (nFound != 0)
        Touch(nFound);
    bool bNew = nFound == 0;
    if (!bNew) {
        if (nFoundKind != r.nItemType)
            return m_skipped << ICalSkipLine(r.strUid, nFoundKind == olTaskItem
                                                           ? QStringLiteral("the store has a task with this UID")
                                                           : QStringLiteral("the store has an appointment with this UID")),
                   true;
        QVector<CItemRecord> storedExceptions;
        if (!LoadStored(nFound, &stored, &storedExceptions))
            return StoreFailed();
        // The newer version wins; a file without a time stamp is compared by content.
        const bool bStamps = !r.strStamp.isEmpty() && !stored.strStamp.isEmpty();
        const int nOrder = r.nSequence != stored.nSequence ? (r.nSequence < stored.nSequence ? -1 : 1)
                         : !bStamps || r.strStamp == stored.strStamp ? 0
                         : r.strStamp < stored.strStamp ? -1 : 1;
        if (nOrder < 0)
            return m_skipped << ICalSkipLine(r.strUid, QStringLiteral("the store holds a newer version (SEQUENCE %1, changed %2)")
                                                           .arg(stored.nSequence).arg(stored.strStamp)),
                   true;
        if (nOrder == 0 && SameContent(stored, storedExceptions, w))
            return ++m_nUnchanged, true;
        if (r.strStamp.isEmpty())
            r.strStamp = stored.strStamp;
        r.nOid = nFound;
    }
    const HRESULT hr = CItemWriter::WriteNormalized(*m_pStore, &r);
    if (FAILED(hr))
        return StoreFailed();
    Touch(r.nOid);
    for (CItemRecord& e : w.exceptions) {
        e.nOid = r.nOid;
        if (FAILED(CItemWriter::InsertException(*m_pStore, &e)))
            return StoreFailed();
    }
    if (!bNew)
        ++m_nUpdated;
    else if (bTask)
        ++m_nTasks;
    else
        ++m_nAppointments;
    return true;
}
