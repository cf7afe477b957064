#include "dialogs/EditorTimes.h"
#include "pim/VariantTime.h"
#include <cmath>
#include <algorithm>

namespace {

constexpr int kHalfHoursPerDay = 48;
constexpr int kNoonHour = 12;
// The years a DateTime holds whole.
constexpr int kFirstDateTimeYear = 1970;
constexpr int kLastDateTimeYear = 2105;

// The value of the digits that start str (at most nMaxDigits of them); 0 when it starts
// with none.
int LeadingNumber(const QString& str, int nMaxDigits)
{
    int nValue = 0;
    for (int i = 0; i < str.size() && i < nMaxDigits && str[i].isDigit(); ++i)
        nValue = nValue * 10 + str[i].digitValue();
    return nValue;
}

int LeadingDigitCount(const QString& str)
{
    int n = 0;
    while (n < str.size() && str[n].isDigit())
        ++n;
    return n;
}

// An hour of two digits that is not an hour is read from its first digit alone.
int HourOf(const QString& strDigits)
{
    const int nHour = LeadingNumber(strDigits, 2);
    return nHour < 24 ? nHour : LeadingNumber(strDigits, 1);
}

// The same for minutes.
int MinuteOf(const QString& strDigits)
{
    const int nMinute = LeadingNumber(strDigits, 2);
    return nMinute < 60 ? nMinute : LeadingNumber(strDigits, 1);
}

// "PM" makes 1..11 the afternoon and 12 noon; an hour already past noon stays as typed.
int ApplyPm(int nHour)
{
    return nHour < kNoonHour ? nHour + kNoonHour : nHour;
}

TimeOfDay ParseWithColon(const QString& strText, int nColon)
{
    TimeOfDay time;
    time.nHour = HourOf(strText.left(std::min(nColon, 2)));
    time.nMinute = MinuteOf(strText.mid(nColon + 1));
    return time;
}

// Without a colon: "9" and "14" are hours; "930" and "1430" are hours and minutes.
TimeOfDay ParseDigits(const QString& strText)
{
    TimeOfDay time;
    const int nDigits = LeadingDigitCount(strText);
    if (nDigits == 3 || nDigits == 4) {
        time.nHour = HourOf(strText.left(nDigits - 2));
        time.nMinute = MinuteOf(strText.mid(nDigits - 2));
    } else {
        time.nHour = HourOf(strText);
    }
    return time;
}

}  // namespace

QString FormatTimeText(int nHour, int nMinute, bool bUse24Hour)
{
    const QString strMinute = QStringLiteral("%1").arg(nMinute, 2, 10, QLatin1Char('0'));
    if (bUse24Hour)
        return QStringLiteral("%1:%2").arg(nHour).arg(strMinute);
    const int nShown = nHour > kNoonHour ? nHour - kNoonHour : nHour;
    const QString strWord = nHour >= kNoonHour ? QStringLiteral("PM") : QStringLiteral("AM");
    return QStringLiteral("%1:%2 %3").arg(nShown).arg(strMinute, strWord);
}

TimeOfDay ParseTimeText(const QString& strInput, bool bUse24Hour)
{
    const QString strText = strInput.trimmed();
    const bool bPm = !bUse24Hour && strText.size() >= 2
                     && strText.right(2).compare(QLatin1String("PM"), Qt::CaseInsensitive) == 0;
    const int nColon = strText.indexOf(QLatin1Char(':'));
    if (nColon < 0 && LeadingDigitCount(strText) == 0)
        return TimeOfDay{kNoonHour, 0};
    TimeOfDay time = nColon >= 0 ? ParseWithColon(strText, nColon) : ParseDigits(strText);
    if (bPm)
        time.nHour = ApplyPm(time.nHour);
    return time;
}

QStringList MakeStartTimes(bool bUse24Hour)
{
    QStringList list;
    for (int nHour = 0; nHour < 24; ++nHour) {
        list << FormatTimeText(nHour, 0, bUse24Hour);
        list << FormatTimeText(nHour, 30, bUse24Hour);
    }
    return list;
}

QStringList MakeEndTimes(bool bSameDay, TimeOfDay startTime, bool bUse24Hour)
{
    TimeOfDay next;
    if (bSameDay)
        next = startTime.nMinute < 30 ? TimeOfDay{startTime.nHour, 30} : TimeOfDay{startTime.nHour + 1, 0};
    QStringList list;
    while (next.nHour < 24 && list.size() < kHalfHoursPerDay) {
        list << FormatTimeText(next.nHour, next.nMinute, bUse24Hour);
        next = next.nMinute == 0 ? TimeOfDay{next.nHour, 30} : TimeOfDay{next.nHour + 1, 0};
    }
    return list;
}

DateTime AtTimeOfDay(const DateTime& t, int nHour, int nMinute, int nSecond)
{
    return DateTime(t.GetYear(), t.GetMonth(), t.GetDay(), nHour, nMinute, nSecond);
}

DateTime AtTimeOfDay(const DateTime& t, TimeOfDay time)
{
    return AtTimeOfDay(t, time.nHour, time.nMinute, 0);
}

TimeOfDay TimeOfDayOf(const DateTime& t)
{
    return TimeOfDay{t.GetHour(), t.GetMinute()};
}

DateTime AddWholeDays(const DateTime& t, int nDays)
{
    return WithDate(t, DateOf(t).addDays(nDays));
}

QDate DateOf(const DateTime& t)
{
    return QDate(t.GetYear(), t.GetMonth(), t.GetDay());
}

DateTime WithDate(const DateTime& t, const QDate& date)
{
    return DateTime(date.year(), date.month(), date.day(), t.GetHour(), t.GetMinute(), t.GetSecond());
}

BOOL DateTimeFromVariant(DATE dt, DateTime* pTime)
{
    SYSTEMTIME st;
    if (!VariantTimeToSystemTime(dt, &st) || st.wYear < kFirstDateTimeYear || st.wYear > kLastDateTimeYear)
        return FALSE;
    *pTime = DateTime(st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, 0);
    return TRUE;
}

DATE VariantFromDateTime(const DateTime& t)
{
    SYSTEMTIME st;
    t.GetAsSystemTime(st);
    st.wSecond = 0;
    DATE dt = 0;
    SystemTimeToVariantTime(&st, &dt);
    return dt;
}

bool SameMinute(DATE a, DATE b)
{
    constexpr double kMinutesPerDay = 24 * 60;
    return std::llround(a * kMinutesPerDay) == std::llround(b * kMinutesPerDay);
}
