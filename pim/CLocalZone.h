#pragma once
// UTC instants to local wall minutes and back, with the program's one zone rule
// (calendar/DateTime: the device zone from TZ). Outside DateTime's range (1970..2106)
// the C library's zone conversion of the same TZ is used.
#include <cstdint>
#include <ctime>

class CLocalZone {
public:
    static int64_t WallFromUtc(int64_t nUtcSeconds);
    static int64_t UtcFromWall(int64_t nWall);
};
