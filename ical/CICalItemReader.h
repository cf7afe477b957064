#pragma once
// Reading and checking one VEVENT or VTODO as the store keeps it. What the store cannot
// hold exactly is never read as something else: the item is refused with the reason, or
// the property is dropped and counted. Each reading thread of an import has its own.
#include "ical/ICalPrepared.h"
#include "pim/CItemRecord.h"
#include <QMap>
#include <QString>
#include <QVector>
#include <cstdint>
#include <libical/ical.h>

class CICalZones;

class CICalItemReader {
public:
    explicit CICalItemReader(const CICalZones& zones) : m_zones(zones) {}

    // The item itself, normalised as the store keeps it: one record, or one series for each
    // weekday of a rule split by weekday, with its excluded dates. *pstrUid becomes the
    // item's UID when it has one; without one, the UID is derived from the component's
    // text. False with *pstrWhy when it cannot be held.
    bool ReadItem(icalcomponent* pComp, const QByteArray& text, bool bEvent, QVector<CItemRecord>* pSeries,
                  QVector<int64_t>* pExdates, QString* pstrUid, QString* pstrWhy);

    // Counts what the store has no place for; false (with the reason) when a property that
    // decides the item's times could not be read or cannot be held.
    bool CheckProperties(icalcomponent* pComp, QString* pstrWhy);
    // UID (as a file of ours reads it back), version, subject, notes and reminder.
    void ReadCommon(icalcomponent* pComp, CItemRecord* pRecord);
    // Times before a start are taken as the start, and counted.
    bool ReadEventTimes(icalcomponent* pComp, CItemRecord* pRecord, QString* pstrWhy);
    // What a to-do's dates, priority and progress lose in the store's fields is counted.
    bool ReadTodo(icalcomponent* pComp, CItemRecord* pRecord, QString* pstrWhy);

    // What the store has no place for: "<what>" with its count.
    void Drop(const QString& strWhat, int nCount = 1);
    const QMap<QString, int>& Dropped() const { return m_dropped; }
    void ClearDropped() { m_dropped.clear(); }

private:
    bool ReadEvent(icalcomponent* pComp, CItemRecord* pRecord, QVector<ICalRulePart>* pParts, QString* pstrWhy);
    // A rule the store holds only split by weekday gives its parts in *pParts (events only).
    bool ReadRule(icalcomponent* pComp, CItemRecord* pRecord, QVector<ICalRulePart>* pParts, QString* pstrWhy) const;
    // Seconds of the times and durations of one property, which the store does not keep.
    void CountSeconds(icalproperty* pProp);
    bool ReadExdates(icalcomponent* pComp, const CItemRecord& series, QVector<int64_t>* pDates,
                     QString* pstrWhy) const;

    const CICalZones& m_zones;
    QMap<QString, int> m_dropped;
};
