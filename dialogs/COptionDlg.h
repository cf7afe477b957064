#pragma once
// The options sheet: three pages of check boxes over the eight editable settings. The
// pages start from the settings record; Save copies the pages that were opened back into
// the record and writes all eight values to the registry, Cancel changes neither. The
// soft-key choice goes to the registry only: the running window keeps its bar until the
// next start.
#include "dialogs/CPropertySheet.h"

class COptionApptPage;
class COptionCommonPage;
class COptionTaskPage;
struct AgendaSettings;

class COptionDlg : public CPropertySheet {
    Q_OBJECT
public:
    // strCaption: the text of "RC_OPTIONDLG_TITLE". pSettings: the record to edit, which
    // must outlive the sheet. nSelectPage: the page shown first.
    COptionDlg(const QString& strCaption, AgendaSettings* pSettings, const StringTable* pStrings, QWidget* pParent,
               int nSelectPage = 0);
    ~COptionDlg() override;

    // 1 and 1201 save and end the sheet with IDOK; 2 and 1202 end it with IDCANCEL.
    BOOL OnCommand(int nId) override;

    COptionCommonPage* GetCommonPage() const { return m_pCommonPage; }
    COptionApptPage* GetApptPage() const { return m_pApptPage; }
    COptionTaskPage* GetTaskPage() const { return m_pTaskPage; }

protected:
    void OnInitDialog() override;

private:
    void Save();

    AgendaSettings* m_pSettings;
    COptionCommonPage* m_pCommonPage;
    COptionApptPage* m_pApptPage;
    COptionTaskPage* m_pTaskPage;
};
