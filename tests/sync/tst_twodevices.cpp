// Two stores ("two devices") sync through real servers started on 127.0.0.1.
#include "tests/support/CTestDavServer.h"

#include "ical/CICalImporter.h"
#include "pim/CPimStore.h"
#include "pim/CSqlStatement.h"
#include "pim/IPOutlookItem.h"
#include "tests/support/PimTestStore.h"
#include "sync/CDavClient.h"
#include "sync/CSyncEngine.h"

#include <QDate>
#include <QtTest>

Q_DECLARE_METATYPE(CTestDavServer::Kind)

namespace {

const QByteArray kWeek = R"(BEGIN:VCALENDAR
VERSION:2.0
PRODID:-//Quillday tests//week//EN
BEGIN:VTIMEZONE
TZID:Europe/Berlin
BEGIN:STANDARD
DTSTART:19701025T030000
RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU
TZOFFSETFROM:+0200
TZOFFSETTO:+0100
END:STANDARD
BEGIN:DAYLIGHT
DTSTART:19700329T020000
RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU
TZOFFSETFROM:+0100
TZOFFSETTO:+0200
END:DAYLIGHT
END:VTIMEZONE
BEGIN:VEVENT
UID:lunch@test
DTSTAMP:20261201T000000Z
DTSTART:20261214T120000
DTEND:20261214T130000
SUMMARY:점심 🍜 with Jo
END:VEVENT
BEGIN:VEVENT
UID:holiday@test
DTSTAMP:20261201T000000Z
DTSTART;VALUE=DATE:20261215
DTEND;VALUE=DATE:20261216
SUMMARY:Holiday
END:VEVENT
BEGIN:VEVENT
UID:trip@test
DTSTAMP:20261201T000000Z
DTSTART;VALUE=DATE:20261216
DTEND;VALUE=DATE:20261219
SUMMARY:Trip to 부산
END:VEVENT
BEGIN:VEVENT
UID:standup@test
DTSTAMP:20261201T000000Z
DTSTART;TZID=Europe/Berlin:20261201T090000
DTEND;TZID=Europe/Berlin:20261201T091500
RRULE:FREQ=WEEKLY;BYDAY=TU;UNTIL=20270131T235959Z
EXDATE;TZID=Europe/Berlin:20261208T090000
SUMMARY:Standup
END:VEVENT
BEGIN:VEVENT
UID:standup@test
DTSTAMP:20261201T000000Z
RECURRENCE-ID;TZID=Europe/Berlin:20261215T090000
DTSTART;TZID=Europe/Berlin:20261215T100000
DTEND;TZID=Europe/Berlin:20261215T101500
SUMMARY:Standup moved
END:VEVENT
BEGIN:VTODO
UID:report@test
DTSTAMP:20261201T000000Z
DTSTART;VALUE=DATE:20261214
DUE;VALUE=DATE:20261217
SUMMARY:Report ✅
END:VTODO
END:VCALENDAR
)";

// n appointments, one a day from 2026-12-01, in a calendar of their own.
QByteArray ManyItems(int n)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillday tests//many//EN\r\n";
    for (int i = 0; i < n; ++i) {
        const QByteArray day = QDate(2026, 12, 1).addDays(i).toString("yyyyMMdd").toLatin1();
        text += "BEGIN:VEVENT\r\nUID:many-" + QByteArray::number(i) + "@test\r\nDTSTAMP:20261201T000000Z\r\n"
                "DTSTART:" + day + "T080000\r\nDTEND:" + day + "T083000\r\nSUMMARY:Item " + QByteArray::number(i)
                + "\r\nEND:VEVENT\r\n";
    }
    return text + "END:VCALENDAR\r\n";
}

// One device: a store of its own.
struct Device
{
    CTestStore store;
    std::shared_ptr<CPimStore> pStore;

    Device() { CPimStore::Open(store.Path(), &pStore); }

    void Import(const QByteArray& text)
    {
        CICalImporter importer(pStore);
        QString strError;
        QVERIFY2(importer.ImportText(text, &strError), qPrintable(strError));
        QCOMPARE(importer.Skipped(), 0);
    }

    SyncReport Sync(const QUrl& calendar, const QString& strPassword = QString::fromUtf8(CTestDavServer::kPassword))
    {
        CDavClient client(CTestDavServer::kUser, strPassword);
        client.SetTimeoutMs(3000);
        return CSyncEngine(client, pStore, calendar).Sync();
    }

    // Every stored row as a line: what both devices must agree on.
    QStringList Week()
    {
        CSqlStatement st(pStore->Db(),
                         "SELECT coalesce(s.uid, i.uid), i.orig_start, i.kind, i.deleted, i.subject, i.t_start,"
                         " i.t_end, i.all_day, i.complete, i.rec_type, i.rec_mask, i.tzid"
                         " FROM items i LEFT JOIN items s ON s.oid=i.series ORDER BY 1, 2, 5");
        QStringList rows;
        while (st.Step() == SQLITE_ROW) {
            QStringList cols;
            for (int c = 0; c < 12; ++c)
                cols << st.Text(c);
            rows << cols.join('|');
        }
        return rows;
    }

    int32_t OidOf(const QString& strUid)
    {
        CSqlStatement st(pStore->Db(), "SELECT oid FROM items WHERE uid=? AND series IS NULL");
        st.Bind(1, strUid);
        return st.Step() == SQLITE_ROW ? int32_t(st.Int(0)) : 0;
    }

    QStringList Subjects()
    {
        CSqlStatement st(pStore->Db(), "SELECT subject FROM items WHERE series IS NULL ORDER BY subject");
        QStringList subjects;
        while (st.Step() == SQLITE_ROW)
            subjects << st.Text(0);
        return subjects;
    }

    void Rename(const QString& strUid, const QString& strSubject)
    {
        std::unique_ptr<IPOutlookItem> pItem;
        QVERIFY(SUCCEEDED(store.App().GetItemFromOid(OidOf(strUid), &pItem)));
        QVERIFY(SUCCEEDED(pItem->put_Subject(strSubject)));
        QVERIFY(SUCCEEDED(pItem->Save()));
    }

    void Delete(const QString& strUid)
    {
        std::unique_ptr<IPOutlookItem> pItem;
        QVERIFY(SUCCEEDED(store.App().GetItemFromOid(OidOf(strUid), &pItem)));
        QVERIFY(SUCCEEDED(pItem->Delete()));
    }
};

QString Why(const SyncReport& report)
{
    return (report.errors + report.skipped).join('\n');
}

void ExpectClean(const SyncReport& report)
{
    QVERIFY2(report.Complete(), qPrintable(Why(report)));
    QVERIFY2(report.skipped.isEmpty(), qPrintable(Why(report)));
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
    Device a, b;
    a.Import(kWeek);

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
    QByteArray text = kWeek.mid(kWeek.indexOf("BEGIN:VTODO"));
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
    Device a, b;
    a.Import(kWeek);
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

void TestTwoDevices::KilledServerAndWrongPasswordLoseNothing()
{
    CTestDavServer server(CTestDavServer::Kind::Radicale);
    const QUrl cal = server.StartWithCalendar("week");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    Device a, b;
    a.Import(kWeek);
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
