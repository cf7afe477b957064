#include "dialogs/COptionTaskPage.h"
#include "resources/UiLanguage.h"
#include "dialogs/OptionIds.h"
#include <QCheckBox>

COptionTaskPage::COptionTaskPage(const StringTable* pStrings)
    : CPropertyPage(UiText(QStringLiteral("작업"), QStringLiteral("Tasks")), pStrings)
{
}

void COptionTaskPage::OnInitDialog()
{
    AddCheckBox(IDC_OPTION_BOLD_IMPORTANTTASK, QStringLiteral("Important tasks in bold"))
        ->setText(LoadString("RC_OPTIONDLG_BOLD_IMPORTANTTASK"));
    AddCheckBox(IDC_OPTION_SHOW_TASKSTART, QStringLiteral("Show tasks on their start day"))
        ->setText(LoadString("RC_OPTIONDLG_SHOW_TASKSTART"));
    AddCheckBox(IDC_OPTION_SHOW_COMPLETETASK, QStringLiteral("Show completed tasks"))
        ->setText(LoadString("RC_OPTIONDLG_SHOW_COMPLETETASK"));
}

void COptionTaskPage::DoDataExchange(BOOL bSaveAndValidate)
{
    DDX_Check(IDC_OPTION_BOLD_IMPORTANTTASK, &m_bBoldImportantTask, bSaveAndValidate);
    DDX_Check(IDC_OPTION_SHOW_TASKSTART, &m_bShowTaskStart, bSaveAndValidate);
    DDX_Check(IDC_OPTION_SHOW_COMPLETETASK, &m_bShowCompleteTask, bSaveAndValidate);
}
