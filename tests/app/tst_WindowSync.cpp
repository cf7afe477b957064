// The window syncing with a real CalDAV server (Radicale) through the program's own
// --sync: at start, after a change made in the window, and on demand; its state on the
// status line, and a failure when the server is gone.
#include "WeekFixture.h"
#include "app/MainCommands.h"
#include "dialogs/CEditorDialog.h"
#include "dialogs/EditorIds.h"
#include "sync/CDavClient.h"
#include "sync/CSyncAccounts.h"
#include "tests/support/CTestDavServer.h"
#include "tests/support/ModalWindow.h"
#include "tests/support/QuilldayRun.h"
#include <QLineEdit>
#include <QtTest>

namespace {

using F = CWeekFixture;

constexpr int kRunTimeoutMs = 30000;

const char kDentist[] = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\n"
                        "UID:dentist@test\r\nDTSTAMP:20150301T000000Z\r\nDTSTART:20150304T140000Z\r\n"
                        "DTEND:20150304T150000Z\r\nSUMMARY:Dentist\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

// The calendar's resources on the server.
int ResourceCount(const QUrl& calendar)
{
    CDavClient client(QString::fromLatin1(CTestDavServer::kUser), QString::fromUtf8(CTestDavServer::kPassword));
    const DavMultistatus listing =
        client.Multistatus("PROPFIND", calendar, "<propfind xmlns=\"DAV:\"><prop><getetag/></prop></propfind>", "1");
    int nCount = 0;
    for (const auto& response : listing.responses)
        nCount += response.strHref.endsWith(QLatin1String(".ics")) ? 1 : 0;
    return nCount;
}

}  // namespace

class TestWindowSync : public QObject {
    Q_OBJECT
private slots:
    void syncsAtStartAfterAChangeAndOnDemand();
};

void TestWindowSync::syncsAtStartAfterAChangeAndOnDemand()
{
    if (!HaveQuilldayBinary())
        QSKIP("QUILLDAY_BIN is not set");
    CTestDavServer server(CTestDavServer::Kind::Radicale);
    const QUrl calendar = server.StartWithCalendar("week");
    QVERIFY2(calendar.isValid(), qPrintable(server.Error()));
    CDavClient client(QString::fromLatin1(CTestDavServer::kUser), QString::fromUtf8(CTestDavServer::kPassword));
    QVERIFY(client.Send("PUT", calendar.resolved(QUrl("dentist.ics")), kDentist, {{"If-None-Match", "*"}}).Ok());

    CWeekFixture fx("UTC");
    fx.WriteFile("orlith.inf", QByteArray(kFixtureStrings)
                                   + "RC_SYNC_RUNNING=Syncing\nRC_SYNC_DONE=Synced %1\nRC_SYNC_FAILED=Not synced\n");
    QFile password(fx.Path("password"));
    QVERIFY(password.open(QIODevice::WriteOnly));
    password.write(CTestDavServer::kPassword);
    password.close();
    QVERIFY(password.setPermissions(QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(CSyncAccounts::Save({SyncAccount{server.Root().toString(), QString::fromLatin1(CTestDavServer::kUser),
                                             password.fileName(), calendar.toString(), {}}}));
    auto pFrame = fx.Start(2015, 3, 4);
    QVERIFY(pFrame);
    CMainView* pView = pFrame->GetView();
    CWindowSync& sync = pView->GetSync();
    sync.SetProgram(qEnvironmentVariable("QUILLDAY_BIN"));
    sync.SetDelays(200, 60 * 60 * 1000);

    // At start: the server's appointment comes into the week.
    sync.Start();
    QCOMPARE(sync.State(), CWindowSync::EState::Running);
    QTRY_COMPARE_WITH_TIMEOUT(sync.State(), CWindowSync::EState::Synced, kRunTimeoutMs);
    QTRY_VERIFY(F::DayRows(pFrame.get(), 2).join('\n').contains("Dentist"));
    QVERIFY(pView->SyncStateText().startsWith("Synced "));

    // A task made in the window reaches the server shortly after.
    WhenModal([](QWidget* pModal) {
        auto* pEditor = qobject_cast<CEditorDialog*>(pModal);
        if (pEditor == nullptr)
            return;
        qobject_cast<QLineEdit*>(pEditor->GetDlgItem(IDC_SUBJECT))->setText("Buy stamps");
        pEditor->OnCommand(ID_EDITOR_SAVE);
    });
    pView->OnCommand(ID_NEW_TASK);
    QTRY_COMPARE_WITH_TIMEOUT(ResourceCount(calendar), 2, kRunTimeoutMs);
    QTRY_COMPARE_WITH_TIMEOUT(sync.State(), CWindowSync::EState::Synced, kRunTimeoutMs);

    // Without the server, a run on demand fails and says why.
    server.Kill();
    pView->OnCommand(ID_SYNC_NOW);
    QTRY_COMPARE_WITH_TIMEOUT(sync.State(), CWindowSync::EState::Failed, kRunTimeoutMs);
    QVERIFY(!sync.LastFailure().isEmpty());
    QCOMPARE(pView->SyncStateText(), QString("Not synced"));
}

QTEST_MAIN(TestWindowSync)
#include "tst_WindowSync.moc"
