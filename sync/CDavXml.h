#pragma once
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// One <response> of a WebDAV multistatus answer, with the properties CalDAV discovery
// and sync read. A property the server did not send stays empty.
struct DavResponse
{
    QString strHref;           // as sent, percent-encoded, path or full URL
    int nStatus = 0;           // of the response (or of its found properties), 0 when none
    QString strEtag;           // with its quotes, as If-Match wants it
    QByteArray calendarData;   // calendar-data text, UTF-8
    QString strPrincipal;      // current-user-principal href
    QString strCalendarHome;   // calendar-home-set href
    QString strDisplayName;
    bool bCalendar = false;    // resourcetype holds C:calendar
    bool bCollection = false;
    QStringList components;    // supported-calendar-component-set names (VEVENT, VTODO)
};

struct DavMultistatus
{
    QList<DavResponse> responses;
    QString strSyncToken;
    QString strError;          // empty when the text read as a multistatus
};

// WebDAV XML as CalDAV needs it: reads multistatus answers, writes request bodies.
class CDavXml
{
public:
    static DavMultistatus ReadMultistatus(const QByteArray& xml);

    static QByteArray PrincipalQuery();      // PROPFIND current-user-principal
    static QByteArray HomeQuery();           // PROPFIND calendar-home-set
    static QByteArray CollectionsQuery();    // PROPFIND of a home, Depth 1
    static QByteArray EtagQuery();           // PROPFIND getetag, Depth 1
    static QByteArray SyncCollection(const QString& strToken);
    static QByteArray Multiget(const QStringList& hrefs);
};
