#pragma once
// iCalendar import: VEVENTs become appointments, VTODOs tasks, all in one transaction.
// The file is read as a stream of components twice (CICalStream), so that memory does not
// grow with its size: first for its structure (an error fails the whole file before
// anything is written), its time zones (CICalZones) and where the changed occurrences
// (RECURRENCE-ID) of each UID are (CICalOverrideIndex); then one item at a time, each
// series read together with its changed occurrences. In that second pass one thread scans
// the file and hands its components in batches to reading threads, which read and check
// them (CICalItemPreparer, one each), while the calling thread, the only one to use the
// store, takes their results back in file order and stores them by UID (CICalItemStore).
// What the store cannot hold exactly is never stored as something else: the item is
// skipped with its reason, or the property is dropped and counted.
#include "ical/CBoundedQueue.h"
#include "ical/CICalItemPreparer.h"
#include "ical/CICalItemStore.h"
#include "ical/CICalOverrideIndex.h"
#include "ical/CICalStream.h"
#include "ical/CICalZones.h"
#include "ical/COrderedHandOver.h"
#include "ical/ICalPrepared.h"
#include "platform/WinTypes.h"
#include <QByteArray>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <memory>
#include <vector>

class CPimStore;
class QIODevice;

class CICalImporter {
public:
    explicit CICalImporter(std::shared_ptr<CPimStore> pStore);
    ~CICalImporter();

    // FALSE, with nothing added and *pstrError telling why, when the file cannot be read,
    // is not iCalendar, or the store cannot take it; nothing is told of it then (no counts,
    // lines or special days). A byte-order mark is skipped.
    BOOL ImportFile(const QString& strPath, QString* pstrError);
    BOOL ImportText(const QByteArray& text, QString* pstrError);
    // The same from an open device that can seek (a file or a buffer).
    BOOL ImportDevice(QIODevice* pDevice, QString* pstrError);

    // Events that should be special days are kept apart (SpecialDays) instead of stored:
    // yearly rules of the Korean lunar calendar with one month and one day, which the store
    // cannot hold; with bPlainToo also yearly and single all-day events.
    void KeepSpecialDays(bool bPlainToo) { m_bKeepSpecialDays = true; m_bPlainSpecialDays = bPlainToo; }
    const QVector<ICalSpecialDay>& SpecialDays() const { return m_specialDays; }

    // The threads that read and check items: 0 (the default) for one per core of the
    // machine, at most kMaxReaders. The result is the same whatever their number.
    void SetReaderThreads(int nThreads) { m_nReaderThreads = nThreads; }
    static constexpr int kMaxReaders = 4;

    // Items added, by kind.
    int Appointments() const { return m_items.Appointments(); }
    int Tasks() const { return m_items.Tasks(); }
    int Added() const { return Appointments() + Tasks(); }
    int Updated() const { return m_items.Updated(); }
    int Unchanged() const { return m_items.Unchanged(); }
    int Skipped() const { return int(m_items.Skipped().size()); }
    // "<UID>: <reason>", one line per skipped item (or changed occurrence) in file order.
    QStringList SkippedSummary() const { return m_items.Skipped(); }
    // "<what>: <count>", one line per kind of value the store has no place for.
    QStringList DroppedSummary() const;
    // "<n> added, <n> updated, <n> unchanged, <n> skipped."
    QString CountsLine() const;
    // All that was left out or changed: "Skipped <UID>: <reason>", then "Kept <UID> as
    // <UID>#2: ..." for an item whose UID an earlier one of the file had, then "Dropped
    // <what>: <count>".
    QStringList LeftOut() const;

    // One series of a rule split by weekday: its weekday with ordinal ("2MO") and its rule.
    using RulePart = ICalRulePart;

private:
    struct Batch;
    using Preparers = std::vector<std::unique_ptr<CICalItemPreparer>>;
    bool ReadAndStore(CICalStream& stream, QString* pstrReadError);
    int ReaderThreads() const;
    // In the scanning thread: the file's items in numbered batches; false when the file
    // could not be read to its end.
    bool ScanBatches(CICalStream& stream, CBoundedQueue<Batch>& batches, QString* pstrReadError) const;
    // In a reading thread.
    static void PrepareBatches(CICalItemPreparer& preparer, CBoundedQueue<Batch>& batches,
                               COrderedHandOver<QVector<ICalPrepared>>& prepared);
    // In the calling thread; false when a write failed.
    bool StoreBatches(COrderedHandOver<QVector<ICalPrepared>>& prepared);
    // The preparers' counts, once their threads ended.
    void Gather(const Preparers& preparers);
    // No counts, lines or special days.
    void Forget();
    void Clear();

    std::shared_ptr<CPimStore> m_pStore;
    CICalZones m_zones;              // the file's zones, copied into each preparer
    CICalOverrideIndex m_overrides;  // changed occurrences by kind and UID
    CICalItemStore m_items;          // stores by UID; keeps the counts and what was skipped
    QMap<QString, int> m_dropped;    // what the store has no place for, with its count
    bool m_bKeepSpecialDays = false;
    bool m_bPlainSpecialDays = false;
    int m_nReaderThreads = 0;
    QVector<ICalSpecialDay> m_specialDays;
};
