#include "QtPrinters.h"
#include "TestFiles.h"
#include "calendar/AnniversaryFile.h"
#include "calendar/CAnniversaryLines.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Comments, a bracketed title, colour lines, an unreadable entry line, a line with a
// lone LF and a last line without a line end: all must come back as they were.
const QByteArray kFixture = Utf16File(QStringLiteral(
                                          "# my days\n"
                                          "[Holidays]\n"
                                          "0000-01-01 New year\n"
                                          "\n"
                                          "# red ones\n"
                                          "[#FF0000]\n"
                                          "L0000-08-15 Chuseok\n"
                                          "0000-13-40 Bad month\n"
                                          "[#0000FF]\n"
                                          "#0000-03-14 commented\n"
                                          "2009-05-16 Moving day"))
                                .replace(QByteArray("\r\0\n\0#\0 \0r\0", 10), QByteArray("\n\0#\0 \0r\0", 8));

CAnniversaryLines LoadedFixture()
{
    CAnniversaryLines file;
    EXPECT_TRUE(file.LoadUtf16(kFixture));
    return file;
}

AnniversaryFields Day(const char* pszName, int nYear, int nMonth, int nDay, bool bLunar = false, bool bLeap = false)
{
    return AnniversaryFields{QString::fromUtf8(pszName), nYear, nMonth, nDay, bLunar, bLeap};
}

}  // namespace

TEST(AnniversaryLines, UntouchedFileComesBackByteForByte)
{
    const CAnniversaryLines file = LoadedFixture();
    EXPECT_EQ(file.ToBytes(), kFixture);
    ASSERT_EQ(file.GetDayCount(), 3);  // the month-13 line is not one of them
    EXPECT_EQ(file.GetDay(1), Day("Chuseok", 0, 8, 15, true));
    EXPECT_EQ(file.GetDayGroup(0), 0);
    EXPECT_EQ(file.GetDayGroup(1), 1);
    EXPECT_EQ(file.GetDayGroup(2), 2);
    EXPECT_EQ(file.GetGroupColours(), (QList<COLORREF>{0, 0x0000FF, 0xFF0000}));
}

TEST(AnniversaryLines, EditsChangeOnlyTheirOwnLines)
{
    struct Case {
        const char* pszWhat;
        std::function<SpecialDayProblem(CAnniversaryLines*)> edit;
        QStringList expectedLines;
    };
    const QStringList before = LoadedFixture().Lines();
    auto with = [&before](int nAt, int nRemove, const QStringList& inserted) {
        QStringList lines = before;
        lines.remove(nAt, nRemove);
        for (int i = 0; i < inserted.size(); ++i)
            lines.insert(nAt + i, inserted[i]);
        return lines;
    };
    const Case cases[] = {
        {"add to the first group: after its last day",
         [](CAnniversaryLines* p) { return p->AddDay(Day("Mine", 0, 3, 14), 0); }, with(3, 0, {"0000-03-14 Mine"})},
        {"add a leap-month lunar day to the red group: after the unreadable line",
         [](CAnniversaryLines* p) { return p->AddDay(Day("Grandma", 0, 4, 15, true, true), 1); },
         with(8, 0, {"L0000-04L15 Grandma"})},
        {"add to the blue group: after its last day",
         [](CAnniversaryLines* p) { return p->AddDay(Day("One year", 2024, 2, 29), 2); },
         with(11, 0, {"2024-02-29 One year"})},
        {"change in place",
         [](CAnniversaryLines* p) { return p->ChangeDay(1, Day("Harvest", 2007, 8, 15, true), 1); },
         with(6, 1, {"L2007-08-15 Harvest"})},
        {"change the group: the line moves",
         [](CAnniversaryLines* p) { return p->ChangeDay(0, Day("New year", 0, 1, 1), 1); },
         with(2, 1, {}).mid(0, 7) + QStringList{"0000-01-01 New year"} + with(2, 1, {}).mid(7)},
        {"delete",
         [](CAnniversaryLines* p) { return p->DeleteDay(2) ? SpecialDayProblem::None : SpecialDayProblem::EmptyName; },
         with(10, 1, {})},
    };
    for (const Case& c : cases) {
        CAnniversaryLines file = LoadedFixture();
        EXPECT_EQ(c.edit(&file), SpecialDayProblem::None) << c.pszWhat;
        EXPECT_EQ(file.Lines(), c.expectedLines) << c.pszWhat;
        // Reading the written bytes gives the same lines; untouched lines keep their bytes.
        CAnniversaryLines reread;
        ASSERT_TRUE(reread.LoadUtf16(file.ToBytes())) << c.pszWhat;
        EXPECT_EQ(reread.Lines(), c.expectedLines) << c.pszWhat;
        EXPECT_TRUE(file.ToBytes().contains(QByteArray("\n\0\n\0#\0 \0r\0", 10))) << c.pszWhat;
    }
}

