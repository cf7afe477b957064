#include "tests/platform/RegistryFixture_helper.h"

#include "week/AgendaSettings.h"

#include <QRegularExpression>

#include <cstdlib>

namespace {

class AgendaSettingsTest : public RegistryFixture {
protected:
    void SetUp() override
    {
        RegistryFixture::SetUp();
        const char* saved = std::getenv("QUILLDAY_SHORTDATE");
        m_savedPattern = saved ? QByteArray(saved) : QByteArray();
        qputenv("QUILLDAY_SHORTDATE", "yyyy-MM-dd");
    }
    void TearDown() override
    {
        if (m_savedPattern.isNull())
            qunsetenv("QUILLDAY_SHORTDATE");
        else
            qputenv("QUILLDAY_SHORTDATE", m_savedPattern);
        RegistryFixture::TearDown();
    }
    // Value names in the order they stand in the file.
    QStringList ValueNames() const
    {
        static const QRegularExpression name(QStringLiteral("^\"([^\"]*)\"="), QRegularExpression::MultilineOption);
        QStringList names;
        auto it = name.globalMatch(QString::fromUtf8(RegistryText()));
        while (it.hasNext())
            names << it.next().captured(1);
        return names;
    }

    QByteArray m_savedPattern;
};

TEST_F(AgendaSettingsTest, FirstRunUsesEveryDefaultAndLeavesAnEmptyKey)
{
    AgendaSettings settings;
    settings.FontSize = 99;
    settings.ShowCompleteTask = 0;
    settings.Load();
    EXPECT_EQ(settings.NoDateText, QStringLiteral("4501-01-01"));
    EXPECT_EQ(settings.FontSize, 10);
    EXPECT_EQ(settings.FontName, QStringLiteral("mirafon"));
    EXPECT_EQ(settings.Use24Hour, 0);
    EXPECT_EQ(settings.Multiline, 0);
    EXPECT_EQ(settings.NotesPenDefault, 1);
    EXPECT_EQ(settings.UseSoftKey, 0);
    EXPECT_EQ(settings.BoldAllDayEvent, 0);
    EXPECT_EQ(settings.BoldImportantTask, 0);
    EXPECT_EQ(settings.ShowTaskStart, 0);
    EXPECT_EQ(settings.ShowCompleteTask, 1);
    EXPECT_EQ(RegistryText(), QByteArray("Windows Registry Editor Version 5.00\n\n"
                                         "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\n"));
}

TEST_F(AgendaSettingsTest, StoredValuesAreReadUnderTheirNames)
{
    WriteRegistry("\"FontSize\"=dword:0000000c\n\"FontName\"=\"NanumGothic\"\n\"24hour\"=dword:00000001\n"
                  "\"Multiline\"=dword:00000001\n\"NotesPenDefault\"=dword:00000000\n\"UseSoftKey\"=dword:00000001\n"
                  "\"BoldAllDayEvent\"=dword:00000001\n\"BoldImportantTask\"=dword:00000001\n"
                  "\"ShowTaskStart\"=dword:00000001\n\"ShowCompleteTask\"=dword:00000000\n");
    AgendaSettings settings;
    settings.Load();
    EXPECT_EQ(settings.FontSize, 12);
    EXPECT_EQ(settings.FontName, QStringLiteral("NanumGothic"));
    EXPECT_EQ(settings.Use24Hour, 1);
    EXPECT_EQ(settings.Multiline, 1);
    EXPECT_EQ(settings.NotesPenDefault, 0);
    EXPECT_EQ(settings.UseSoftKey, 1);
    EXPECT_EQ(settings.BoldAllDayEvent, 1);
    EXPECT_EQ(settings.BoldImportantTask, 1);
    EXPECT_EQ(settings.ShowTaskStart, 1);
    EXPECT_EQ(settings.ShowCompleteTask, 0);
}

TEST_F(AgendaSettingsTest, WrongLengthAndWrongTypeValues)
{
    WriteRegistry("\"FontSize\"=hex:0e,00,00,00,00\n"      // 5 bytes: the default
                  "\"24hour\"=\"1\"\n"                     // a 4-byte string: used as read
                  "\"Multiline\"=hex:01\n"                 // 1 byte: used as read
                  "\"ShowCompleteTask\"=\"no\"\n"          // 6 bytes: the default
                  "\"NotesPenDefault\"=hex(b):00,00,00,00,00,00,00,00\n");
    AgendaSettings settings;
    settings.Load();
    EXPECT_EQ(settings.FontSize, 10);
    EXPECT_EQ(settings.Use24Hour, 0x31);  // any non-zero value counts as on
    EXPECT_EQ(settings.Multiline, 1);
    EXPECT_EQ(settings.ShowCompleteTask, 1);
    EXPECT_EQ(settings.NotesPenDefault, 1);
}

TEST_F(AgendaSettingsTest, SaveWritesTheEightEditableValuesInOrder)
{
    AgendaSettings settings;
    settings.Load();
    settings.Use24Hour = 1;
    settings.ShowCompleteTask = 0;
    settings.Save();
    EXPECT_EQ(ValueNames(), (QStringList{"24hour", "Multiline", "NotesPenDefault", "UseSoftKey", "BoldAllDayEvent",
                                         "BoldImportantTask", "ShowTaskStart", "ShowCompleteTask"}));
    AgendaSettings reread;
    reread.Load();
    EXPECT_EQ(reread.Use24Hour, 1);
    EXPECT_EQ(reread.ShowCompleteTask, 0);
}

TEST_F(AgendaSettingsTest, HandEditedFontSurvivesASave)
{
    WriteRegistry("\"FontName\"=\"Hand Edited\"\n\"FontSize\"=dword:00000010\n");
    AgendaSettings settings;
    settings.Load();
    settings.FontName = QStringLiteral("changed in memory");
    settings.FontSize = 30;
    settings.Save();
    const QByteArray text = RegistryText();
    EXPECT_TRUE(text.contains("\"FontName\"=\"Hand Edited\"\n")) << text.constData();
    EXPECT_TRUE(text.contains("\"FontSize\"=dword:00000010\n")) << text.constData();
    AgendaSettings reread;
    reread.Load();
    EXPECT_EQ(reread.FontName, QStringLiteral("Hand Edited"));
    EXPECT_EQ(reread.FontSize, 16);
}

TEST_F(AgendaSettingsTest, UseSoftKeyChoiceIsWrittenWhileTheRecordKeepsItsValue)
{
    AgendaSettings settings;
    settings.Load();
    settings.Save(1);
    EXPECT_EQ(settings.UseSoftKey, 0);
    EXPECT_TRUE(RegistryText().contains("\"UseSoftKey\"=dword:00000001\n"));
}

TEST_F(AgendaSettingsTest, FontSizeThatCannotBeDrawnGivesTheDefault)
{
    const struct {
        const char* line;
        int expected;
    } cases[] = {
        {"\"FontSize\"=dword:00000000", 10},
        {"\"FontSize\"=dword:ffffffff", 10},
        {"\"FontSize\"=dword:00000100", 10},
        {"\"FontSize\"=dword:000000ff", 255},
        {"\"FontSize\"=dword:00000001", 1},
        {"\"FontSize\"=hex:0c", 12},
    };
    for (const auto& c : cases) {
        WriteRegistry(QByteArray(c.line) + "\n");
        AgendaSettings settings;
        settings.Load();
        EXPECT_EQ(settings.FontSize, c.expected) << c.line;
    }
}

struct NoDateCase {
    const char* pattern;
    const char* expected;
};

void PrintTo(const NoDateCase& c, std::ostream* os) { *os << c.pattern; }

class NoDateText : public ::testing::TestWithParam<NoDateCase> {};

TEST_P(NoDateText, PutsYear4501IntoTheShortDateOf2010)
{
    const QByteArray saved = qgetenv("QUILLDAY_SHORTDATE");
    qputenv("QUILLDAY_SHORTDATE", GetParam().pattern);
    const QString text = AgendaSettings::ComputeNoDateText();
    qputenv("QUILLDAY_SHORTDATE", saved);
    EXPECT_EQ(text, QString::fromUtf8(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(Patterns, NoDateText,
                         ::testing::Values(NoDateCase{"yyyy-MM-dd", "4501-01-01"}, NoDateCase{"M/d/yyyy", "1/1/4501"},
                                           NoDateCase{"M/d/yy", "1/1/4501"}, NoDateCase{"dd.MM.yy", "01.01.4501"},
                                           NoDateCase{"yy. M. d.", "4501. 1. 1."},
                                           NoDateCase{"yyyy/MM/dd", "4501/01/01"},
                                           NoDateCase{"dd/MM", "01/01"}));  // no year: stays

TEST(NoDateTextRule, FirstOccurrenceWins)
{
    EXPECT_EQ(AgendaSettings::MakeNoDateText(QStringLiteral("2010.10.10")), QStringLiteral("4501.10.10"));
    EXPECT_EQ(AgendaSettings::MakeNoDateText(QStringLiteral("10.10.10")), QStringLiteral("4501.10.10"));
    EXPECT_EQ(AgendaSettings::MakeNoDateText(QStringLiteral("01/01")), QStringLiteral("01/01"));
    EXPECT_EQ(AgendaSettings::MakeNoDateText(QString()), QString());
    // Locales that write their own digits (fa_IR, bn_BD) get the year in the same digits.
    EXPECT_EQ(AgendaSettings::MakeNoDateText(QString::fromUtf8("۲۰۱۰/۱/۱")), QString::fromUtf8("۴۵۰۱/۱/۱"));
    EXPECT_EQ(AgendaSettings::MakeNoDateText(QString::fromUtf8("১/১/১০")), QString::fromUtf8("১/১/৪৫০১"));
}

}  // namespace
