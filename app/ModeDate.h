#pragma once
// The date option of the modes that show a week.
#include "calendar/DateTime.h"
#include <optional>

class CCommandLine;

// The command line's date, or none when it names none; false (with the reason on standard
// error, naming the option) for a date the program cannot show.
bool ReadModeDate(const CCommandLine& commandLine, const char* pszOption, std::optional<DateTime>* pDate);
