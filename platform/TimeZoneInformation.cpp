#include "platform/TimeZoneInformation.h"

#include "platform/Clock.h"

#include <QDate>
#include <QFile>

#include <cstdlib>

namespace {

constexpr int kSecondsPerHour = 3600;
constexpr int kSecondsPerDay = 24 * kSecondsPerHour;
constexpr int kDefaultTransitionSeconds = 2 * kSecondsPerHour;  // POSIX: 02:00:00
constexpr qint64 kLargestTzifFile = 1 << 20;

// A cursor over the rule text; every parser advances it only on success.
struct RuleCursor {
    QString text;
    int pos = 0;
    bool AtEnd() const { return pos >= text.size(); }
    QChar Peek() const { return AtEnd() ? QChar() : text.at(pos); }
    bool Take(QChar c)
    {
        if (Peek() != c || AtEnd())
            return false;
        ++pos;
        return true;
    }
};

// A zone name: three or more letters, or any text in angle brackets ("<+0330>").
bool ParseZoneName(RuleCursor* pCur)
{
    if (pCur->Take(QLatin1Char('<'))) {
        const int close = pCur->text.indexOf(QLatin1Char('>'), pCur->pos);
        if (close < 0 || close - pCur->pos < 1)
            return false;
        pCur->pos = close + 1;
        return true;
    }
    const int start = pCur->pos;
    while (!pCur->AtEnd() && pCur->Peek().isLetter() && pCur->Peek().unicode() < 128)
        ++pCur->pos;
    if (pCur->pos - start >= 3)
        return true;
    pCur->pos = start;
    return false;
}

// Up to nMaxDigits decimal digits, at least one.
bool ParseNumber(RuleCursor* pCur, int nMaxDigits, int* pValue)
{
    int value = 0;
    int digits = 0;
    while (digits < nMaxDigits && !pCur->AtEnd() && pCur->Peek().isDigit() && pCur->Peek().unicode() < 128) {
        value = value * 10 + (pCur->Peek().unicode() - '0');
        ++pCur->pos;
        ++digits;
    }
    *pValue = value;
    return digits > 0;
}

// [+|-]hh[:mm[:ss]] in seconds. Offsets allow hours 0..24, transition times -167..167.
bool ParseClock(RuleCursor* pCur, int nMaxHours, int* pSeconds)
{
    int sign = 1;
    if (pCur->Take(QLatin1Char('-')))
        sign = -1;
    else
        pCur->Take(QLatin1Char('+'));
    int hours = 0, minutes = 0, seconds = 0;
    if (!ParseNumber(pCur, 3, &hours) || hours > nMaxHours)
        return false;
    if (pCur->Take(QLatin1Char(':'))) {
        if (!ParseNumber(pCur, 2, &minutes) || minutes > 59)
            return false;
        if (pCur->Take(QLatin1Char(':')) && (!ParseNumber(pCur, 2, &seconds) || seconds > 59))
            return false;
    }
    *pSeconds = sign * (hours * kSecondsPerHour + minutes * 60 + seconds);
    return true;
}

struct TransitionRule {
    bool bMonthForm = false;  // Mm.w.d; the Julian forms Jn and n are read but not kept
    int nMonth = 0, nWeek = 0, nWeekday = 0;
    int nSeconds = kDefaultTransitionSeconds;
};

bool ParseTransition(RuleCursor* pCur, TransitionRule* pRule)
{
    int value = 0;
    if (pCur->Take(QLatin1Char('M'))) {
        pRule->bMonthForm = true;
        if (!ParseNumber(pCur, 2, &pRule->nMonth) || pRule->nMonth < 1 || pRule->nMonth > 12
            || !pCur->Take(QLatin1Char('.')) || !ParseNumber(pCur, 1, &pRule->nWeek)
            || pRule->nWeek < 1 || pRule->nWeek > 5 || !pCur->Take(QLatin1Char('.'))
            || !ParseNumber(pCur, 1, &pRule->nWeekday) || pRule->nWeekday > 6)
            return false;
    } else if (pCur->Take(QLatin1Char('J'))) {
        if (!ParseNumber(pCur, 3, &value) || value < 1 || value > 365)
            return false;
    } else if (!ParseNumber(pCur, 3, &value) || value > 365) {
        return false;
    }
    if (pCur->Take(QLatin1Char('/')))
        return ParseClock(pCur, 167, &pRule->nSeconds);
    return true;
}

// The day-in-month record of a transition, with the whole days of a time outside the day
// (allowed by POSIX, as in "M3.4.4/26") kept apart in *pDayOffset.
SYSTEMTIME TransitionRecord(const TransitionRule& rule, int32_t* pDayOffset)
{
    int dayShift = rule.nSeconds / kSecondsPerDay;
    int seconds = rule.nSeconds % kSecondsPerDay;
    if (seconds < 0) {
        seconds += kSecondsPerDay;
        --dayShift;
    }
    SYSTEMTIME st;
    st.wMonth = static_cast<uint16_t>(rule.nMonth);
    st.wDay = static_cast<uint16_t>(rule.nWeek);
    st.wDayOfWeek = static_cast<uint16_t>(rule.nWeekday);
    st.wHour = static_cast<uint16_t>(seconds / kSecondsPerHour);
    st.wMinute = static_cast<uint16_t>(seconds % kSecondsPerHour / 60);
    st.wSecond = static_cast<uint16_t>(seconds % 60);
    *pDayOffset = dayShift;
    return st;
}

// Whole minutes of an offset in seconds, rounded towards zero as the record keeps minutes.
int32_t Minutes(int seconds) { return seconds / 60; }

}  // namespace

