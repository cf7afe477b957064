#pragma once
// Reads dates written with a short-date pattern, in any decimal digits (Qt pattern letters d, dd, M, MM, yy,
// yyyy; MMM and MMMM month names and ddd and dddd weekday names of the system locale or
// of English, as the "C" locale's "d MMM yyyy" writes them; anything else is literal). Where the pattern has a two-digit year a
// four-digit year is accepted as well (the no-date text "1/1/4501" of M/d/yy); a two-digit
// year alone is 1970..2069 (CRestriction resolves the dates of one text together).
#include <QString>
#include <QVector>

class CShortDateReader {
public:
    // FALSE when the pattern has no day, month or year field.
    bool SetPattern(const QString& strPattern);
    // Reads a date at *pnPos of strText and advances *pnPos past it. FALSE when the text
    // there does not follow the pattern or names no valid date. *pbTwoDigitYear (may be
    // null) tells that the year was written with two digits (and expanded to 1970..2069).
    bool Read(const QString& strText, int* pnPos, int* pnYear, int* pnMonth, int* pnDay,
              bool* pbTwoDigitYear = nullptr) const;

    static int ExpandTwoDigitYear(int nYear);

private:
    enum class Field { Literal, Day, Month, MonthName, WeekdayName, Year };
    struct Token {
        Field field;
        QString strLiteral;
        int nWidth;  // letters in the pattern
    };
    static bool ReadLiteral(const QString& strText, int* pnPos, const QString& strLiteral);
    static bool ReadMonthName(const QString& strText, int* pnPos, int nWidth, int* pnMonth);
    static bool ReadNumber(const QString& strText, int* pnPos, int nMaxDigits, int* pnValue, int* pnDigits);
    QVector<Token> m_tokens;
};
