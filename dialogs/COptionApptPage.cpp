#include "dialogs/COptionApptPage.h"
#include "resources/UiLanguage.h"
#include "dialogs/OptionIds.h"
#include <QCheckBox>

COptionApptPage::COptionApptPage(const StringTable* pStrings)
    : CPropertyPage(UiText(QStringLiteral("일정"), QStringLiteral("Appointments")), pStrings)
{
}

void COptionApptPage::OnInitDialog()
{
    AddCheckBox(IDC_OPTION_BOLD_ALLDAYEVENT, QStringLiteral("All-day events in bold"))
        ->setText(LoadString("RC_OPTIONDLG_BOLD_ALLDAYEVENT"));
}

void COptionApptPage::DoDataExchange(BOOL bSaveAndValidate)
{
    DDX_Check(IDC_OPTION_BOLD_ALLDAYEVENT, &m_bBoldAllDayEvent, bSaveAndValidate);
}
