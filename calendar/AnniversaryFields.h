#pragma once
// One special day as a person edits it, its line in anniversary.dat, and the checks that
// keep a day the file could not show from being written.
#include <QString>

struct AnniversaryFields {
    QString strName;
    int nYear = 0;  // 0 = every year
    int nMonth = 1;
    int nDay = 1;
    bool bLunar = false;
    bool bLeapMonth = false;  // lunar only: the leap month that follows nMonth

    bool operator==(const AnniversaryFields&) const = default;
};

enum class SpecialDayProblem {
    None,
    EmptyName,
    NameTooLong,     // the line would be longer than the file's readers take in one piece
    BadYear,         // not 0 and not 1..9999; a lunar year outside the table
    NoSuchDay,       // a solar day the month lacks (in that year, or in every year)
    NoSuchLunarDay,  // a lunar month or day the month lacks in that year, or past day 30
    NoLeapMonth,     // a leap month the given year does not have
};

// Whether the day can be written and will be shown: a name, a date that exists (in its
// year when one is given; on some year when every year).
SpecialDayProblem CheckSpecialDay(const AnniversaryFields& day);
// "0000-05-05 Name", "L2024-04-15 Name", "L0000-04L15 Name": the line the file keeps.
// Line breaks in the name become blanks.
QString FormatSpecialDayLine(const AnniversaryFields& day);
// The day of an entry line; false when the line is not one the editor can change
// (fields that are no date, an empty name).
bool ReadSpecialDayLine(const QString& line, AnniversaryFields* pDay);
