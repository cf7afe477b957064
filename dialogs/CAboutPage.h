#pragma once
// The about sheet's page: the program icon, the product title, the product version read
// from the version block of the running executable, and four lines about the program.
#include "dialogs/CPropertyPage.h"

class CAboutPage : public CPropertyPage {
    Q_OBJECT
public:
    explicit CAboutPage(const StringTable* pStrings);

    // The file whose version is shown; the running executable unless set before the
    // page opens.
    void SetModulePath(const QString& strPath) { m_strModulePath = strPath; }

protected:
    void OnInitDialog() override;
    void DoDataExchange(BOOL) override {}

private:
    QString m_strModulePath;
};
