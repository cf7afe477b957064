#pragma once
// The changed occurrences (components with a RECURRENCE-ID) of an iCalendar file: where
// they are, found by the first pass, and how they apply to their series when the second
// pass reads it. An event's become exception rows of its series; a recurring to-do, which
// keeps one open occurrence, takes those at its front (a completed one becomes a task of
// its own) and refuses the rest.
#include "ical/CICalStream.h"
#include "ical/ICalPrepared.h"
#include "pim/CItemRecord.h"
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <libical/ical.h>

class CICalItemReader;
class CICalZones;

class CICalOverrides {
public:
    CICalOverrides(const CICalZones& zones, CICalItemReader& reader) : m_zones(zones), m_reader(reader) {}

    // First pass: a changed occurrence found in the file.
    void Add(const ICalBlock& block);
    void Clear() { m_overrides.clear(); }

    // Second pass, for a series read from master: its changed occurrences parsed (the
    // caller frees them); those libical cannot read are skipped into pOut.
    QVector<icalcomponent*> Read(CICalStream& stream, const ICalBlock& master, const QString& strUid,
                                 ICalPrepared* pOut);
    // Each series with its excluded and changed occurrences as exception rows.
    void PrepareEvents(const QVector<CItemRecord>& series, const QVector<int64_t>& exdates,
                       const QVector<icalcomponent*>& overrides, const QString& strUid, ICalPrepared* pOut);
    // A to-do with its excluded, cancelled and completed occurrences applied.
    void PrepareTodo(const CItemRecord& task, const QVector<int64_t>& exdates,
                     const QVector<icalcomponent*>& overrides, const QString& strUid, ICalPrepared* pOut);
    // Changed occurrences whose series is not in the file, in file order.
    ICalPrepared Unused() const;

private:
    // The changed occurrences of one kind and UID.
    struct Blocks {
        QVector<ICalBlock> blocks;
        bool bUsed = false;  // a series of the file took them
    };
    int SeriesOf(const QVector<CItemRecord>& series, int64_t nOriginal) const;
    bool IsOccurrence(const CItemRecord& series, int64_t nOriginal) const;
    bool ReadEventOverride(icalcomponent* pComp, const CItemRecord& series, CItemRecord* pException,
                           QString* pstrWhy);
    bool ApplyTodoChanges(const CItemRecord& task, const QVector<int64_t>& exdates,
                          const QVector<icalcomponent*>& overrides, QVector<CItemRecord>* pCopies,
                          CItemRecord* pMoved, QStringList* pRefused);
    static QString KeyOf(const ICalBlock& block);

    const CICalZones& m_zones;
    CICalItemReader& m_reader;
    QHash<QString, Blocks> m_overrides;  // by "<kind> <UID>"
};
