#include "dialogs/CAboutDlg.h"
#include "dialogs/CAboutPage.h"
#include "dialogs/OptionIds.h"
#include "week/AgendaSettings.h"

CAboutDlg::CAboutDlg(const QString& strCaption, const AgendaSettings* pSettings, const StringTable* pStrings,
                     QWidget* pParent)
    : CPropertySheet(strCaption, pStrings, pParent)
    , m_bUseSoftKey(pSettings->UseSoftKey)
    , m_pPage(new CAboutPage(pStrings))
{
    AddPage(m_pPage);
}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::OnInitDialog()
{
    if (m_bUseSoftKey)
        CreateSoftKeyBar({{QStringLiteral("닫기"), ID_SHEET_OK}});  // menu resource 233
    else
        CreateToolBar({{0, LoadString("RC_ABOUTDLG_CLOSE"), ID_SHEET_TOOL_OK}});
}

BOOL CAboutDlg::OnCommand(int nId)
{
    if (nId == ID_SHEET_OK || nId == ID_SHEET_TOOL_OK) {
        EndDialog(IDOK);
        return TRUE;
    }
    return CPropertySheet::OnCommand(nId);
}
