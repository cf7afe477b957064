#include "QtPrinters.h"
#include "TestFiles.h"
#include "calendar/AnniversaryFile.h"
#include "platform/ProgramFolder.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace {

struct Fields {
    int nYear, nMonth, nDay;
    BOOL bLunar;
    QString strName;
    COLORREF crColor;
};

void ExpectDay(const SpecialDay* pDay, const Fields& e)
{
    ASSERT_NE(pDay, nullptr);
    EXPECT_EQ(pDay->nYear, e.nYear);
    EXPECT_EQ(pDay->nMonth, e.nMonth);
    EXPECT_EQ(pDay->nDay, e.nDay);
    EXPECT_EQ(pDay->bLunar, e.bLunar);
    EXPECT_EQ(pDay->strName, e.strName);
    EXPECT_EQ(pDay->crColor, e.crColor);
}

// Scoped QUILLDAY_ACP for files in a given ANSI code page.
class ScopedCodePage {
public:
    explicit ScopedCodePage(const char* pszName) { qputenv("QUILLDAY_ACP", pszName); }
    ~ScopedCodePage() { qunsetenv("QUILLDAY_ACP"); }
};

}  // namespace

TEST(SpecialDayFile, ColourLines)
{
    struct Case {
        const char* pszLine;
        bool bColourLine;
        COLORREF crAfter;
    };
    const COLORREF crBefore = 0x123456;
    const Case cases[] = {
        {"[#00FF00]", true, 65280},
        {"[#FF0000]", true, 0x0000FF},
        {"[#0000ff]", true, 0xFF0000},
        {"[#00FF00]  \t", true, 65280},   // trailing white space ignored
        {"[x102030]", true, 0x302010},    // the second character is not examined
        {"[Holidays]", true, crBefore},   // other lengths change nothing
        {"[]", true, crBefore},
        {"[#00FF0]", true, crBefore},
        {" [#00FF00]", false, crBefore},  // must begin with the bracket
        {"[#00FF00", false, crBefore},
        {"#[#00FF00]", false, crBefore},
        {"[", false, crBefore},
    };
    for (const Case& c : cases) {
        COLORREF cr = crBefore;
        EXPECT_EQ(ReadColourLine(QString::fromUtf8(c.pszLine), &cr), c.bColourLine) << c.pszLine;
        EXPECT_EQ(cr, c.crAfter) << c.pszLine;
    }
}

TEST(SpecialDayFile, EntryLines)
{
    struct Case {
        const char* pszLine;
        Fields expected;
    };
    const Case cases[] = {
        {"2007-05-28 Birthday", {2007, 5, 28, FALSE, QStringLiteral("Birthday"), 7}},
        {"L0000-08-15 추석", {0, 8, 15, TRUE, QStringLiteral("추석"), 7}},
        {"l0000-01-01 x", {0, 0, 0, FALSE, QStringLiteral(" x"), 7}},  // lower-case l: solar
        {"0000/1 /2  Two  words ", {0, 1, 2, FALSE, QStringLiteral("Two  words "), 7}},
        {"   ", {0, 0, 0, FALSE, QString(), 7}},
        {"2007-05-28", {2007, 5, 28, FALSE, QString(), 7}},
        {"abcd-ef-gh name", {0, 0, 0, FALSE, QStringLiteral("name"), 7}},
        {"2007-5x-2z n", {2007, 5, 2, FALSE, QStringLiteral("n"), 7}},
    };
    for (const Case& c : cases) {
        std::unique_ptr<SpecialDay> pDay(ParseSpecialDayLine(QString::fromUtf8(c.pszLine), 7));
        ExpectDay(pDay.get(), c.expected);
    }
}

