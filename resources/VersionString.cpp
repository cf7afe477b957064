#include "resources/VersionString.h"
#include "platform/VersionInfo.h"
#include <QByteArray>

namespace {

constexpr UINT kTranslationBytes = 4;

WORD ReadWord(const char* p)
{
    return static_cast<WORD>(static_cast<unsigned char>(p[0]) | (static_cast<unsigned char>(p[1]) << 8));
}

}  // namespace

QString VersionStringQuery(uint16_t wLanguage, uint16_t wCodePage, const QString& strName)
{
    return QStringLiteral("\\StringFileInfo\\%1%2\\%3")
        .arg(QString::number(wLanguage, 16).toUpper().rightJustified(4, QLatin1Char('0')),
             QString::number(wCodePage, 16).toUpper().rightJustified(4, QLatin1Char('0')), strName);
}

BOOL GetVersionString(const QString& strPath, const QString& strName, QString* pValue)
{
    pValue->clear();
    const DWORD dwSize = GetFileVersionInfoSizeW(strPath);
    if (dwSize == 0)
        return FALSE;
    QByteArray block;
    if (!GetFileVersionInfoW(strPath, dwSize, &block))
        return FALSE;
    const char* pTranslation = nullptr;
    UINT uLen = 0;
    if (!VerQueryValueW(block, QStringLiteral("\\VarFileInfo\\Translation"), &pTranslation, &uLen)
        || uLen < kTranslationBytes)
        return FALSE;
    // The first entry: language in the low half, code page in the high half.
    const WORD wLanguage = ReadWord(pTranslation);
    const WORD wCodePage = ReadWord(pTranslation + 2);
    const char* pText = nullptr;
    UINT uChars = 0;
    if (VerQueryValueW(block, VersionStringQuery(wLanguage, wCodePage, strName), &pText, &uChars)) {
        for (UINT i = 0; i < uChars; ++i) {
            const WORD unit = ReadWord(pText + 2 * i);
            if (unit == 0)
                break;
            pValue->append(QChar(unit));
        }
    }
    return TRUE;
}
