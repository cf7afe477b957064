// Start-up of the main frame: the data sources in their order, each failure with its own
// fixed text and box type, and the database-change handling.
#include "WeekFixture.h"
#include "platform/CScriptedMessageBox.h"
#include <QProcess>
#include <QtTest>

namespace {

// A frame whose record reads cannot be opened.
class CFrameWithoutDatabases : public CMainFrame {
protected:
    BOOL OpenPimDatabases() override { return FALSE; }
};

}  // namespace

class TestStartup : public QObject {
    Q_OBJECT
private slots:
    void eachMissingSourceShowsItsOwnBox_data();
    void eachMissingSourceShowsItsOwnBox();
    void databaseFailureShowsItsBox();
    void allSourcesPresentShowNoBoxAndTodaysWeek();
    void commandLineFailureGoesToStandardError();
    void recordChangesReloadTheWeek_data();
    void recordChangesReloadTheWeek();
    void changeByAnotherConnectionReloadsTheShownWeek();
    void softKeysMakeNoWorkAreaMove();
};

void TestStartup::eachMissingSourceShowsItsOwnBox_data()
{
    QTest::addColumn<QStringList>("removed");
    QTest::addColumn<bool>("bBadStore");
    QTest::addColumn<QString>("text");
    QTest::addColumn<unsigned>("type");
    const unsigned hand = MB_ICONHAND;
    QTest::newRow("store") << QStringList{} << true << "Can't initialize POOM (Pocket Outlook Object Model)" << hand;
    QTest::newRow("store before the files")
        << QStringList{"anniversary.dat", "orlith.inf"} << true
        << "Can't initialize POOM (Pocket Outlook Object Model)" << hand;
    QTest::newRow("special days") << QStringList{"anniversary.dat"} << false
                                  << "Can not open resource file 'anniversary.dat'." << hand;
    QTest::newRow("special days before strings")
        << QStringList{"anniversary.dat", "orlith.inf"} << false << "Can not open resource file 'anniversary.dat'."
        << hand;
    QTest::newRow("strings") << QStringList{"orlith.inf"} << false << "Can not open resource file 'orlith.inf'."
                             << unsigned(MB_OK);
}

void TestStartup::eachMissingSourceShowsItsOwnBox()
{
    QFETCH(QStringList, removed);
    QFETCH(bool, bBadStore);
    QFETCH(QString, text);
    QFETCH(unsigned, type);
    CWeekFixture fx;
    for (const QString& name : removed)
        fx.RemoveFile(name);
    if (bBadStore)
        fx.WriteFile("pim.sqlite", "this is not a database of ours");
    CScriptedMessageBox boxes;
    CMainFrame frame;
    QVERIFY(!frame.Create());
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls().at(0).strText, text);
    QCOMPARE(boxes.Calls().at(0).strCaption, QString("Quillday"));
    QCOMPARE(boxes.Calls().at(0).nType, type);
    QVERIFY(frame.GetView() == nullptr);
}

void TestStartup::databaseFailureShowsItsBox()
{
    CWeekFixture fx;
    fx.RemoveFile("orlith.inf");  // would fail later; the databases come first
    CScriptedMessageBox boxes;
    CFrameWithoutDatabases frame;
    QVERIFY(!frame.Create());
    QCOMPARE(boxes.Calls().size(), 1);
    QCOMPARE(boxes.Calls().at(0).strText, QString("Can not open 'PIMs Database'."));
    QCOMPARE(boxes.Calls().at(0).nType, unsigned(MB_ICONHAND));
}

void TestStartup::allSourcesPresentShowNoBoxAndTodaysWeek()
{
    CWeekFixture fx;
    fx.SetNow(2015, 3, 8, 23, 30);  // a Sunday
    CScriptedMessageBox boxes;
    auto pFrame = fx.Start();
    QVERIFY(pFrame);
    QCOMPARE(boxes.Calls().size(), 0);
    QCOMPARE(pFrame->GetCurrentDate(), DateTime(2015, 3, 8, 0, 0, 0));
    QCOMPARE(CWeekFixture::Pane(pFrame.get())->GetWeekStart(), DateTime(2015, 3, 2, 0, 0, 0));
    QVERIFY(CWeekFixture::Pane(pFrame.get())->IsPainted());
}

