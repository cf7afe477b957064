#include "platform/IsoDate.h"

namespace {

// The number of text's nDigits ASCII digits from nFirst on; -1 when one is no digit.
int Digits(QStringView text, int nFirst, int nDigits)
{
    int n = 0;
    for (int i = nFirst; i < nFirst + nDigits; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9')
            return -1;
        n = n * 10 + (c - u'0');
    }
    return n;
}

}  // namespace

std::optional<QDate> ParseIsoDate(QStringView text)
{
    if (text.size() != 10 || text[4] != u'-' || text[7] != u'-')
        return std::nullopt;
    const int nYear = Digits(text, 0, 4), nMonth = Digits(text, 5, 2), nDay = Digits(text, 8, 2);
    if (nYear < 1 || nMonth < 0 || nDay < 0 || !QDate::isValid(nYear, nMonth, nDay))
        return std::nullopt;
    return QDate(nYear, nMonth, nDay);
}

std::optional<QTime> ParseIsoTime(QStringView text)
{
    if (text.size() != 8 || text[2] != u':' || text[5] != u':')
        return std::nullopt;
    const int nHour = Digits(text, 0, 2), nMinute = Digits(text, 3, 2), nSecond = Digits(text, 6, 2);
    if (nHour < 0 || nMinute < 0 || nSecond < 0 || !QTime::isValid(nHour, nMinute, nSecond))
        return std::nullopt;
    return QTime(nHour, nMinute, nSecond);
}