TEST(SpecialDayFile, LoadsEntriesWithTheirColours)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString text = QStringLiteral(
        "# comment\n"
        "0000-01-01 New year\n"
        "[#00FF00]\n"
        "\n"
        "  # not a comment\n"  // an entry whose name starts at column 12
        "[Holidays]\n"
        "L0000-08-15 추석\n"
        "[#FF0000]\n"
        "2007-05-28 Once\n");
    ASSERT_TRUE(WriteTestFile(dir.path(), QStringLiteral("anniversary.dat"), Utf16File(text)));
    SpecialDayList list;
    ASSERT_EQ(LoadSpecialDaysFrom(&list, dir.path()), TRUE);
    ASSERT_EQ(list.GetSize(), 4);
    ExpectDay(list.GetAt(0), {0, 1, 1, FALSE, QStringLiteral("New year"), 0});
    ExpectDay(list.GetAt(1), {0, 0, 0, FALSE, QStringLiteral("omment"), 65280});
    ExpectDay(list.GetAt(2), {0, 8, 15, TRUE, QStringLiteral("추석"), 65280});
    ExpectDay(list.GetAt(3), {2007, 5, 28, FALSE, QStringLiteral("Once"), 255});
    EXPECT_EQ(list.GetAt(4), nullptr);
}

TEST(SpecialDayFile, Utf16AndAnsiFilesGiveTheSameList)
{
    ScopedCodePage codePage("CP949");
    QTemporaryDir utf16Dir;
    QTemporaryDir ansiDir;
    const QString text = QStringLiteral("[#FF0000]\nL0000-01-01 설날\n0000-01-01 신정\n");
    ASSERT_TRUE(WriteTestFile(utf16Dir.path(), QStringLiteral("anniversary.dat"), Utf16File(text)));
    const QByteArray ansi("[#FF0000]\r\nL0000-01-01 \xbc\xb3\xb3\xaf\r\n0000-01-01 \xbd\xc5\xc1\xa4\r\n");
    ASSERT_TRUE(WriteTestFile(ansiDir.path(), QStringLiteral("anniversary.dat"), ansi));
    SpecialDayList fromUtf16;
    SpecialDayList fromAnsi;
    ASSERT_EQ(LoadSpecialDaysFrom(&fromUtf16, utf16Dir.path()), TRUE);
    ASSERT_EQ(LoadSpecialDaysFrom(&fromAnsi, ansiDir.path()), TRUE);
    ASSERT_EQ(fromUtf16.GetSize(), 2);
    ASSERT_EQ(fromAnsi.GetSize(), 2);
    for (int i = 0; i < 2; ++i) {
        const SpecialDay* p = fromUtf16.GetAt(i);
        ExpectDay(fromAnsi.GetAt(i), {p->nYear, p->nMonth, p->nDay, p->bLunar, p->strName, p->crColor});
    }
    EXPECT_EQ(fromAnsi.GetAt(0)->strName, QStringLiteral("설날"));
}

TEST(SpecialDayFile, ShippedCopyIsMovedIntoPlace)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteTestFile(dir.path(), QStringLiteral("_anniversary.dat"),
                              Utf16File(QStringLiteral("0000-01-01 신정\n"))));
    SpecialDayList list;
    ASSERT_EQ(LoadSpecialDaysFrom(&list, dir.path()), TRUE);
    EXPECT_EQ(list.GetSize(), 1);
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("anniversary.dat"))));
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("_anniversary.dat"))));
}

TEST(SpecialDayFile, ExistingFileWinsOverTheShippedCopy)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteTestFile(dir.path(), QStringLiteral("_anniversary.dat"), Utf16File(QStringLiteral("0000-01-01 a\n"))));
    ASSERT_TRUE(WriteTestFile(dir.path(), QStringLiteral("anniversary.dat"),
                              Utf16File(QStringLiteral("0000-01-01 b\n0000-01-02 c\n"))));
    SpecialDayList list;
    ASSERT_EQ(LoadSpecialDaysFrom(&list, dir.path()), TRUE);
    EXPECT_EQ(list.GetSize(), 2);
    EXPECT_TRUE(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("_anniversary.dat"))));
}

TEST(SpecialDayFile, NoFileIsAFailure)
{
    QTemporaryDir dir;
    SpecialDayList list;
    EXPECT_EQ(LoadSpecialDaysFrom(&list, dir.path()), FALSE);
    EXPECT_EQ(list.GetSize(), 0);
}

