#include "pim/IPOutlookItemCollection.h"

#include "pim/CItemQuery.h"
#include "pim/CPimStore.h"
#include "pim/CRestriction.h"
#include "pim/CSqlStatement.h"
#include "pim/IAppointment.h"
#include "pim/ITask.h"
#include "platform/ShortDate.h"

namespace {

int ItemTypeOf(int nFolder)
{
    return nFolder == olFolderTasks ? olTaskItem : olAppointmentItem;
}

// The items-table column behind a sortable property of the folder, or empty.
QString SortColumn(int nItemType, const QString& strProperty)
{
    struct Entry {
        const char* pszName;
        int nItemType;  // 0: both
        const char* pszColumn;
    };
    static const Entry kEntries[] = {
        {"[Start]", olAppointmentItem, "t_start"},     {"[End]", olAppointmentItem, "t_end"},
        {"[StartDate]", olTaskItem, "t_start"},        {"[DueDate]", olTaskItem, "t_end"},
        {"[DateCompleted]", olTaskItem, "t_completed"}, {"[Importance]", olTaskItem, "importance"},
        {"[Subject]", 0, "subject"},
    };
    const QString strName = strProperty.trimmed();
    for (const Entry& e : kEntries) {
        if ((e.nItemType == 0 || e.nItemType == nItemType)
            && strName.compare(QLatin1String(e.pszName), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(e.pszColumn);
    }
    return QString();
}

// Hands out the next item of a typed Find or FindNext: refused unless the collection is
// of the folder that holds items of type T.
template <class T, class Fetch>
HRESULT FetchTyped(int nFolder, int nFolderOfT, std::unique_ptr<T>* ppOut, Fetch fetch)
{
    if (ppOut == nullptr)
        return E_POINTER;
    ppOut->reset();
    if (nFolder != nFolderOfT)
        return E_INVALIDARG;
    std::unique_ptr<IPOutlookItem> pItem;
    const HRESULT hr = fetch(&pItem);
    ppOut->reset(static_cast<T*>(pItem.release()));
    return hr;
}

}  // namespace

IPOutlookItemCollection::IPOutlookItemCollection(std::shared_ptr<CPimStore> pStore, int nFolder)
    : m_pStore(std::move(pStore)), m_nFolder(nFolder)
{
}

IPOutlookItemCollection::~IPOutlookItemCollection() = default;

HRESULT IPOutlookItemCollection::Sort(const QString& strProperty, VARIANT_BOOL bDescending)
{
    const QString strColumn = SortColumn(ItemTypeOf(m_nFolder), strProperty);
    if (strColumn.isEmpty())
        return E_INVALIDARG;
    m_strSort = strColumn;
    m_bDescending = bDescending != VARIANT_FALSE;
    m_pQuery.reset();
    return S_OK;
}

HRESULT IPOutlookItemCollection::put_IncludeRecurrences(VARIANT_BOOL b)
{
    m_bIncludeRecurrences = b != VARIANT_FALSE;
    m_pQuery.reset();
    return S_OK;
}

HRESULT IPOutlookItemCollection::get_IncludeRecurrences(VARIANT_BOOL* pb) const
{
    if (pb == nullptr)
        return E_POINTER;
    *pb = m_bIncludeRecurrences ? VARIANT_TRUE : VARIANT_FALSE;
    return S_OK;
}

HRESULT IPOutlookItemCollection::Find(const QString& strRestriction, std::unique_ptr<IPOutlookItem>* ppItem)
{
    if (ppItem == nullptr)
        return E_POINTER;
    ppItem->reset();
    m_pQuery.reset();
    CRestriction restriction;
    HRESULT hr = restriction.Parse(strRestriction, GetShortDatePattern(), ItemTypeOf(m_nFolder));
    if (FAILED(hr))
        return hr;
    CItemQuery::Options options;
    options.nItemType = ItemTypeOf(m_nFolder);
    options.strSortColumn = m_strSort;
    options.bDescending = m_bDescending;
    options.bIncludeRecurrences = m_bIncludeRecurrences;
    auto pQuery = std::make_unique<CItemQuery>(m_pStore, std::move(restriction), options);
    hr = pQuery->Start();
    if (hr == E_FAIL)
        m_pStore->NoteError();
    if (FAILED(hr))
        return hr;
    m_pQuery = std::move(pQuery);
    return FindNext(ppItem);
}

HRESULT IPOutlookItemCollection::FindNext(std::unique_ptr<IPOutlookItem>* ppItem)
{
    if (ppItem == nullptr)
        return E_POINTER;
    ppItem->reset();
    if (!m_pQuery)
        return E_FAIL;
    CItemRecord record;
    HRESULT hr = S_OK;
    if (m_pQuery->Next(&record, &hr))
        *ppItem = MakePimItem(m_pStore, std::move(record));
    if (FAILED(hr))
        m_pStore->NoteError();
    return hr;
}

HRESULT IPOutlookItemCollection::Find(const QString& strRestriction, std::unique_ptr<IAppointment>* ppAppt)
{
    return FetchTyped(m_nFolder, olFolderCalendar, ppAppt,
                      [&](std::unique_ptr<IPOutlookItem>* ppItem) { return Find(strRestriction, ppItem); });
}

HRESULT IPOutlookItemCollection::FindNext(std::unique_ptr<IAppointment>* ppAppt)
{
    return FetchTyped(m_nFolder, olFolderCalendar, ppAppt,
                      [&](std::unique_ptr<IPOutlookItem>* ppItem) { return FindNext(ppItem); });
}

HRESULT IPOutlookItemCollection::Find(const QString& strRestriction, std::unique_ptr<ITask>* ppTask)
{
    return FetchTyped(m_nFolder, olFolderTasks, ppTask,
                      [&](std::unique_ptr<IPOutlookItem>* ppItem) { return Find(strRestriction, ppItem); });
}

HRESULT IPOutlookItemCollection::FindNext(std::unique_ptr<ITask>* ppTask)
{
    return FetchTyped(m_nFolder, olFolderTasks, ppTask,
                      [&](std::unique_ptr<IPOutlookItem>* ppItem) { return FindNext(ppItem); });
}

HRESULT IPOutlookItemCollection::get_Count(int32_t* pnCount) const
{
    if (pnCount == nullptr)
        return E_POINTER;
    CSqlStatement st(m_pStore->Cached("SELECT count(*) FROM items WHERE kind=?1 AND series IS NULL"));
    st.Bind(1, int64_t(ItemTypeOf(m_nFolder)));
    if (st.Step() != SQLITE_ROW)
        return E_FAIL;
    *pnCount = static_cast<int32_t>(st.Int(0));
    return S_OK;
}
