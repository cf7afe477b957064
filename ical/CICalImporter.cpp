#include "ical/CICalImporter.h"
#include "ical/CAnniversaryEvents.h"

#include "ical/CBoundedQueue.h"
#include "pim/CLocalZone.h"
#include "pim/CPimStore.h"
#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <ctime>
#include <thread>
#include <utility>

namespace {

// Items read ahead of the store, at most: batches of items, handed over at once.
constexpr qsizetype kBatchItems = 32;
constexpr size_t kQueuedBatches = 4;

QString TooLarge(const ICalBlock& b)
{
    const QString strName = QString::fromLatin1(b.name);
    return ICalSkipLine(b.strUid.isEmpty() ? strName : b.strUid,
                        QStringLiteral("%1 of %2 bytes, more than the %3 MiB an item may have")
                            .arg(strName)
                            .arg(b.nEnd - b.nBegin)
                            .arg(CICalStream::kMaxComponentBytes >> 20));
}

// Bytes of a file's start read to tell its version: its VERSION line precedes its items.
constexpr qint64 kVersionPeekBytes = 8192;

// A vCalendar 1.0 file (VERSION:1.0 in its calendar, before any component of it).
bool IsVCalendar1(QIODevice* pDevice)
{
    static const QRegularExpression version(QStringLiteral("(^|\\n)VERSION:[ \\t]*1\\.0[ \\t]*\\r?\\n"),
                                            QRegularExpression::CaseInsensitiveOption);
    QByteArray start = pDevice->peek(kVersionPeekBytes);
    const qsizetype nItem = start.indexOf("\nBEGIN:V", start.indexOf("BEGIN:VCALENDAR") + 1);
    if (nItem >= 0)
        start.truncate(nItem + 1);
    return version.match(QString::fromLatin1(start)).hasMatch();
}

}  // namespace

CICalImporter::CICalImporter(std::shared_ptr<CPimStore> pStore)
    : m_pStore(pStore), m_reader(m_zones), m_overrides(m_zones, m_reader), m_items(std::move(pStore))
{
}

CICalImporter::~CICalImporter()
{
    Clear();
}

void CICalImporter::Clear()
{
    m_zones.Clear();
    m_overrides.Clear();
}

QStringList CICalImporter::DroppedSummary() const
{
    QStringList lines;
    const QMap<QString, int>& dropped = m_reader.Dropped();
    for (auto it = dropped.constBegin(); it != dropped.constEnd(); ++it)
        lines << QStringLiteral("%1: %2").arg(it.key()).arg(it.value());
    return lines;
}

QString CICalImporter::CountsLine() const
{
    return QStringLiteral("%1 added, %2 updated, %3 unchanged, %4 skipped.")
        .arg(Added())
        .arg(Updated())
        .arg(Unchanged())
        .arg(Skipped());
}

QStringList CICalImporter::LeftOut() const
{
    QStringList lines;
    for (const QString& strLine : m_items.Skipped())
        lines << QStringLiteral("Skipped ") + strLine;
    for (const QString& strLine : m_items.Renamed())
        lines << QStringLiteral("Kept %1: an earlier item of the file has that UID").arg(strLine);
    for (const QString& strLine : DroppedSummary())
        lines << QStringLiteral("Dropped ") + strLine;
    return lines;
}

BOOL CICalImporter::ImportFile(const QString& strPath, QString* pstrError)
{
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        *pstrError = QStringLiteral("cannot read %1: %2").arg(strPath, file.errorString());
        return FALSE;
    }
    return ImportDevice(&file, pstrError);
}

BOOL CICalImporter::ImportText(const QByteArray& text, QString* pstrError)
{
    QBuffer buffer;
    buffer.setData(text);
    buffer.open(QIODevice::ReadOnly);
    return ImportDevice(&buffer, pstrError);
}

