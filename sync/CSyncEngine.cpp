#include "sync/CSyncEngine.h"

#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "ical/ICalItemText.h"
#include "pim/CItemRecord.h"
#include "pim/CItemTable.h"
#include "pim/CItemWriter.h"
#include "pim/CPimStore.h"
#include "sync/CDavClient.h"
#include "sync/CDavXml.h"

#include <QBuffer>
#include <QDate>
#include <QSet>

namespace {
constexpr int kMultigetBatch = 100;
const QList<std::pair<QByteArray, QByteArray>> kDepth1 = {{"Depth", "1"}};
}

CSyncEngine::CSyncEngine(CDavClient& client, std::shared_ptr<CPimStore> pStore, const QUrl& calendar)
    : m_client(client), m_pStore(pStore), m_calendar(calendar), m_state(pStore, CDavClient::Shown(calendar))
{
}

QString CSyncEngine::ConflictSuffix(const QString& strDay)
{
    return QStringLiteral(" (conflict %1)").arg(strDay);
}

void CSyncEngine::Fail(const QString& strWhat)
{
    m_report.errors << strWhat;
}

SyncReport CSyncEngine::Sync()
{
    m_report = {};
    QList<Remote> changed;
    QStringList gone;
    QString strToken;
    if (!ListChanges(&changed, &gone, &strToken))
        return m_report;
    for (const QString& strHref : gone)
        Gone(strHref);
    Receive(changed);
    // An unchanged token is not written again: a sync that finds nothing writes nothing.
    if (m_report.Complete() && !strToken.isEmpty() && strToken != m_state.Token())
        m_state.SetToken(strToken);
    SendDeletes();
    SendChanges();
    SendNew();
    return m_report;
}

// What changed on the server since the stored token; a full listing when there is no
// token or the server refuses it.
bool CSyncEngine::ListChanges(QList<Remote>* pChanged, QStringList* pGone, QString* pstrToken)
{
    const QString strToken = m_state.Token();
    const DavReply reply = m_client.Send("REPORT", m_calendar, CDavXml::SyncCollection(strToken), kDepth1);
    if (Unreachable(reply.nStatus) || reply.nStatus == 404) {
        Fail(reply.strError);
        return false;
    }
    const DavMultistatus ms = reply.Ok() ? CDavXml::ReadMultistatus(reply.body) : DavMultistatus{};
    if (!ms.strError.isEmpty()) {
        Fail(QStringLiteral("%1: %2").arg(CDavClient::Shown(m_calendar), ms.strError));
        return false;
    }
    if (!reply.Ok() || ms.strSyncToken.isEmpty()) {
        // The token refused, or a server without tokens.
        m_state.SetToken({});
        return ListAll(pChanged, pGone);
    }
    const QString strSelf = Canonical(m_calendar.path(QUrl::FullyEncoded));
    for (const DavResponse& resp : ms.responses) {
        const QString strHref = Canonical(resp.strHref);
        if (strHref == strSelf)
            continue;
        if (resp.nStatus == 404)
            *pGone << strHref;
        else
            pChanged->append({strHref, resp.strEtag});
    }
    *pstrToken = ms.strSyncToken;
    return true;
}

bool CSyncEngine::ListAll(QList<Remote>* pChanged, QStringList* pGone)
{
    const DavMultistatus ms = m_client.Multistatus("PROPFIND", m_calendar, CDavXml::EtagQuery(), "1");
    if (!ms.strError.isEmpty()) {
        Fail(ms.strError);
        return false;
    }
    QSet<QString> present;
    for (const DavResponse& resp : ms.responses) {
        if (resp.bCollection)
            continue;
        const QString strHref = Canonical(resp.strHref);
        present.insert(strHref);
        pChanged->append({strHref, resp.strEtag});
    }
    for (const SyncLink& link : m_state.Links()) {
        if (!present.contains(link.strHref))
            *pGone << link.strHref;
    }
    return true;
}