bool ParsePosixTzRule(const QString& rule, TIME_ZONE_INFORMATION* pTzi)
{
    if (!pTzi)
        return false;
    RuleCursor cur{rule.trimmed(), 0};
    int stdOffset = 0;
    if (!ParseZoneName(&cur) || !ParseClock(&cur, 24, &stdOffset))
        return false;
    TIME_ZONE_INFORMATION tzi;
    tzi.Bias = Minutes(stdOffset);
    if (cur.AtEnd()) {
        *pTzi = tzi;
        return true;
    }
    int dstOffset = stdOffset - kSecondsPerHour;
    if (!ParseZoneName(&cur))
        return false;
    if (!cur.AtEnd() && cur.Peek() != QLatin1Char(',') && !ParseClock(&cur, 24, &dstOffset))
        return false;
    if (cur.AtEnd()) {
        *pTzi = tzi;  // a daylight name without rule: no rule to apply
        return true;
    }
    TransitionRule start, end;
    if (!cur.Take(QLatin1Char(',')) || !ParseTransition(&cur, &start) || !cur.Take(QLatin1Char(','))
        || !ParseTransition(&cur, &end) || !cur.AtEnd())
        return false;
    if (start.bMonthForm && end.bMonthForm) {
        tzi.DaylightBias = Minutes(dstOffset - stdOffset);
        tzi.DaylightDate = TransitionRecord(start, &tzi.DaylightDayOffset);
        tzi.StandardDate = TransitionRecord(end, &tzi.StandardDayOffset);
    }
    *pTzi = tzi;
    return true;
}

