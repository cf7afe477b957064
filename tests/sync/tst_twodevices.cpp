// Two stores ("two devices") sync through real servers started on 127.0.0.1.
#include "tests/sync/sync_helper.h"

#include "pim/CNotesData.h"
#include "pim/CSqlStatement.h"
#include "sync/CDavClient.h"

#include <QDate>
#include <QtTest>

Q_DECLARE_METATYPE(CTestDavServer::Kind)

namespace {

const QByteArray kWeeklyTask = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillday tests//task//EN\r\n"
                               "BEGIN:VTODO\r\nUID:water@test\r\nDTSTAMP:20261201T000000Z\r\n"
                               "DTSTART;VALUE=DATE:20261214\r\nDUE;VALUE=DATE:20261214\r\n"
                               "RRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=10\r\nSUMMARY:Water plants 🌱\r\n"
                               "END:VTODO\r\nEND:VCALENDAR\r\n";

int CountRows(SyncDevice& device, const QString& strWhere)
{
    CSqlStatement st(device.pStore->Db(), ("SELECT count(*) FROM items WHERE " + strWhere).toUtf8());
    return st.Step() == SQLITE_ROW ? int(st.Int(0)) : -1;
}

// python3-caldav: prints the item's DESCRIPTION and, given a subject, saves it with that
// subject.
QString ThirdClient(const QUrl& calendar, const QString& strUid, const QString& strSubject)
{
    QProcess py;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("PYTHONIOENCODING", "utf-8");
    py.setProcessEnvironment(env);
    py.start("/usr/bin/python3", {QFINDTESTDATA("third_client.py"), calendar.toString(), CTestDavServer::kUser,
                                  QString::fromUtf8(CTestDavServer::kPassword), strUid, strSubject});
    if (!py.waitForFinished(30000) || py.exitCode() != 0)
        return "python3-caldav failed: " + QString::fromUtf8(py.readAllStandardError());
    return QString::fromUtf8(py.readAllStandardOutput()).trimmed();
}

QByteArray OtherEvent(const QByteArray& uid, const QByteArray& lines)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//other//EN\r\nBEGIN:VEVENT\r\nUID:" + uid
           + "\r\nDTSTAMP:20261201T000000Z\r\nDTSTART:20261216T100000Z\r\nDTEND:20261216T110000Z\r\n" + lines
           + "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

// An event with attendees, which the store holds only in part.
const QByteArray kInvitation = "SUMMARY:Invitation\r\nORGANIZER:mailto:jo@example.com\r\n"
                               "ATTENDEE;CN=Me:mailto:me@example.com\r\n";

// Puts an event (its UID and lines) under that name in the calendar, as a client that is
// not us does; its address, empty when the server refused it.
QUrl PutByOther(const QUrl& calendar, const QString& strName, const QByteArray& uid, const QByteArray& lines)
{
    const QUrl url = calendar.resolved(QUrl(strName));
    CDavClient other(CTestDavServer::kUser, QString::fromUtf8(CTestDavServer::kPassword));
    return other.Send("PUT", url, OtherEvent(uid, lines)).Ok() ? url : QUrl();
}

} // namespace

class TestTwoDevices : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy"); }
    void Servers_data();
    void BothEndWithTheSameWeek_data() { Servers_data(); }
    void BothEndWithTheSameWeek();
    void ConflictsKeepBothVersions_data() { Servers_data(); }
    void ConflictsKeepBothVersions();
    void InkTicksAndAnotherClientReachEveryone_data() { Servers_data(); }
    void InkTicksAndAnotherClientReachEveryone();
    void WhatTheStoreCannotHoldStaysOnTheServer_data() { Servers_data(); }
    void WhatTheStoreCannotHoldStaysOnTheServer();
    void DeleteHereLeavesWhatTheStoreCannotHold_data() { Servers_data(); }
    void DeleteHereLeavesWhatTheStoreCannotHold();
    void KilledServerAndWrongPasswordLoseNothing();
};

