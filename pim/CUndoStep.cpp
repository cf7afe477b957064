#include "pim/CUndoStep.h"
#include "pim/CItemTable.h"
#include "pim/CPimStore.h"
#include "pim/CSqlStatement.h"
#include "pim/PimTypes.h"
#include <QSet>

namespace {

// The rows in reach of an action: the item, its exception rows, and the rows it made.
// ?1 the item's OID, ?2 the highest row id before the action, ?3 the highest after it.
const char kInReach[] = "(SELECT oid FROM items WHERE oid=?1 OR series=?1 OR (oid>?2 AND oid<=?3))";

struct Reach {
    int64_t nOid;
    int64_t nLastBefore;
    int64_t nLastAfter;
};

bool ReadRows(CPimStore& store, const QByteArray& sql, const Reach& reach, QVector<QVector<QVariant>>* pRows)
{
    CSqlStatement st(store.Db(), sql);
    st.Bind(1, reach.nOid).Bind(2, reach.nLastBefore).Bind(3, reach.nLastAfter);
    int rc = st.Step();
    for (; rc == SQLITE_ROW; rc = st.Step()) {
        QVector<QVariant> row;
        for (int i = 0; i < st.ColumnCount(); ++i)
            row.append(st.Value(i));
        pRows->append(row);
    }
    return rc == SQLITE_DONE;
}

bool InsertRows(CPimStore& store, const char* pszTable, const QVector<QVector<QVariant>>& rows)
{
    for (const QVector<QVariant>& row : rows) {
        QByteArray sql = QByteArray("INSERT OR REPLACE INTO ") + pszTable + " VALUES(";
        for (int i = 0; i < row.size(); ++i)
            sql += i == 0 ? "?" : ",?";
        CSqlStatement st(store.Db(), sql + ")");
        for (int i = 0; i < row.size(); ++i)
            st.Bind(i + 1, row[i]);
        if (!st.Exec())
            return false;
    }
    return true;
}

QSet<int64_t> FirstColumn(const QVector<QVector<QVariant>>& rows)
{
    QSet<int64_t> values;
    for (const QVector<QVariant>& row : rows)
        values.insert(row.value(0).toLongLong());
    return values;
}

}  // namespace

bool CUndoStep::Read(CPimStore& store, Rows* pRows) const
{
    *pRows = Rows();
    const QByteArray inReach(kInReach);
    const Reach reach{m_nOid, m_nLastBefore, m_nLastAfter};
    return ReadRows(store, "SELECT * FROM items WHERE oid IN " + inReach + " ORDER BY oid", reach, &pRows->items)
        && ReadRows(store, "SELECT * FROM notes WHERE oid IN " + inReach + " ORDER BY oid", reach, &pRows->notes)
        && ReadRows(store, "SELECT * FROM sync_link WHERE oid IN " + inReach + " ORDER BY oid", reach, &pRows->links);
}

bool CUndoStep::LastOid(CPimStore& store, int64_t* pnOid)
{
    CSqlStatement st(store.Db(), "SELECT coalesce(max(oid), 0) FROM items");
    if (st.Step() != SQLITE_ROW)
        return false;
    *pnOid = st.Int(0);
    return true;
}

bool CUndoStep::Begin(CPimStore& store, int32_t nOid)
{
    m_nOid = nOid;
    m_nLastAfter = m_nLastBefore = 0;
    return LastOid(store, &m_nLastBefore) && Read(store, &m_before);
}

// A save that changed nothing but the time of its saving leaves nothing to undo.
bool CUndoStep::Finish(CPimStore& store)
{
    return LastOid(store, &m_nLastAfter) && Read(store, &m_after) && !(WithoutStamps(m_after) == WithoutStamps(m_before));
}

CUndoStep::Rows CUndoStep::WithoutStamps(Rows rows)
{
    for (Row& row : rows.items) {
        if (row.size() > kStampColumn)
            row[kStampColumn] = QVariant();
    }
    return rows;
}

CUndoStep::EResult CUndoStep::Undo(CPimStore& store, QString* pstrReason)
{
    Rows now;
    if (!Read(store, &now)) {
        store.NoteError();
        *pstrReason = store.ReadFailureText();
        return EResult::Failed;
    }
    // Server links follow syncs; only the items and their notes must be as the action left them.
    if (now.items != m_after.items || now.notes != m_after.notes) {
        return EResult::ChangedSince;
    }
    if (!store.Begin()) {
        store.NoteError();
        *pstrReason = store.LastError();
        return EResult::Failed;
    }
    if (!PutBack(store)) {
        store.NoteError();
        store.Rollback();
        *pstrReason = store.LastError();
        return EResult::Failed;
    }
    // One change for the lot, so that the week is read again as a whole.
    store.SetBulkChanges(true);
    store.RecordChange(DB_CEOID_CHANGED, 0, 0);
    store.SetBulkChanges(false);
    if (!store.Commit()) {
        *pstrReason = store.LastError();
        return EResult::Failed;
    }
    return EResult::Done;
}

// Removes every row in reach (deleting a linked item leaves a server tombstone), writes
// the rows of before back with their spans, and links them to the server again, to be
// sent once more; the tombstones their removal left are taken back.
bool CUndoStep::PutBack(CPimStore& store)
{
    const QSet<int64_t> rows = FirstColumn(m_after.items) + FirstColumn(m_before.items);
    for (int64_t nRow : rows) {
        if (!CItemTable::Remove(store, nRow))
            return false;
    }
    if (!InsertRows(store, "items", m_before.items) || !InsertRows(store, "notes", m_before.notes))
        return false;
    for (int64_t nRow : FirstColumn(m_before.items)) {
        if (!CItemTable::RestoreSpan(store, nRow))
            return false;
    }
    for (const Row& link : m_before.links) {
        CSqlStatement tomb(store.Cached("DELETE FROM sync_tombstone WHERE account=?1 AND href=?2"));
        if (!tomb.Bind(1, link.value(1)).Bind(2, link.value(2)).Exec())
            return false;
    }
    if (!InsertRows(store, "sync_link", m_before.links))
        return false;
    CSqlStatement dirty(store.Db(), "UPDATE sync_link SET dirty=1 WHERE oid IN " + QByteArray(kInReach));
    return dirty.Bind(1, int64_t(m_nOid)).Bind(2, m_nLastBefore).Bind(3, m_nLastAfter).Exec();
}
