#pragma once
// Small readings of iCalendar values that the importer and its zones share.
#include <QString>
#include <cstdint>
#include <libical/ical.h>

// The years an imported date may lie in: those of the store (kEarliestMinutes to
// kLatestMinutes), whose last is the last libical writes.
constexpr int kMinYear = 1900;
constexpr int kMaxYear = 3000;

// The widest span of time an imported item may cover: the import years end to end.
constexpr int64_t kMaxSpanSeconds = int64_t(kMaxYear - kMinYear + 1) * 366 * 86400;

// libical's UTF-8 text as a QString; empty for null.
QString Utf8Text(const char* psz);
// Whether wall minutes lie in the years an import takes.
bool IsImportYear(int64_t nWall);
// A time's (or date's) fields as wall minutes, and taken as UTC as an instant.
int64_t WallOfFields(const icaltimetype& t);
int64_t UtcOfFields(const icaltimetype& t);
// A duration's seconds (negative for one before), computed in 64 bits from its fields:
// libical's own sum is an int, which overflows from 2^31 seconds (P24856D) on.
int64_t DurationSeconds(const icaldurationtype& d);
// The TZID parameter of a property; null without one.
const char* TzidOf(icalproperty* pProp);
// A TZID as the system may know it: itself, or a path that ends in a zone id
// ("/mozilla.org/20050126_1/America/New_York"); empty when the system has no such zone.
QString KnownZone(const QString& strTzid);
// The PRIORITY that stands for an importance (olImportance...): 1 high, 5 normal, 9 low.
int ICalPriorityOf(int nImportance);