void TestStartup::commandLineFailureGoesToStandardError()
{
    const QString bin = qEnvironmentVariable("QUILLDAY_BIN");
    if (bin.isEmpty())
        QSKIP("QUILLDAY_BIN is not set");
    CWeekFixture fx;
    fx.Store();  // a mode that only reads makes no store
    fx.RemoveFile("orlith.inf");
    QProcess process;
    process.start(bin, {"--print-week", "2015-03-02", "--home", fx.Path(""), "--store", fx.Path("pim.sqlite"),
                        "--registry", fx.Path("registry.reg")});
    QVERIFY(process.waitForFinished(30000));
    QCOMPARE(process.exitCode(), 1);
    QVERIFY(process.readAllStandardOutput().isEmpty());
    QVERIFY(process.readAllStandardError().contains("Quillday: Can not open resource file 'orlith.inf'."));
}

void TestStartup::recordChangesReloadTheWeek_data()
{
    QTest::addColumn<unsigned>("type");
    QTest::addColumn<bool>("bReloads");
    QTest::newRow("created") << 0x401u << true;
    QTest::newRow("record deleted") << 0x403u << true;
    QTest::newRow("changed") << 0x406u << true;
    QTest::newRow("database deleted") << 0x402u << false;
    QTest::newRow("other") << 0x405u << false;
}

void TestStartup::recordChangesReloadTheWeek()
{
    QFETCH(unsigned, type);
    QFETCH(bool, bReloads);
    CWeekFixture fx;
    auto pFrame = fx.Start();
    QVERIFY(pFrame);
    CWeekPane* pPane = CWeekFixture::Pane(pFrame.get());
    ListCell* pBefore = nullptr;
    pPane->GetDayList(0)->GetCell(0, 0, &pBefore);
    QVERIFY(pBefore);
    // A new cell may take the freed one's address, so the old cell is marked instead.
    pBefore->strExtra = QStringLiteral("before the notification");
    // Move to another week without telling the pane: a reload shows the current date's week.
    pFrame->SetCurrentDate(DateTime(2015, 3, 20, 0, 0, 0));
    pFrame->OnDbNotification(type);
    QCOMPARE(pPane->GetWeekStart() == DateTime(2015, 3, 16, 0, 0, 0), bReloads);
    ListCell* pAfter = nullptr;
    pPane->GetDayList(0)->GetCell(0, 0, &pAfter);
    QVERIFY(pAfter);
    QCOMPARE(pAfter->strExtra != QStringLiteral("before the notification"), bReloads);  // a load replaces every row
}

void TestStartup::changeByAnotherConnectionReloadsTheShownWeek()
{
    CWeekFixture fx;
    auto pFrame = fx.Start(2015, 3, 2);
    QVERIFY(pFrame);
    QCOMPARE(CWeekFixture::DayRows(pFrame.get(), 1), QStringList{"(NULL)\t"});
    // Another program on the same store file: a connection of its own.
    const QString bin = qEnvironmentVariable("QUILLDAY_BIN");
    if (!bin.isEmpty()) {
        fx.WriteFile("new.ics", "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\n"
                                "UID:a1\r\nDTSTART:20150303T090000\r\nDTEND:20150303T100000\r\n"
                                "SUMMARY:Imported\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        QProcess process;
        process.start(bin, {"--import", fx.Path("new.ics"), "--home", fx.Path(""), "--store", fx.Path("pim.sqlite"),
                            "--registry", fx.Path("registry.reg")});
        QVERIFY(process.waitForFinished(30000));
        QCOMPARE(process.exitCode(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(CWeekFixture::DayRows(pFrame.get(), 1),
                                  QStringList{"9:00a\tImported\textra=9:00a-10:00a|"}, 5000);
    }
    fx.AddAppt("Added", CWeekFixture::Date(2015, 3, 4, 8, 0), CWeekFixture::Date(2015, 3, 4, 9, 0));
    QTRY_COMPARE_WITH_TIMEOUT(CWeekFixture::DayRows(pFrame.get(), 2), QStringList{"8:00a\tAdded\textra=8:00a-9:00a|"},
                              5000);
}

void TestStartup::softKeysMakeNoWorkAreaMove()
{
    for (DWORD dwSoftKey : {0u, 1u}) {
        CWeekFixture fx;
        fx.SetOption("UseSoftKey", dwSoftKey);
        auto pFrame = fx.Start();
        QVERIFY(pFrame);
        QApplication::setActiveWindow(pFrame.get());
        QTRY_VERIFY(pFrame->isActiveWindow());
        QCOMPARE(pFrame->GetWorkAreaMoves() > 0, dwSoftKey == 0);
    }
}

QTEST_MAIN(TestStartup)
#include "tst_Startup.moc"
