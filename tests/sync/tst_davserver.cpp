// The WebDAV client and discovery against real servers started on 127.0.0.1.
#include "tests/support/CTestDavServer.h"

#include "sync/CDavClient.h"
#include "sync/CDavDiscovery.h"
#include "sync/CDavXml.h"
#include "tests/support/CFaultProxy.h"
#include "tests/sync/sync_helper.h"

#include <QtTest>

Q_DECLARE_METATYPE(CTestDavServer::Kind)

namespace {

QByteArray Event(const QByteArray& uid, const QByteArray& summary)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\nBEGIN:VEVENT\r\nUID:" + uid
           + "\r\nDTSTAMP:20261210T120000Z\r\nDTSTART:20261214T090000Z\r\nDTEND:20261214T100000Z\r\n"
             "SUMMARY:" + summary + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

CDavClient Client(const QString& strPassword = QString::fromUtf8(CTestDavServer::kPassword))
{
    return CDavClient(CTestDavServer::kUser, strPassword);
}

} // namespace

class TestDavServer : public QObject
{
    Q_OBJECT
private slots:
    void Servers_data();
    void DiscoveryFindsTheCalendarFromTheRoot_data() { Servers_data(); }
    void DiscoveryFindsTheCalendarFromTheRoot();
    void PutGuardsSyncAndDelete_data() { Servers_data(); }
    void PutGuardsSyncAndDelete();
    void WrongPasswordIsRefusedWithoutShowingIt();
    void ServerDownGivesAMessage();
    void SelfSignedServerIsTakenByItsFingerprintOnly();
};

void TestDavServer::Servers_data()
{
    QTest::addColumn<CTestDavServer::Kind>("kind");
    QTest::newRow("radicale") << CTestDavServer::Kind::Radicale;
    QTest::newRow("xandikos") << CTestDavServer::Kind::Xandikos;
}

void TestDavServer::DiscoveryFindsTheCalendarFromTheRoot()
{
    QFETCH(CTestDavServer::Kind, kind);
    CTestDavServer server(kind);
    const QUrl cal = server.StartWithCalendar("work");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));

    CDavClient client = Client();
    QList<DavCalendar> calendars;
    QString strError;
    QVERIFY2(CDavDiscovery(client).Find(server.Root(), calendars, strError), qPrintable(strError));
    QStringList paths;
    for (const DavCalendar& c : calendars)
        paths << c.url.path();
    QVERIFY2(paths.contains(cal.path()), qPrintable(paths.join(' ')));
}

void TestDavServer::PutGuardsSyncAndDelete()
{
    QFETCH(CTestDavServer::Kind, kind);
    CTestDavServer server(kind);
    const QUrl cal = server.StartWithCalendar("work");
    QVERIFY2(cal.isValid(), qPrintable(server.Error()));
    CDavClient client = Client();
    const QUrl item = cal.resolved(QUrl("a.ics"));

    const DavReply put = client.Send("PUT", item, Event("a", "점심 🍜"), {{"If-None-Match", "*"}});
    QVERIFY2(put.nStatus == 201 || put.nStatus == 204, qPrintable(put.strError));
    const DavReply again = client.Send("PUT", item, Event("a", "twice"), {{"If-None-Match", "*"}});
    QCOMPARE(again.nStatus, 412);

    const DavReply first = client.Send("REPORT", cal, CDavXml::SyncCollection({}), {{"Depth", "1"}});
    QVERIFY2(first.Ok(), qPrintable(first.strError));
    const DavMultistatus listing = CDavXml::ReadMultistatus(first.body);
    QVERIFY(!listing.strSyncToken.isEmpty());
    QCOMPARE(listing.responses.size(), 1);
    QCOMPARE(listing.responses[0].strHref, item.path());
    const QString strEtag = listing.responses[0].strEtag;
    QVERIFY(!strEtag.isEmpty());

    const DavReply got = client.Send("REPORT", cal, CDavXml::Multiget({item.path()}), {{"Depth", "1"}});
    const DavMultistatus data = CDavXml::ReadMultistatus(got.body);
    QCOMPARE(data.responses.size(), 1);
    QVERIFY(QString::fromUtf8(data.responses[0].calendarData).contains(QString::fromUtf8("점심 🍜")));
    QCOMPARE(data.responses[0].strEtag, strEtag);

    const DavReply same = client.Send("REPORT", cal, CDavXml::SyncCollection(listing.strSyncToken), {{"Depth", "1"}});
    QVERIFY2(same.Ok(), qPrintable(same.strError));
    QCOMPARE(CDavXml::ReadMultistatus(same.body).responses.size(), 0);

    const DavReply stale = client.Send("PUT", item, Event("a", "b"), {{"If-Match", "\"not-it\""}});
    QCOMPARE(stale.nStatus, 412);
    QCOMPARE(client.Send("DELETE", item, {}, {{"If-Match", "\"not-it\""}}).nStatus, 412);
    const DavReply del = client.Send("DELETE", item, {}, {{"If-Match", strEtag.toLatin1()}});
    QVERIFY2(del.Ok(), qPrintable(del.strError));

    const DavReply after = client.Send("REPORT", cal, CDavXml::SyncCollection(listing.strSyncToken), {{"Depth", "1"}});
    const DavMultistatus gone = CDavXml::ReadMultistatus(after.body);
    QCOMPARE(gone.responses.size(), 1);
    QCOMPARE(gone.responses[0].nStatus, 404);
}