void TestTwoDevices::Servers_data()
{
    QTest::addColumn<CTestDavServer::Kind>("kind");
    QTest::newRow("radicale") << CTestDavServer::Kind::Radicale;
    QTest::newRow("xandikos") << CTestDavServer::Kind::Xandikos;
}

void TestTwoDevices::BothEndWithTheSameWeek()
{
    QFETCH(CTestDavServer::Kind, kind);
    CTestDavServer server(kind);
    const QUrl cal = server.StartWithCalendar("week");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    SyncDevice a, b;
    a.Import(kSyncWeek);

    SyncReport first = a.Sync(cal);
    ExpectClean(first);
    QCOMPARE(first.nSent, 5);
    SyncReport other = b.Sync(cal);
    ExpectClean(other);
    QCOMPARE(other.nReceived, 5);
    QCOMPARE(b.Week(), a.Week());
    QCOMPARE(a.Week().size(), 7);   // five items, the deleted and the changed occurrence

    // Nothing changed: nothing moves.
    const SyncReport idle = a.Sync(cal);
    ExpectClean(idle);
    QCOMPARE(idle.nSent + idle.nReceived + idle.nDeletedHere + idle.nDeletedThere, 0);

    // A change and a delete on each side reach the other.
    b.Rename("lunch@test", QString::fromUtf8("점심 moved 🎉"));
    b.Delete("holiday@test");
    a.Rename("report@test", "Report done");
    a.Delete("trip@test");
    ExpectClean(b.Sync(cal));
    const SyncReport back = a.Sync(cal);
    ExpectClean(back);
    QCOMPARE(back.nDeletedHere, 1);
    QCOMPARE(back.nDeletedThere, 1);
    ExpectClean(b.Sync(cal));
    QCOMPARE(b.Week(), a.Week());
    QCOMPARE(a.Subjects(), QStringList({"Report done", "Standup", QString::fromUtf8("점심 moved 🎉")}));

    // A third client changes an item with curl; the store follows.
    QByteArray text = kSyncWeek.mid(kSyncWeek.indexOf("BEGIN:VTODO"));
    text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//curl//EN\r\n" + text.replace("Report ✅", "Report by curl")
                                                                          .replace("20261201T000000Z", "20261211T000000Z");
    QProcess curl;
    curl.start("curl", {"-s", "-o", "/dev/null", "-w", "%{http_code}", "-X", "PUT", "-H", "Content-Type: text/calendar",
                        "-u", QString("%1:%2").arg(CTestDavServer::kUser, QString::fromUtf8(CTestDavServer::kPassword)),
                        "--data-binary", "@-", cal.resolved(QUrl("report%40test.ics")).toString()});
    curl.write(text.replace("\n", "\r\n").replace("\r\r\n", "\r\n"));
    curl.closeWriteChannel();
    QVERIFY(curl.waitForFinished(20000));
    QVERIFY2(curl.readAll().startsWith('2'), "curl PUT refused");
    const SyncReport followed = a.Sync(cal);
    ExpectClean(followed);
    QCOMPARE(followed.nReceived, 1);
    QVERIFY(a.Subjects().contains("Report by curl"));
}

void TestTwoDevices::ConflictsKeepBothVersions()
{
    QFETCH(CTestDavServer::Kind, kind);
    CTestDavServer server(kind);
    const QUrl cal = server.StartWithCalendar("week");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    SyncDevice a, b;
    a.Import(kSyncWeek);
    ExpectClean(a.Sync(cal));
    ExpectClean(b.Sync(cal));

    a.Rename("lunch@test", "Lunch A");
    b.Rename("lunch@test", "Lunch B");
    a.Delete("trip@test");               // changed on b, deleted on a: sent again by b
    b.Rename("trip@test", "Trip B");
    a.Rename("report@test", "Report A"); // deleted on b, changed on a: comes back to b
    b.Delete("report@test");
    ExpectClean(a.Sync(cal));
    const SyncReport conflict = b.Sync(cal);
    ExpectClean(conflict);
    QCOMPARE(conflict.nConflicts, 1);
    ExpectClean(a.Sync(cal));
    ExpectClean(b.Sync(cal));
    QCOMPARE(b.Week(), a.Week());
    const QString strMark = CSyncEngine::ConflictSuffix(QDate::currentDate().toString(Qt::ISODate));
    QCOMPARE(a.Subjects(), QStringList({"Holiday", "Lunch A", "Lunch B" + strMark, "Report A", "Standup", "Trip B"}));
}

