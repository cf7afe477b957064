#pragma once
// The store's detail forms as the store opens them (IPOutlookItem::Display): the
// appointment form or the task form, run modally over the main window.
#include "dialogs/DetailFormContext.h"
#include "pim/IPOutlookApp.h"

// Runs the item's form. S_OK after Save, S_FALSE after Cancel (nothing written),
// E_INVALIDARG for a null item.
HRESULT ShowDetailForm(IPOutlookItem* pItem, const DetailFormContext& ctx);
// The form hook for IPOutlookApp::SetDisplayForm. The context's window and texts must
// outlive the store's use of it.
PimDisplayForm MakeDisplayForm(const DetailFormContext& ctx);