void CSyncEngine::Receive(const QList<Remote>& changed)
{
    QStringList wanted;
    for (const Remote& r : changed) {
        SyncLink link;
        if (m_state.LinkByHref(r.strHref, &link) && link.strEtag == r.strEtag && !r.strEtag.isEmpty())
            continue;   // already held as it is
        wanted << r.strHref;
    }
    for (qsizetype nAt = 0; nAt < wanted.size(); nAt += kMultigetBatch) {
        QStringList batch;
        for (const QString& strHref : wanted.mid(nAt, kMultigetBatch))
            batch << UrlOf(strHref).path(QUrl::FullyEncoded);
        const DavMultistatus ms = m_client.Multistatus("REPORT", m_calendar, CDavXml::Multiget(batch), "1");
        if (!ms.strError.isEmpty()) {
            Fail(ms.strError);
            return;
        }
        for (const DavResponse& resp : ms.responses) {
            if (resp.nStatus / 100 == 2 && !resp.calendarData.isEmpty())
                Take(Canonical(resp.strHref), resp.strEtag, resp.calendarData);
        }
    }
}

// One resource from the server into the store.
void CSyncEngine::Take(const QString& strHref, const QString& strEtag, const QByteArray& text)
{
    SyncLink link;
    if (m_state.LinkByHref(strHref, &link)) {
        // Ours goes only once theirs is known to read.
        QString strError;
        if (!ReadsAlone(text, &strError)) {
            Fail(QStringLiteral("%1: %2").arg(strHref, strError));
            return;
        }
        // Both changed: ours becomes a new item, unless the server's is our own change
        // whose answer was lost. The server's takes the place of ours whatever the
        // versions say.
        if (link.bDirty && !ICalSameItem(text, ExportOne(link.nOid))) {
            if (!KeepConflictCopy(link.nOid))
                return;
            ++m_report.nConflicts;
        }
        if (!DeleteLocal(link.nOid)) {
            Fail(QStringLiteral("%1 could not replace the stored item").arg(strHref));
            return;
        }
    }
    m_state.DropTombstone(strHref);   // deleted here, changed there: it comes back
    int64_t nOid = 0;
    if (!ImportOne(text, strHref, &nOid))
        return;
    m_state.SetLink(nOid, strHref, strEtag, false);
    ++m_report.nReceived;
}

void CSyncEngine::Gone(const QString& strHref)
{
    m_state.DropTombstone(strHref);
    SyncLink link;
    if (!m_state.LinkByHref(strHref, &link))
        return;
    if (link.bDirty) {
        m_state.Unlink(link.nOid);   // changed here, deleted there: sent again as new
        return;
    }
    if (DeleteLocal(link.nOid)) {
        m_state.DropTombstone(strHref);
        ++m_report.nDeletedHere;
    }
}

bool CSyncEngine::ImportOne(const QByteArray& text, const QString& strHref, int64_t* pnOid)
{
    CICalImporter importer(m_pStore);
    QString strError;
    if (!importer.ImportText(text, &strError)) {
        // Unreadable as sent (or not storable now): the next sync asks again.
        Fail(QStringLiteral("%1: %2").arg(strHref, strError));
        return false;
    }
    const QString strUid = ICalFirstUid(text);
    if (strUid.isEmpty()) {
        m_report.skipped << strHref + QStringLiteral(": no event or to-do with a UID");
        return false;
    }
    if (importer.Skipped() > 0) {
        // Nothing of it stays here, so that nothing of it is sent back changed.
        if (const int64_t nOid = m_state.OidOfUid(strUid); nOid != 0 && DeleteLocal(nOid))
            m_state.DropTombstone(strHref);
        m_report.skipped << strHref + QStringLiteral(": ") + importer.SkippedSummary().join(QStringLiteral("; "));
        return false;
    }
    *pnOid = m_state.OidOfUid(strUid);
    return *pnOid != 0;
}

// Whether the text imports, tried in a store of its own: false with *pstrError when it
// does not; else *pNotHeld (may be null) lists what the store cannot hold of it, items
// skipped and values dropped.
bool CSyncEngine::ReadsAlone(const QByteArray& text, QString* pstrError, QStringList* pNotHeld)
{
    std::shared_ptr<CPimStore> pScratch;
    if (FAILED(CPimStore::OpenInMemory(&pScratch))) {
        *pstrError = QStringLiteral("no store to read it into");
        return false;
    }
    CICalImporter importer(pScratch);
    if (!importer.ImportText(text, pstrError))
        return false;
    if (pNotHeld != nullptr)
        *pNotHeld = importer.SkippedSummary() + importer.DroppedSummary();
    return true;
}

