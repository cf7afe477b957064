#pragma once
// The device time-zone record, built from the POSIX TZ rule of this machine.
#include "platform/WinTypes.h"
#include <QString>

struct TIME_ZONE_INFORMATION {
    int32_t Bias = 0;           // minutes; UTC = local + Bias
    SYSTEMTIME StandardDate;    // day-in-month form: wMonth, wDay = week 1..5, wDayOfWeek, time
    int32_t StandardBias = 0;
    SYSTEMTIME DaylightDate;    // wMonth == 0: no daylight rule
    int32_t DaylightBias = 0;
    // Whole days that a rule's time carries past its day: "M3.4.4/26" is the fourth
    // Thursday of March plus one day, at 02:00; "M3.5.0/-1" the last Sunday less one day,
    // at 23:00. The dates' time fields hold the rest of the time, 0..23 h.
    int32_t StandardDayOffset = 0;
    int32_t DaylightDayOffset = 0;
};

constexpr DWORD TIME_ZONE_ID_UNKNOWN = 0;
constexpr DWORD TIME_ZONE_ID_STANDARD = 1;
constexpr DWORD TIME_ZONE_ID_DAYLIGHT = 2;
constexpr DWORD TIME_ZONE_ID_INVALID = 0xFFFFFFFFu;

// Fills the record from TZ (a zone name under /usr/share/zoneinfo, else a rule) or from
// /etc/localtime. Returns TIME_ZONE_ID_INVALID when no rule could be found or read.
DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* pTzi);

// Parses one POSIX TZ rule such as "EST5EDT,M3.2.0,M11.1.0". Julian-day forms and rules
// without a daylight part give a record without daylight rule. False for unreadable text.
bool ParsePosixTzRule(const QString& rule, TIME_ZONE_INFORMATION* pTzi);
