#pragma once
// iCalendar import: VEVENTs become appointments, VTODOs tasks, all in one transaction.
// The file is read as a stream of components twice (CICalStream), so that memory does not
// grow with its size: first for its structure (an error fails the whole file before
// anything is written), its time zones and where the changed occurrences (RECURRENCE-ID)
// of each UID are; then one item at a time, each series read together with its changed
// occurrences. That second pass reads and checks the items in a thread of its own while
// the calling thread, the only one to use the store, stores them in file order.
// An item whose UID the store already holds is updated in place (its OID kept) when the
// file's version is newer (SEQUENCE, then LAST-MODIFIED or DTSTAMP) or, at the same
// version, its content differs; otherwise it is left alone.
// What the store cannot hold exactly is never stored as something else: the item is
// skipped with its reason, or the property is dropped and counted.
#include "ical/CICalStream.h"
#include "ical/CICalZones.h"
#include "pim/CItemRecord.h"
#include "platform/WinTypes.h"
#include <QByteArray>
#include <QHash>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QVector>
#include <libical/ical.h>
#include <memory>

class CPimStore;
class QIODevice;

class CICalImporter {
public:
    explicit CICalImporter(std::shared_ptr<CPimStore> pStore);
    ~CICalImporter();

    // FALSE, with nothing added and *pstrError telling why, when the file cannot be read,
    // is not iCalendar, or the store cannot take it. A byte-order mark is skipped.
    BOOL ImportFile(const QString& strPath, QString* pstrError);
    BOOL ImportText(const QByteArray& text, QString* pstrError);
    // The same from an open device that can seek (a file or a buffer).
    BOOL ImportDevice(QIODevice* pDevice, QString* pstrError);

    // Items added, by kind.
    int Appointments() const { return m_nAppointments; }
    int Tasks() const { return m_nTasks; }
    int Added() const { return m_nAppointments + m_nTasks; }
    int Updated() const { return m_nUpdated; }
    int Unchanged() const { return m_nUnchanged; }
    int Skipped() const { return int(m_skipped.size()); }
    // "<UID>: <reason>", one line per skipped item (or changed occurrence) in file order.
    QStringList SkippedSummary() const { return m_skipped; }
    // "<what>: <count>", one line per kind of value the store has no place for.
    QStringList DroppedSummary() const;
    // "<n> added, <n> updated, <n> unchanged, <n> skipped."
    QString CountsLine() const;
    // All that was left out: "Skipped <UID>: <reason>", then "Dropped <what>: <count>".
    QStringList LeftOut() const;

    // One series of a rule split by weekday: its weekday with ordinal ("2MO") and its rule.
    struct RulePart {
        QString strName;
        CRecurrenceRule rule;
    };

private:
    // The changed occurrences of one kind and UID, found by the first pass.
    struct Overrides {
        QVector<ICalBlock> blocks;
        bool bUsed = false;  // a series of the file took them
    };
    struct Wanted;    // one item as the file wants it stored
    struct Prepared;  // one component read and checked
    void LoadZone(const QByteArray& block);
    bool ReadAndStore(CICalStream& stream, QString* pstrReadError);
    // In the reading thread: everything short of the store.
    void Prepare(CICalStream& stream, const ICalBlock& block, const QByteArray& bytes, Prepared* pOut);
    bool ReadMaster(icalcomponent* pComp, bool bEvent, QVector<CItemRecord>* pSeries, QVector<int64_t>* pExdates,
                    QString* pstrUid, QString* pstrWhy);
    QVector<icalcomponent*> ReadOverrides(CICalStream& stream, const ICalBlock& master, const QString& strUid,
                                          Prepared* pOut);
    void PrepareEvents(const QVector<CItemRecord>& series, const QVector<int64_t>& exdates,
                       const QVector<icalcomponent*>& overrides, const QString& strUid, Prepared* pOut);
    int SeriesOf(const QVector<CItemRecord>& series, int64_t nOriginal) const;
    void PrepareTodo(const CItemRecord& task, const QVector<int64_t>& exdates,
                     const QVector<icalcomponent*>& overrides, const QString& strUid, Prepared* pOut);
    Prepared UnusedOverrides() const;
    // In the calling thread: the store's part.
    bool StorePrepared(Prepared& prepared);
    // A write or read of the store failed: SQLite's reason is kept, the import ends.
    bool StoreFailed();
    // Reading one component. false with *pstrWhy when the item cannot be stored exactly.
    bool CheckProperties(icalcomponent* pComp, QString* pstrWhy);
    bool ReadEvent(icalcomponent* pComp, CItemRecord* pRecord, QVector<RulePart>* pParts, QString* pstrWhy) const;
    bool ReadTodo(icalcomponent* pComp, CItemRecord* pRecord, QString* pstrWhy) const;
    void ReadCommon(icalcomponent* pComp, CItemRecord* pRecord);
    // A rule the store holds only split by weekday gives its parts in *pParts (events only).
    bool ReadRule(icalcomponent* pComp, CItemRecord* pRecord, QVector<RulePart>* pParts, QString* pstrWhy) const;
    bool ReadEventTimes(icalcomponent* pComp, CItemRecord* pRecord, QString* pstrWhy) const;
    bool ReadExdates(icalcomponent* pComp, const CItemRecord& series, QVector<int64_t>* pDates,
                     QString* pstrWhy) const;
    bool ReadEventOverride(icalcomponent* pComp, const CItemRecord& series, CItemRecord* pException,
                           QString* pstrWhy);
    bool ApplyTodoChanges(const CItemRecord& task, const QVector<int64_t>& exdates,
                          const QVector<icalcomponent*>& overrides, QVector<CItemRecord>* pCopies,
                          CItemRecord* pMoved, QStringList* pRefused);
    bool IsOccurrence(const CItemRecord& series, int64_t nOriginal) const;

    // Storing: added, updated, left alone, or refused as older; false when the store fails.
    bool Store(Wanted& wanted);
    bool SameContent(const CItemRecord& stored, const QVector<CItemRecord>& storedExceptions,
                     const Wanted& wanted) const;
    bool LoadStored(int32_t nOid, CItemRecord* pRecord, QVector<CItemRecord>* pExceptions) const;

    static QString SkipLine(const QString& strUid, const QString& strReason);
    void Drop(const QString& strWhat, int nCount = 1);
    void Clear();

    std::shared_ptr<CPimStore> m_pStore;
    CICalZones m_zones;                         // the file's zones and its times read through them
    QHash<QString, Overrides> m_overrides;     // by "<kind> <UID>"
    QStringList m_skipped;
    QMap<QString, int> m_dropped;
    int m_nAppointments = 0;
    int m_nTasks = 0;
    int m_nUpdated = 0;
    int m_nUnchanged = 0;
    bool m_bFailed = false;
};