bool CSyncEngine::KeepConflictCopy(int64_t nOid)
{
    const QByteArray text = ExportOne(nOid);
    const QByteArray copy = ICalRenamedCopy(text, CPimStore::NewUid(),
                                            ConflictSuffix(QDate::currentDate().toString(Qt::ISODate)));
    CICalImporter importer(m_pStore);
    QString strError;
    if (copy.isEmpty() || !importer.ImportText(copy, &strError) || importer.Added() != 1) {
        Fail(QStringLiteral("a conflict copy could not be kept: %1").arg(strError));
        return false;
    }
    return true;
}

bool CSyncEngine::DeleteLocal(int64_t nOid)
{
    CItemRecord record;
    if (!CItemTable::Load(*m_pStore, int32_t(nOid), &record))
        return false;
    return SUCCEEDED(CItemWriter::Delete(*m_pStore, &record));
}

QByteArray CSyncEngine::ExportOne(int64_t nOid)
{
    QByteArray text;
    QBuffer buffer(&text);
    buffer.open(QIODevice::WriteOnly);
    CICalExporter exporter(m_pStore);
    QString strError;
    if (!m_pStore->BeginRead())
        return {};
    const bool bOk = exporter.ExportItem(nOid, &buffer, &strError);
    m_pStore->Commit();
    return bOk ? text : QByteArray();
}

// A delete made here goes to the server only where the store held all of the server's
// copy; else the server keeps it and the tombstone goes.
void CSyncEngine::SendDeletes()
{
    for (const SyncTombstone& stone : m_state.Tombstones()) {
        const EServerCopy copy = ServerCopy(stone.strHref, QStringLiteral("deleted here only, not on the server"));
        if (copy == EServerCopy::Unreachable)
            return;
        if (copy == EServerCopy::Failed)
            continue;
        if (copy != EServerCopy::Free) {
            m_state.DropTombstone(stone.strHref);
            continue;
        }
        const DavReply reply = m_client.Send("DELETE", UrlOf(stone.strHref), {}, {{"If-Match", stone.strEtag.toLatin1()}});
        if (reply.Ok() || reply.nStatus == 404) {
            m_state.DropTombstone(stone.strHref);
            ++m_report.nDeletedThere;
        } else if (reply.nStatus == 412) {
            // Changed there since: it comes back with the next full listing.
            m_state.DropTombstone(stone.strHref);
            m_state.SetToken({});
            Fail(QStringLiteral("%1 changed on the server; it comes back next time").arg(stone.strHref));
        } else {
            Fail(reply.strError);
            return;
        }
    }
}

void CSyncEngine::SendChanges()
{
    for (const SyncLink& link : m_state.DirtyLinks()) {
        if (!SendChange(link))
            return;
    }
}

// A change made here goes over the server's copy only when the store held all of that
// copy; else the server's copy stays as it is, and so does the change made here.
bool CSyncEngine::SendChange(const SyncLink& link)
{
    switch (ServerCopy(link.strHref, QStringLiteral("the change made here is not sent"))) {
    case EServerCopy::Gone:
        m_state.Unlink(link.nOid);   // deleted there meanwhile: sent again as new
        return true;
    case EServerCopy::Unreachable:
        return false;
    case EServerCopy::Free:
        return Put(link.nOid, link.strHref, link.strEtag, false);
    default:
        return true;
    }
}

// Reads the server's copy of strHref. Where the store cannot hold all of it, it is Kept
// and listed under skipped: "<href>: <strNotDone>, because ...". A failure is reported.
CSyncEngine::EServerCopy CSyncEngine::ServerCopy(const QString& strHref, const QString& strNotDone)
{
    const DavReply there = m_client.Send("GET", UrlOf(strHref));
    if (there.nStatus == 404)
        return EServerCopy::Gone;
    if (!there.Ok()) {
        Fail(there.strError);
        return Unreachable(there.nStatus) ? EServerCopy::Unreachable : EServerCopy::Failed;
    }
    QString strError;
    QStringList notHeld;
    if (!ReadsAlone(there.body, &strError, &notHeld))
        notHeld << strError;
    if (notHeld.isEmpty())
        return EServerCopy::Free;
    m_report.skipped << QStringLiteral("%1: %2, because the server's copy holds what this store cannot (%3)")
                            .arg(strHref, strNotDone, notHeld.join(QStringLiteral("; ")));
    return EServerCopy::Kept;
}

