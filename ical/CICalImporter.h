#pragma once
// iCalendar import: VEVENTs become appointments, VTODOs tasks, all in one transaction.
// The file is read as a stream of components twice (CICalStream), so that memory does not
// grow with its size: first for its structure (an error fails the whole file before
// anything is written), its time zones (CICalZones) and where the changed occurrences
// (RECURRENCE-ID) of each UID are (CICalOverrides); then one item at a time, each series
// read together with its changed occurrences. That second pass reads and checks the items
// (CICalItemReader) in a thread of its own while the calling thread, the only one to use
// the store, stores them by UID in file order (CICalItemStore).
// What the store cannot hold exactly is never stored as something else: the item is
// skipped with its reason, or the property is dropped and counted.
#include "ical/CICalItemReader.h"
#include "ical/CICalItemStore.h"
#include "ical/CICalOverrides.h"
#include "ical/CICalStream.h"
#include "ical/CICalZones.h"
#include "ical/ICalPrepared.h"
#include "platform/WinTypes.h"
#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
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

    // Events that should be special days are kept apart (SpecialDays) instead of stored:
    // yearly rules of the Korean lunar calendar with one month and one day, which the store
    // cannot hold; with bPlainToo also yearly and single all-day events.
    void KeepSpecialDays(bool bPlainToo) { m_bKeepSpecialDays = true; m_bPlainSpecialDays = bPlainToo; }
    const QVector<ICalSpecialDay>& SpecialDays() const { return m_specialDays; }

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
    bool ReadAndStore(CICalStream& stream, QString* pstrReadError);
    // In the reading thread: everything short of the store.
    void Prepare(CICalStream& stream, const ICalBlock& block, const QByteArray& bytes, ICalPrepared* pOut);
    void Clear();

    std::shared_ptr<CPimStore> m_pStore;
    CICalZones m_zones;          // the file's zones and its times read through them
    CICalItemReader m_reader;    // reads one component; counts what is dropped
    CICalOverrides m_overrides;  // changed occurrences by kind and UID
    CICalItemStore m_items;      // stores by UID; keeps the counts and what was skipped
    bool m_bKeepSpecialDays = false;
    bool m_bPlainSpecialDays = false;
    QVector<ICalSpecialDay> m_specialDays;
};
