#pragma once
// Reading the special-days file, anniversary.dat, into a SpecialDayList.
//
// Each line (UTF-16LE with byte-order mark, else the ANSI code page) is one of:
//   [#RRGGBB]           colour of the entries that follow (another bracketed text
//                       changes nothing); never an entry
//   # ...               comment
//   YYYY-MM-DD Name     solar entry; year 0000 = every year
//   LYYYY-MM-DD Name    the same on the Korean lunar calendar
//   LYYYY-MMLDD Name    a day of the leap month that follows month MM
// Fields sit in fixed columns (year 1-4, month 6-7, day 9-10, name from 12), read as
// wcstol would; separators are not examined and lines are not validated.
#include "calendar/AnniversaryList.h"
#include "platform/WinTypes.h"
#include <QString>

// Loads anniversary.dat into pList: the person's own $XDG_DATA_HOME/quillday/anniversary.dat
// when it exists and the program folder was not chosen with --home or QUILLDAY_HOME, else
// the program folder's file. When the program folder's file is missing, _anniversary.dat
// is renamed to anniversary.dat first. FALSE when no file could be read.
BOOL LoadSpecialDays(SpecialDayList* pList);
// Where a person keeps their own anniversary.dat.
QString UserSpecialDaysPath();
// The file a person edits and imports into: their own file, or the chosen program
// folder's file when --home or QUILLDAY_HOME named one (the file the loader reads).
QString PersonalSpecialDaysPath();
// The program folder's anniversary.dat.
QString ProgramSpecialDaysPath();
// The same with the files of the given folder.
BOOL LoadSpecialDaysFrom(SpecialDayList* pList, const QString& folder);

// A colour line: ignoring trailing white space it begins with '[' and ends with ']'.
// When it is exactly nine characters long, *pColor becomes its RGB value; otherwise
// *pColor is left alone.
bool ReadColourLine(const QString& line, COLORREF* pColor);
// The entry of an entry line (lunar when it starts with a capital L, of a leap month when
// a lunar line has a capital L between month and day), with crColor.
SpecialDay* ParseSpecialDayLine(const QString& line, COLORREF crColor);
