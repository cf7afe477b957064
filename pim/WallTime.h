#pragma once
// "Wall minutes": whole minutes since 1899-12-30 00:00 local wall time, the store's unit
// of time (see CItemRecord.h), and its conversions.
#include "platform/WinTypes.h"
#include <cstdint>

constexpr int64_t kMinutesPerDay = 1440;

struct WallFields {
    int nYear = 0, nMonth = 0, nDay = 0, nHour = 0, nMinute = 0;
    int nDayOfWeek = 0;  // 0 = Sunday
};

// Seconds are dropped (after rounding the value to the second). FALSE for a value out of
// the range of VariantTimeToSystemTime.
bool DateToWall(DATE dt, int64_t* pnWall);
DATE WallToDate(int64_t nWall);
int64_t WallFromFields(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0);
WallFields FieldsOfWall(int64_t nWall);
// The same fields as a SYSTEMTIME (no seconds).
SYSTEMTIME SystemTimeOfWall(int64_t nWall);
// 00:00 of the wall time's day.
int64_t WallDayStart(int64_t nWall);
