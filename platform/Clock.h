#pragma once
// Stand-in for GetLocalTime. Tests may fix the clock; QUILLDAY_NOW
// ("YYYY-MM-DDTHH:MM:SS", local wall time) fixes it for a whole process. QUILLDAY_CLOCK_OFFSET
// (whole seconds, may be negative) moves a running clock by that much, so that processes
// started at different times share one shifted clock.
#include "platform/WinTypes.h"
#include <cstdint>
#include <optional>

void GetLocalTime(SYSTEMTIME* pSt);
void SetFixedLocalTime(std::optional<SYSTEMTIME> st);
// Seconds since 1970-01-01 00:00 UTC by the same clock: a fixed local time is read in the
// local zone (TZ).
int64_t GetUtcTime();
// Whether the clock stands still (fixed by a test or by QUILLDAY_NOW).
bool IsClockFixed();