void TestDavServer::WrongPasswordIsRefusedWithoutShowingIt()
{
    CTestDavServer server(CTestDavServer::Kind::Radicale);
    QVERIFY2(server.Start(), qPrintable(server.Error()));
    QUrl withUser = server.Root();
    withUser.setUserInfo("alice:inurl-secret");
    CDavClient client = Client("wrong-secret");
    QList<DavCalendar> calendars;
    QString strError;
    QVERIFY(!CDavDiscovery(client).Find(withUser, calendars, strError));
    QVERIFY2(strError.contains("401"), qPrintable(strError));
    QVERIFY(!strError.contains("secret"));
}

void TestDavServer::ServerDownGivesAMessage()
{
    CTestDavServer server(CTestDavServer::Kind::Radicale);
    QVERIFY2(server.Start(), qPrintable(server.Error()));
    server.Kill();
    CDavClient client = Client();
    client.SetTimeoutMs(2000);
    const DavReply reply = client.Send("PROPFIND", server.Root(), CDavXml::PrincipalQuery(), {{"Depth", "0"}});
    QCOMPARE(reply.nStatus, 0);
    QVERIFY2(reply.strError.contains("no answer"), qPrintable(reply.strError));
}

// Radicale behind a TLS proxy whose certificate, made here with openssl, no system trusts.
void TestDavServer::SelfSignedServerIsTakenByItsFingerprintOnly()
{
    QTemporaryDir dir;
    const QString strFingerprint = MakeSelfSignedCertificate(dir.path());
    QVERIFY(!strFingerprint.isEmpty());
    CTestDavServer server(CTestDavServer::Kind::Radicale);
    QVERIFY2(server.Start(), qPrintable(server.Error()));
    CFaultProxy proxy(server.Root());
    QVERIFY(proxy.Begin(dir.filePath("cert.pem"), dir.filePath("key.pem")));
    const QUrl root = proxy.Through(server.Root());
    QCOMPARE(root.scheme(), QString("https"));

    const QString wrong = QString(strFingerprint).replace(0, 2, strFingerprint.startsWith("00") ? "11" : "00");
    for (const QString& strAccepted : {QString(), wrong}) {
        CDavClient client = Client();
        client.SetAcceptedFingerprint(strAccepted);
        const DavReply refused = client.Send("PROPFIND", root, CDavXml::PrincipalQuery(), {{"Depth", "0"}});
        QCOMPARE(refused.nStatus, 0);
        QVERIFY2(refused.strError.contains("certificate is refused") && refused.strError.contains(strFingerprint),
                 qPrintable(refused.strError));
    }
    CDavClient client = Client();
    client.SetAcceptedFingerprint(strFingerprint.toLower());
    const DavReply taken = client.Send("PROPFIND", root, CDavXml::PrincipalQuery(), {{"Depth", "0"}});
    QVERIFY2(taken.Ok() && taken.nStatus == 207, qPrintable(taken.strError));
}

QTEST_GUILESS_MAIN(TestDavServer)
#include "tst_davserver.moc"
