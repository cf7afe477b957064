#pragma once
// The time zones of one iCalendar file and the reading of its times through them: the
// file's VTIMEZONEs (those libical could not bound are refused, with the reason), which
// decide the instants of the times that name them; zones the system's database knows by
// the TZID (links such as "US/Central" included) where the file defines none; and for a
// series, the database zone equal to the file's definition in the years it uses. Times
// are read as instants, as local wall minutes, or in a series' own terms.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <cstdint>
#include <libical/ical.h>
#include <memory>

class CZoneMatch;

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
    // The zones of another, loaded again from the same blocks: libical's zones keep what
    // they have worked out in themselves, so each thread reads times through its own.
    void LoadCopy(const CICalZones& zones);
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
    // The zone a series with this DTSTART, repeating from nFirstYear to nLastYear, repeats
    // in ("" for floating times and dates; empty with *pstrWhy set when the zone is not
    // one the store can keep). A zone the file defines becomes the database zone equal to
    // it in those years, preferably the one its TZID (or its X-LIC-LOCATION) names.
    QString ZoneOfStart(icalproperty* pStart, icaltimetype t, int nFirstYear, int nLastYear, QString* pstrWhy) const;

private:
    bool Take(const QByteArray& block);
    icaltimezone* FileZone(const char* pszTzid) const;
    // The database zones the file's definition names: by its TZID, X-LIC-LOCATION, LOCATION.
    static QStringList NamedZones(icaltimezone* pZone, const QString& strTzid);
    QString UnknownZone(const char* pszTzid) const;

    QVector<QByteArray> m_blocks;               // the VTIMEZONE blocks taken, in file order
    QHash<QByteArray, icaltimezone*> m_zones;   // VTIMEZONEs of the file by TZID
    QHash<QByteArray, QString> m_refusedZones;  // VTIMEZONEs refused, by TZID: why
    // The comparisons of each of the file's zones with the database, by TZID: a cache.
    mutable QHash<QByteArray, std::shared_ptr<CZoneMatch>> m_matches;
};
