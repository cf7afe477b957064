// The language of the texts: chosen from the option, the setting or the locale, and every
// text of the Korean strings file given in English too.
#include "resources/StringTable.h"
#include "resources/UiLanguage.h"
#include <QDir>
#include <QHash>
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

// Sets the locale variables for one case and puts them back afterwards.
class LocaleVariables {
public:
    LocaleVariables(const char* pszLcAll, const char* pszLcMessages, const char* pszLang)
    {
        Set("LC_ALL", pszLcAll);
        Set("LC_MESSAGES", pszLcMessages);
        Set("LANG", pszLang);
    }
    ~LocaleVariables()
    {
        for (auto it = m_saved.cbegin(); it != m_saved.cend(); ++it) {
            if (it.value().isNull())
                qunsetenv(it.key().constData());
            else
                qputenv(it.key().constData(), it.value());
        }
    }

private:
    void Set(const char* pszName, const char* pszValue)
    {
        m_saved.insert(pszName, qEnvironmentVariableIsSet(pszName) ? qgetenv(pszName) : QByteArray());
        if (pszValue)
            qputenv(pszName, pszValue);
        else
            qunsetenv(pszName);
    }
    QHash<QByteArray, QByteArray> m_saved;
};

struct ChoiceCase {
    const char* pszOption;
    const char* pszSetting;
    const char* pszLcAll;
    const char* pszLcMessages;
    const char* pszLang;
    const char* pszExpected;
};

TEST(UiLanguage, OptionThenSettingThenLocale)
{
    const ChoiceCase cases[] = {
        {"", "", nullptr, nullptr, "ko_KR.UTF-8", "ko"},
        {"", "", nullptr, nullptr, "en_US.UTF-8", "en"},
        {"", "", nullptr, "ko_KR.UTF-8", "en_US.UTF-8", "ko"},    // LC_MESSAGES before LANG
        {"", "", "en_GB.UTF-8", "ko_KR.UTF-8", "ko_KR.UTF-8", "en"},  // LC_ALL before both
        {"", "", "", "", "ko_KR", "ko"},                          // empty variables are not set
        {"", "", nullptr, nullptr, "C.UTF-8", "en"},
        {"", "", nullptr, nullptr, "POSIX", "en"},
        {"", "", nullptr, nullptr, nullptr, "en"},
        {"", "", nullptr, nullptr, "de_DE@euro", "de"},
        {"", "ko", nullptr, nullptr, "en_US.UTF-8", "ko"},       // the setting before the locale
        {"en", "ko", nullptr, nullptr, "ko_KR.UTF-8", "en"},     // the option before both
        {"KO", "", nullptr, nullptr, "en_US", "ko"},
        {"../../etc/x", "", nullptr, nullptr, "ko_KR", "en"},    // no file name from a code
    };
    for (const ChoiceCase& c : cases) {
        LocaleVariables locale(c.pszLcAll, c.pszLcMessages, c.pszLang);
        EXPECT_EQ(ChooseUiLanguage(QString::fromLatin1(c.pszOption), QString::fromLatin1(c.pszSetting)),
                  QString::fromLatin1(c.pszExpected))
            << c.pszOption << "|" << c.pszSetting << "|" << (c.pszLang ? c.pszLang : "(unset)");
    }
}

TEST(UiLanguage, StringsFileOfEachLanguage)
{
    EXPECT_EQ(StringsFileName(QStringLiteral("ko")), QStringLiteral("orlith.inf"));
    EXPECT_EQ(StringsFileName(QStringLiteral("en")), QStringLiteral("orlith.en.inf"));
    EXPECT_EQ(StringsFileName(QStringLiteral("fr")), QStringLiteral("orlith.fr.inf"));
}

StringTable LoadDataFile(const char* pszName)
{
    StringTable table;
    EXPECT_TRUE(LoadResourceStringsFrom(&table, QDir(qEnvironmentVariable("QUILLDAY_TEST_DATA")).filePath(QLatin1String(pszName))));
    return table;
}

TEST(UiLanguage, EveryKoreanTextHasAnEnglishOne)
{
    const StringTable korean = LoadDataFile("orlith.inf");
    const StringTable english = LoadDataFile("orlith.en.inf");
    ASSERT_GT(korean.GetCount(), 0);
    for (const QString& key : korean.Keys()) {
        QString strText;
        EXPECT_TRUE(english.Lookup(key, &strText) && !strText.trimmed().isEmpty()) << qPrintable(key);
    }
}

TEST(UiLanguage, FixedTextsFollowTheLanguage)
{
    SetUiLanguage(QStringLiteral("en"));
    EXPECT_EQ(UiText(QStringLiteral("저장"), QStringLiteral("Save")), QStringLiteral("Save"));
    SetUiLanguage(QStringLiteral("ko"));
    EXPECT_EQ(UiText(QStringLiteral("저장"), QStringLiteral("Save")), QStringLiteral("저장"));
}

}  // namespace
