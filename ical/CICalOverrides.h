#pragma once
// The changed occurrences (components with a RECURRENCE-ID) of one series applied to it.
// An event's become exception rows of its series; a recurring to-do, which keeps one open
// occurrence, takes those at its front (a completed one becomes a task of its own) and
// refuses the rest. Each reading thread has its own.
#include "ical/ICalPrepared.h"
#include "pim/CItemRecord.h"
#include <QByteArray>
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

    // The texts of a series' changed occurrences parsed (the caller frees them); those
    // libical cannot read are skipped into pOut.
    static QVector<icalcomponent*> Parse(const QVector<QByteArray>& texts, const QString& strUid, ICalPrepared* pOut);
    // Each series with its excluded and changed occurrences as exception rows.
    void PrepareEvents(const QVector<CItemRecord>& series, const QVector<int64_t>& exdates,
                       const QVector<icalcomponent*>& overrides, const QString& strUid, ICalPrepared* pOut);
    // A to-do with its excluded, cancelled and completed occurrences applied.
    void PrepareTodo(const CItemRecord& task, const QVector<int64_t>& exdates,
                     const QVector<icalcomponent*>& overrides, const QString& strUid, ICalPrepared* pOut);

private:
    int SeriesOf(const QVector<CItemRecord>& series, int64_t nOriginal) const;
    bool IsOccurrence(const CItemRecord& series, int64_t nOriginal) const;
    bool ReadEventOverride(icalcomponent* pComp, const CItemRecord& series, CItemRecord* pException,
                           QString* pstrWhy);
    bool ApplyTodoChanges(const CItemRecord& task, const QVector<int64_t>& exdates,
                          const QVector<icalcomponent*>& overrides, QVector<CItemRecord>* pCopies,
                          CItemRecord* pMoved, QStringList* pRefused);

    const CICalZones& m_zones;
    CICalItemReader& m_reader;
};
