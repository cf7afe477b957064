#include "pim/CReminderLog.h"

#include "pim/CPimStore.h"
#include "pim/CSqlStatement.h"

size_t qHash(const CReminderKey& key, size_t nSeed)
{
    return qHashMulti(nSeed, key.nDue, key.nOid, key.nOccurrence);
}

namespace {

CSqlStatement& BindKey(CSqlStatement& st, const CReminderKey& key)
{
    return st.Bind(1, key.nDue).Bind(2, int64_t(key.nOid)).Bind(3, key.nOccurrence);
}

CReminderKey KeyOf(const CSqlStatement& st)
{
    return {st.Int(0), static_cast<int32_t>(st.Int(1)), st.Int(2)};
}

}  // namespace

bool CReminderLog::Rung(CPimStore& store, int64_t nFrom, int64_t nTo, QHash<CReminderKey, int64_t>* pRung)
{
    CSqlStatement st(store.Cached("SELECT due,oid,occurrence,snooze FROM reminder_rung WHERE due BETWEEN ?1 AND ?2"));
    st.Bind(1, nFrom).Bind(2, nTo);
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW)
        pRung->insert(KeyOf(st), st.Int(3));
    return rc == SQLITE_DONE;
}

bool CReminderLog::Snoozed(CPimStore& store, QVector<CSnoozedReminder>* pSnoozed)
{
    CSqlStatement st(store.Cached("SELECT due,oid,occurrence,snooze FROM reminder_rung WHERE snooze>0 ORDER BY snooze"));
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW)
        pSnoozed->push_back({KeyOf(st), st.Int(3)});
    return rc == SQLITE_DONE;
}

bool CReminderLog::Record(CPimStore& store, const CReminderKey& key, int64_t nSnoozeUntil)
{
    CSqlStatement st(store.Cached("INSERT OR REPLACE INTO reminder_rung(due,oid,occurrence,snooze) VALUES(?1,?2,?3,?4)"));
    return BindKey(st, key).Bind(4, nSnoozeUntil).Exec();
}

bool CReminderLog::Forget(CPimStore& store, const CReminderKey& key)
{
    CSqlStatement st(store.Cached("DELETE FROM reminder_rung WHERE due=?1 AND oid=?2 AND occurrence=?3"));
    return BindKey(st, key).Exec();
}

bool CReminderLog::Mark(CPimStore& store, int64_t* pnChecked)
{
    CSqlStatement st(store.Cached("SELECT checked FROM reminder_mark WHERE id=1"));
    if (st.Step() != SQLITE_ROW)
        return false;
    *pnChecked = st.Int(0);
    return true;
}

bool CReminderLog::SetMark(CPimStore& store, int64_t nChecked)
{
    CSqlStatement st(store.Cached("INSERT OR REPLACE INTO reminder_mark(id,checked) VALUES(1,?1)"));
    return st.Bind(1, nChecked).Exec();
}

bool CReminderLog::Prune(CPimStore& store, int64_t nBefore)
{
    CSqlStatement st(store.Cached("DELETE FROM reminder_rung WHERE due<?1 AND snooze=0"));
    return st.Bind(1, nBefore).Exec();
}
