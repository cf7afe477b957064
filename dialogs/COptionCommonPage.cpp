#include "dialogs/COptionCommonPage.h"
#include "dialogs/OptionIds.h"
#include <QCheckBox>

COptionCommonPage::COptionCommonPage(const StringTable* pStrings)
    : CPropertyPage(QStringLiteral("일반"), pStrings)
{
}

void COptionCommonPage::OnInitDialog()
{
    AddCheckBox(IDC_OPTION_24HOUR, QStringLiteral("24-hour clock"))->setText(LoadString("RC_OPTIONDLG_24HOUR"));
    AddCheckBox(IDC_OPTION_MULTILINE, QStringLiteral("Multiline"))->setText(LoadString("RC_OPTIONDLG_MULTILINE"));
    AddCheckBox(IDC_OPTION_NOTES_PENMODE, QStringLiteral("Notes in pen mode"))
        ->setText(LoadString("RC_OPTIONDLG_NOTES_PENMODE"));
    AddCheckBox(IDC_OPTION_USE_SOFTKEY, QStringLiteral("Use soft key menu (restart)"))
        ->setText(LoadString("RC_OPTIONDLG_USE_SOFTKEY"));
}

void COptionCommonPage::DoDataExchange(BOOL bSaveAndValidate)
{
    DDX_Check(IDC_OPTION_24HOUR, &m_b24Hour, bSaveAndValidate);
    DDX_Check(IDC_OPTION_MULTILINE, &m_bMultiline, bSaveAndValidate);
    DDX_Check(IDC_OPTION_NOTES_PENMODE, &m_bNotesPenMode, bSaveAndValidate);
    DDX_Check(IDC_OPTION_USE_SOFTKEY, &m_bUseSoftKey, bSaveAndValidate);
}
