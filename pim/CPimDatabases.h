#pragma once
// The direct reads of the appointment and task records: whether an item has notes, and
// the change notifications, over the same store file as an IPOutlookApp. Both read the
// record by its OID afresh on each call, so an item created after opening is found.
#include "pim/IAppointment.h"
#include "pim/ITask.h"
#include "platform/WinTypes.h"
#include <QObject>
#include <functional>
#include <memory>

class CPimStore;
class IPOutlookApp;

class CPimDatabases {
public:
    CPimDatabases();
    ~CPimDatabases();

    // Opens the appointment and task records of the logged-on app's store. When pReceiver
    // is given, fnNotify runs (queued, on pReceiver's thread) for every committed create
    // (0x401), change (0x406) and delete (0x403). TRUE when both are open.
    BOOL OpenPimDatabases(IPOutlookApp* pApp, QObject* pReceiver = nullptr,
                          std::function<void(DWORD nType, int32_t nOid, int nItemType)> fnNotify = {});
    void Close();
    BOOL IsOpen() const;

    // 1 when the item's record holds non-empty notes, else 0 (also when not open, or
    // the item is not saved or no longer stored). An occurrence answers for its series,
    // a changed occurrence for its own record.
    int ApptHasNotes(IAppointment* pAppt) const;
    int TaskHasNotes(ITask* pTask) const;

private:
    int HasNotes(int32_t nOid, int nItemType) const;
    std::shared_ptr<CPimStore> m_pStore;
    QMetaObject::Connection m_connection;
};