TEST(SpecialDayFile, ShippedFileHoldsTheKoreanHolidaysInRed)
{
    const QString folder = qEnvironmentVariable("QUILLDAY_TEST_DATA");
    ASSERT_FALSE(folder.isEmpty());
    SpecialDayList list;
    ASSERT_EQ(LoadSpecialDaysFrom(&list, folder), TRUE);
    struct Expected {
        int nMonth, nDay;
        BOOL bLunar;
        const char* pszName;
    };
    const Expected expected[] = {
        {1, 1, FALSE, "신정"},  {3, 1, FALSE, "삼일절"},  {5, 5, FALSE, "어린이날"},   {6, 6, FALSE, "현충일"},
        {8, 15, FALSE, "광복절"}, {10, 3, FALSE, "개천절"}, {10, 9, FALSE, "한글날"},    {12, 25, FALSE, "성탄절"},
        {1, 1, TRUE, "설날"},   {1, 2, TRUE, "설날 연휴"}, {4, 8, TRUE, "부처님오신날"}, {8, 14, TRUE, "추석 연휴"},
        {8, 15, TRUE, "추석"},  {8, 16, TRUE, "추석 연휴"},
    };
    ASSERT_EQ(list.GetSize(), static_cast<int>(std::size(expected)));
    for (int i = 0; i < list.GetSize(); ++i) {
        const Expected& e = expected[i];
        ExpectDay(list.GetAt(i), {0, e.nMonth, e.nDay, e.bLunar, QString::fromUtf8(e.pszName), RGB(255, 0, 0)});
    }
}

TEST(SpecialDayFile, ReadsFromTheProgramFolder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(WriteTestFile(dir.path(), QStringLiteral("anniversary.dat"), Utf16File(QStringLiteral("0000-01-01 a\n"))));
    SetProgramFolder(dir.path());
    SpecialDayList list;
    const BOOL bLoaded = LoadSpecialDays(&list);
    SetProgramFolder(QString());
    EXPECT_EQ(bLoaded, TRUE);
    EXPECT_EQ(list.GetSize(), 1);
}

TEST(SpecialDayFile, APersonsOwnFileStandsInForTheInstalledOne)
{
    QTemporaryDir dataHome;
    QTemporaryDir home;
    ASSERT_TRUE(QDir().mkpath(dataHome.filePath(QStringLiteral("quillday"))));
    ASSERT_TRUE(WriteTestFile(dataHome.filePath(QStringLiteral("quillday")), QStringLiteral("anniversary.dat"),
                              Utf16File(QStringLiteral("0000-05-05 mine\n0000-06-06 mine too\n"))));
    ASSERT_TRUE(WriteTestFile(home.path(), QStringLiteral("anniversary.dat"), Utf16File(QStringLiteral("0000-01-01 a\n"))));
    const QByteArray savedDataHome = qgetenv("XDG_DATA_HOME");
    const QByteArray savedHome = qgetenv("QUILLDAY_HOME");
    qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
    qunsetenv("QUILLDAY_HOME");
    EXPECT_EQ(UserSpecialDaysPath(), dataHome.filePath(QStringLiteral("quillday/anniversary.dat")));

    SpecialDayList own;  // the program's own folder: the person's file wins
    EXPECT_EQ(LoadSpecialDays(&own), TRUE);
    ASSERT_EQ(own.GetSize(), 2);
    EXPECT_EQ(own.GetAt(0)->strName, QStringLiteral("mine"));

    SetProgramFolder(home.path());  // --home names the data files
    SpecialDayList chosen;
    EXPECT_EQ(LoadSpecialDays(&chosen), TRUE);
    SetProgramFolder(QString());
    ASSERT_EQ(chosen.GetSize(), 1);
    EXPECT_EQ(chosen.GetAt(0)->strName, QStringLiteral("a"));

    qputenv("QUILLDAY_HOME", home.path().toLocal8Bit());  // so does QUILLDAY_HOME
    SpecialDayList fromVariable;
    EXPECT_EQ(LoadSpecialDays(&fromVariable), TRUE);
    EXPECT_EQ(fromVariable.GetSize(), 1);

    qputenv("XDG_DATA_HOME", savedDataHome);
    if (savedHome.isEmpty())
        qunsetenv("QUILLDAY_HOME");
    else
        qputenv("QUILLDAY_HOME", savedHome);
}
