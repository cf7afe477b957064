#include "ical/ICalStamp.h"

#include "pim/CLocalZone.h"
#include "pim/WallTime.h"
#include <cstdio>
#include <ctime>

icaltimetype UtcStamp(icaltimetype t)
{
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return icaltime_from_string("19700101T000000Z");
    if (t.is_date) {
        t.is_date = 0;
        t.hour = t.minute = t.second = 0;
        t.zone = icaltimezone_get_utc_timezone();
        return t;
    }
    if (icaltime_is_utc(t))
        return t;
    const int64_t nWall = WallFromFields(t.year, t.month, t.day, t.hour, t.minute);
    const time_t utc = static_cast<time_t>(CLocalZone::UtcFromWall(nWall)) + t.second;
    return icaltime_from_timet_with_zone(utc, 0, icaltimezone_get_utc_timezone());
}

QString UtcStampText(icaltimetype t)
{
    const icaltimetype u = UtcStamp(t);
    char sz[17];  // as libical's own, which holds the 16 characters of a stamp
    std::snprintf(sz, sizeof sz, "%04d%02d%02dT%02d%02d%02dZ", u.year, u.month, u.day, u.hour, u.minute, u.second);
    return QString::fromLatin1(sz);
}
