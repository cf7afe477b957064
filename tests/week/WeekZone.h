#pragma once
// Fixes the local zone of a test: sets TZ and makes the date code read it again.
#include "calendar/ZoneRules.h"
#include <cstdlib>
#include <ctime>

inline void SetTestZone(const char* pszZone)
{
    setenv("TZ", pszZone, 1);
    tzset();
    ResetTimeZoneCache();
}
