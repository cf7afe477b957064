#include "sync/CDavDiscovery.h"

#include "sync/CDavClient.h"
#include "sync/CDavXml.h"

bool CDavDiscovery::Find(const QUrl& start, QList<DavCalendar>& calendars, QString& strError)
{
    calendars.clear();
    // The address may be a calendar or a home already.
    if (Calendars(start, calendars, strError) && !calendars.isEmpty())
        return true;
    QUrl base = start;
    if (start.path().isEmpty() || start.path() == u"/")
        base = start.resolved(QUrl(QStringLiteral("/.well-known/caldav")));
    QUrl principal;
    if (!Property(base, CDavXml::PrincipalQuery(), QStringLiteral("principal"), principal, strError)) {
        if (base == start)
            return false;
        if (!Property(start, CDavXml::PrincipalQuery(), QStringLiteral("principal"), principal, strError))
            return false;
    }
    QUrl home;
    if (!Property(principal, CDavXml::HomeQuery(), QStringLiteral("home"), home, strError))
        return false;
    if (!Calendars(home, calendars, strError))
        return false;
    if (calendars.isEmpty()) {
        strError = QStringLiteral("%1 holds no calendar").arg(CDavClient::Shown(home));
        return false;
    }
    return true;
}

bool CDavDiscovery::Property(const QUrl& url, const QByteArray& query, QString strField, QUrl& found,
                             QString& strError)
{
    QUrl from;
    const DavMultistatus ms = m_client.Multistatus("PROPFIND", url, query, "0", &from);
    if (!ms.strError.isEmpty()) {
        strError = ms.strError;
        return false;
    }
    for (const DavResponse& resp : ms.responses) {
        const QString& strHref = strField == u"principal" ? resp.strPrincipal : resp.strCalendarHome;
        if (!strHref.isEmpty()) {
            found = from.resolved(QUrl(strHref));
            return true;
        }
    }
    strError = QStringLiteral("%1 names no %2").arg(CDavClient::Shown(url),
                   strField == u"principal" ? QStringLiteral("current user principal")
                                             : QStringLiteral("calendar home"));
    return false;
}

bool CDavDiscovery::Calendars(const QUrl& home, QList<DavCalendar>& calendars, QString& strError)
{
    QUrl from;
    const DavMultistatus ms = m_client.Multistatus("PROPFIND", home, CDavXml::CollectionsQuery(), "1", &from);
    if (!ms.strError.isEmpty()) {
        strError = ms.strError;
        return false;
    }
    for (const DavResponse& resp : ms.responses) {
        if (!resp.bCalendar)
            continue;
        DavCalendar cal;
        cal.url = from.resolved(QUrl(resp.strHref));
        cal.strName = resp.strDisplayName;
        cal.components = resp.components;
        calendars << cal;
    }
    return true;
}