TEST(AnniversaryLines, BadDaysAreRefusedAndNothingChanges)
{
    struct Case {
        AnniversaryFields day;
        SpecialDayProblem expected;
    };
    const Case cases[] = {
        {Day("  ", 0, 1, 1), SpecialDayProblem::EmptyName},
        {Day("x", 0, 2, 30), SpecialDayProblem::NoSuchDay},
        {Day("x", 2007, 2, 29), SpecialDayProblem::NoSuchDay},
        {Day("x", 0, 13, 1), SpecialDayProblem::NoSuchDay},
        {Day("x", 2007, 1, 30, true), SpecialDayProblem::NoSuchLunarDay},  // a 29-day month
        {Day("x", 0, 1, 31, true), SpecialDayProblem::NoSuchLunarDay},
        {Day("x", 2007, 7, 1, true, true), SpecialDayProblem::NoLeapMonth},
        {Day("x", 1800, 1, 1, true), SpecialDayProblem::BadYear},
        {Day(QByteArray(250, 'x').constData(), 0, 1, 1), SpecialDayProblem::NameTooLong},
    };
    for (const Case& c : cases) {
        CAnniversaryLines file = LoadedFixture();
        EXPECT_EQ(file.AddDay(c.day, 0), c.expected) << FormatSpecialDayLine(c.day).left(30).toStdString();
        EXPECT_EQ(file.ChangeDay(0, c.day, 0), c.expected) << FormatSpecialDayLine(c.day).left(30).toStdString();
        EXPECT_EQ(file.ToBytes(), kFixture);
    }
    // What the checks let through: a yearly leap month, a leap month of its year.
    EXPECT_EQ(CheckSpecialDay(Day("x", 0, 7, 30, true, true)), SpecialDayProblem::None);
    EXPECT_EQ(CheckSpecialDay(Day("x", 2006, 7, 29, true, true)), SpecialDayProblem::None);
    EXPECT_EQ(CheckSpecialDay(Day("x", 2024, 2, 29)), SpecialDayProblem::None);
}

TEST(AnniversaryLines, PersonalFileStartsAsACopyAndIsWrittenInPlace)
{
    QTemporaryDir program, home;
    ASSERT_TRUE(WriteTestFile(program.path(), "anniversary.dat", kFixture));
    const QString strProgramFile = program.filePath("anniversary.dat");
    const QString strPersonal = home.filePath("quillday/anniversary.dat");
    QString strError;
    ASSERT_TRUE(CAnniversaryLines::StartFrom(strProgramFile, strPersonal, &strError)) << strError.toStdString();
    CAnniversaryLines file;
    ASSERT_TRUE(file.Load(strPersonal));
    ASSERT_EQ(file.AddDay(Day("Grandma", 0, 4, 15, true, true), 2), SpecialDayProblem::None);
    ASSERT_TRUE(file.Save(strPersonal, &strError)) << strError.toStdString();

    QFile programFile(strProgramFile);
    ASSERT_TRUE(programFile.open(QIODevice::ReadOnly));
    EXPECT_EQ(programFile.readAll(), kFixture);
    EXPECT_EQ(QDir(home.filePath("quillday")).entryList(QDir::Files), QStringList{"anniversary.dat"});
    // A second start keeps the person's file.
    ASSERT_TRUE(CAnniversaryLines::StartFrom(strProgramFile, strPersonal, &strError));
    SpecialDayList list;
    ASSERT_TRUE(LoadSpecialDaysFrom(&list, home.filePath("quillday")));
    const SpecialDay* pLast = list.GetAt(list.GetSize() - 1);
    ASSERT_NE(pLast, nullptr);
    EXPECT_EQ(pLast->strName, QStringLiteral("Grandma"));
    EXPECT_EQ(pLast->bLeapMonth, TRUE);
    EXPECT_EQ(pLast->crColor, COLORREF(0xFF0000));
}
