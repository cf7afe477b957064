#pragma once
// Dates in the tests: a local wall time as a store date, and a store date as readable text.
#include "platform/WinTypes.h"
#include <QString>

// A local wall time as a store date.
DATE Dt(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0);
// A store date as "YYYY-MM-DD HH:MM" for readable failures; "none" for the no-date value.
QString DateText(DATE dt);
