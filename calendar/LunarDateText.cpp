#include "calendar/LunarDateText.h"
#include <QRegularExpression>

bool ParseLunarDateText(const QString& text, LunarDate* pDate)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4})-(\\d{1,2})-(\\d{1,2})([Ll]?)$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return false;
    pDate->nYear = match.captured(1).toInt();
    pDate->nMonth = match.captured(2).toInt();
    pDate->nDay = match.captured(3).toInt();
    pDate->bLeapMonth = match.capturedLength(4) > 0 ? TRUE : FALSE;
    return true;
}

QString FormatSolarDate(const SolarDate& solar)
{
    static const char* const kWeekdays[7] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    return QStringLiteral("%1-%2-%3 %4")
        .arg(solar.wYear, 4, 10, QLatin1Char('0'))
        .arg(solar.nMonth, 2, 10, QLatin1Char('0'))
        .arg(solar.nDay, 2, 10, QLatin1Char('0'))
        .arg(QLatin1String(kWeekdays[solar.nDayOfWeek % 7]));
}

QString AnswerLunarDateText(const QString& text, LunarAnswerKind* pKind)
{
    const QString invalid = QStringLiteral("INVALID");
    LunarDate lunar;
    if (!ParseLunarDateText(text, &lunar)) {
        *pKind = LunarAnswerKind::Malformed;
        return invalid;
    }
    const LunarCalendar calendar;
    SolarDate solar;
    // The calendar reads a leap month that does not exist as the regular month; asked
    // for by name, it is no date at all.
    const bool bNoSuchLeapMonth = lunar.bLeapMonth && !calendar.HasLeapMonth(lunar.nYear, lunar.nMonth);
    if (bNoSuchLeapMonth || !calendar.LunarToSolar(lunar, &solar)) {
        *pKind = LunarAnswerKind::Invalid;
        return invalid;
    }
    *pKind = LunarAnswerKind::Solar;
    return FormatSolarDate(solar);
}
