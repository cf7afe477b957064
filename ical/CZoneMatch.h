#pragma once
// A time zone that a calendar file defines under a name of its own ("(UTC+01:00)
// Amsterdam, Berlin, ...", "Customized Time Zone") matched to a zone of the system's
// database with the same offsets, so that a series in it can keep its zone.
#include <QString>
#include <libical/ical.h>

class CZoneMatch {
public:
    // The database zone whose UTC offset equals the file zone's on every day of nYear
    // and the year after; empty when none does. Among equal zones, the one whose city
    // the TZID names, else the local zone, else the first by name.
    static QString SystemZoneLike(icaltimezone* pFileZone, const QString& strTzid, int nYear);
};
