#include "calendar/CAnniversaryLines.h"
#include "dialogs/CAnniversaryDlg.h"
#include "platform/CScriptedMessageBox.h"
#include "resources/StringTable.h"
#include "tests/support/TestOutput.h"
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// The program folder's file: a red holiday group and an empty blue one.
const char kProgramText[] = "# holidays\r\n[#FF0000]\r\n0000-01-01 New year\r\nL0000-08-15 Chuseok\r\n"
                            "[#0000FF]\r\n";

QByteArray Utf16(const QString& text)
{
    QByteArray bytes("\xFF\xFE", 2);
    bytes.append(reinterpret_cast<const char*>(text.utf16()), text.size() * 2);
    return bytes;
}

QByteArray ReadAll(const QString& strPath)
{
    QFile file(strPath);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Files {
    QTemporaryDir dir;
    QString strProgram = dir.filePath("program/anniversary.dat");
    QString strPersonal = dir.filePath("home/quillday/anniversary.dat");
    Files()
    {
        QDir(dir.path()).mkpath("program");
        QFile file(strProgram);
        file.open(QIODevice::WriteOnly);
        file.write(Utf16(QString::fromLatin1(kProgramText)));
    }
};

StringTable Strings(const char* pszFile)
{
    StringTable strings;
    LoadResourceStringsFrom(&strings, qEnvironmentVariable("QUILLDAY_TEST_DATA") + QLatin1Char('/') + QLatin1String(pszFile));
    return strings;
}

QStringList Rows(const QListWidget* pList)
{
    QStringList rows;
    for (int i = 0; i < pList->count(); ++i)
        rows << pList->item(i)->text();
    return rows;
}

}  // namespace

class TestAnniversaryDlg : public QObject {
    Q_OBJECT
private slots:
    void addsChangesAndDeletesThePersonsDays();
    void refusesBadDaysAndWritesNothing_data();
    void refusesBadDaysAndWritesNothing();
    void pictures_data();
    void pictures();
};

void TestAnniversaryDlg::addsChangesAndDeletesThePersonsDays()
{
    Files files;
    const StringTable strings = Strings("orlith.en.inf");
    CAnniversaryDlg dlg(&strings, files.strPersonal, files.strProgram, nullptr);
    int nSaved = 0;
    dlg.SetSavedHook([&nSaved] { ++nSaved; });
    QCOMPARE(Rows(dlg.HolidayList()), (QStringList{"1.1  New year", "Lunar 8.15  Chuseok"}));
    QCOMPARE(dlg.DayList()->count(), 0);

    dlg.SetForm(AnniversaryFields{"Grandma", 0, 4, 15, true, true}, 2);
    QVERIFY(dlg.OnAdd());
    dlg.SetForm(AnniversaryFields{"Wedding", 2024, 5, 18, false, false}, 1);
    QVERIFY(dlg.OnAdd());
    QCOMPARE(Rows(dlg.DayList()), (QStringList{"2024.5.18  Wedding", "Leap 4.15  Grandma"}));
    CAnniversaryLines written;
    QVERIFY(written.Load(files.strPersonal));
    QCOMPARE(written.Lines(), (QStringList{"# holidays", "[#FF0000]", "0000-01-01 New year", "L0000-08-15 Chuseok",
                                           "2024-05-18 Wedding", "[#0000FF]", "L0000-04L15 Grandma"}));

    dlg.DayList()->setCurrentRow(0);
    QCOMPARE(dlg.NameEdit()->text(), QStringLiteral("Wedding"));
    dlg.NameEdit()->setText(QStringLiteral("Our wedding"));
    QVERIFY(dlg.OnChange());
    dlg.DayList()->setCurrentRow(1);
    QVERIFY(dlg.OnDelete());
    QVERIFY(written.Load(files.strPersonal));
    QCOMPARE(written.Lines(), (QStringList{"# holidays", "[#FF0000]", "0000-01-01 New year", "L0000-08-15 Chuseok",
                                           "2024-05-18 Our wedding", "[#0000FF]"}));
    QCOMPARE(nSaved, 4);
    QCOMPARE(ReadAll(files.strProgram), Utf16(QString::fromLatin1(kProgramText)));
}

void TestAnniversaryDlg::refusesBadDaysAndWritesNothing_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("year");
    QTest::addColumn<int>("month");
    QTest::addColumn<int>("day");
    QTest::addColumn<bool>("lunar");
    QTest::addColumn<bool>("leap");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty name") << "  " << 0 << 1 << 1 << false << false << "Please enter a name.";
    QTest::newRow("30 February") << "x" << 0 << 2 << 30 << false << false << "That month has no such day.";
    QTest::newRow("lunar day the month lacks") << "x" << 2007 << 1 << 30 << true << false
                                               << "That lunar month has no such day.";
    QTest::newRow("leap month the year lacks") << "x" << 2007 << 7 << 1 << true << true
                                               << "That year has no leap month after that month.";
}

void TestAnniversaryDlg::refusesBadDaysAndWritesNothing()
{
    QFETCH(QString, name);
    QFETCH(int, year);
    QFETCH(int, month);
    QFETCH(int, day);
    QFETCH(bool, lunar);
    QFETCH(bool, leap);
    QFETCH(QString, message);
    Files files;
    const StringTable strings = Strings("orlith.en.inf");
    CAnniversaryDlg dlg(&strings, files.strPersonal, files.strProgram, nullptr);
    const QByteArray before = ReadAll(files.strPersonal);
    CScriptedMessageBox boxes({IDOK});
    dlg.SetForm(AnniversaryFields{name, year, month, day, lunar, leap}, 1);
    QVERIFY(!dlg.OnAdd());
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls().front().strText, message);
    QCOMPARE(ReadAll(files.strPersonal), before);
    QCOMPARE(dlg.DayList()->count(), 0);
}

void TestAnniversaryDlg::pictures_data()
{
    QTest::addColumn<QString>("strings");
    QTest::newRow("ko") << "orlith.inf";
    QTest::newRow("en") << "orlith.en.inf";
}

// The editor over a 240 x 320 window with a day of each kind, for a person to look at.
void TestAnniversaryDlg::pictures()
{
    QFETCH(QString, strings);
    Files files;
    const StringTable table = Strings(strings.toLatin1().constData());
    QWidget mainWindow;
    mainWindow.resize(240, 320);
    mainWindow.show();
    CAnniversaryDlg dlg(&table, files.strPersonal, files.strProgram, &mainWindow);
    dlg.SetForm(AnniversaryFields{QStringLiteral("할머니 생신"), 0, 4, 15, true, true}, 2);
    QVERIFY(dlg.OnAdd());
    dlg.SetForm(AnniversaryFields{QStringLiteral("Wedding"), 2024, 5, 18, false, false}, 2);
    QVERIFY(dlg.OnAdd());
    dlg.DayList()->setCurrentRow(0);
    dlg.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dlg));
    QVERIFY(SaveTestPng(&dlg, QStringLiteral("special_days_%1.png").arg(QLatin1String(QTest::currentDataTag()))));
    QCOMPARE(dlg.size(), QSize(240, 320));
    // Every control lies inside the dialog.
    for (QWidget* pChild : dlg.findChildren<QWidget*>())
        if (pChild->isVisible() && pChild->parentWidget() == &dlg)
            QVERIFY2(dlg.rect().contains(pChild->geometry()), qPrintable(pChild->metaObject()->className()));
}

QTEST_MAIN(TestAnniversaryDlg)
#include "tst_AnniversaryDlg.moc"
