#pragma once
// Everything of an import short of the store, for one top-level component at a time:
// reading, checking and shaping its item with its changed occurrences. One per reading
// thread, each with its own time zones and counts of what was dropped, so that the
// threads share nothing but what stays unchanged while they run.
#include "ical/CICalItemReader.h"
#include "ical/CICalOverrides.h"
#include "ical/CICalStream.h"
#include "ical/CICalZones.h"
#include "ical/ICalPrepared.h"
#include <QByteArray>
#include <QMap>
#include <QSet>
#include <QString>
#include <QVector>

// One top-level component as the scan found it, with the texts of its changed occurrences
// when it is an event or a to-do that has any.
struct ICalScanned {
    ICalBlock block;
    QByteArray text;
    QVector<QByteArray> overrides;  // in file order
};

class CICalItemPreparer {
public:
    // The file's zones are loaded again into the preparer's own.
    CICalItemPreparer(const CICalZones& fileZones, bool bKeepSpecialDays, bool bPlainSpecialDays);

    void Prepare(const ICalScanned& scanned, ICalPrepared* pOut);

    // What the store has no place for, counted over every component prepared here.
    const QMap<QString, int>& Dropped() const { return m_reader.Dropped(); }
    // The series that took their changed occurrences (CICalOverrideIndex::KeyOf).
    const QSet<QString>& UsedOverrides() const { return m_usedOverrides; }

private:
    void PrepareItem(const ICalScanned& scanned, ICalPrepared* pOut);

    CICalZones m_zones;
    CICalItemReader m_reader;
    CICalOverrides m_overrides;
    const bool m_bKeepSpecialDays;
    const bool m_bPlainSpecialDays;
    QSet<QString> m_usedOverrides;
};
