#include "pim/CPimReadView.h"
#include "pim/CPimStore.h"
#include "pim/IPOutlookApp.h"

CPimReadView::CPimReadView(IPOutlookApp* pApp)
{
    if (pApp == nullptr || !pApp->IsLoggedOn())
        return;
    std::shared_ptr<CPimStore> pStore = pApp->GetStore();
    if (pStore && pStore->BeginRead())
        m_pStore = std::move(pStore);
}

CPimReadView::~CPimReadView()
{
    // A read transaction has nothing to write; committing it only ends it.
    if (m_pStore)
        m_pStore->Commit();
}
