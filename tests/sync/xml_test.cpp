#include "sync/CDavXml.h"

#include <gtest/gtest.h>

namespace {

const QByteArray kDiscovery = R"(<?xml version="1.0"?>
<multistatus xmlns="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav">
 <response><href>/alice/</href>
  <propstat><prop><current-user-principal><href>/alice/</href></current-user-principal>
   <C:calendar-home-set><href>/alice/</href></C:calendar-home-set></prop>
   <status>HTTP/1.1 200 OK</status></propstat></response>
 <response><href>/alice/work/</href>
  <propstat><prop><resourcetype><collection/><C:calendar/></resourcetype>
   <displayname>일정 🗓</displayname>
   <C:supported-calendar-component-set><C:comp name="VEVENT"/><C:comp name="vtodo"/></C:supported-calendar-component-set>
  </prop><status>HTTP/1.1 200 OK</status></propstat>
  <propstat><prop><getetag/></prop><status>HTTP/1.1 404 Not Found</status></propstat></response>
</multistatus>)";

const QByteArray kSync = R"(<?xml version="1.0"?>
<D:multistatus xmlns:D="DAV:" xmlns:C="urn:ietf:params:xml:ns:caldav">
 <D:response><D:href>/alice/work/a.ics</D:href>
  <D:propstat><D:prop><D:getetag>"e1"</D:getetag>
   <C:calendar-data>BEGIN:VCALENDAR&#13;
END:VCALENDAR</C:calendar-data></D:prop>
   <D:status>HTTP/1.1 200 OK</D:status></D:propstat></D:response>
 <D:response><D:href>/alice/work/gone.ics</D:href><D:status>HTTP/1.1 404 Not Found</D:status></D:response>
 <D:sync-token>http://radicale.org/ns/sync/abc</D:sync-token>
</D:multistatus>)";

TEST(DavXml, ReadsDiscoveryProperties)
{
    const DavMultistatus ms = CDavXml::ReadMultistatus(kDiscovery);
    ASSERT_TRUE(ms.strError.isEmpty());
    ASSERT_EQ(ms.responses.size(), 2);
    EXPECT_EQ(ms.responses[0].strPrincipal, "/alice/");
    EXPECT_EQ(ms.responses[0].strCalendarHome, "/alice/");
    EXPECT_FALSE(ms.responses[0].bCalendar);
    const DavResponse& cal = ms.responses[1];
    EXPECT_EQ(cal.strHref, "/alice/work/");
    EXPECT_TRUE(cal.bCalendar);
    EXPECT_TRUE(cal.bCollection);
    EXPECT_EQ(cal.strDisplayName, QString::fromUtf8("일정 🗓"));
    EXPECT_EQ(cal.components, QStringList({"VEVENT", "VTODO"}));
    EXPECT_EQ(cal.nStatus, 200);
    EXPECT_TRUE(cal.strEtag.isEmpty());   // its propstat was 404
}

TEST(DavXml, ReadsSyncAnswerWithDeletesAndToken)
{
    const DavMultistatus ms = CDavXml::ReadMultistatus(kSync);
    ASSERT_TRUE(ms.strError.isEmpty());
    EXPECT_EQ(ms.strSyncToken, "http://radicale.org/ns/sync/abc");
    ASSERT_EQ(ms.responses.size(), 2);
    EXPECT_EQ(ms.responses[0].strEtag, "\"e1\"");
    EXPECT_EQ(ms.responses[0].nStatus, 200);
    EXPECT_EQ(ms.responses[0].calendarData, "BEGIN:VCALENDAR\r\nEND:VCALENDAR");
    EXPECT_EQ(ms.responses[1].strHref, "/alice/work/gone.ics");
    EXPECT_EQ(ms.responses[1].nStatus, 404);
}

TEST(DavXml, RefusesWhatIsNotAWholeMultistatus)
{
    const QByteArray cases[] = {
        "",
        "<html><body>Bad gateway</body></html>",
        "<?xml version=\"1.0\"?><multistatus xmlns=\"DAV:\"><response><href>/a",
        kSync.left(kSync.size() / 2),
    };
    for (const QByteArray& text : cases) {
        const DavMultistatus ms = CDavXml::ReadMultistatus(text);
        EXPECT_FALSE(ms.strError.isEmpty()) << text.constData();
        EXPECT_TRUE(ms.responses.isEmpty());
        EXPECT_TRUE(ms.strSyncToken.isEmpty());
    }
}

TEST(DavXml, QueriesReadBackAsTheirOwnElements)
{
    const QByteArray multiget = CDavXml::Multiget({"/a/1.ics", "/a/한 2.ics"});
    EXPECT_TRUE(multiget.contains("calendar-multiget"));
    EXPECT_TRUE(multiget.contains("/a/1.ics</D:href>"));
    EXPECT_TRUE(multiget.contains(QString::fromUtf8("/a/한 2.ics</D:href>").toUtf8()));
    const QByteArray sync = CDavXml::SyncCollection("tok<&>");
    EXPECT_TRUE(sync.contains("<D:sync-token>tok&lt;&amp;&gt;</D:sync-token>"));
    EXPECT_TRUE(CDavXml::SyncCollection({}).contains("<D:sync-token></D:sync-token>"));
}

} // namespace
