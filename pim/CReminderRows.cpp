#include "pim/CReminderRows.h"

#include "pim/CItemTable.h"
#include "pim/CPimStore.h"
#include "pim/CSqlStatement.h"
#include <algorithm>
#include <limits>

namespace {

// The conditions repeat those of the partial indexes items_appt_reminder and
// items_task_reminder word for word, as SQLite needs to use them, and the queries name
// them: without statistics the planner prefers the index by kind and start, and reads
// every appointment.
const QByteArray kAppointmentsSql = QByteArray("SELECT ") + CItemTable::kQueryColumns
    + " FROM items INDEXED BY items_appt_reminder WHERE kind=1 AND reminder=1 AND rec_type<0 AND deleted=0"
      " AND t_start-reminder_minutes BETWEEN ?1 AND ?2 ORDER BY t_start-reminder_minutes";
const QByteArray kSeriesSql = QByteArray("SELECT ") + CItemTable::kQueryColumns
    + " FROM series_span CROSS JOIN items ON items.oid=series_span.id"
      " WHERE series_span.hi>=?1 AND items.reminder=1";
const QByteArray kTasksSql = QByteArray("SELECT ") + CItemTable::kQueryColumns
    + " FROM items INDEXED BY items_task_reminder WHERE kind=3 AND reminder=1 AND complete=0 AND t_end BETWEEN ?1 AND ?2 ORDER BY t_end";

bool ReadAll(CSqlStatement& st, QVector<CItemRecord>* pRows)
{
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW) {
        CItemRecord r;
        CItemTable::Read(st, 0, &r);
        pRows->push_back(std::move(r));
    }
    return rc == SQLITE_DONE;
}

// The span trees hold 32-bit values.
int64_t Clamp32(int64_t n)
{
    return std::clamp<int64_t>(n, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
}

}  // namespace

bool CReminderRows::Appointments(CPimStore& store, int64_t nFrom, int64_t nTo, QVector<CItemRecord>* pRows)
{
    CSqlStatement st(store.Cached(kAppointmentsSql.constData()));
    st.Bind(1, nFrom).Bind(2, nTo);
    return ReadAll(st, pRows);
}

bool CReminderRows::Series(CPimStore& store, int64_t nFrom, QVector<CItemRecord>* pRows)
{
    CSqlStatement st(store.Cached(kSeriesSql.constData()));
    st.Bind(1, Clamp32(nFrom));
    return ReadAll(st, pRows);
}

bool CReminderRows::Tasks(CPimStore& store, int64_t nFrom, int64_t nTo, QVector<CItemRecord>* pRows)
{
    CSqlStatement st(store.Cached(kTasksSql.constData()));
    st.Bind(1, nFrom).Bind(2, nTo);
    return ReadAll(st, pRows);
}
