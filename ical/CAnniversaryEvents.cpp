#include "ical/CAnniversaryEvents.h"
#include "calendar/AnniversaryList.h"
#include "calendar/CAnniversaryLines.h"
#include "ical/ICalPrepared.h"
#include "calendar/LunarCalendar.h"
#include <QCryptographicHash>
#include <QHash>

const char* const CAnniversaryEvents::kLunarScale = "DANGI";

namespace {

constexpr int kLastYear = 2106;  // the last year the week can show

icaltimetype DateValue(const SolarDate& solar)
{
    icaltimetype t = icaltime_null_date();
    t.year = solar.wYear;
    t.month = solar.nMonth;
    t.day = solar.nDay;
    return t;
}

// The first date of the day from nFromYear on.
bool FirstDate(const SpecialDay& day, int nFromYear, SolarDate* pSolar)
{
    if (day.nYear != 0)
        return day.SolarDateOf(day.nYear, pSolar) == TRUE;
    for (int y = nFromYear; y <= kLastYear; ++y) {
        if (day.SolarDateOf(y, pSolar))
            return true;
    }
    return false;
}

}  // namespace

QString CAnniversaryEvents::RuleText(const SpecialDay& day)
{
    if (!day.bLunar)
        return day.nYear == 0 ? QStringLiteral("FREQ=YEARLY") : QString();
    return QStringLiteral("RSCALE=%1;FREQ=YEARLY;BYMONTH=%2%3;BYMONTHDAY=%4;SKIP=%5%6")
        .arg(QLatin1String(kLunarScale))
        .arg(day.nMonth)
        .arg(day.bLeapMonth ? QStringLiteral("L") : QString())
        .arg(day.nDay)
        .arg(day.bLeapMonth ? QStringLiteral("BACKWARD") : QStringLiteral("OMIT"))
        .arg(day.nYear != 0 ? QStringLiteral(";COUNT=1") : QString());
}

QString CAnniversaryEvents::UidOf(const SpecialDay& day, int nRepeat)
{
    AnniversaryFields fields{day.strName, day.nYear, day.nMonth, day.nDay, day.bLunar != FALSE, day.bLeapMonth != FALSE};
    const QByteArray hash = QCryptographicHash::hash(FormatSpecialDayLine(fields).toUtf8(), QCryptographicHash::Sha1);
    QString strUid = QStringLiteral("special-day-") + QString::fromLatin1(hash.toHex().left(20));
    if (nRepeat > 0)
        strUid += QStringLiteral("-%1").arg(nRepeat + 1);
    return strUid + QStringLiteral("@quillday");
}

icalcomponent* CAnniversaryEvents::EventOf(const SpecialDay& day, const QString& strUid, int nFromYear)
{
    SolarDate first;
    if (!FirstDate(day, nFromYear, &first))
        return nullptr;
    icalcomponent* pEvent = icalcomponent_new_vevent();
    icalcomponent_add_property(pEvent, icalproperty_new_uid(strUid.toUtf8().constData()));
    icalcomponent_add_property(pEvent, icalproperty_new_summary(day.strName.toUtf8().constData()));
    const icaltimetype start = DateValue(first);
    icalcomponent_add_property(pEvent, icalproperty_new_dtstart(start));
    icalcomponent_add_property(pEvent, icalproperty_new_dtend(icaltime_add(start, icaldurationtype_from_int(24 * 60 * 60))));
    icalcomponent_add_property(pEvent, icalproperty_new_transp(ICAL_TRANSP_TRANSPARENT));
    const QString strRule = RuleText(day);
    if (!strRule.isEmpty()) {
        icalproperty* pRule = icalproperty_new_from_string(("RRULE:" + strRule).toUtf8().constData());
        if (pRule != nullptr)
            icalcomponent_add_property(pEvent, pRule);
    }
    return pEvent;
}