namespace {

// The POSIX rule in the footer of a TZif file (version 2 and later): the text between the
// last two line feeds.
QString ReadTzifFooter(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    // One byte more than a zone file may hold: a device such as /dev/zero never ends.
    const QByteArray bytes = file.read(kLargestTzifFile + 1);
    if (bytes.size() > kLargestTzifFile || !bytes.startsWith("TZif") || bytes.size() < 5 || bytes.at(4) < '2' || !bytes.endsWith('\n'))
        return QString();
    const int start = bytes.lastIndexOf('\n', bytes.size() - 2);
    if (start < 0)
        return QString();
    const QByteArray footer = bytes.mid(start + 1, bytes.size() - start - 2);
    for (const char c : footer) {
        if (c < 0x20 || c > 0x7e)
            return QString();
    }
    return QString::fromLatin1(footer);
}

QString ZoneFilePath(const QString& name)
{
    if (name.startsWith(QLatin1Char('/')))
        return name;
    if (name.contains(QLatin1String("..")))
        return QString();
    QString dir = qEnvironmentVariable("TZDIR");
    if (dir.isEmpty())
        dir = QStringLiteral("/usr/share/zoneinfo");
    return dir + QLatin1Char('/') + name;
}

// The rule text this machine's zone setting stands for; empty when none can be found.
QString LocalZoneRule()
{
    if (!qEnvironmentVariableIsSet("TZ"))
        return ReadTzifFooter(QStringLiteral("/etc/localtime"));
    QString tz = qEnvironmentVariable("TZ");
    if (tz.isEmpty())
        return QStringLiteral("UTC0");  // the C library reads an empty TZ as UTC
    if (tz.startsWith(QLatin1Char(':')))
        tz.remove(0, 1);
    // A zone file of that name comes first, as in the C library: "EST5EDT" names a file
    // with daylight dates, while read as a rule it has none.
    const QString path = ZoneFilePath(tz);
    const QString footer = path.isEmpty() ? QString() : ReadTzifFooter(path);
    if (!footer.isEmpty())
        return footer;
    TIME_ZONE_INFORMATION probe;
    return ParsePosixTzRule(tz, &probe) ? tz : QString();
}

// The date of a day-in-month transition in the given year, moved by the days its time carries.
QDate TransitionDate(const SYSTEMTIME& rule, int32_t dayOffset, int year)
{
    const QDate first(year, rule.wMonth, 1);
    const int firstWeekday = first.dayOfWeek() % 7;
    int day = 1 + (rule.wDayOfWeek - firstWeekday + 7) % 7 + (rule.wDay - 1) * 7;
    while (day > first.daysInMonth())
        day -= 7;
    return first.addDays(day - 1 + dayOffset);
}

// Local wall time as comparable seconds: year, month, day and time of day.
qint64 WallSeconds(const QDate& date, int hour, int minute, int second)
{
    return ((static_cast<qint64>(date.year()) * 13 + date.month()) * 32 + date.day()) * kSecondsPerDay
        + hour * kSecondsPerHour + minute * 60 + second;
}

bool IsDaylightNow(const TIME_ZONE_INFORMATION& tzi)
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    const SYSTEMTIME& d = tzi.DaylightDate;
    const SYSTEMTIME& s = tzi.StandardDate;
    const qint64 t = WallSeconds(QDate(now.wYear, now.wMonth, now.wDay), now.wHour, now.wMinute, now.wSecond);
    const qint64 begin =
        WallSeconds(TransitionDate(d, tzi.DaylightDayOffset, now.wYear), d.wHour, d.wMinute, d.wSecond);
    const qint64 end =
        WallSeconds(TransitionDate(s, tzi.StandardDayOffset, now.wYear), s.wHour, s.wMinute, s.wSecond);
    if (begin < end)
        return t >= begin && t < end;
    return t >= begin || t < end;  // southern hemisphere: daylight time spans the new year
}

}  // namespace

DWORD GetTimeZoneInformation(TIME_ZONE_INFORMATION* pTzi)
{
    if (!pTzi)
        return TIME_ZONE_ID_INVALID;
    TIME_ZONE_INFORMATION tzi;
    if (!ParsePosixTzRule(LocalZoneRule(), &tzi)) {
        *pTzi = TIME_ZONE_INFORMATION();
        return TIME_ZONE_ID_INVALID;
    }
    *pTzi = tzi;
    if (tzi.DaylightDate.wMonth == 0)
        return TIME_ZONE_ID_UNKNOWN;
    return IsDaylightNow(tzi) ? TIME_ZONE_ID_DAYLIGHT : TIME_ZONE_ID_STANDARD;
}
