#include "dialogs/COptionCommonPage.h"
#include "resources/UiLanguage.h"
#include "dialogs/OptionIds.h"
#include "week/AgendaSettings.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

COptionCommonPage::COptionCommonPage(const StringTable* pStrings)
    : CPropertyPage(UiText(QStringLiteral("일반"), QStringLiteral("General")), pStrings)
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
    // Each language by its own name.
    auto* pLanguage = new QComboBox(this);
    pLanguage->addItem(LoadString("RC_OPTIONDLG_LANGUAGE_AUTO"), kLanguageFromLocale);
    pLanguage->addItem(QStringLiteral("한국어"), kLanguageKorean);
    pLanguage->addItem(QStringLiteral("English"), kLanguageEnglish);
    SetDlgCtrlID(pLanguage, IDC_OPTION_LANGUAGE);
    GetLayout()->addWidget(new QLabel(LoadString("RC_OPTIONDLG_LANGUAGE"), this));
    GetLayout()->addWidget(pLanguage);
}

void COptionCommonPage::DoDataExchange(BOOL bSaveAndValidate)
{
    DDX_Check(IDC_OPTION_24HOUR, &m_b24Hour, bSaveAndValidate);
    DDX_Check(IDC_OPTION_MULTILINE, &m_bMultiline, bSaveAndValidate);
    DDX_Check(IDC_OPTION_NOTES_PENMODE, &m_bNotesPenMode, bSaveAndValidate);
    DDX_Check(IDC_OPTION_USE_SOFTKEY, &m_bUseSoftKey, bSaveAndValidate);
    if (auto* pLanguage = qobject_cast<QComboBox*>(GetDlgItem(IDC_OPTION_LANGUAGE))) {
        if (bSaveAndValidate)
            m_dwLanguage = pLanguage->currentData().toUInt();
        else
            pLanguage->setCurrentIndex(std::max(0, pLanguage->findData(m_dwLanguage)));
    }
}