BOOL CICalImporter::ImportDevice(QIODevice* pDevice, QString* pstrError)
{
    Clear();
    m_reader.ClearDropped();
    m_items.Reset();
    m_specialDays.clear();
    if (IsVCalendar1(pDevice)) {
        *pstrError = QStringLiteral("this is a vCalendar 1.0 file, which is not read: only iCalendar (VERSION:2.0) is");
        return FALSE;
    }
    CICalStream stream(pDevice);
    // First the whole structure, so that a damaged file adds nothing; the zones, which
    // components before them may use; and where each series' changed occurrences are.
    const bool bRead = stream.Scan(
        [this](const ICalBlock& b, const QByteArray& block) {
            if (b.bTooLarge)  // said in the second pass
                return true;
            if (b.name == "VTIMEZONE" && !m_zones.Load(block))
                m_reader.Drop(QStringLiteral("unreadable VTIMEZONE"));
            else if (b.bOverride)
                m_overrides.Add(b);
            return true;
        },
        pstrError, "VTIMEZONE");
    if (!bRead || !m_items.Begin(pstrError))
        return Clear(), FALSE;
    QString strReadError;
    const bool bScanned = ReadAndStore(stream, &strReadError);
    const bool bOk = m_items.End(bScanned);
    Clear();
    if (!bOk) {
        *pstrError = bScanned ? m_items.StoreError() : strReadError;
        return FALSE;
    }
    return TRUE;
}

// The file's items are read and checked in a thread of their own while this thread stores
// them, in file order: the store is only ever used from here. False when the file could
// not be read to its end; a failed store write ends the reading too.
bool CICalImporter::ReadAndStore(CICalStream& stream, QString* pstrReadError)
{
    // Both threads convert local times: the local zone is read once, before they start.
    CLocalZone::WallFromUtc(std::time(nullptr));
    // Items are handed over in batches, so that the threads seldom wait for each other.
    CBoundedQueue<QVector<ICalPrepared>> queue(kQueuedBatches);
    bool bScanned = false;
    std::thread reader([&] {
        QVector<ICalPrepared> batch;
        bScanned = stream.Scan(
            [&](const ICalBlock& b, const QByteArray& block) {
                if (!b.bTooLarge && (b.name == "VTIMEZONE" || b.bOverride))  // overrides are read with their series
                    return true;
                batch.push_back(ICalPrepared());
                if (b.bTooLarge)
                    batch.back().skipped << TooLarge(b);
                else
                    Prepare(stream, b, block, &batch.back());
                return batch.size() < kBatchItems || queue.Push(std::exchange(batch, {}));
            },
            pstrReadError);
        if (bScanned) {
            batch.push_back(m_overrides.Unused());
            queue.Push(std::move(batch));
        }
        queue.Close();
    });
    QVector<ICalPrepared> batch;
    while (queue.Pop(&batch)) {
        for (ICalPrepared& prepared : batch) {
            m_specialDays += prepared.specialDays;
            if (!m_items.StorePrepared(prepared)) {
                queue.Abort();
                break;
            }
        }
    }
    reader.join();
    return bScanned;
}

// Everything short of the store: reading, checking and shaping the item and its changed
// occurrences. Runs in the reading thread.
void CICalImporter::Prepare(CICalStream& stream, const ICalBlock& master, const QByteArray& block,
                            ICalPrepared* pOut)
{
    if (master.name != "VEVENT" && master.name != "VTODO") {
        const QString strName = QString::fromLatin1(master.name);
        pOut->skipped << ICalSkipLine(master.strUid.isEmpty() ? strName : master.strUid,
                                      QStringLiteral("%1 components are not events or to-dos").arg(strName));
        return;
    }
    const bool bEvent = master.name == "VEVENT";
    QString strUid = master.strUid;
    QString strUnread = QStringLiteral("libical could not read the component");
    icalcomponent* pComp = CICalStream::Parse(block, &strUnread);
    if (pComp == nullptr)
        return void(pOut->skipped << ICalSkipLine(strUid, strUnread));
    QVector<CItemRecord> series;
    QVector<int64_t> exdates;
    QString strWhy;
    AnniversaryFields day;
    QString strNotADay;
    if (bEvent && m_bKeepSpecialDays && CAnniversaryEvents::DayOfEvent(pComp, m_bPlainSpecialDays, &day, &strNotADay)) {
        icalcomponent_free(pComp);
        pOut->specialDays.append(ICalSpecialDay{strUid, day});
        return;
    }
    const bool bRead = m_reader.ReadItem(pComp, block, bEvent, &series, &exdates, &strUid, &strWhy);
    icalcomponent_free(pComp);
    if (!bRead)
        return void(pOut->skipped << ICalSkipLine(strUid, strWhy));
    const QVector<icalcomponent*> overrides = m_overrides.Read(stream, master, strUid, pOut);
    if (bEvent)
        m_overrides.PrepareEvents(series, exdates, overrides, strUid, pOut);
    else
        m_overrides.PrepareTodo(series.front(), exdates, overrides, strUid, pOut);
    for (icalcomponent* p : overrides)
        icalcomponent_free(p);
}
