#include "pim/CLocalZone.h"

#include "calendar/DateTime.h"
#include "pim/WallTime.h"
#include <limits>

namespace {

// 1970-01-01 00:00 in wall minutes (days since 1899-12-30 times 1440).
constexpr int64_t kUnixEpochWall = int64_t(25569) * kMinutesPerDay;
// DateTime counts from 1970 and stops in 2106; keep a day clear of both ends.
constexpr int64_t kFirstSafe = 86400;
constexpr int64_t kLastSafe = int64_t(std::numeric_limits<uint32_t>::max()) - 86400;

}  // namespace

int64_t CLocalZone::WallFromUtc(int64_t nUtcSeconds)
{
    if (nUtcSeconds >= kFirstSafe && nUtcSeconds <= kLastSafe) {
        SYSTEMTIME st;
        DateTime::FromTime(static_cast<uint32_t>(nUtcSeconds)).GetAsSystemTime(st);
        return WallFromFields(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute);
    }
    const time_t t = static_cast<time_t>(nUtcSeconds);
    struct tm local {};
    if (localtime_r(&t, &local) == nullptr)
        return kUnixEpochWall + nUtcSeconds / 60;
    return WallFromFields(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min);
}

int64_t CLocalZone::UtcFromWall(int64_t nWall)
{
    const WallFields f = FieldsOfWall(nWall);
    const int64_t nApprox = (nWall - kUnixEpochWall) * 60;
    if (nApprox >= kFirstSafe && nApprox <= kLastSafe)
        return DateTime(f.nYear, f.nMonth, f.nDay, f.nHour, f.nMinute, 0).GetTime();
    struct tm local {};
    local.tm_year = f.nYear - 1900;
    local.tm_mon = f.nMonth - 1;
    local.tm_mday = f.nDay;
    local.tm_hour = f.nHour;
    local.tm_min = f.nMinute;
    local.tm_isdst = -1;
    const time_t t = mktime(&local);
    return t == static_cast<time_t>(-1) ? nApprox : static_cast<int64_t>(t);
}
