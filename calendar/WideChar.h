#pragma once
// The wide-character rules the data files are read with: white space as iswspace has it
// in a Unicode locale, and numbers as wcstol reads them from a fixed field of a line.
#include <QChar>
#include <QString>
#include <QStringView>

inline bool IsWideSpace(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x09 && u <= 0x0D) || u == 0x20 || u == 0x1680 || (u >= 0x2000 && u <= 0x2006)
        || (u >= 0x2008 && u <= 0x200A) || u == 0x2028 || u == 0x2029 || u == 0x205F || u == 0x3000;
}

// The text without leading and trailing white space (IsWideSpace).
inline QString TrimWideSpace(QStringView text)
{
    qsizetype nBegin = 0;
    qsizetype nEnd = text.size();
    while (nBegin < nEnd && IsWideSpace(text[nBegin]))
        ++nBegin;
    while (nEnd > nBegin && IsWideSpace(text[nEnd - 1]))
        --nEnd;
    return text.mid(nBegin, nEnd - nBegin).toString();
}

// Like wcstol on the field: leading white space, an optional sign, then the longest run
// of digits of the base (10 or 16); 0 when no digit follows. Fields here are at most four
// characters, so the value cannot overflow.
inline long ReadFieldNumber(QStringView field, int nBase)
{
    qsizetype i = 0;
    while (i < field.size() && IsWideSpace(field[i]))
        ++i;
    bool bNegative = false;
    if (i < field.size() && (field[i] == u'+' || field[i] == u'-')) {
        bNegative = field[i] == u'-';
        ++i;
    }
    long nValue = 0;
    for (; i < field.size(); ++i) {
        const char16_t c = field[i].unicode();
        int nDigit = -1;
        if (c >= u'0' && c <= u'9')
            nDigit = c - u'0';
        else if (nBase == 16 && c >= u'a' && c <= u'f')
            nDigit = c - u'a' + 10;
        else if (nBase == 16 && c >= u'A' && c <= u'F')
            nDigit = c - u'A' + 10;
        if (nDigit < 0 || nDigit >= nBase)
            break;
        nValue = nValue * nBase + nDigit;
    }
    return bNegative ? -nValue : nValue;
}
