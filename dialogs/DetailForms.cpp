#include "dialogs/DetailForms.h"

#include "dialogs/CApptForm.h"
#include "dialogs/CTaskForm.h"
#include "resources/StringTable.h"

HRESULT ShowDetailForm(IPOutlookItem* pItem, const DetailFormContext& ctx)
{
    if (pItem == nullptr || ctx.pStrings == nullptr)
        return E_INVALIDARG;
    std::unique_ptr<CDetailForm> pForm;
    if (IAppointment* pAppt = pItem->AsAppointment())
        pForm = std::make_unique<CApptForm>(ctx, pAppt);
    else if (ITask* pTask = pItem->AsTask())
        pForm = std::make_unique<CTaskForm>(ctx, pTask);
    else
        return E_INVALIDARG;
    return pForm->exec() == QDialog::Accepted ? S_OK : S_FALSE;
}

PimDisplayForm MakeDisplayForm(const DetailFormContext& ctx)
{
    return [ctx](IPOutlookItem* pItem) { return ShowDetailForm(pItem, ctx); };
}
