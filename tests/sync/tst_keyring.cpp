// Accounts whose password lives in the desktop's keyring: a session bus and an unlocked
// gnome-keyring of the test's own, the program run as from a shell against Radicale.
#include "tests/support/CTestDavServer.h"
#include "tests/support/QuilldayRun.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include <signal.h>

class TestKeyring : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase();
    void cleanupTestCase();
    void PasswordGoesToTheKeyringAndSyncsUseIt();
    void WithoutAKeyringTheAccountIsRefusedWithTheWayOut();

private:
    QuilldayRun Run(const QStringList& args, const QProcessEnvironment& env, const QByteArray& input = {});
    QString SecretsOfQuillday() const;

    QTemporaryDir m_home;
    QProcessEnvironment m_env;
    qint64 m_nBusPid = 0;
};

// A private session bus, and gnome-keyring's secret service on it with its login keyring
// made and unlocked, all under the test's own home folder.
void TestKeyring::initTestCase()
{
    if (!HaveQuilldayBinary())
        QSKIP("QUILLDAY_BIN is not set");
    QVERIFY(m_home.isValid());
    m_env = QProcessEnvironment::systemEnvironment();
    m_env.insert("HOME", m_home.path());
    m_env.insert("XDG_DATA_HOME", m_home.filePath("data"));
    m_env.insert("XDG_CONFIG_HOME", m_home.filePath("config"));
    QVERIFY(QDir(m_home.path()).mkpath("run"));
    QVERIFY(QFile::setPermissions(m_home.filePath("run"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    m_env.insert("XDG_RUNTIME_DIR", m_home.filePath("run"));

    QProcess bus;
    bus.setProcessEnvironment(m_env);
    bus.start("dbus-daemon", {"--session", "--fork", "--print-address=1", "--print-pid=1"});
    QVERIFY2(bus.waitForFinished(10000) && bus.exitCode() == 0, qPrintable(bus.readAllStandardError()));
    const QStringList lines = QString::fromUtf8(bus.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    m_env.insert("DBUS_SESSION_BUS_ADDRESS", lines[0].trimmed());
    m_nBusPid = lines[1].trimmed().toLongLong();

    QProcess keyring;
    keyring.setProcessEnvironment(m_env);
    keyring.start("gnome-keyring-daemon", {"--unlock", "--components=secrets", "--daemonize"});
    keyring.write("keyring password\n");
    keyring.closeWriteChannel();
    QVERIFY2(keyring.waitForFinished(10000) && keyring.exitCode() == 0, qPrintable(keyring.readAllStandardError()));
}

void TestKeyring::cleanupTestCase()
{
    // The keyring daemon leaves with the bus it serves.
    if (m_nBusPid > 0)
        kill(pid_t(m_nBusPid), SIGTERM);
}

QuilldayRun TestKeyring::Run(const QStringList& args, const QProcessEnvironment& env, const QByteArray& input)
{
    return RunQuillday(args, m_home.path(), m_home.filePath("store.db"), env, input);
}

// What the keyring holds under the program's name, as another client lists it.
QString TestKeyring::SecretsOfQuillday() const
{
    QProcess tool;
    tool.setProcessEnvironment(m_env);
    tool.start("secret-tool", {"search", "--all", "--unlock", "server", "Quillday"});
    tool.waitForFinished(10000);
    return QString::fromUtf8(tool.readAllStandardOutput() + tool.readAllStandardError());
}

void TestKeyring::PasswordGoesToTheKeyringAndSyncsUseIt()
{
    CTestDavServer server(CTestDavServer::Kind::Radicale);
    const QUrl cal = server.StartWithCalendar("week");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    const QString strRoot = server.Root().toString();
    const QStringList add = {"--add-account", strRoot, "--user", CTestDavServer::kUser};

    QuilldayRun run = Run(add, m_env, "wrong\n");
    QCOMPARE(run.nExitCode, 1);
    QVERIFY2(!SecretsOfQuillday().contains("alice@"), "a refused password was kept");

    run = Run(add, m_env, QByteArray(CTestDavServer::kPassword) + "\n");
    QVERIFY2(run.nExitCode == 0, qPrintable(run.strErr));
    const QString strSecrets = SecretsOfQuillday();
    QVERIFY2(strSecrets.contains(QString("alice@%1").arg(strRoot)), qPrintable(strSecrets));
    QVERIFY2(strSecrets.contains(CTestDavServer::kPassword), qPrintable(strSecrets));
    QFile settings(m_home.filePath("registry.reg"));
    QVERIFY(settings.open(QIODevice::ReadOnly));
    QVERIFY(!settings.readAll().contains(CTestDavServer::kPassword));

    QCOMPARE(Run({"--import", QFINDTESTDATA("../ical/fixtures/calendar.ics")}, m_env).nExitCode, 1);
    run = Run({"--sync"}, m_env);
    QVERIFY2(run.nExitCode == 0, qPrintable(run.strOut + run.strErr));
    QVERIFY2(run.strOut.contains(QRegularExpression(": sent [1-9]")), qPrintable(run.strOut));

    QCOMPARE(Run({"--remove-account", strRoot}, m_env).nExitCode, 0);
    QVERIFY2(!SecretsOfQuillday().contains("alice@"), qPrintable(SecretsOfQuillday()));
}

void TestKeyring::WithoutAKeyringTheAccountIsRefusedWithTheWayOut()
{
    CTestDavServer server(CTestDavServer::Kind::Radicale);
    QVERIFY2(server.StartWithCalendar("week").isValid(), qPrintable(server.Error()));
    QProcessEnvironment env = m_env;
    env.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + m_home.filePath("no-bus"));
    const QuilldayRun run = Run({"--add-account", server.Root().toString(), "--user", CTestDavServer::kUser}, env,
                                QByteArray(CTestDavServer::kPassword) + "\n");
    QCOMPARE(run.nExitCode, 1);
    QVERIFY2(run.strErr.contains("could not be kept in the keyring") && run.strErr.contains("--password-file"),
             qPrintable(run.strErr));
    QVERIFY(!run.strErr.contains(CTestDavServer::kPassword));
    QCOMPARE(Run({"--list-accounts"}, env).strOut, QString());
}

QTEST_GUILESS_MAIN(TestKeyring)
#include "tst_keyring.moc"
