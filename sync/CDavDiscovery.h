#pragma once
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

class CDavClient;

struct DavCalendar
{
    QUrl url;
    QString strName;
    QStringList components;   // VEVENT, VTODO; empty when the server did not say (all)
};

// Finds a user's calendar collections from a server address: the well-known CalDAV
// address, then current-user-principal, then calendar-home-set, then the home's calendars.
// An address that is itself a calendar gives that calendar.
class CDavDiscovery
{
public:
    explicit CDavDiscovery(CDavClient& client) : m_client(client) {}

    bool Find(const QUrl& start, QList<DavCalendar>& calendars, QString& strError);

private:
    bool Property(const QUrl& url, const QByteArray& query, QString strField, QUrl& found,
                  QString& strError);
    bool Calendars(const QUrl& home, QList<DavCalendar>& calendars, QString& strError);

    CDavClient& m_client;
};