int CAnniversaryEvents::AddAll(icalcomponent* pCalendar, const SpecialDayList& days)
{
    QHash<QString, int> repeats;
    int nAdded = 0;
    for (int i = 0; i < days.GetSize(); ++i) {
        const SpecialDay& day = *days.GetAt(i);
        const QString strUid = UidOf(day, 0);
        icalcomponent* pEvent = EventOf(day, UidOf(day, repeats[strUid]++));
        if (pEvent == nullptr)
            continue;
        icalcomponent_add_component(pCalendar, pEvent);
        ++nAdded;
    }
    return nAdded;
}

namespace {

int CountOf(const short* pValues, int nSize)
{
    int n = 0;
    while (n < nSize && pValues[n] != ICAL_RECURRENCE_ARRAY_MAX)
        ++n;
    return n;
}

bool HasOtherParts(const icalrecurrencetype& r)
{
    return CountOf(r.by_second, ICAL_BY_SECOND_SIZE) || CountOf(r.by_minute, ICAL_BY_MINUTE_SIZE)
        || CountOf(r.by_hour, ICAL_BY_HOUR_SIZE) || CountOf(r.by_day, ICAL_BY_DAY_SIZE)
        || CountOf(r.by_year_day, ICAL_BY_YEARDAY_SIZE) || CountOf(r.by_week_no, ICAL_BY_WEEKNO_SIZE)
        || CountOf(r.by_set_pos, ICAL_BY_SETPOS_SIZE) || r.interval > 1 || !icaltime_is_null_time(r.until);
}

bool IsLunarScale(const char* pszScale)
{
    const QByteArray scale = QByteArray(pszScale).toLower();
    return scale == "dangi" || scale == "chinese";
}

// The lunar year, from the rule's first date, of a lunar day of one year.
bool LunarYearOfStart(const AnniversaryFields& day, const icaltimetype& start, int* pnYear)
{
    const SpecialDay probe(0, day.nMonth, day.nDay, TRUE, QString(), 0, day.bLeapMonth ? TRUE : FALSE);
    for (const int y : {start.year - 1, start.year}) {
        SolarDate solar;
        if (probe.SolarDateOf(y, &solar) && solar.wYear == start.year && solar.nMonth == start.month
            && solar.nDay == start.day) {
            *pnYear = y;
            return true;
        }
    }
    return false;
}

// A yearly lunar rule with one month and one day, and the SKIP our file applies.
bool ReadLunarRule(const icalrecurrencetype& r, const icaltimetype& start, AnniversaryFields* pDay, QString* pstrWhy)
{
    if (!IsLunarScale(r.rscale))
        return *pstrWhy = QStringLiteral("RSCALE=%1 is not the Korean lunar calendar").arg(QLatin1String(r.rscale)), false;
    if (r.freq != ICAL_YEARLY_RECURRENCE || HasOtherParts(r) || CountOf(r.by_month, ICAL_BY_MONTH_SIZE) != 1
        || CountOf(r.by_month_day, ICAL_BY_MONTHDAY_SIZE) != 1 || r.count > 1)
        return *pstrWhy = QStringLiteral("a lunar rule other than one day a year"), false;
    pDay->bLunar = true;
    pDay->bLeapMonth = icalrecurrencetype_month_is_leap(r.by_month[0]) != 0;
    pDay->nMonth = icalrecurrencetype_month_month(r.by_month[0]);
    pDay->nDay = r.by_month_day[0];
    // A day every lunar month has (1..29) needs no SKIP for a regular month.
    const icalrecurrencetype_skip wanted = pDay->bLeapMonth ? ICAL_SKIP_BACKWARD : ICAL_SKIP_OMIT;
    if (r.skip != wanted && (pDay->bLeapMonth || pDay->nDay > 29))
        return *pstrWhy = QStringLiteral("SKIP=%1 for a day a lunar year may lack").arg(QLatin1String(icalrecur_skip_to_string(r.skip))), false;
    if (r.count == 1 && !LunarYearOfStart(*pDay, start, &pDay->nYear))
        return *pstrWhy = QStringLiteral("the first date is not on the lunar day of the rule"), false;
    return true;
}

}  // namespace

