#pragma once
// The short time-of-day text of the day lists and the notion of today.
#include "calendar/DateTime.h"
#include "platform/WinTypes.h"
#include <QString>

// "9:05" / "13:30" in 24-hour mode; "9:05a" / "1:30p" / "12:15a" otherwise. Only wHour
// and wMinute are read.
QString FormatTime(const SYSTEMTIME& st, bool bUse24Hour);
// The current local date at 00:00:00.
DateTime GetToday();
