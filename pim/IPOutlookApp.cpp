#include "pim/IPOutlookApp.h"

#include "pim/CItemTable.h"
#include "pim/CPimStore.h"
#include "pim/WallTime.h"
#include "platform/Clock.h"
#include "platform/StorePath.h"

namespace {

template <class T>
HRESULT Typed(HRESULT hr, std::unique_ptr<IPOutlookItem> pItem, int nItemType, std::unique_ptr<T>* ppOut)
{
    if (ppOut == nullptr)
        return E_POINTER;
    ppOut->reset();
    if (FAILED(hr))
        return hr;
    if (pItem->GetItemType() != nItemType)
        return E_INVALIDARG;
    ppOut->reset(static_cast<T*>(pItem.release()));
    return S_OK;
}

}  // namespace

IPOutlookApp::IPOutlookApp() = default;

IPOutlookApp::~IPOutlookApp()
{
    Logoff();
}

QString IPOutlookApp::DefaultStorePath()
{
    return ::GetStorePath();
}

HRESULT IPOutlookApp::Logon(const QString& strStorePath)
{
    if (m_pStore)
        return E_FAIL;
    m_strLogonFailure.clear();
    QString strReason;
    const HRESULT hr = CPimStore::Open(strStorePath.isEmpty() ? DefaultStorePath() : strStorePath, &m_pStore,
                                       &strReason);
    if (FAILED(hr))
        m_strLogonFailure = strReason;
    if (SUCCEEDED(hr) && m_fnForm)
        m_pStore->SetDisplayForm(m_fnForm);
    return hr;
}

HRESULT IPOutlookApp::Logoff()
{
    m_pStore.reset();
    return S_OK;
}

BOOL IPOutlookApp::IsLoggedOn() const
{
    return m_pStore ? TRUE : FALSE;
}

BOOL IPOutlookApp::IsReadOnly() const
{
    return m_pStore && m_pStore->IsReadOnly() ? TRUE : FALSE;
}

QString IPOutlookApp::GetReadOnlyReason() const
{
    return m_pStore ? m_pStore->ReadOnlyReason() : QString();
}

QString IPOutlookApp::GetStorePath() const
{
    return m_pStore ? m_pStore->Path() : QString();
}

HRESULT IPOutlookApp::GetDefaultFolder(int nFolder, std::unique_ptr<IFolder>* ppFolder)
{
    if (ppFolder == nullptr)
        return E_POINTER;
    ppFolder->reset();
    if (!m_pStore)
        return E_FAIL;
    if (nFolder != olFolderCalendar && nFolder != olFolderTasks)
        return E_INVALIDARG;
    *ppFolder = std::make_unique<IFolder>(m_pStore, nFolder);
    return S_OK;
}

HRESULT IPOutlookApp::CreateItem(int nItemType, std::unique_ptr<IPOutlookItem>* ppItem)
{
    if (ppItem == nullptr)
        return E_POINTER;
    ppItem->reset();
    if (!m_pStore)
        return E_FAIL;
    if (nItemType != olAppointmentItem && nItemType != olTaskItem)
        return E_INVALIDARG;
    CItemRecord record;
    record.nItemType = nItemType;
    record.bNotesLoaded = true;  // a new item has no notes yet
    if (nItemType == olAppointmentItem) {  // a new appointment starts now, for no time
        SYSTEMTIME st;
        GetLocalTime(&st);
        record.nStart = record.nEnd = WallFromFields(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute);
    }
    *ppItem = MakePimItem(m_pStore, std::move(record));
    return S_OK;
}

HRESULT IPOutlookApp::CreateItem(int nItemType, std::unique_ptr<IAppointment>* ppAppt)
{
    std::unique_ptr<IPOutlookItem> pItem;
    const HRESULT hr = CreateItem(nItemType, &pItem);
    return Typed(hr, std::move(pItem), olAppointmentItem, ppAppt);
}

HRESULT IPOutlookApp::CreateItem(int nItemType, std::unique_ptr<ITask>* ppTask)
{
    std::unique_ptr<IPOutlookItem> pItem;
    const HRESULT hr = CreateItem(nItemType, &pItem);
    return Typed(hr, std::move(pItem), olTaskItem, ppTask);
}

HRESULT IPOutlookApp::GetItemFromOid(int32_t nOid, std::unique_ptr<IPOutlookItem>* ppItem)
{
    if (ppItem == nullptr)
        return E_POINTER;
    ppItem->reset();
    if (!m_pStore)
        return E_FAIL;
    CItemRecord record;
    // Exception rows are the store's own; only items and series have OIDs of their own.
    if (nOid <= 0 || !CItemTable::Load(*m_pStore, nOid, &record) || record.bOccurrence)
        return E_PIM_NOTFOUND;
    *ppItem = MakePimItem(m_pStore, std::move(record));
    return S_OK;
}

HRESULT IPOutlookApp::GetItemFromOid(int32_t nOid, std::unique_ptr<IAppointment>* ppAppt)
{
    std::unique_ptr<IPOutlookItem> pItem;
    const HRESULT hr = GetItemFromOid(nOid, &pItem);
    return Typed(hr, std::move(pItem), olAppointmentItem, ppAppt);
}

HRESULT IPOutlookApp::GetItemFromOid(int32_t nOid, std::unique_ptr<ITask>* ppTask)
{
    std::unique_ptr<IPOutlookItem> pItem;
    const HRESULT hr = GetItemFromOid(nOid, &pItem);
    return Typed(hr, std::move(pItem), olTaskItem, ppTask);
}

QString IPOutlookApp::GetReadFailure() const
{
    return m_pStore ? m_pStore->ReadFailureText() : QString();
}

CPimNotifier* IPOutlookApp::GetNotifier() const
{
    return m_pStore ? m_pStore->Notifier() : nullptr;
}

void IPOutlookApp::SetDisplayForm(PimDisplayForm fnForm)
{
    m_fnForm = std::move(fnForm);
    if (m_pStore)
        m_pStore->SetDisplayForm(m_fnForm);
}
