#pragma once
// The text form of lunar dates on the command line: "YYYY-MM-DD", with a trailing "L"
// for the leap month, answered as "YYYY-MM-DD Www" (solar date and English weekday).
#include "calendar/LunarCalendar.h"
#include <QString>

enum class LunarAnswerKind {
    Solar,      // the date exists; the answer is its solar date
    Invalid,    // well formed, but no such lunar date (also a leap month that does not exist)
    Malformed,  // not of the form YYYY-MM-DD[L]
};

// False when the text (surrounding white space ignored) is not of the form YYYY-MM-DD[L].
bool ParseLunarDateText(const QString& text, LunarDate* pDate);
// "2007-02-18 Sun"
QString FormatSolarDate(const SolarDate& solar);
// The answer line for one date text: the solar date, or "INVALID".
QString AnswerLunarDateText(const QString& text, LunarAnswerKind* pKind);
