#pragma once
// The about sheet: one page with the product's title and version, and one command that
// closes it (the tool bar's Close, or the soft key "닫기").
#include "dialogs/CPropertySheet.h"

class CAboutPage;
struct AgendaSettings;

class CAboutDlg : public CPropertySheet {
    Q_OBJECT
public:
    // strCaption: the text of "RC_ABOUTDLG_TITLE".
    CAboutDlg(const QString& strCaption, const AgendaSettings* pSettings, const StringTable* pStrings,
              QWidget* pParent);
    ~CAboutDlg() override;

    // 1 and 1201 end the sheet with IDOK; 2 (Escape) with IDCANCEL.
    BOOL OnCommand(int nId) override;

    CAboutPage* GetAboutPage() const { return m_pPage; }

protected:
    void OnInitDialog() override;

private:
    BOOL m_bUseSoftKey;
    CAboutPage* m_pPage;
};