void CSyncEngine::SendNew()
{
    for (int64_t nOid : m_state.Unlinked()) {
        if (!Put(nOid, HrefFor(m_state.UidOf(nOid)), {}, true))
            return;
    }
}

// The server cannot be reached or refuses us: the rest waits for the next sync.
bool CSyncEngine::Unreachable(int nStatus)
{
    return nStatus == 0 || nStatus == 401 || nStatus == 403 || nStatus >= 500;
}

// A new resource is named after the item's UID (a slash would make a folder).
QString CSyncEngine::HrefFor(const QString& strUid) const
{
    QString strName = strUid;
    strName.replace(u'/', u'_');
    return m_calendar.path(QUrl::FullyDecoded) + strName + QStringLiteral(".ics");
}

QString CSyncEngine::Canonical(const QString& strHref)
{
    return QUrl(strHref).path(QUrl::FullyDecoded);
}

QUrl CSyncEngine::UrlOf(const QString& strHref) const
{
    QUrl url = m_calendar;
    url.setPath(strHref, QUrl::DecodedMode);
    return url;
}

bool CSyncEngine::Put(int64_t nOid, const QString& strHref, const QString& strEtag, bool bNew)
{
    const QByteArray text = ExportOne(nOid);
    if (text.isEmpty()) {
        Fail(QStringLiteral("item %1 could not be written as iCalendar").arg(nOid));
        return true;
    }
    const QList<std::pair<QByteArray, QByteArray>> guard = {
        bNew ? std::pair<QByteArray, QByteArray>("If-None-Match", "*")
             : std::pair<QByteArray, QByteArray>("If-Match", strEtag.toLatin1())};
    const DavReply reply = m_client.Send("PUT", UrlOf(strHref), text, guard);
    if (reply.Ok()) {
        m_state.SetLink(nOid, strHref, reply.strEtag, false);
        ++m_report.nSent;
        return true;
    }
    if (reply.nStatus != 412) {
        Fail(reply.strError);
        return !Unreachable(reply.nStatus);
    }
    // Something else is there. When it is what we send, it is our own earlier PUT whose
    // answer was lost: linked as sent.
    QString strThere;
    QByteArray there;
    if (!Fetch(strHref, &strThere, &there))
        return false;
    if (ICalSameItem(there, text)) {
        m_state.SetLink(nOid, strHref, strThere, false);
        ++m_report.nSent;
        return true;
    }
    if (bNew) {
        // Another item under that name, or ours sent from elsewhere: ours goes over it.
        if (ICalFirstUid(there) != m_state.UidOf(nOid))
            return Put(nOid, HrefFor(CPimStore::NewUid()), {}, true);
        m_state.SetLink(nOid, strHref, strThere, true);
        return Put(nOid, strHref, strThere, false);
    }
    // Changed there since our listing: keep ours as a copy, take theirs.
    if (!KeepConflictCopy(nOid) || !DeleteLocal(nOid))
        return true;
    m_state.DropTombstone(strHref);
    ++m_report.nConflicts;
    int64_t nNewOid = 0;
    if (ImportOne(there, strHref, &nNewOid))
        m_state.SetLink(nNewOid, strHref, strThere, false);
    Fail(QStringLiteral("%1 changed on the server meanwhile; the copy is sent next time").arg(strHref));
    return true;
}

bool CSyncEngine::Fetch(const QString& strHref, QString* pstrEtag, QByteArray* pText)
{
    const DavReply reply = m_client.Send("GET", UrlOf(strHref));
    if (!reply.Ok()) {
        Fail(reply.strError);
        return false;
    }
    *pstrEtag = reply.strEtag;
    *pText = reply.body;
    return true;
}
