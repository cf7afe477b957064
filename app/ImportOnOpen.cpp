#include "app/ImportOnOpen.h"
#include "pim/CICalImporter.h"
#include "pim/IPOutlookApp.h"
#include "platform/MessageBox.h"
#include "resources/StringTable.h"
#include <QDir>

BOOL AskAndImportFile(const QString& strPath, const StringTable& strings, IPOutlookApp* pApp)
{
    const QString strCaption = GetResourceString(strings, QStringLiteral("RC_COMMON_PRODUCT_TITLE"));
    const QString strFile = QDir::toNativeSeparators(strPath);
    const QString strQuestion = GetResourceString(strings, QStringLiteral("RC_COMMON_CONFIRM_IMPORT"));
    if (MessageBox(strQuestion + QStringLiteral("\n\n") + strFile, strCaption, MB_YESNO | MB_ICONQUESTION) != IDYES)
        return FALSE;
    QString strError;
    if (pApp == nullptr) {
        strError = QStringLiteral("no store");
    } else {
        CICalImporter importer(pApp->GetStore());
        if (importer.ImportFile(strPath, &strError))
            return TRUE;
    }
    const QString strFailed = GetResourceString(strings, QStringLiteral("RC_COMMON_IMPORT_FAILED"));
    MessageBox(strFailed + QStringLiteral("\n\n") + strFile + QStringLiteral("\n") + strError, strCaption,
               MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}
