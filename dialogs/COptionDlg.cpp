#include "dialogs/COptionDlg.h"
#include "resources/UiLanguage.h"
#include "dialogs/COptionApptPage.h"
#include "dialogs/COptionCommonPage.h"
#include "dialogs/COptionTaskPage.h"
#include "dialogs/OptionIds.h"
#include "week/AgendaSettings.h"

COptionDlg::COptionDlg(const QString& strCaption, AgendaSettings* pSettings, const StringTable* pStrings,
                       QWidget* pParent, int nSelectPage)
    : CPropertySheet(strCaption, pStrings, pParent)
    , m_pSettings(pSettings)
    , m_pCommonPage(new COptionCommonPage(pStrings))
    , m_pApptPage(new COptionApptPage(pStrings))
    , m_pTaskPage(new COptionTaskPage(pStrings))
{
    m_pCommonPage->m_b24Hour = pSettings->Use24Hour;
    m_pCommonPage->m_bMultiline = pSettings->Multiline;
    m_pCommonPage->m_bNotesPenMode = pSettings->NotesPenDefault;
    m_pCommonPage->m_bUseSoftKey = pSettings->UseSoftKey;
    m_pCommonPage->m_dwLanguage = pSettings->Language;
    m_pApptPage->m_bBoldAllDayEvent = pSettings->BoldAllDayEvent;
    m_pTaskPage->m_bBoldImportantTask = pSettings->BoldImportantTask;
    m_pTaskPage->m_bShowTaskStart = pSettings->ShowTaskStart;
    m_pTaskPage->m_bShowCompleteTask = pSettings->ShowCompleteTask;
    AddPage(m_pCommonPage);
    AddPage(m_pApptPage);
    AddPage(m_pTaskPage);
    SetActivePage(nSelectPage);
}

COptionDlg::~COptionDlg() = default;

void COptionDlg::OnInitDialog()
{
    if (m_pSettings->UseSoftKey) {
        // Menu resource 224, its texts the resource's own.
        CreateSoftKeyBar({{UiText(QStringLiteral("저장"), QStringLiteral("Save")), ID_SHEET_OK}, {UiText(QStringLiteral("취소"), QStringLiteral("Cancel")), ID_SHEET_CANCEL}});
    } else {
        CreateToolBar({{0, LoadString("RC_OPTIONDLG_SAVE"), ID_SHEET_TOOL_OK},
                       {1, LoadString("RC_OPTIONDLG_CANCEL"), ID_SHEET_TOOL_CANCEL}});
    }
}

BOOL COptionDlg::OnCommand(int nId)
{
    switch (nId) {
    case ID_SHEET_OK:
    case ID_SHEET_TOOL_OK:
        Save();
        EndDialog(IDOK);
        return TRUE;
    case ID_SHEET_CANCEL:
    case ID_SHEET_TOOL_CANCEL:
        EndDialog(IDCANCEL);
        return TRUE;
    default:
        return CPropertySheet::OnCommand(nId);
    }
}

void COptionDlg::Save()
{
    // A page that was never opened has no controls to read: the record keeps its values.
    if (m_pCommonPage->UpdateData(TRUE)) {
        m_pSettings->Use24Hour = m_pCommonPage->m_b24Hour;
        m_pSettings->Multiline = m_pCommonPage->m_bMultiline;
        m_pSettings->NotesPenDefault = m_pCommonPage->m_bNotesPenMode;
        m_pSettings->Language = m_pCommonPage->m_dwLanguage;
    }
    if (m_pApptPage->UpdateData(TRUE))
        m_pSettings->BoldAllDayEvent = m_pApptPage->m_bBoldAllDayEvent;
    if (m_pTaskPage->UpdateData(TRUE)) {
        m_pSettings->BoldImportantTask = m_pTaskPage->m_bBoldImportantTask;
        m_pSettings->ShowTaskStart = m_pTaskPage->m_bShowTaskStart;
        m_pSettings->ShowCompleteTask = m_pTaskPage->m_bShowCompleteTask;
    }
    m_pSettings->Save(m_pCommonPage->m_bUseSoftKey);
}
