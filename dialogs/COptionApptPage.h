#pragma once
// The options sheet's appointment page ("일정"): all-day appointments in bold.
#include "dialogs/CPropertyPage.h"

class COptionApptPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit COptionApptPage(const StringTable* pStrings);

    BOOL m_bBoldAllDayEvent = 0;

protected:
    void OnInitDialog() override;
    void DoDataExchange(BOOL bSaveAndValidate) override;
};
