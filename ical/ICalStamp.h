#pragma once
// iCalendar stamps (DTSTAMP, LAST-MODIFIED) are UTC date-times. Files do not always write
// them so; this reads any of them as one.
#include <QString>
#include <libical/ical.h>

// A date counts from its midnight in UTC, a time without zone is local time; a null or
// invalid time gives the start of 1970.
icaltimetype UtcStamp(icaltimetype t);
// That stamp as iCalendar writes a UTC date-time ("20240101T093000Z"), without libical's
// string buffers.
QString UtcStampText(icaltimetype t);
