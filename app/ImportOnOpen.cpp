#include "app/ImportOnOpen.h"
#include "ical/CICalImporter.h"
#include "pim/IPOutlookApp.h"
#include "platform/MessageBox.h"
#include "resources/StringTable.h"
#include <QDir>

namespace {

// Skipped items and dropped values shown at most; the rest is counted.
constexpr int kListedLines = 12;

// After an import that left something out: what, in the importer's words.
void TellWhatWasLeftOut(const CICalImporter& importer, const QString& strFile, const QString& strCaption,
                        const StringTable& strings)
{
    const QStringList lines = importer.LeftOut();
    if (lines.isEmpty())
        return;
    QString strText = GetResourceString(strings, QStringLiteral("RC_COMMON_IMPORT_INCOMPLETE")) + QStringLiteral("\n\n")
                    + strFile + QStringLiteral("\n") + importer.CountsLine();
    for (qsizetype i = 0; i < lines.size() && i < kListedLines; ++i)
        strText += QStringLiteral("\n") + lines[i];
    if (lines.size() > kListedLines)
        strText += QStringLiteral("\n(%1 more)").arg(lines.size() - kListedLines);
    MessageBox(strText, strCaption, MB_OK | MB_ICONINFORMATION);
}

}  // namespace

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
        if (importer.ImportFile(strPath, &strError)) {
            TellWhatWasLeftOut(importer, strFile, strCaption, strings);
            return TRUE;
        }
    }
    const QString strFailed = GetResourceString(strings, QStringLiteral("RC_COMMON_IMPORT_FAILED"));
    MessageBox(strFailed + QStringLiteral("\n\n") + strFile + QStringLiteral("\n") + strError, strCaption,
               MB_OK | MB_ICONEXCLAMATION);
    return FALSE;
}