// Notes with pen strokes, a recurring task ticked off, and an item changed by a client
// that is not us.
void TestTwoDevices::InkTicksAndAnotherClientReachEveryone()
{
    QFETCH(CTestDavServer::Kind, kind);
    CTestDavServer server(kind);
    const QUrl cal = server.StartWithCalendar("week");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    SyncDevice a, b;
    a.Import(kSyncWeek);
    a.Import(kWeeklyTask);
    CNotesData notes;
    notes.m_strText = QString::fromUtf8("메모 ✏️ 한 줄\nsecond line 😀");
    CInkStroke stroke;
    stroke.points = {QPoint(1, 2), QPoint(30, 40), QPoint(55, 7)};
    notes.m_strokes = {stroke, stroke};
    a.SetInk("lunch@test", notes.ToBytes());
    ExpectClean(a.Sync(cal));
    ExpectClean(b.Sync(cal));
    QCOMPARE(b.Ink("lunch@test"), notes.ToBytes());

    // The text form is what another client reads; its change comes to the store, and our
    // strokes with it, their text being unchanged.
    QCOMPARE(ThirdClient(cal, "lunch@test", QString::fromUtf8("Lunch by caldav 🥢")), notes.m_strText);
    b.Complete("water@test");
    ExpectClean(b.Sync(cal));
    ExpectClean(a.Sync(cal));
    ExpectClean(b.Sync(cal));
    QCOMPARE(a.Week(), b.Week());
    QVERIFY2(a.Subjects().contains(QString::fromUtf8("Lunch by caldav 🥢")), qPrintable(a.Subjects().join('|')));
    QCOMPARE(a.Ink("lunch@test"), notes.ToBytes());
    const QString strWater = QString::fromUtf8("subject='Water plants 🌱'");
    QCOMPARE(CountRows(a, strWater + " AND complete=1"), 1);
    QCOMPARE(CountRows(a, strWater + " AND complete=0 AND rec_type>=0 AND uid='water@test'"), 1);
}

// An item the store holds only in part (attendees) is shown, but a change made to it here
// is not written over the server's copy; one it cannot hold at all (extra dates) is not
// taken. Both stay on the server as they are.
void TestTwoDevices::WhatTheStoreCannotHoldStaysOnTheServer()
{
    QFETCH(CTestDavServer::Kind, kind);
    CTestDavServer server(kind);
    const QUrl cal = server.StartWithCalendar("week");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    const QUrl invite = PutByOther(cal, "invite.ics", "invite@test", kInvitation);
    const QUrl extra = PutByOther(cal, "extra.ics", "extra@test", "SUMMARY:Extra\r\nRDATE:20261218T100000Z\r\n");
    QVERIFY(!invite.isEmpty() && !extra.isEmpty());
    CDavClient other(CTestDavServer::kUser, QString::fromUtf8(CTestDavServer::kPassword));

    SyncDevice a;
    const SyncReport first = a.Sync(cal);
    QVERIFY2(first.Complete(), qPrintable(Why(first)));
    QCOMPARE(first.skipped.size(), 1);
    QVERIFY2(first.skipped[0].contains("extra.ics: ") && first.skipped[0].contains("RDATE"), qPrintable(Why(first)));
    QCOMPARE(a.Subjects(), QStringList{"Invitation"});

    a.Rename("invite@test", "Invitation changed here");
    const SyncReport second = a.Sync(cal);
    QVERIFY2(second.Complete(), qPrintable(Why(second)));
    QCOMPARE(second.nSent, 0);
    QVERIFY2(second.skipped.join('\n').contains(QRegularExpression("invite.ics: the change made here is not sent.*ATTENDEE")),
             qPrintable(Why(second)));
    const QByteArray inviteThere = other.Send("GET", invite).body;
    QVERIFY2(inviteThere.contains("SUMMARY:Invitation\r\n") && inviteThere.contains("ATTENDEE"), inviteThere.constData());
    QVERIFY(other.Send("GET", extra).body.contains("RDATE"));
}

