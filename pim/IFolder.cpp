#include "pim/IFolder.h"

#include "pim/IPOutlookItemCollection.h"

IFolder::IFolder(std::shared_ptr<CPimStore> pStore, int nFolder) : m_pStore(std::move(pStore)), m_nFolder(nFolder) {}

HRESULT IFolder::get_Items(std::unique_ptr<IPOutlookItemCollection>* ppItems)
{
    if (ppItems == nullptr)
        return E_POINTER;
    if (!m_pStore)
        return E_FAIL;
    *ppItems = std::make_unique<IPOutlookItemCollection>(m_pStore, m_nFolder);
    return S_OK;
}
