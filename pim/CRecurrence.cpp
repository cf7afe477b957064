#include "pim/CRecurrence.h"

#include "pim/CRecurrenceMath.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"

namespace {

icaltimetype IcalOfWall(int64_t nWall, bool bDate)
{
    const WallFields f = FieldsOfWall(nWall);
    icaltimetype t = icaltime_null_time();
    t.year = f.nYear;
    t.month = f.nMonth;
    t.day = f.nDay;
    t.hour = bDate ? 0 : f.nHour;
    t.minute = bDate ? 0 : f.nMinute;
    t.second = 0;
    t.is_date = bDate ? 1 : 0;
    return t;
}

int64_t WallOfIcal(const icaltimetype& t)
{
    return WallFromFields(t.year, t.month, t.day, t.is_date ? 0 : t.hour, t.is_date ? 0 : t.minute);
}

// icalrecurrencetype_weekday: 1 = Sunday ... 7 = Saturday; our mask bit 1 << (day - 1).
void PutDays(int nMask, int nPosition, icalrecurrencetype* r)
{
    int n = 0;
    for (int wd = 0; wd < 7; ++wd) {
        const int nIcalDay = (wd + 1) % 7 + 1;  // Monday first, as RRULEs are usually written
        if (nMask & (1 << (nIcalDay - 1)))
            r->by_day[n++] = static_cast<short>((nPosition < 0 ? -1 : 1) * (std::abs(nPosition) * 8 + nIcalDay));
    }
    r->by_day[n] = ICAL_RECURRENCE_ARRAY_MAX;
}

int Count(const short* p, int nMax)
{
    int n = 0;
    while (n < nMax && p[n] != ICAL_RECURRENCE_ARRAY_MAX)
        ++n;
    return n;
}

bool ReadDays(const icalrecurrencetype& r, int* pnMask, int* pnPosition)
{
    const int n = Count(r.by_day, ICAL_BY_DAY_SIZE);
    *pnMask = 0;
    *pnPosition = 0;
    for (int i = 0; i < n; ++i) {
        const int nDay = icalrecurrencetype_day_day_of_week(r.by_day[i]);
        const int nPos = icalrecurrencetype_day_position(r.by_day[i]);
        if (nDay < 1 || nDay > 7 || (i > 0 && nPos != *pnPosition))
            return false;
        *pnMask |= 1 << (nDay - 1);
        *pnPosition = nPos;
    }
    return n > 0;
}

bool HasUnsupportedParts(const icalrecurrencetype& r)
{
    return Count(r.by_second, ICAL_BY_SECOND_SIZE) || Count(r.by_minute, ICAL_BY_MINUTE_SIZE)
        || Count(r.by_hour, ICAL_BY_HOUR_SIZE) || Count(r.by_year_day, ICAL_BY_YEARDAY_SIZE)
        || Count(r.by_week_no, ICAL_BY_WEEKNO_SIZE) || Count(r.by_month_day, ICAL_BY_MONTHDAY_SIZE) > 1
        || Count(r.by_month, ICAL_BY_MONTH_SIZE) > 1 || Count(r.by_set_pos, ICAL_BY_SETPOS_SIZE) > 1
        || (r.rscale != nullptr && r.rscale[0] != 0) || r.interval < 1;
}

// An n-th weekday ("2MO", or "MO,TU;BYSETPOS=2"): instance 1..4, or 5 for the last.
bool ReadInstance(const icalrecurrencetype& r, CRecurrenceRule* p)
{
    int nMask = 0, nPos = 0;
    if (!ReadDays(r, &nMask, &nPos))
        return false;
    const int nSetPos = Count(r.by_set_pos, ICAL_BY_SETPOS_SIZE) ? r.by_set_pos[0] : 0;
    if ((nPos != 0) == (nSetPos != 0))
        return false;
    const int n = nPos != 0 ? nPos : nSetPos;
    if (n != -1 && (n < 1 || n > 4))
        return false;
    // "2MO,2TU" is every second Monday and every second Tuesday, not the second of the
    // two (which BYSETPOS says): only one weekday may carry an ordinal.
    if (nPos != 0 && (nMask & (nMask - 1)) != 0)
        return false;
    p->nDayOfWeekMask = nMask;
    p->nInstance = n == -1 ? 5 : n;
    return true;
}

bool ReadKind(const icalrecurrencetype& r, const WallFields& f, CRecurrenceRule* p)
{
    const bool bDays = Count(r.by_day, ICAL_BY_DAY_SIZE) > 0;
    const bool bMonthDay = Count(r.by_month_day, ICAL_BY_MONTHDAY_SIZE) > 0;
    const bool bMonth = Count(r.by_month, ICAL_BY_MONTH_SIZE) > 0;
    const bool bSetPos = Count(r.by_set_pos, ICAL_BY_SETPOS_SIZE) > 0;
    // BYSETPOS picks from a set of weekdays; anywhere else it would be ignored.
    if (bSetPos && (!bDays || r.freq == ICAL_WEEKLY_RECURRENCE || r.freq == ICAL_DAILY_RECURRENCE))
        return false;
    p->nDayOfMonth = bMonthDay ? r.by_month_day[0] : f.nDay;
    p->nMonthOfYear = bMonth ? r.by_month[0] : f.nMonth;
    switch (r.freq) {
    case ICAL_DAILY_RECURRENCE:
        p->nType = olRecursDaily;
        return !bDays && !bMonthDay && !bMonth;
    case ICAL_WEEKLY_RECURRENCE: {
        int nPos = 0;
        p->nType = olRecursWeekly;
        if (!bDays)
            p->nDayOfWeekMask = 1 << f.nDayOfWeek;
        else if (!ReadDays(r, &p->nDayOfWeekMask, &nPos) || nPos != 0)
            return false;
        return !bMonthDay && !bMonth && (r.week_start == ICAL_MONDAY_WEEKDAY || r.interval == 1);
    }
    case ICAL_MONTHLY_RECURRENCE:
        p->nType = bDays ? olRecursMonthNth : olRecursMonthly;
        return !bMonth && (bDays ? (!bMonthDay && ReadInstance(r, p)) : p->nDayOfMonth >= 1);
    case ICAL_YEARLY_RECURRENCE:
        // A month day without a month repeats in every month of the year: once a year
        // it is not; every year it is the monthly rule.
        if (bMonthDay && !bMonth && !bDays) {
            p->nType = olRecursMonthly;
            return r.interval == 1 && p->nDayOfMonth >= 1;
        }
        p->nType = bDays ? olRecursYearNth : olRecursYearly;
        return bDays ? (!bMonthDay && bMonth && ReadInstance(r, p)) : p->nDayOfMonth >= 1;
    default:
        return false;
    }
}

// COUNT, or UNTIL at the end of the last day (a DATE for date values).
void PutEnd(const CRecurrenceRule& rule, bool bDateValues, icalrecurrencetype* r)
{
    if (rule.nOccurrences > 0) {
        r->count = rule.nOccurrences;
    } else if (rule.nPatternEnd < kNoDateMinutes) {
        r->until = IcalOfWall(WallDayStart(rule.nPatternEnd) + (bDateValues ? 0 : kMinutesPerDay - 1), bDateValues);
        if (!bDateValues)
            r->until.second = 59;
    }
}

}  // namespace

