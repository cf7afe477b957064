// Sync through a proxy that answers chosen requests with a fault: each fault ends the sync
// with its reason, leaves the store as it was, and the next good sync finishes the work
// with nothing lost or twice.
#include "tests/sync/sync_helper.h"

#include "tests/support/CFaultProxy.h"
#include "tests/support/QuilldayRun.h"

#include <QtTest>

Q_DECLARE_METATYPE(CFaultProxy::EFault)

namespace {

QByteArray NewEvent(const QByteArray& uid, const QByteArray& summary)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillday tests//new//EN\r\nBEGIN:VEVENT\r\nUID:" + uid
           + "\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20261217T150000\r\nDTEND:20261217T160000\r\nSUMMARY:"
           + summary + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

} // namespace

class TestSyncFaults : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy"); }
    void FaultLeavesTheStoreAndTheNextSyncFinishes_data();
    void FaultLeavesTheStoreAndTheNextSyncFinishes();
    void ProgramNamesTheFaultAndExitsOne();
};

void TestSyncFaults::FaultLeavesTheStoreAndTheNextSyncFinishes_data()
{
    QTest::addColumn<CFaultProxy::EFault>("fault");
    QTest::addColumn<QByteArray>("match");        // the requests that get the fault
    QTest::addColumn<bool>("bChangedThere");      // whether the other device changed items first
    // What the sync says; none where it mends the fault itself (a request whose answer was
    // cut off is sent again, and the server's copy is recognised as our own).
    QTest::addColumn<QString>("strMessage");
    using F = CFaultProxy::EFault;
    QTest::newRow("503 to the changes") << F::Status503 << QByteArray("sync-collection") << true << "503";
    QTest::newRow("silence to the items") << F::Silent << QByteArray("calendar-multiget") << true
                                          << "no answer within 1 s";
    QTest::newRow("items cut off") << F::CutBody << QByteArray("calendar-multiget") << true
                                   << "the connection was cut before the whole answer came";
    QTest::newRow("malformed XML") << F::BrokenXml << QByteArray("sync-collection") << true << "malformed XML";
    QTest::newRow("malformed iCalendar") << F::BrokenICal << QByteArray("calendar-multiget") << true
                                         << "does not close a component";
    QTest::newRow("100 MB answer") << F::Huge << QByteArray("calendar-multiget") << true
                                   << "the answer is larger than 64 MB; refused";
    QTest::newRow("change sent, answer cut") << F::CutBody << QByteArray("If-Match") << false << "";
    QTest::newRow("new item sent, answer cut") << F::CutBody << QByteArray("If-None-Match") << false << "";
}

void TestSyncFaults::FaultLeavesTheStoreAndTheNextSyncFinishes()
{
    QFETCH(CFaultProxy::EFault, fault);
    QFETCH(QByteArray, match);
    QFETCH(bool, bChangedThere);
    QFETCH(QString, strMessage);
    CTestDavServer server(CTestDavServer::Kind::Radicale);
    const QUrl cal = server.StartWithCalendar("week");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    CFaultProxy proxy(server.Root());
    QVERIFY(proxy.Begin());
    const QUrl calThrough = proxy.Through(cal);
    SyncDevice a, b;
    a.Import(kSyncWeek);
    ExpectClean(a.Sync(cal));
    ExpectClean(b.Sync(calThrough));

    if (bChangedThere) {
        a.Rename("lunch@test", QString::fromUtf8("점심 moved"));
        a.Import(NewEvent("new-a@test", "New from a"));
        ExpectClean(a.Sync(cal));
    }
    b.Rename("report@test", "Report by b");
    b.Import(NewEvent("new-b@test", "New from b"));
    const QStringList before = b.Week();

    proxy.Inject(fault, match);
    const SyncReport faulted = b.Sync(calThrough, QString::fromUtf8(CTestDavServer::kPassword), 1000);
    QVERIFY(proxy.Hits() > 0);
    if (strMessage.isEmpty()) {
        ExpectClean(faulted);
        QCOMPARE(faulted.nSent, 2);
    } else {
        QVERIFY(!faulted.Complete());
        QVERIFY2(faulted.errors.join('\n').contains(strMessage), qPrintable(Why(faulted)));
    }
    QCOMPARE(b.Week(), before);

    proxy.Inject(CFaultProxy::EFault::None);
    const SyncReport good = b.Sync(calThrough);
    ExpectClean(good);
    QCOMPARE(good.nConflicts, 0);
    ExpectClean(a.Sync(cal));
    QCOMPARE(b.Week(), a.Week());
    QStringList expected = {"Holiday", "New from b", "Report by b", "Standup", QString::fromUtf8("Trip to 부산")};
    expected << (bChangedThere ? QStringList{"New from a", QString::fromUtf8("점심 moved")}
                               : QStringList{QString::fromUtf8("점심 🍜 with Jo")});
    expected.sort();
    QCOMPARE(a.Subjects(), expected);
}

// The whole program through the proxy: the fault's reason on standard output and exit
// status 1, then a good run with exit status 0, then a run with nothing to do, which asks
// only for the changes since the token.
void TestSyncFaults::ProgramNamesTheFaultAndExitsOne()
{
    if (!HaveQuilldayBinary())
        QSKIP("QUILLDAY_BIN is not set");
    CTestDavServer server(CTestDavServer::Kind::Radicale);
    const QUrl cal = server.StartWithCalendar("week");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    CFaultProxy proxy(server.Root());
    QVERIFY(proxy.Begin());
    QTemporaryDir home;
    const QString strStore = home.filePath("store.db");
    QFile pw(home.filePath("pw"));
    QVERIFY(pw.open(QIODevice::WriteOnly));
    pw.write(CTestDavServer::kPassword);
    pw.close();
    QVERIFY(pw.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    QuilldayRun run = RunQuillday({"--add-account", proxy.Through(server.Root()).toString(), "--user",
                                   CTestDavServer::kUser, "--password-file", pw.fileName()},
                                  home.path(), strStore, env);
    QVERIFY2(run.nExitCode == 0, qPrintable(run.strOut + run.strErr));
    QFile week(home.filePath("week.ics"));
    QVERIFY(week.open(QIODevice::WriteOnly));
    week.write(kSyncWeek);
    week.close();
    QCOMPARE(RunQuillday({"--import", week.fileName()}, home.path(), strStore, env).nExitCode, 0);

    proxy.Inject(CFaultProxy::EFault::Huge, "sync-collection");
    run = RunQuillday({"--sync"}, home.path(), strStore, env);
    QCOMPARE(run.nExitCode, 1);
    QVERIFY2(run.strOut.contains("left for next time: ") && run.strOut.contains("larger than 64 MB; refused"),
             qPrintable(run.strOut));

    proxy.Inject(CFaultProxy::EFault::None);
    run = RunQuillday({"--sync"}, home.path(), strStore, env);
    QCOMPARE(run.nExitCode, 0);
    QVERIFY2(run.strOut.contains(QRegularExpression(": sent [1-9][0-9]*, received 0,")), qPrintable(run.strOut));

    proxy.Inject(CFaultProxy::EFault::None);
    run = RunQuillday({"--sync"}, home.path(), strStore, env);
    QCOMPARE(run.nExitCode, 0);
    QVERIFY2(run.strOut.contains(": sent 0, received 0, deleted here 0, deleted there 0"), qPrintable(run.strOut));
    QCOMPARE(proxy.Requests(), QList<QByteArray>{"REPORT " + cal.path().toUtf8() + " HTTP/1.1"});
}

QTEST_GUILESS_MAIN(TestSyncFaults)
#include "tst_faults.moc"
