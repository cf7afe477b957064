#pragma once
// Stand-in for GetDateFormatW(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE): the system short-date
// pattern (Qt pattern letters) from QLocale::system(), or QUILLDAY_SHORTDATE when set.
#include "platform/WinTypes.h"
#include <QString>

QString GetShortDatePattern();
// Formats the date fields of the SYSTEMTIME with the short-date pattern. The year is
// written in full where the pattern asks for four digits (4501 stays 4501).
QString FormatShortDate(const SYSTEMTIME& st);
// The same for a query of the store: a year that a two-digit year field would not name
// unmistakably (outside 1970..2069, the years a two-digit year is read as) is written in
// full, so that every date a DateTime can hold (up to 2106) reads back as itself.
QString FormatShortDateForQuery(const SYSTEMTIME& st);