bool CAnniversaryEvents::DayOfEvent(icalcomponent* pEvent, bool bPlainToo, AnniversaryFields* pDay, QString* pstrWhy)
{
    const icaltimetype start = icalcomponent_get_dtstart(pEvent);
    icalproperty* pRule = icalcomponent_get_first_property(pEvent, ICAL_RRULE_PROPERTY);
    const bool bMoreRules = pRule != nullptr && icalcomponent_get_next_property(pEvent, ICAL_RRULE_PROPERTY) != nullptr;
    const icalrecurrencetype r = pRule != nullptr ? icalproperty_get_rrule(pRule) : icalrecurrencetype();
    const bool bLunar = pRule != nullptr && r.rscale != nullptr && r.rscale[0] != 0;
    if (!bLunar && !bPlainToo)
        return *pstrWhy = QStringLiteral("not a lunar rule"), false;
    if (!start.is_date || bMoreRules || icalcomponent_get_first_property(pEvent, ICAL_RDATE_PROPERTY) != nullptr
        || icalcomponent_get_first_property(pEvent, ICAL_EXDATE_PROPERTY) != nullptr
        || icalcomponent_get_first_property(pEvent, ICAL_RECURRENCEID_PROPERTY) != nullptr)
        return *pstrWhy = QStringLiteral("not one all-day date or yearly rule"), false;
    const icaltimetype end = icalcomponent_get_dtend(pEvent);
    if (!icaltime_is_null_time(end) && icaltime_compare_date_only(end, icaltime_add(start, icaldurationtype_from_int(86400))) > 0)
        return *pstrWhy = QStringLiteral("longer than one day"), false;
    AnniversaryFields day;
    day.strName = QString::fromUtf8(icalcomponent_get_summary(pEvent)).simplified();
    if (bLunar) {
        if (!ReadLunarRule(r, start, &day, pstrWhy))
            return false;
    } else {
        const bool bYearly = pRule != nullptr;
        const int nMonths = CountOf(r.by_month, ICAL_BY_MONTH_SIZE);
        const int nDays = CountOf(r.by_month_day, ICAL_BY_MONTHDAY_SIZE);
        if (bYearly && (r.freq != ICAL_YEARLY_RECURRENCE || HasOtherParts(r) || r.count > 0 || nMonths > 1 || nDays > 1
                        || (nMonths == 1 && r.by_month[0] != start.month) || (nDays == 1 && r.by_month_day[0] != start.day)))
            return *pstrWhy = QStringLiteral("a rule other than every year on its first date"), false;
        day.nYear = bYearly ? 0 : start.year;
        day.nMonth = start.month;
        day.nDay = start.day;
    }
    if (CheckSpecialDay(day) != SpecialDayProblem::None)
        return *pstrWhy = QStringLiteral("not a day the special days can hold"), false;
    *pDay = day;
    return true;
}

QStringList CAnniversaryEvents::AddToFile(const QVector<ICalSpecialDay>& days, CAnniversaryLines* pFile,
                                         const QString& strWhere)
{
    QStringList summary;
    const int nGroup = static_cast<int>(pFile->GetGroupColours().size()) - 1;
    for (const ICalSpecialDay& imported : days) {
        const QString strLine = FormatSpecialDayLine(imported.day);
        const bool bThere = pFile->FindDay(imported.day) >= 0;
        if (!bThere)
            pFile->AddDay(imported.day, nGroup);
        summary << QStringLiteral("Special day %1: %2 %3 %4")
                       .arg(imported.strUid, strLine, bThere ? QStringLiteral("already in") : QStringLiteral("->"), strWhere);
    }
    return summary;
}
