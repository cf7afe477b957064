#include "platform/ProgramFolder.h"
#include "resources/StringTable.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* pOut)
{
    *pOut << '"' << text.toStdString() << '"';
}

namespace {

QByteArray Utf16WithBom(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    for (QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes;
}

QString WriteFile(const QTemporaryDir& dir, const QByteArray& bytes)
{
    const QString path = QDir(dir.path()).filePath(QStringLiteral("orlith.inf"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

StringTable TableOf(const char* pszLines)
{
    StringTable table;
    for (const QString& line : QString::fromUtf8(pszLines).split(QLatin1Char('\n')))
        ReadResourceLine(&table, line);
    return table;
}

}  // namespace

TEST(StringTable, LineRules)
{
    const StringTable table = TableOf(
        "# RC_COMMENT=no\n"
        "RC_A = one = two\n"
        "  #RC_B=indented number sign\n"
        "RC_C\t=\t value with blanks \t\n"
        "RC_NOEQUALS text\n"
        "RC_D=line\\nbreak\n"
        "RC_E=first\n"
        "RC_E=second\n"
        "RC_F=\n"
        "=empty key\n"
        "\u3000RC_G\u3000=\u3000ideographic\u3000\n"
        "RC_H=\u00a0kept\u00a0\n");
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_A")), QStringLiteral("one = two"));
    EXPECT_EQ(GetResourceString(table, QStringLiteral("#RC_B")), QStringLiteral("indented number sign"));
    EXPECT_EQ(GetResourceString(table, QStringLiteral("# RC_COMMENT")), QString());
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_C")), QStringLiteral("value with blanks"));
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_NOEQUALS text")), QString());
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_D")), QStringLiteral("line\\nbreak"));
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_E")), QStringLiteral("second"));
    EXPECT_EQ(GetResourceString(table, QStringLiteral("")), QStringLiteral("empty key"));
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_G")), QStringLiteral("ideographic"));
    // No-break spaces are not white space to iswspace.
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_H")), QStringLiteral("\u00a0kept\u00a0"));
    QString value = QStringLiteral("x");
    EXPECT_EQ(table.Lookup(QStringLiteral("RC_F"), &value), TRUE);
    EXPECT_EQ(value, QString());
    EXPECT_EQ(table.GetCount(), 9);
}

TEST(StringTable, KeysMatchExactly)
{
    const StringTable table = TableOf("RC_COMMON_PRODUCT_TITLE=Quillday\nRC_COMMON_FEBRUARY=Feb\n");
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_COMMON_PRODUCT_TITLE")), QStringLiteral("Quillday"));
    EXPECT_EQ(GetResourceString(table, QStringLiteral("rc_common_product_title")), QString());
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_MISSING")), QString());
    // February is looked up under its own spelling only.
    EXPECT_EQ(GetMonthName(table, 2), QString());
}

TEST(StringTable, MonthAndWeekdayNames)
{
    const StringTable table = TableOf(
        "RC_COMMON_JANUARY=Jan\nRC_COMMON_FEBURARY=Feb\nRC_COMMON_DECEMBER=Dec\n"
        "RC_COMMON_MONDAY=Monday\nRC_COMMON_MONDAY_SHORT=Mo\nRC_COMMON_SUNDAY_SHORT=Su\n"
        "RC_COMMON_JANUARY_SHORT=J\n");
    EXPECT_EQ(GetMonthName(table, 1), QStringLiteral("Jan"));
    EXPECT_EQ(GetMonthName(table, 2), QStringLiteral("Feb"));
    EXPECT_EQ(GetMonthName(table, 12), QStringLiteral("Dec"));
    EXPECT_EQ(GetMonthName(table, 0), QString());
    EXPECT_EQ(GetMonthName(table, 13), QString());
    EXPECT_EQ(GetWeekdayShortName(table, 1), QStringLiteral("Mo"));
    EXPECT_EQ(GetWeekdayShortName(table, 7), QStringLiteral("Su"));
    EXPECT_EQ(GetWeekdayShortName(table, 2), QString());
    EXPECT_EQ(GetWeekdayShortName(table, 0), QString());
    EXPECT_EQ(GetWeekdayShortName(table, 8), QString());
}

TEST(StringTable, Utf16AndAnsiFilesLoadTheSameEntries)
{
    QTemporaryDir utf16Dir;
    QTemporaryDir ansiDir;
    const QString text = QStringLiteral("# comment\r\nRC_A=설날\r\nRC_B = x=y \r\n\r\nRC_A2=end");
    qputenv("QUILLDAY_ACP", "UTF-8");
    StringTable fromUtf16;
    StringTable fromAnsi;
    EXPECT_EQ(LoadResourceStringsFrom(&fromUtf16, WriteFile(utf16Dir, Utf16WithBom(text))), TRUE);
    EXPECT_EQ(LoadResourceStringsFrom(&fromAnsi, WriteFile(ansiDir, text.toUtf8())), TRUE);
    qunsetenv("QUILLDAY_ACP");
    for (const StringTable* pTable : {&fromUtf16, &fromAnsi}) {
        EXPECT_EQ(pTable->GetCount(), 3);
        EXPECT_EQ(GetResourceString(*pTable, QStringLiteral("RC_A")), QStringLiteral("설날"));
        EXPECT_EQ(GetResourceString(*pTable, QStringLiteral("RC_B")), QStringLiteral("x=y"));
        EXPECT_EQ(GetResourceString(*pTable, QStringLiteral("RC_A2")), QStringLiteral("end"));
    }
}

TEST(StringTable, LongLinesAreReadInPiecesOf254Units)
{
    QTemporaryDir dir;
    // 300 characters: the first 254 form one line, the remaining 46 another.
    const QString first = QStringLiteral("RC_LONG=") + QString(246, QLatin1Char('a'));
    const QString second = QStringLiteral("RC_REST=") + QString(38, QLatin1Char('b'));
    ASSERT_EQ(first.size() + second.size(), 300);
    StringTable table;
    ASSERT_EQ(LoadResourceStringsFrom(&table, WriteFile(dir, Utf16WithBom(first + second + QStringLiteral("\r\n")))), TRUE);
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_LONG")), QString(246, QLatin1Char('a')));
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_REST")), QString(38, QLatin1Char('b')));
    EXPECT_EQ(table.GetCount(), 2);
}

TEST(StringTable, MissingFileFailsAndLeavesTheTable)
{
    QTemporaryDir dir;
    StringTable table;
    table.SetAt(QStringLiteral("RC_KEEP"), QStringLiteral("kept"));
    EXPECT_EQ(LoadResourceStringsFrom(&table, QDir(dir.path()).filePath(QStringLiteral("orlith.inf"))), FALSE);
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_KEEP")), QStringLiteral("kept"));
    EXPECT_EQ(table.GetCount(), 1);
}

TEST(StringTable, ShippedFileHasEveryKeyTheProgramAsksFor)
{
    const QString folder = qEnvironmentVariable("QUILLDAY_TEST_DATA");
    ASSERT_FALSE(folder.isEmpty());
    QFile raw(QDir(folder).filePath(QStringLiteral("orlith.inf")));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.read(2) == QByteArray("\xFF\xFE", 2));
    StringTable table;
    ASSERT_EQ(LoadResourceStringsFrom(&table, QDir(folder).filePath(QStringLiteral("orlith.inf"))), TRUE);
    const char* const keys[] = {
        "RC_MENU_OPTIONS", "RC_MENU_ABOUT", "RC_MENU_EXIT", "RC_COMMON_FORMAT_TITLE_DATE",
        "RC_COMMON_PRODUCT_TITLE", "RC_COMMON_CONFIRM_DELETEITEM", "RC_COMMON_CONFIRM_DELETERECURRING",
        "RC_COMMON_CONFIRM_CLEARALL", "RC_APPTDLG_SUBJECT", "RC_APPTDLG_LOCATION", "RC_APPTDLG_ALLDAYEVENT",
        "RC_APPTDLG_START", "RC_APPTDLG_END", "RC_APPTDLG_SAVE", "RC_APPTDLG_CANCEL", "RC_APPTDLG_NOTE",
        "RC_APPTDLG_EDITDETAIL", "RC_TASKDLG_SUBJECT", "RC_TASKDLG_PRIORITY", "RC_TASKDLG_START",
        "RC_TASKDLG_DUE", "RC_TASKDLG_COMPLETE", "RC_TASKDLG_NOTE", "RC_TASKDLG_EDITDETAIL", "RC_TASKDLG_SAVE",
        "RC_TASKDLG_CANCEL", "RC_NOTESDLG_TITLE", "RC_NOTESDLG_SAVE", "RC_NOTESDLG_CANCEL", "RC_OPTIONDLG_TITLE",
        "RC_OPTIONDLG_SAVE", "RC_OPTIONDLG_CANCEL", "RC_OPTIONDLG_24HOUR", "RC_OPTIONDLG_MULTILINE",
        "RC_OPTIONDLG_NOTES_PENMODE", "RC_OPTIONDLG_USE_SOFTKEY", "RC_OPTIONDLG_BOLD_ALLDAYEVENT",
        "RC_OPTIONDLG_BOLD_IMPORTANTTASK", "RC_OPTIONDLG_SHOW_TASKSTART", "RC_OPTIONDLG_SHOW_COMPLETETASK",
        "RC_ABOUTDLG_TITLE", "RC_ABOUTDLG_CLOSE",
    };
    for (const char* pszKey : keys)
        EXPECT_FALSE(GetResourceString(table, QLatin1String(pszKey)).isEmpty()) << pszKey;
    for (int m = 1; m <= 12; ++m)
        EXPECT_EQ(GetMonthName(table, m), QStringLiteral("%1월").arg(m));
    const char* const shortNames[] = {"월", "화", "수", "목", "금", "토", "일"};
    for (int d = 1; d <= 7; ++d)
        EXPECT_EQ(GetWeekdayShortName(table, d), QString::fromUtf8(shortNames[d - 1]));
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_COMMON_PRODUCT_TITLE")), QStringLiteral("Quillday"));
    const QString title = GetResourceString(table, QStringLiteral("RC_COMMON_FORMAT_TITLE_DATE"));
    EXPECT_TRUE(title.contains(QStringLiteral("YYYY")) && title.contains(QStringLiteral("MM")));
}

TEST(StringTable, ReadsFromTheProgramFolder)
{
    QTemporaryDir dir;
    ASSERT_FALSE(WriteFile(dir, Utf16WithBom(QStringLiteral("RC_X=y\r\n"))).isEmpty());
    SetProgramFolder(dir.path());
    StringTable table;
    const BOOL bLoaded = LoadResourceStrings(&table);
    SetProgramFolder(QString());
    EXPECT_EQ(bLoaded, TRUE);
    EXPECT_EQ(GetResourceString(table, QStringLiteral("RC_X")), QStringLiteral("y"));
}