icalrecurrencetype CRecurrence::ToIcal(const CRecurrenceRule& rule, int64_t nPatternStart, bool bDateValues)
{
    icalrecurrencetype r;
    icalrecurrencetype_clear(&r);
    r.week_start = ICAL_MONDAY_WEEKDAY;
    r.interval = static_cast<short>(rule.nInterval);
    const int nPos = rule.nInstance == 5 ? -1 : rule.nInstance;
    switch (rule.nType) {
    case olRecursDaily: r.freq = ICAL_DAILY_RECURRENCE; break;
    case olRecursWeekly: r.freq = ICAL_WEEKLY_RECURRENCE; PutDays(rule.nDayOfWeekMask, 0, &r); break;
    case olRecursMonthly:
        r.freq = ICAL_MONTHLY_RECURRENCE;
        r.by_month_day[0] = static_cast<short>(rule.nDayOfMonth);
        r.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
        break;
    case olRecursYearly:
    case olRecursYearNth:
        r.freq = ICAL_YEARLY_RECURRENCE;
        r.by_month[0] = static_cast<short>(rule.nMonthOfYear);
        r.by_month[1] = ICAL_RECURRENCE_ARRAY_MAX;
        if (rule.nType == olRecursYearly) {
            r.by_month_day[0] = static_cast<short>(rule.nDayOfMonth);
            r.by_month_day[1] = ICAL_RECURRENCE_ARRAY_MAX;
            break;
        }
        [[fallthrough]];
    case olRecursMonthNth:
        if (rule.nType == olRecursMonthNth)
            r.freq = ICAL_MONTHLY_RECURRENCE;
        if ((rule.nDayOfWeekMask & (rule.nDayOfWeekMask - 1)) == 0) {
            PutDays(rule.nDayOfWeekMask, nPos, &r);  // a single weekday: "2MO", "-1FR"
        } else {
            PutDays(rule.nDayOfWeekMask, 0, &r);
            r.by_set_pos[0] = static_cast<short>(nPos);
            r.by_set_pos[1] = ICAL_RECURRENCE_ARRAY_MAX;
        }
        break;
    default: break;
    }
    PutEnd(rule, bDateValues, &r);
    (void)nPatternStart;
    return r;
}

