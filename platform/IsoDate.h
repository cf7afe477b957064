#pragma once
// Dates and times as the command line and the environment give them: "YYYY-MM-DD" and
// "HH:MM:SS", ASCII digits with leading zeros, read by hand rather than through a pattern
// or a format (either costs a command-line run about a millisecond).
#include <QDate>
#include <QStringView>
#include <QTime>
#include <optional>

// A real day of the Gregorian calendar, from year 1 to 9999.
std::optional<QDate> ParseIsoDate(QStringView text);
// A time of day from 00:00:00 to 23:59:59.
std::optional<QTime> ParseIsoTime(QStringView text);