// Deleted here: an item the store holds only in part (attendees) stays on the server as it
// was and is listed as skipped; an ordinary one is deleted there. Neither comes back.
void TestTwoDevices::DeleteHereLeavesWhatTheStoreCannotHold()
{
    QFETCH(CTestDavServer::Kind, kind);
    CTestDavServer server(kind);
    const QUrl cal = server.StartWithCalendar("week");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    const QUrl invite = PutByOther(cal, "invite.ics", "invite@test", kInvitation);
    const QUrl plain = PutByOther(cal, "plain.ics", "plain@test", "SUMMARY:Plain\r\n");
    QVERIFY(!invite.isEmpty() && !plain.isEmpty());
    CDavClient other(CTestDavServer::kUser, QString::fromUtf8(CTestDavServer::kPassword));
    SyncDevice a;
    ExpectClean(a.Sync(cal));
    QCOMPARE(a.Subjects(), QStringList({"Invitation", "Plain"}));
    const DavReply inviteBefore = other.Send("GET", invite);
    QVERIFY(inviteBefore.Ok());

    a.Delete("invite@test");
    a.Delete("plain@test");
    const SyncReport deleted = a.Sync(cal);
    QVERIFY2(deleted.Complete(), qPrintable(Why(deleted)));
    QCOMPARE(deleted.nDeletedThere, 1);
    QCOMPARE(deleted.skipped.size(), 1);
    QVERIFY2(deleted.skipped[0].contains(
                 QRegularExpression("invite.ics: deleted here only, not on the server, because .*ATTENDEE")),
             qPrintable(Why(deleted)));
    const DavReply inviteAfter = other.Send("GET", invite);
    QVERIFY2(inviteAfter.Ok(), qPrintable(inviteAfter.strError));
    QCOMPARE(inviteAfter.body, inviteBefore.body);
    QCOMPARE(inviteAfter.strEtag, inviteBefore.strEtag);
    QCOMPARE(other.Send("GET", plain).nStatus, 404);

    ExpectClean(a.Sync(cal));
    QCOMPARE(a.Subjects(), QStringList());
}

void TestTwoDevices::KilledServerAndWrongPasswordLoseNothing()
{
    CTestDavServer server(CTestDavServer::Kind::Radicale);
    const QUrl cal = server.StartWithCalendar("week");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    SyncDevice a, b;
    a.Import(kSyncWeek);
    a.Import(ManyItems(200));
    const QStringList week = a.Week();

    const SyncReport refused = a.Sync(cal, "wrong");
    QVERIFY(!refused.Complete());
    QVERIFY2(refused.errors.join(' ').contains("401"), qPrintable(Why(refused)));
    QVERIFY(!refused.errors.join(' ').contains("wrong"));
    QCOMPARE(refused.nSent, 0);

    // Killed while the first sync is under way.
    QTimer::singleShot(300, [&] { server.Kill(); });
    const SyncReport cut = a.Sync(cal);
    QVERIFY2(!cut.Complete() && cut.nSent > 0, "the server was not killed during the sync");
    QVERIFY2(server.Start(), qPrintable(server.Error()));
    ExpectClean(a.Sync(cal));
    ExpectClean(b.Sync(cal));
    ExpectClean(a.Sync(cal));
    QCOMPARE(a.Week(), week);
    QCOMPARE(b.Week(), week);
}

QTEST_GUILESS_MAIN(TestTwoDevices)
#include "tst_twodevices.moc"
