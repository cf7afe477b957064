#include "resources/UiLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

namespace {

QString g_strUiLanguage = QStringLiteral("ko");
QString g_strUiLanguageOption;

// Qt's translation of its own texts for the language, replacing the one installed before.
void InstallQtTranslation(const QString& strCode)
{
    static QTranslator* pTranslator = nullptr;
    if (QCoreApplication::instance() == nullptr)
        return;
    if (pTranslator != nullptr) {
        QCoreApplication::removeTranslator(pTranslator);
        delete pTranslator;
        pTranslator = nullptr;
    }
    auto* pNew = new QTranslator(QCoreApplication::instance());
    if (pNew->load(QStringLiteral("qtbase_") + strCode, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(pNew);
        pTranslator = pNew;
    } else {
        delete pNew;
    }
}

// The language part of a locale or language name: "ko_KR.UTF-8" is "ko".
QString LanguagePart(const QString& strName)
{
    const QString strCode = strName.trimmed().section(QRegularExpression(QStringLiteral("[_.@-]")), 0, 0).toLower();
    if (strCode.isEmpty() || strCode == QLatin1String("c") || strCode == QLatin1String("posix"))
        return QStringLiteral("en");
    // Only letters make a language code; anything else could name another file.
    static const QRegularExpression letters(QStringLiteral("^[a-z]{2,8}$"));
    return letters.match(strCode).hasMatch() ? strCode : QStringLiteral("en");
}

}  // namespace

QString ChooseUiLanguage(const QString& strOption, const QString& strSetting)
{
    if (!strOption.trimmed().isEmpty())
        return LanguagePart(strOption);
    if (!strSetting.trimmed().isEmpty())
        return LanguagePart(strSetting);
    for (const char* pszName : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const QString strValue = qEnvironmentVariable(pszName);
        if (!strValue.isEmpty())
            return LanguagePart(strValue);
    }
    return QStringLiteral("en");
}

void SetUiLanguage(const QString& strCode)
{
    g_strUiLanguage = strCode;
    InstallQtTranslation(strCode);
}

void SetUiLanguageOption(const QString& strOption)
{
    g_strUiLanguageOption = strOption;
}

void ApplyUiLanguage(const QString& strSetting)
{
    SetUiLanguage(ChooseUiLanguage(g_strUiLanguageOption, strSetting));
}

QString UiLanguage()
{
    return g_strUiLanguage;
}

QString StringsFileName(const QString& strCode)
{
    return strCode == QLatin1String("ko") ? QStringLiteral("orlith.inf") : QStringLiteral("orlith.%1.inf").arg(strCode);
}

QString UiText(const QString& strKorean, const QString& strEnglish)
{
    return g_strUiLanguage == QLatin1String("ko") ? strKorean : strEnglish;
}
