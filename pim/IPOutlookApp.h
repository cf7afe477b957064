#pragma once
// The application object of the PIM store: one SQLite file holding appointments and
// tasks. Typical use (everything on the UI thread; no Release anywhere, destroying a
// std::unique_ptr releases what it holds):
//
//     IPOutlookApp app;
//     if (FAILED(app.Logon(strPath)))            // empty path: GetStorePath() (platform/StorePath.h)
//         return;                                // not a store of ours, or cannot be created
//     std::unique_ptr<IFolder> pFolder;
//     std::unique_ptr<IPOutlookItemCollection> pItems;
//     if (SUCCEEDED(app.GetDefaultFolder(olFolderCalendar, &pFolder))
//         && SUCCEEDED(pFolder->get_Items(&pItems))) {
//         pItems->Sort("[Start]", VARIANT_FALSE);
//         pItems->put_IncludeRecurrences(VARIANT_TRUE);
//         std::unique_ptr<IAppointment> pAppt;
//         for (HRESULT hr = pItems->Find(strRestriction, &pAppt); SUCCEEDED(hr) && pAppt;
//              hr = pItems->FindNext(&pAppt)) {
//             int32_t nOid; pAppt->get_Oid(&nOid); ...
//         }
//     }
//     std::unique_ptr<IPOutlookItem> pItem;
//     app.GetItemFromOid(nOid, &pItem);          // pItem->AsTask() / AsAppointment()
//     std::unique_ptr<ITask> pTask;
//     app.CreateItem(olTaskItem, &pTask);        // new, unsaved; Save gives it an OID
//     app.Logoff();                              // also done by the destructor
//
// Items and collections keep the store file open; they stay usable after Logoff.
// Change notifications: GetNotifier() (see CPimNotifier.h), or CPimDatabases.
// Dates are OLE automation dates in local wall time (VariantTime.h); kNoDate is no date.
#include "pim/IAppointment.h"
#include "pim/IFolder.h"
#include "pim/IPOutlookItem.h"
#include "pim/IPOutlookItemCollection.h"
#include "pim/IRecurrencePattern.h"
#include "pim/ITask.h"
#include "pim/PimTypes.h"
#include "platform/WinTypes.h"
#include <QString>
#include <functional>
#include <memory>

class CPimNotifier;

// The store's detail form for an item (supplied by the dialogs; nullptr: none).
using PimDisplayForm = std::function<HRESULT(IPOutlookItem* pItem)>;

class IPOutlookApp {
public:
    IPOutlookApp();
    ~IPOutlookApp();
    IPOutlookApp(const IPOutlookApp&) = delete;
    IPOutlookApp& operator=(const IPOutlookApp&) = delete;

    // GetStorePath(): --store, else $XDG_DATA_HOME/quillday/pim.sqlite.
    static QString DefaultStorePath();

    // Opens the store file, creating it (and its folder) when it does not exist. Fails
    // (E_FAIL) for a file that is not a store of ours, or one of a newer schema version;
    // such a file is never modified. Logon on a logged-on object fails. E_PIM_DISKFULL: the
    // disk has no room for what opening must write. GetLogonFailure says why in words.
    // S_PIM_READONLY: a store that cannot be written now is open for reading only, and
    // GetReadOnlyReason says why.
    HRESULT Logon(const QString& strStorePath = QString());
    const QString& GetLogonFailure() const { return m_strLogonFailure; }
    BOOL IsReadOnly() const;
    QString GetReadOnlyReason() const;
    HRESULT Logoff();
    BOOL IsLoggedOn() const;
    // The file that Logon opened.
    QString GetStorePath() const;

    HRESULT GetDefaultFolder(int nFolder, std::unique_ptr<IFolder>* ppFolder);
    // A new unsaved item: olAppointmentItem (starting and ending now) or olTaskItem
    // (without dates, normal importance).
    HRESULT CreateItem(int nItemType, std::unique_ptr<IPOutlookItem>* ppItem);
    HRESULT CreateItem(int nItemType, std::unique_ptr<IAppointment>* ppAppt);
    HRESULT CreateItem(int nItemType, std::unique_ptr<ITask>* ppTask);
    // The item (a series as a whole) with that OID; E_PIM_NOTFOUND when there is none.
    HRESULT GetItemFromOid(int32_t nOid, std::unique_ptr<IPOutlookItem>* ppItem);
    HRESULT GetItemFromOid(int32_t nOid, std::unique_ptr<IAppointment>* ppAppt);
    HRESULT GetItemFromOid(int32_t nOid, std::unique_ptr<ITask>* ppTask);

    // Why the last failed Find or FindNext could not read the store: the path and SQLite's
    // own text ("cannot read the store PATH: database disk image is malformed").
    QString GetReadFailure() const;

    // Change notifications of this store (null while logged off).
    CPimNotifier* GetNotifier() const;
    // The detail form that Display opens (kept across Logoff and Logon).
    void SetDisplayForm(PimDisplayForm fnForm);

    // Internal: the open store, shared with items and with CPimDatabases.
    std::shared_ptr<CPimStore> GetStore() const { return m_pStore; }

private:
    std::shared_ptr<CPimStore> m_pStore;
    PimDisplayForm m_fnForm;
    QString m_strLogonFailure;
};
