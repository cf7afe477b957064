#pragma once
// The time zones of one iCalendar file and the reading of its times through them: the
// file's VTIMEZONEs (those libical could not bound are refused, with the reason), zones
// the system's database knows by the TZID, and the database zone that matches a zone only
// the file defines. Times are read as instants, as local wall minutes, or in a series'
// own terms.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <cstdint>
#include <libical/ical.h>

struct CItemRecord;

class CICalZones {
public:
    CICalZones() = default;
    ~CICalZones();
    CICalZones(const CICalZones&) = delete;
    CICalZones& operator=(const CICalZones&) = delete;

    // Takes one VTIMEZONE block of the file; a zone whose rules have no sane bound is kept
    // as refused. false when the block is no readable zone at all.
    bool Load(const QByteArray& block);
    void Clear();

    // A time as an instant (UTC seconds), or a date as wall minutes of its day. false with
    // *pstrWhy when the time or its zone cannot be read.
    bool ReadInstant(icalproperty* pProp, icaltimetype t, int64_t* pnUtc, bool* pbDate, int64_t* pnDateWall,
                     QString* pstrWhy) const;
    // A date, or a time as local wall minutes, in the years an import takes.
    bool ReadLocal(icalproperty* pProp, icaltimetype t, int64_t* pnWall, bool* pbDate, QString* pstrWhy) const;
    // A time in the series' own terms (its zone's wall minutes). A date on a timed series
    // names the occurrence of that day.
    bool ReadSeriesTime(icalproperty* pProp, icaltimetype t, const CItemRecord& series, int64_t* pnZoneWall,
                        QString* pstrWhy) const;
    // The zone a series with this DTSTART repeats in ("" for floating times and dates;
    // empty with *pstrWhy set when the zone is not one the store can keep).
    QString ZoneOfStart(icalproperty* pStart, icaltimetype t, QString* pstrWhy) const;

private:
    icaltimezone* FileZone(const char* pszTzid) const;
    QString MatchedZone(icaltimezone* pZone, const char* pszTzid, int nYear) const;

    QHash<QByteArray, icaltimezone*> m_zones;   // VTIMEZONEs of the file by TZID
    QHash<QByteArray, QString> m_refusedZones;  // VTIMEZONEs refused, by TZID: why
    // Database zones like the file's own ("<TZID> <year>"), found once: a cache.
    mutable QHash<QByteArray, QString> m_matchedZones;
};