bool CRecurrence::FromIcal(const icalrecurrencetype& r, int64_t nStart, CRecurrenceRule* pRule)
{
    CRecurrenceRule rule;
    rule.nInterval = r.interval;
    if (HasUnsupportedParts(r) || !ReadKind(r, FieldsOfWall(nStart), &rule))
        return false;
    if (r.count > 0) {
        rule.nOccurrences = r.count;
    } else if (!icaltime_is_null_time(r.until)) {
        // UNTIL is the last allowed start: its day is the end day unless it falls before
        // the pattern's time of day there.
        const int64_t nUntil = WallOfIcal(r.until) + (r.until.is_date ? kMinutesPerDay - 1 : 0);
        const int64_t nDay = WallDayStart(nUntil);
        rule.nPatternEnd = nUntil - nDay >= nStart - WallDayStart(nStart) ? nDay : nDay - kMinutesPerDay;
    }
    if (!CRecurrenceMath::IsValid(rule))
        return false;
    *pRule = rule;
    return true;
}

void CRecurrence::Expand(const CRecurrenceRule& rule, int64_t nPatternStart, int64_t nTo, int nMax,
                         QVector<int64_t>* pStarts)
{
    pStarts->clear();
    if (!CRecurrenceMath::IsValid(rule))
        return;
    icalrecur_iterator* pIt = icalrecur_iterator_new(ToIcal(rule, nPatternStart, false), IcalOfWall(nPatternStart, false));
    if (pIt == nullptr)
        return;
    for (icaltimetype t = icalrecur_iterator_next(pIt); !icaltime_is_null_time(t) && pStarts->size() < nMax;
         t = icalrecur_iterator_next(pIt)) {
        const int64_t nWall = WallOfIcal(t);
        if (nWall > nTo || nWall > kNoDateMinutes)
            break;
        if (nWall >= nPatternStart)
            pStarts->push_back(nWall);
    }
    icalrecur_iterator_free(pIt);
}

bool CRecurrence::Span(const CRecurrenceRule& rule, int64_t nStart, int64_t* pnFirst, int64_t* pnLastStart)
{
    if (!CRecurrenceMath::IsValid(rule) || rule.nOccurrences > kMaxOccurrences || rule.nOccurrences < 0)
        return false;
    // UNTIL is the last allowed day: its occurrence at any time of day is in.
    const bool bUntil = rule.nOccurrences == 0 && rule.nPatternEnd < kNoDateMinutes;
    const int64_t nLastAllowed = bUntil ? WallDayStart(rule.nPatternEnd) + kMinutesPerDay - 1 : kNoDateMinutes;
    CRecurrenceMath math(rule, nStart, nLastAllowed);
    math.Seek(nStart, nLastAllowed);
    if (!math.Next(pnFirst))
        return false;
    if (rule.nOccurrences > 0)
        return CRecurrenceMath::NthStart(rule, *pnFirst, rule.nOccurrences, pnLastStart);
    *pnLastStart = nLastAllowed;
    return true;
}
