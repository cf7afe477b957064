#pragma once
// The options sheet's task page ("작업"): important tasks in bold, tasks also on their
// start day, completed tasks listed.
#include "dialogs/CPropertyPage.h"

class COptionTaskPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit COptionTaskPage(const StringTable* pStrings);

    BOOL m_bBoldImportantTask = 0;
    BOOL m_bShowTaskStart = 0;
    BOOL m_bShowCompleteTask = 1;

protected:
    void OnInitDialog() override;
    void DoDataExchange(BOOL bSaveAndValidate) override;
};
