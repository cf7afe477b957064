#pragma once
// OLE automation dates (DATE: days since 1899-12-30 00:00, local wall time; the fraction
// is the time of day, also for negative days) to and from SYSTEMTIME. Both work to the
// second, rounding to the nearest second; callers that want whole minutes clear
// wSecond themselves. Valid years are 100 to 9999. Both return TRUE on success and
// FALSE for a value outside that range (the output is then left unchanged).
#include "platform/WinTypes.h"

int VariantTimeToSystemTime(DATE dtVariant, SYSTEMTIME* pSt);
// wDayOfWeek and wMilliseconds are ignored; fields out of range give FALSE.
int SystemTimeToVariantTime(const SYSTEMTIME* pSt, DATE* pdtVariant);
