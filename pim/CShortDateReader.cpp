#include "pim/CShortDateReader.h"

#include "calendar/CivilDays.h"
#include <QLocale>

bool CShortDateReader::SetPattern(const QString& strPattern)
{
    m_tokens.clear();
    bool bDay = false, bMonth = false, bYear = false;
    for (int i = 0; i < strPattern.size();) {
        const QChar c = strPattern[i];
        int n = 1;
        while (i + n < strPattern.size() && strPattern[i + n] == c)
            ++n;
        if (c == u'd' || c == u'M' || c == u'y') {
            if ((c != u'y' && n > 4) || (c == u'y' && n != 2 && n != 4))
                return false;  // odd widths
            Field f = c == u'y' ? Field::Year : c == u'M' ? Field::Month : Field::Day;
            if (n > 2 && c != u'y')
                f = c == u'M' ? Field::MonthName : Field::WeekdayName;
            bDay = bDay || f == Field::Day;
            bMonth = bMonth || f == Field::Month || f == Field::MonthName;
            bYear = bYear || f == Field::Year;
            m_tokens.push_back({f, QString(), n});
            i += n;
            continue;
        }
        QString strLit;
        if (c == u'\'') {  // quoted literal text
            int j = i + 1;
            while (j < strPattern.size() && strPattern[j] != u'\'')
                strLit += strPattern[j++];
            i = j + 1;
        } else {
            strLit = QString(c);
            ++i;
        }
        if (!m_tokens.isEmpty() && m_tokens.back().field == Field::Literal)
            m_tokens.back().strLiteral += strLit;
        else
            m_tokens.push_back({Field::Literal, strLit, 0});
    }
    return bDay && bMonth && bYear;
}

int CShortDateReader::ExpandTwoDigitYear(int nYear)
{
    return nYear >= 70 ? 1900 + nYear : 2000 + nYear;
}

bool CShortDateReader::ReadLiteral(const QString& strText, int* pnPos, const QString& strLiteral)
{
    int nPos = *pnPos;
    for (QChar c : strLiteral) {
        if (c.isSpace()) {  // a space in the pattern matches any run of spaces, even none
            while (nPos < strText.size() && strText[nPos].isSpace())
                ++nPos;
            continue;
        }
        if (nPos >= strText.size() || strText[nPos] != c)
            return false;
        ++nPos;
    }
    *pnPos = nPos;
    return true;
}

// The longest month name (short for MMM, long for MMMM) of the system locale or of
// English that the text holds at *pnPos, ignoring case.
bool CShortDateReader::ReadMonthName(const QString& strText, int* pnPos, int nWidth, int* pnMonth)
{
    const QLocale::FormatType format = nWidth == 3 ? QLocale::ShortFormat : QLocale::LongFormat;
    int nBest = 0;
    for (const QLocale& locale : {QLocale::system(), QLocale::c()}) {
        for (int m = 1; m <= 12; ++m) {
            const QString strName = locale.monthName(m, format);
            if (strName.size() > nBest
                && QStringView(strText).mid(*pnPos, strName.size()).compare(strName, Qt::CaseInsensitive) == 0) {
                nBest = int(strName.size());
                *pnMonth = m;
            }
        }
    }
    *pnPos += nBest;
    return nBest > 0;
}

bool CShortDateReader::ReadNumber(const QString& strText, int* pnPos, int nMaxDigits, int* pnValue,
                                  int* pnDigits)
{
    int nPos = *pnPos, nValue = 0, nDigits = 0;
    // Any decimal digits: locales such as ar_EG, fa_IR or my_MM write their own.
    while (nDigits < nMaxDigits && nPos < strText.size() && strText[nPos].isDigit()) {
        nValue = nValue * 10 + strText[nPos].digitValue();
        ++nPos;
        ++nDigits;
    }
    if (nDigits == 0)
        return false;
    *pnPos = nPos;
    *pnValue = nValue;
    *pnDigits = nDigits;
    return true;
}

bool CShortDateReader::Read(const QString& strText, int* pnPos, int* pnYear, int* pnMonth, int* pnDay,
                            bool* pbTwoDigitYear) const
{
    bool bTwoDigits = false;
    if (m_tokens.isEmpty())
        return false;
    int nPos = *pnPos, nYear = 0, nMonth = 0, nDay = 0;
    for (const Token& t : m_tokens) {
        if (t.field == Field::Literal) {
            if (!ReadLiteral(strText, &nPos, t.strLiteral))
                return false;
            continue;
        }
        if (t.field == Field::MonthName) {
            if (!ReadMonthName(strText, &nPos, t.nWidth, &nMonth))
                return false;
            continue;
        }
        if (t.field == Field::WeekdayName) {  // read over: the date itself names the day
            const int nStart = nPos;
            while (nPos < strText.size() && strText[nPos].isLetter())
                ++nPos;
            if (nPos == nStart)
                return false;
            continue;
        }
        int nValue = 0, nDigits = 0;
        if (!ReadNumber(strText, &nPos, t.field == Field::Year ? 4 : 2, &nValue, &nDigits))
            return false;
        if (t.field == Field::Year) {
            if (nDigits == 3 || (t.nWidth == 2 && nDigits == 1))
                return false;
            bTwoDigits = nDigits <= 2;
            nYear = bTwoDigits ? ExpandTwoDigitYear(nValue) : nValue;
        } else {
            (t.field == Field::Day ? nDay : nMonth) = nValue;
        }
    }
    if (nYear < 100 || nMonth < 1 || nMonth > 12 || nDay < 1 || nDay > DaysInMonth(nYear, nMonth))
        return false;
    *pnPos = nPos;
    if (pbTwoDigitYear)
        *pbTwoDigitYear = bTwoDigits;
    *pnYear = nYear;
    *pnMonth = nMonth;
    *pnDay = nDay;
    return true;
}
