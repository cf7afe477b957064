#pragma once
// Stand-in for GetDateFormatW(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE): the system short-date
// pattern (Qt pattern letters) from QLocale::system(), or QUILLDAY_SHORTDATE when set.
#include "platform/WinTypes.h"
#include <QString>

QString GetShortDatePattern();
// Formats the date fields of the SYSTEMTIME with the short-date pattern. The year is
// written in full where the pattern asks for four digits (4501 stays 4501).
QString FormatShortDate(const SYSTEMTIME& st);
