#include "sync/CDavXml.h"

#include <QXmlStreamReader>
#include <QXmlStreamWriter>

namespace {

const QString kDav = QStringLiteral("DAV:");
const QString kCalDav = QStringLiteral("urn:ietf:params:xml:ns:caldav");

// Reads the properties of one <prop> element into the response.
void ReadProp(QXmlStreamReader& xml, DavResponse& resp)
{
    QString strParent;   // the property whose <href> children are being read
    int nDepth = 0;
    while (!xml.atEnd()) {
        const QXmlStreamReader::TokenType tok = xml.readNext();
        if (tok == QXmlStreamReader::EndElement) {
            if (nDepth == 0)
                return;
            if (--nDepth == 0)
                strParent.clear();
            continue;
        }
        if (tok != QXmlStreamReader::StartElement)
            continue;
        const QStringView name = xml.name();
        const QStringView ns = xml.namespaceUri();
        if (nDepth == 0) {
            if (ns == kDav && name == u"getetag") {
                resp.strEtag = xml.readElementText().trimmed();
                continue;
            }
            if (ns == kCalDav && name == u"calendar-data") {
                resp.calendarData = xml.readElementText().toUtf8();
                continue;
            }
            if (ns == kDav && name == u"displayname") {
                resp.strDisplayName = xml.readElementText();
                continue;
            }
            strParent = name.toString();
            ++nDepth;
            continue;
        }
        ++nDepth;
        if (ns == kDav && name == u"href") {
            const QString strHref = xml.readElementText().trimmed();
            --nDepth;
            if (strParent == u"current-user-principal")
                resp.strPrincipal = strHref;
            else if (strParent == u"calendar-home-set")
                resp.strCalendarHome = strHref;
        } else if (strParent == u"resourcetype") {
            if (ns == kCalDav && name == u"calendar")
                resp.bCalendar = true;
            if (ns == kDav && name == u"collection")
                resp.bCollection = true;
        } else if (strParent == u"supported-calendar-component-set" && name == u"comp") {
            resp.components << xml.attributes().value(QStringLiteral("name")).toString().toUpper();
        }
    }
}

// Reads one <propstat>; the properties count only when their status is 2xx.
void ReadPropstat(QXmlStreamReader& xml, DavResponse& resp, int& nPropStatus)
{
    DavResponse found;
    int nStatus = 0;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"prop")
            ReadProp(xml, found);
        else if (xml.name() == u"status")
            nStatus = QStringView(xml.readElementText()).split(u' ').value(1).toInt();
        else
            xml.skipCurrentElement();
    }
    if (nStatus / 100 != 2)
        return;
    nPropStatus = nStatus;
    const QString strHref = resp.strHref;
    const int nOwnStatus = resp.nStatus;
    if (!found.strEtag.isEmpty()) resp.strEtag = found.strEtag;
    if (!found.calendarData.isEmpty()) resp.calendarData = found.calendarData;
    if (!found.strPrincipal.isEmpty()) resp.strPrincipal = found.strPrincipal;
    if (!found.strCalendarHome.isEmpty()) resp.strCalendarHome = found.strCalendarHome;
    if (!found.strDisplayName.isEmpty()) resp.strDisplayName = found.strDisplayName;
    resp.bCalendar = resp.bCalendar || found.bCalendar;
    resp.bCollection = resp.bCollection || found.bCollection;
    resp.components += found.components;
    resp.strHref = strHref;
    resp.nStatus = nOwnStatus;
}

DavResponse ReadResponse(QXmlStreamReader& xml)
{
    DavResponse resp;
    int nPropStatus = 0;
    while (xml.readNextStartElement()) {
        if (xml.name() == u"href")
            resp.strHref = xml.readElementText().trimmed();
        else if (xml.name() == u"status")
            resp.nStatus = QStringView(xml.readElementText()).split(u' ').value(1).toInt();
        else if (xml.name() == u"propstat")
            ReadPropstat(xml, resp, nPropStatus);
        else
            xml.skipCurrentElement();
    }
    if (resp.nStatus == 0)
        resp.nStatus = nPropStatus;
    return resp;
}

void StartQuery(QXmlStreamWriter& w, const QString& strNs, const QString& strRoot)
{
    w.writeStartDocument();
    w.writeNamespace(kDav, QStringLiteral("D"));
    w.writeNamespace(kCalDav, QStringLiteral("C"));
    w.writeStartElement(strNs, strRoot);
}

QByteArray PropQuery(const QList<std::pair<QString, QString>>& props)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    StartQuery(w, kDav, QStringLiteral("propfind"));
    w.writeStartElement(kDav, QStringLiteral("prop"));
    for (const auto& [ns, name] : props)
        w.writeEmptyElement(ns, name);
    w.writeEndDocument();
    return out;
}

} // namespace

DavMultistatus CDavXml::ReadMultistatus(const QByteArray& xmlText)
{
    DavMultistatus ms;
    QXmlStreamReader xml(xmlText);
    if (!xml.readNextStartElement() || xml.name() != u"multistatus" || xml.namespaceUri() != kDav) {
        ms.strError = QStringLiteral("the answer is not a WebDAV multistatus");
        return ms;
    }
    while (xml.readNextStartElement()) {
        if (xml.name() == u"response")
            ms.responses << ReadResponse(xml);
        else if (xml.name() == u"sync-token")
            ms.strSyncToken = xml.readElementText().trimmed();
        else
            xml.skipCurrentElement();
    }
    if (xml.hasError()) {
        ms.responses.clear();
        ms.strSyncToken.clear();
        ms.strError = QStringLiteral("malformed XML in the answer (line %1: %2)")
                          .arg(xml.lineNumber()).arg(xml.errorString());
    }
    return ms;
}

QByteArray CDavXml::PrincipalQuery()
{
    return PropQuery({{kDav, QStringLiteral("current-user-principal")}});
}

QByteArray CDavXml::HomeQuery()
{
    return PropQuery({{kCalDav, QStringLiteral("calendar-home-set")}});
}

QByteArray CDavXml::CollectionsQuery()
{
    return PropQuery({{kDav, QStringLiteral("resourcetype")},
                      {kDav, QStringLiteral("displayname")},
                      {kCalDav, QStringLiteral("supported-calendar-component-set")},
                      {kDav, QStringLiteral("sync-token")}});
}

QByteArray CDavXml::EtagQuery()
{
    return PropQuery({{kDav, QStringLiteral("resourcetype")}, {kDav, QStringLiteral("getetag")}});
}

QByteArray CDavXml::SyncCollection(const QString& strToken)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    StartQuery(w, kDav, QStringLiteral("sync-collection"));
    w.writeTextElement(kDav, QStringLiteral("sync-token"), strToken);
    w.writeTextElement(kDav, QStringLiteral("sync-level"), QStringLiteral("1"));
    w.writeStartElement(kDav, QStringLiteral("prop"));
    w.writeEmptyElement(kDav, QStringLiteral("getetag"));
    w.writeEndDocument();
    return out;
}

QByteArray CDavXml::Multiget(const QStringList& hrefs)
{
    QByteArray out;
    QXmlStreamWriter w(&out);
    StartQuery(w, kCalDav, QStringLiteral("calendar-multiget"));
    w.writeStartElement(kDav, QStringLiteral("prop"));
    w.writeEmptyElement(kDav, QStringLiteral("getetag"));
    w.writeEmptyElement(kCalDav, QStringLiteral("calendar-data"));
    w.writeEndElement();
    for (const QString& strHref : hrefs)
        w.writeTextElement(kDav, QStringLiteral("href"), strHref);
    w.writeEndDocument();
    return out;
}
