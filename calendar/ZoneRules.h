#pragma once
// Conversions between the unsigned second count of DateTime and local calendar fields,
// with the device zone's offset and daylight-saving rule applied by the program itself.
// The zone record is read at the first conversion and kept for the life of the process;
// a failed read is tried again at the next conversion, and meanwhile the zone is UTC
// without daylight rule.
#include "platform/WinTypes.h"
#include <cstdint>
#include <ctime>

// Exported by name from the executable; while 0 no instant is in daylight time.
extern "C" int32_t g_bUseDST;

// Offsets in seconds: local standard time = UTC - ZoneOffset; during daylight time
// local time = UTC - (ZoneOffset + DaylightShift). Either pointer may be null.
void GetZoneBiases(int32_t* pZoneOffset, int32_t* pDaylightShift);
// Forgets the zone record so that the next conversion reads it again (tests change TZ).
void ResetTimeZoneCache();
// Reads the zone record again and keeps it (the machine's zone may have changed while the
// program runs). True when it differs from the record in use until then.
bool RefreshTimeZone();

struct TransitionPoint {
    int nDay;           // day of year, 0 = 1 January
    int32_t nMillisecond;  // millisecond of that day, local standard time
};
// The day and time of a daylight-rule transition in a year (years since 1900). The rule
// is in day-in-month form (wDay = occurrence 1..5, 5 = last); nDayOffset moves the day so
// found by the whole days the rule's time carries ("M3.4.4/26": +1), possibly into the
// next or previous month. For the end of daylight time (bEnd) the rule's time is in
// daylight time and is moved to standard time with nDaylightShift (seconds), possibly onto
// the neighbouring day.
TransitionPoint TransitionDay(bool bEnd, int nYear, const SYSTEMTIME& rule, int32_t nDaylightShift,
                              int nDayOffset = 0);

// Whether the local standard-time fields (tm_year, tm_yday, tm_hour, tm_min, tm_sec) lie
// in daylight time under the zone rule.
bool IsDaylightTime(const struct tm& t);
// Local fields to the second count (low 32 bits); sets tm_yday of the record.
uint32_t LocalToDateTime(struct tm* pTm);
// The second count to local fields, in one shared record that each call overwrites
// (tm_isdst always 0).
struct tm* DateTimeToLocal(uint32_t nTime);
