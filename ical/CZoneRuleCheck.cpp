#include "ical/CZoneRuleCheck.h"

#include <algorithm>

namespace {

int Count(const short* pValues, int nSize)
{
    int n = 0;
    while (n < nSize && pValues[n] != ICAL_RECURRENCE_ARRAY_MAX)
        ++n;
    return n;
}

// A BYHOUR, BYMINUTE or BYSECOND list that only repeats the time of DTSTART (Lotus Notes
// writes BYMINUTE=0;BYHOUR=2 beside a DTSTART at 02:00): it changes no occurrence.
bool OnlyRepeats(const short* pValues, int nSize, int nStartValue)
{
    const int n = Count(pValues, nSize);
    return n == 0 || (n == 1 && pValues[0] == nStartValue);
}

}  // namespace

long CZoneRuleCheck::Changes(icalcomponent* pObservance, QString* pstrWhy)
{
    long nChanges = 0;
    for (icalproperty* p = icalcomponent_get_first_property(pObservance, ICAL_RDATE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(pObservance, ICAL_RDATE_PROPERTY))
        ++nChanges;
    const icaltimetype start = icalcomponent_get_dtstart(pObservance);
    for (icalproperty* p = icalcomponent_get_first_property(pObservance, ICAL_RRULE_PROPERTY); p != nullptr;
         p = icalcomponent_get_next_property(pObservance, ICAL_RRULE_PROPERTY)) {
        const icalrecurrencetype rule = icalproperty_get_rrule(p);
        const bool bOtherLists = !OnlyRepeats(rule.by_second, ICAL_BY_SECOND_SIZE, start.second)
                              || !OnlyRepeats(rule.by_minute, ICAL_BY_MINUTE_SIZE, start.minute)
                              || !OnlyRepeats(rule.by_hour, ICAL_BY_HOUR_SIZE, start.hour)
                              || Count(rule.by_year_day, ICAL_BY_YEARDAY_SIZE) > 0
                              || Count(rule.by_week_no, ICAL_BY_WEEKNO_SIZE) > 0
                              || Count(rule.by_set_pos, ICAL_BY_SETPOS_SIZE) > 0;
        const int nMonths = Count(rule.by_month, ICAL_BY_MONTH_SIZE);
        const int nDays = Count(rule.by_day, ICAL_BY_DAY_SIZE);
        const int nMonthDays = Count(rule.by_month_day, ICAL_BY_MONTHDAY_SIZE);
        if (rule.freq != ICAL_YEARLY_RECURRENCE || bOtherLists || nMonths > 1 || nDays > 1 || nMonthDays > 7) {
            *pstrWhy = QStringLiteral("a time zone rule that is not yearly (%1)").arg(QString::fromUtf8(icalrecurrencetype_as_string(const_cast<icalrecurrencetype*>(&rule))));
            return -1;
        }
        if (icaltime_is_null_time(start)) {
            *pstrWhy = QStringLiteral("a time zone rule without DTSTART");
            return -1;
        }
        int nLast = kLastYear;
        if (!icaltime_is_null_time(rule.until))
            nLast = std::min(nLast, rule.until.year);
        const long nYears = std::max(0, nLast - start.year + 1);
        const long nPerYear = std::max(1, nMonthDays);
        nChanges += rule.count > 0 ? std::min<long>(rule.count, nYears * nPerYear) : nYears * nPerYear;
    }
    return nChanges;
}

bool CZoneRuleCheck::Check(icalcomponent* pZone, QString* pstrWhy)
{
    long nChanges = 0;
    for (icalcomponent* p = icalcomponent_get_first_component(pZone, ICAL_ANY_COMPONENT); p != nullptr;
         p = icalcomponent_get_next_component(pZone, ICAL_ANY_COMPONENT)) {
        const icalcomponent_kind kind = icalcomponent_isa(p);
        if (kind != ICAL_XSTANDARD_COMPONENT && kind != ICAL_XDAYLIGHT_COMPONENT)
            continue;
        const long n = Changes(p, pstrWhy);
        if (n < 0)
            return false;
        nChanges += n;
        if (nChanges > kMaxChanges) {
            *pstrWhy = QStringLiteral("a time zone that changes its offset more than %1 times").arg(kMaxChanges);
            return false;
        }
    }
    return true;
}
