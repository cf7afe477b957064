#include "ical/CICalImporter.h"

#include "pim/CLocalZone.h"
#include "pim/CPimStore.h"
#include <QBuffer>
#include <QFile>
#include <QRegularExpression>
#include <algorithm>
#include <ctime>
#include <thread>
#include <utility>

namespace {

// Items handed over at once, and batches read ahead of the store, at most.
constexpr qsizetype kBatchItems = 64;
constexpr size_t kQueuedBatches = 4;

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
    : m_pStore(pStore), m_items(std::move(pStore))
{
}

CICalImporter::~CICalImporter()
{
    Clear();
}

void CICalImporter::Forget()
{
    m_items.Reset();
    m_dropped.clear();
    m_specialDays.clear();
}

void CICalImporter::Clear()
{
    m_zones.Clear();
    m_overrides.Clear();
}

QStringList CICalImporter::DroppedSummary() const
{
    QStringList lines;
    for (auto it = m_dropped.constBegin(); it != m_dropped.constEnd(); ++it)
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
    Forget();
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
                ++m_dropped[QStringLiteral("unreadable VTIMEZONE")];
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
        Forget();
        return FALSE;
    }
    return TRUE;
}

// A batch of components in file order; batches are numbered from 0.
struct CICalImporter::Batch {
    int64_t nNumber = 0;
    QVector<ICalScanned> items;
};

int CICalImporter::ReaderThreads() const
{
    if (m_nReaderThreads > 0)
        return m_nReaderThreads;
    return std::clamp(int(std::thread::hardware_concurrency()), 1, kMaxReaders);
}

// One thread scans the file, reading threads read and check its items, and this thread
// stores them in file order: the store is only ever used from here. False when the file
// could not be read to its end; a failed store write ends the reading too.
bool CICalImporter::ReadAndStore(CICalStream& stream, QString* pstrReadError)
{
    // The threads convert local and UTC times: the local zone is read once, and libical's
    // UTC zone made, before they start.
    CLocalZone::WallFromUtc(std::time(nullptr));
    icaltimezone_get_utc_timezone();
    Preparers preparers;
    for (int i = 0; i < ReaderThreads(); ++i)
        preparers.push_back(std::make_unique<CICalItemPreparer>(m_zones, m_bKeepSpecialDays, m_bPlainSpecialDays));
    CBoundedQueue<Batch> batches(kQueuedBatches);
    COrderedHandOver<QVector<ICalPrepared>> prepared(kQueuedBatches, int(preparers.size()));
    bool bScanned = false;
    std::thread scanner([&] {
        bScanned = ScanBatches(stream, batches, pstrReadError);
        batches.Close();
    });
    std::vector<std::thread> readers;
    for (const auto& pPreparer : preparers)
        readers.emplace_back([&, p = pPreparer.get()] { PrepareBatches(*p, batches, prepared); });
    const bool bStored = StoreBatches(prepared);
    if (!bStored) {
        batches.Abort();
        prepared.Abort();
    }
    scanner.join();
    for (std::thread& reader : readers)
        reader.join();
    Gather(preparers);
    if (bStored && bScanned) {
        ICalPrepared unused = m_overrides.Unused();
        m_items.StorePrepared(unused);
    }
    return bScanned;
}

bool CICalImporter::ScanBatches(CICalStream& stream, CBoundedQueue<Batch>& batches, QString* pstrReadError) const
{
    Batch batch;
    const bool bScanned = stream.Scan(
        [&](const ICalBlock& b, const QByteArray& block) {
            if (!b.bTooLarge && (b.name == "VTIMEZONE" || b.bOverride))  // overrides are read with their series
                return true;
            ICalScanned scanned{b, block, {}};
            if (!b.bTooLarge && (b.name == "VEVENT" || b.name == "VTODO")) {
                for (const ICalBlock& o : m_overrides.Of(b))
                    scanned.overrides << stream.Read(o);
            }
            batch.items.push_back(std::move(scanned));
            if (batch.items.size() < kBatchItems)
                return true;
            const int64_t nNext = batch.nNumber + 1;
            return batches.Push(std::exchange(batch, Batch{nNext, {}}));
        },
        pstrReadError);
    if (bScanned && !batch.items.isEmpty())
        batches.Push(std::move(batch));
    return bScanned;
}

void CICalImporter::PrepareBatches(CICalItemPreparer& preparer, CBoundedQueue<Batch>& batches,
                                   COrderedHandOver<QVector<ICalPrepared>>& prepared)
{
    Batch batch;
    while (batches.Pop(&batch)) {
        QVector<ICalPrepared> results(batch.items.size());
        for (qsizetype i = 0; i < batch.items.size(); ++i)
            preparer.Prepare(batch.items[i], &results[i]);
        if (!prepared.Put(batch.nNumber, std::move(results)))
            break;
    }
    prepared.Done();
}

bool CICalImporter::StoreBatches(COrderedHandOver<QVector<ICalPrepared>>& prepared)
{
    QVector<ICalPrepared> batch;
    while (prepared.Take(&batch)) {
        for (ICalPrepared& one : batch) {
            m_specialDays += one.specialDays;
            if (!m_items.StorePrepared(one))
                return false;
        }
    }
    return true;
}

void CICalImporter::Gather(const Preparers& preparers)
{
    for (const auto& pPreparer : preparers) {
        const QMap<QString, int>& dropped = pPreparer->Dropped();
        for (auto it = dropped.constBegin(); it != dropped.constEnd(); ++it)
            m_dropped[it.key()] += it.value();
        m_overrides.MarkUsed(pPreparer->UsedOverrides());
    }
}
