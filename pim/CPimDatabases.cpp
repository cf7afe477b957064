#include "pim/CPimDatabases.h"

#include "pim/CSqlStatement.h"
#include "pim/CPimNotifier.h"
#include "pim/CPimStore.h"
#include "pim/IPOutlookApp.h"

CPimDatabases::CPimDatabases() = default;

CPimDatabases::~CPimDatabases()
{
    Close();
}

BOOL CPimDatabases::OpenPimDatabases(IPOutlookApp* pApp, QObject* pReceiver,
                                     std::function<void(DWORD, int32_t, int)> fnNotify)
{
    Close();
    if (pApp == nullptr || !pApp->GetStore())
        return FALSE;
    m_pStore = pApp->GetStore();
    if (pReceiver != nullptr && fnNotify)
        m_connection = m_pStore->Notifier()->RegisterReceiver(pReceiver, std::move(fnNotify));
    return TRUE;
}

void CPimDatabases::Close()
{
    QObject::disconnect(m_connection);
    m_connection = {};
    m_pStore.reset();
}

BOOL CPimDatabases::IsOpen() const
{
    return m_pStore ? TRUE : FALSE;
}

int CPimDatabases::HasNotes(int32_t nOid, int nItemType) const
{
    if (!m_pStore || nOid <= 0)
        return 0;
    // The record by its OID (of the right database), then its notes alone.
    CSqlStatement st(m_pStore->Cached(
        "SELECT length(notes.data) FROM items LEFT JOIN notes ON notes.oid=items.oid"
        " WHERE items.oid=?1 AND items.kind=?2 AND items.series IS NULL"));
    st.Bind(1, int64_t(nOid)).Bind(2, int64_t(nItemType));
    return st.Step() == SQLITE_ROW && st.Int(0) > 0 ? 1 : 0;
}

int CPimDatabases::ApptHasNotes(IAppointment* pAppt) const
{
    int32_t nOid = 0;
    if (pAppt == nullptr || FAILED(pAppt->get_Oid(&nOid)))
        return 0;
    // A changed occurrence has notes of its own (its exception record).
    const int64_t nException = pAppt->Record().nExceptionId;
    if (nException != 0 && m_pStore) {
        CSqlStatement st(m_pStore->Cached("SELECT length(data) FROM notes WHERE oid=?1"));
        st.Bind(1, nException);
        return st.Step() == SQLITE_ROW && st.Int(0) > 0 ? 1 : 0;
    }
    return HasNotes(nOid, olAppointmentItem);
}

int CPimDatabases::TaskHasNotes(ITask* pTask) const
{
    int32_t nOid = 0;
    if (pTask == nullptr || FAILED(pTask->get_Oid(&nOid)))
        return 0;
    return HasNotes(nOid, olTaskItem);
}
