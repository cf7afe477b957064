// Time-zone rules: a POSIX TZ rule text, and the transition days and local times it gives.
#include "calendar/ZoneRules.h"
#include "fuzz/FuzzTarget.h"
#include "platform/TimeZoneInformation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    const QString strRule = QString::fromUtf8(reinterpret_cast<const char*>(pData), static_cast<qsizetype>(nSize));
    TIME_ZONE_INFORMATION tzi;
    if (!ParsePosixTzRule(strRule, &tzi))
        return 0;
    for (int nYear : {1970, 2000, 2024, 2037, 2105}) {
        if (tzi.DaylightDate.wMonth == 0)
            break;
        TransitionDay(false, nYear, tzi.DaylightDate, -tzi.DaylightBias * 60);
        TransitionDay(true, nYear, tzi.StandardDate, -tzi.DaylightBias * 60);
    }
    return 0;
}
