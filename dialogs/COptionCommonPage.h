#pragma once
// The options sheet's first page ("일반"): 24-hour times, several lines a row, notes
// opened in pen mode, the soft-key bar and the language (both take effect at the next
// start).
#include "dialogs/CPropertyPage.h"

class COptionCommonPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit COptionCommonPage(const StringTable* pStrings);

    BOOL m_b24Hour = 0;
    BOOL m_bMultiline = 0;
    BOOL m_bNotesPenMode = 1;
    BOOL m_bUseSoftKey = 0;
    DWORD m_dwLanguage = 0;  // the "Language" setting

protected:
    void OnInitDialog() override;
    void DoDataExchange(BOOL bSaveAndValidate) override;
};
