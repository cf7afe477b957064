#pragma once
// The zone a series repeats in, by the name the store keeps for it: "" for local
// (floating) wall time, "UTC", or a zone of the system's time-zone database. A zoned
// series walks its pattern in that zone's wall minutes; each occurrence is then shown at
// the local wall time of the same instant.
#include <QString>
#include <cstdint>

class CSeriesZone {
public:
    // The name the store keeps for an iCalendar TZID: the zone database's own id (a link
    // such as "US/Central" resolved to its zone, a Windows zone name mapped to its usual
    // database zone), "UTC" for UTC. Empty when the system's database does not know the zone.
    static QString StoreName(const QString& strTzid);

    // Zone wall minutes to UTC seconds and back. A wall time that a change to daylight
    // time skips is read with the offset before the change, as iCalendar does.
    static int64_t ToUtc(const QString& strZone, int64_t nZoneWall);
    static int64_t FromUtc(const QString& strZone, int64_t nUtcSeconds);

    // Zone wall minutes to local wall minutes and back (unchanged for a local series).
    static int64_t ToLocal(const QString& strZone, int64_t nZoneWall);
    static int64_t FromLocal(const QString& strZone, int64_t nLocalWall);

    // More than the widest gap between a zone's wall time and the local one: bounds in
    // local terms widened by this hold every zoned occurrence they should.
    static constexpr int64_t kMaxShiftMinutes = 2 * 1440;
};
