// The account and sync modes of the program, run as from a shell against Radicale.
#include "tests/support/CTestDavServer.h"

#include "tests/support/CFaultProxy.h"
#include "tests/support/QuilldayRun.h"
#include "tests/sync/sync_helper.h"

#include <QFile>
#include <QtTest>

class TestSyncCommandLine : public QObject
{
    Q_OBJECT
private slots:
    void AccountsAndSyncFromTheShell();
    void SelfSignedServerWithItsFingerprint();
};

void TestSyncCommandLine::AccountsAndSyncFromTheShell()
{
    if (!HaveQuilldayBinary())
        QSKIP("QUILLDAY_BIN is not set");
    CTestDavServer server(CTestDavServer::Kind::Radicale);
    const QUrl cal = server.StartWithCalendar("week");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    QTemporaryDir home;
    const QString strStore = home.filePath("store.db");
    const QString strPasswordFile = home.filePath("pw");
    QFile pw(strPasswordFile);
    QVERIFY(pw.open(QIODevice::WriteOnly));
    pw.write(QByteArray(CTestDavServer::kPassword) + "\n");
    pw.close();
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QString strRoot = server.Root().toString();
    const QStringList add = {"--add-account", strRoot, "--user", CTestDavServer::kUser, "--password-file", strPasswordFile};

    QVERIFY(pw.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    QuilldayRun run = RunQuillday(add, home.path(), strStore, env);
    QCOMPARE(run.nExitCode, 2);
    QVERIFY2(run.strErr.contains("others than its owner"), qPrintable(run.strErr));

    QVERIFY(pw.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    run = RunQuillday(add, home.path(), strStore, env);
    QCOMPARE(run.nExitCode, 0);
    QVERIFY2(run.strOut.contains(cal.path()), qPrintable(run.strOut + run.strErr));
    run = RunQuillday({"--list-accounts"}, home.path(), strStore, env);
    QCOMPARE(run.strOut.trimmed(), QString("%1\tuser alice\tcalendar %2").arg(strRoot, cal.toString()));

    QCOMPARE(RunQuillday({"--sync", "--user", "x"}, home.path(), strStore, env).nExitCode, 2);
    QCOMPARE(RunQuillday({"--import", QFINDTESTDATA("../ical/fixtures/calendar.ics")}, home.path(), strStore, env).nExitCode,
             1);   // the fixture has items the store cannot hold
    run = RunQuillday({"--sync"}, home.path(), strStore, env);
    QCOMPARE(run.nExitCode, 0);
    QVERIFY2(run.strOut.contains(QRegularExpression(": sent [1-9][0-9]*, received 0, deleted here 0, deleted there 0, "
                                                    "conflicts 0, skipped 0")),
             qPrintable(run.strOut));
    run = RunQuillday({"--sync"}, home.path(), strStore, env);
    QCOMPARE(run.nExitCode, 0);
    QVERIFY2(run.strOut.contains(": sent 0, received 0,"), qPrintable(run.strOut));

    server.Kill();
    run = RunQuillday({"--sync"}, home.path(), strStore, env);
    QCOMPARE(run.nExitCode, 1);
    QVERIFY2(run.strOut.contains("left for next time"), qPrintable(run.strOut));
    QVERIFY(!(run.strOut + run.strErr).contains(CTestDavServer::kPassword));

    QCOMPARE(RunQuillday({"--remove-account", strRoot}, home.path(), strStore, env).nExitCode, 0);
    QCOMPARE(RunQuillday({"--list-accounts"}, home.path(), strStore, env).strOut, QString());
}

// A server behind TLS with a self-signed certificate: refused with its fingerprint, which
// --fingerprint then accepts for the account and its syncs.
void TestSyncCommandLine::SelfSignedServerWithItsFingerprint()
{
    if (!HaveQuilldayBinary())
        QSKIP("QUILLDAY_BIN is not set");
    QTemporaryDir home;
    const QString strFingerprint = MakeSelfSignedCertificate(home.path());
    QVERIFY(!strFingerprint.isEmpty());
    CTestDavServer server(CTestDavServer::Kind::Xandikos);
    QVERIFY2(server.StartWithCalendar("week").isValid(), qPrintable(server.Error()));
    CFaultProxy proxy(server.Root());
    QVERIFY(proxy.Begin(home.filePath("cert.pem"), home.filePath("key.pem")));
    const QString strStore = home.filePath("store.db");
    const QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    const QStringList add = {"--add-account", proxy.Through(server.Root()).toString()};

    QuilldayRun run = RunQuillday(add, home.path(), strStore, env);
    QCOMPARE(run.nExitCode, 1);
    QVERIFY2(run.strErr.contains("certificate is refused") && run.strErr.contains(strFingerprint), qPrintable(run.strErr));
    run = RunQuillday(add + QStringList{"--fingerprint", strFingerprint}, home.path(), strStore, env);
    QVERIFY2(run.nExitCode == 0, qPrintable(run.strOut + run.strErr));
    QVERIFY2(RunQuillday({"--list-accounts"}, home.path(), strStore, env).strOut.contains("\tfingerprint " + strFingerprint),
             "the fingerprint is not kept with the account");
    run = RunQuillday({"--sync"}, home.path(), strStore, env);
    QVERIFY2(run.nExitCode == 0 && run.strOut.contains(": sent 0, received 0,"), qPrintable(run.strOut + run.strErr));
}

QTEST_GUILESS_MAIN(TestSyncCommandLine)
#include "tst_commandline.moc"
