#pragma once
// Zone names the system's zone database knows besides Qt's list of canonical ids: links
// such as "Asia/Calcutta", "US/Central" or "Europe/Kiev" (symbolic links in the zoneinfo
// folder, or "L" lines of its tzdata.zi), and zones kept for compatibility ("EST5EDT").
#include <QString>

class CZoneAlias {
public:
    // The canonical id the name links to when Qt knows that one, else the name itself when
    // the zoneinfo folder holds it as a zone of its own; empty when the system has no such
    // zone.
    static QString Resolve(const QString& strId);

private:
    static QString Lookup(const QString& strId);
    static QString ZoneInfoDir();
    static QString LinkTarget(const QString& strId);
};
