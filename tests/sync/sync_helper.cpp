#include "tests/sync/sync_helper.h"

#include "ical/CICalImporter.h"
#include "pim/CSqlStatement.h"
#include "pim/IPOutlookItem.h"
#include "pim/ITask.h"
#include "sync/CDavClient.h"

#include <QCryptographicHash>
#include <QDate>
#include <QDir>
#include <QProcess>
#include <QSslCertificate>
#include <QtTest>

const QByteArray kSyncWeek = R"(BEGIN:VCALENDAR
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

void SyncDevice::Import(const QByteArray& text)
{
    CICalImporter importer(pStore);
    QString strError;
    QVERIFY2(importer.ImportText(text, &strError), qPrintable(strError));
    QCOMPARE(importer.Skipped(), 0);
}

SyncReport SyncDevice::Sync(const QUrl& calendar, const QString& strPassword, int nTimeoutMs)
{
    CDavClient client(CTestDavServer::kUser, strPassword);
    client.SetTimeoutMs(nTimeoutMs);
    return CSyncEngine(client, pStore, calendar).Sync();
}

QStringList SyncDevice::Week()
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

int32_t SyncDevice::OidOf(const QString& strUid)
{
    CSqlStatement st(pStore->Db(), "SELECT oid FROM items WHERE uid=? AND series IS NULL");
    st.Bind(1, strUid);
    return st.Step() == SQLITE_ROW ? int32_t(st.Int(0)) : 0;
}

QStringList SyncDevice::Subjects()
{
    CSqlStatement st(pStore->Db(), "SELECT subject FROM items WHERE series IS NULL ORDER BY subject");
    QStringList subjects;
    while (st.Step() == SQLITE_ROW)
        subjects << st.Text(0);
    return subjects;
}

std::unique_ptr<IPOutlookItem> SyncDevice::Item(const QString& strUid)
{
    std::unique_ptr<IPOutlookItem> pItem;
    if (FAILED(store.App().GetItemFromOid(OidOf(strUid), &pItem)))
        pItem.reset();
    return pItem;
}

void SyncDevice::Rename(const QString& strUid, const QString& strSubject)
{
    const std::unique_ptr<IPOutlookItem> pItem = Item(strUid);
    QVERIFY(pItem && SUCCEEDED(pItem->put_Subject(strSubject)) && SUCCEEDED(pItem->Save()));
}

void SyncDevice::Delete(const QString& strUid)
{
    const std::unique_ptr<IPOutlookItem> pItem = Item(strUid);
    QVERIFY(pItem && SUCCEEDED(pItem->Delete()));
}

void SyncDevice::Complete(const QString& strUid)
{
    const std::unique_ptr<IPOutlookItem> pItem = Item(strUid);
    QVERIFY(pItem && pItem->AsTask() != nullptr);
    QVERIFY(SUCCEEDED(pItem->AsTask()->put_Complete(VARIANT_TRUE)) && SUCCEEDED(pItem->Save()));
}

void SyncDevice::SetInk(const QString& strUid, const QByteArray& notes)
{
    const std::unique_ptr<IPOutlookItem> pItem = Item(strUid);
    QVERIFY(pItem && SUCCEEDED(pItem->put_BodyInk(notes)) && SUCCEEDED(pItem->Save()));
}

QByteArray SyncDevice::Ink(const QString& strUid)
{
    const std::unique_ptr<IPOutlookItem> pItem = Item(strUid);
    QByteArray notes;
    if (pItem)
        pItem->get_BodyInk(&notes);
    return notes;
}

QString MakeSelfSignedCertificate(const QString& strDir)
{
    const QDir dir(strDir);
    const int nRc = QProcess::execute("openssl", {"req", "-x509", "-newkey", "rsa:2048", "-nodes", "-days", "2", "-subj",
                                                  "/CN=127.0.0.1", "-keyout", dir.filePath("key.pem"), "-out",
                                                  dir.filePath("cert.pem")});
    const QList<QSslCertificate> certs = QSslCertificate::fromPath(dir.filePath("cert.pem"));
    if (nRc != 0 || certs.size() != 1)
        return {};
    return CDavClient::Fingerprint(certs[0].digest(QCryptographicHash::Sha256));
}

QString Why(const SyncReport& report)
{
    return (report.errors + report.skipped).join('\n');
}

void ExpectClean(const SyncReport& report)
{
    QVERIFY2(report.Complete(), qPrintable(Why(report)));
    QVERIFY2(report.skipped.isEmpty(), qPrintable(Why(report)));
}

