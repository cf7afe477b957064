#include "dialogs/RecurrenceValues.h"

#include "dialogs/FormValues.h"
#include "pim/IPOutlookItem.h"
#include "pim/IRecurrencePattern.h"
#include <memory>

namespace {

bool UsesWeekdays(int nType)
{
    return nType == olRecursWeekly || nType == olRecursMonthNth || nType == olRecursYearNth;
}

bool UsesDayOfMonth(int nType)
{
    return nType == olRecursMonthly || nType == olRecursYearly;
}

bool UsesInstance(int nType)
{
    return nType == olRecursMonthNth || nType == olRecursYearNth;
}

bool UsesMonth(int nType)
{
    return nType == olRecursYearly || nType == olRecursYearNth;
}

// Writes one field only when it differs, so that reading and writing an unchanged
// pattern leaves the store's rule exactly as it was.
template <class Get, class Put>
HRESULT PutIfChanged(Get get, Put put, int32_t nValue)
{
    int32_t nNow = 0;
    if (SUCCEEDED(get(&nNow)) && nNow == nValue)
        return S_OK;
    return put(nValue);
}

HRESULT WriteEnd(const RecurrenceValues& v, IRecurrencePattern* p)
{
    if (v.nEnd == kEndAfterCount)
        return PutIfChanged([p](int32_t* pn) { return p->get_Occurrences(pn); },
                            [p](int32_t n) { return p->put_Occurrences(n); }, v.nOccurrences);
    if (v.nEnd == kEndByDate) {
        const DATE dt = DateOfQt(v.endDate, QTime(0, 0));
        DATE dtNow = 0.0;
        if (SUCCEEDED(p->get_PatternEndDate(&dtNow)) && dtNow == dt)
            return S_OK;
        return p->put_PatternEndDate(dt);
    }
    VARIANT_BOOL bNoEnd = VARIANT_FALSE;
    if (SUCCEEDED(p->get_NoEndDate(&bNoEnd)) && bNoEnd != VARIANT_FALSE)
        return S_OK;
    return p->put_NoEndDate(VARIANT_TRUE);
}

}  // namespace

int WeekdayBit(const QDate& date)
{
    return 1 << (date.dayOfWeek() % 7);  // Qt: 1 = Monday ... 7 = Sunday; olSunday = 1
}

RecurrenceValues DefaultRecurrence(const QDate& start)
{
    RecurrenceValues v;
    v.nDayOfWeekMask = WeekdayBit(start);
    v.nDayOfMonth = start.day();
    v.nMonthOfYear = start.month();
    v.nInstance = qMin(5, (start.day() - 1) / 7 + 1);
    v.endDate = start.addMonths(3);
    return v;
}

RecurrenceValues ReadRecurrence(IPOutlookItem* pItem, const QDate& start)
{
    RecurrenceValues v = DefaultRecurrence(start);
    BOOL bRecurring = FALSE;
    std::unique_ptr<IRecurrencePattern> pPattern;
    if (FAILED(pItem->get_IsRecurring(&bRecurring)) || !bRecurring || pItem->IsOccurrence()
        || FAILED(pItem->GetRecurrencePattern(&pPattern)))
        return v;
    int32_t n = 0;
    pPattern->get_RecurrenceType(&n);
    v.nType = n;
    pPattern->get_Interval(&v.nInterval);
    pPattern->get_DayOfWeekMask(&n);
    if (UsesWeekdays(v.nType))
        v.nDayOfWeekMask = n;
    pPattern->get_DayOfMonth(&n);
    if (UsesDayOfMonth(v.nType))
        v.nDayOfMonth = n;
    pPattern->get_Instance(&n);
    if (UsesInstance(v.nType))
        v.nInstance = n;
    pPattern->get_MonthOfYear(&n);
    if (UsesMonth(v.nType))
        v.nMonthOfYear = n;
    pPattern->get_Occurrences(&n);
    DATE dtEnd = kNoDate;
    pPattern->get_PatternEndDate(&dtEnd);
    if (n > 0) {
        v.nEnd = kEndAfterCount;
        v.nOccurrences = n;
    } else if (dtEnd < kNoDate) {
        v.nEnd = kEndByDate;
        v.endDate = DateTimeOfDate(dtEnd).date();
    }
    return v;
}

QString CheckRecurrence(const RecurrenceValues& v, const QDate& start)
{
    if (v.nType == kRecursNone)
        return QString();
    if (v.nInterval <= 0)
        return QStringLiteral("RC_DETAILFORM_ERROR_INTERVAL");
    if (UsesWeekdays(v.nType) && (v.nDayOfWeekMask & 0x7F) == 0)
        return QStringLiteral("RC_DETAILFORM_ERROR_WEEKDAY");
    if (UsesMonth(v.nType) && v.nType == olRecursYearly
        && v.nDayOfMonth > QDate(2000, v.nMonthOfYear, 1).daysInMonth())  // 2000: 29 February exists
        return QStringLiteral("RC_DETAILFORM_ERROR_MONTHDAY");
    if (v.nEnd == kEndAfterCount && v.nOccurrences <= 0)
        return QStringLiteral("RC_DETAILFORM_ERROR_COUNT");
    if (v.nEnd == kEndByDate && (!v.endDate.isValid() || v.endDate < start))
        return QStringLiteral("RC_DETAILFORM_ERROR_PATTERNEND");
    return QString();
}

HRESULT WriteRecurrence(const RecurrenceValues& v, IPOutlookItem* pItem)
{
    if (v.nType == kRecursNone) {
        BOOL bRecurring = FALSE;
        pItem->get_IsRecurring(&bRecurring);
        return bRecurring ? pItem->ClearRecurrencePattern() : S_OK;
    }
    std::unique_ptr<IRecurrencePattern> pPattern;
    HRESULT hr = pItem->GetRecurrencePattern(&pPattern);
    if (FAILED(hr))
        return hr;
    IRecurrencePattern* p = pPattern.get();
    // The kind first: on an item that did not recur it makes the pattern with its defaults.
    hr = PutIfChanged([p](int32_t* pn) { return p->get_RecurrenceType(pn); },
                      [p](int32_t n) { return p->put_RecurrenceType(n); }, v.nType);
    BOOL bRecurring = FALSE;
    pItem->get_IsRecurring(&bRecurring);
    if (SUCCEEDED(hr) && !bRecurring)  // the kind equalled the default's: make it recur
        hr = p->put_RecurrenceType(v.nType);
    if (SUCCEEDED(hr))
        hr = PutIfChanged([p](int32_t* pn) { return p->get_Interval(pn); },
                          [p](int32_t n) { return p->put_Interval(n); }, v.nInterval);
    if (SUCCEEDED(hr) && UsesWeekdays(v.nType))
        hr = PutIfChanged([p](int32_t* pn) { return p->get_DayOfWeekMask(pn); },
                          [p](int32_t n) { return p->put_DayOfWeekMask(n); }, v.nDayOfWeekMask);
    if (SUCCEEDED(hr) && UsesDayOfMonth(v.nType))
        hr = PutIfChanged([p](int32_t* pn) { return p->get_DayOfMonth(pn); },
                          [p](int32_t n) { return p->put_DayOfMonth(n); }, v.nDayOfMonth);
    if (SUCCEEDED(hr) && UsesInstance(v.nType))
        hr = PutIfChanged([p](int32_t* pn) { return p->get_Instance(pn); },
                          [p](int32_t n) { return p->put_Instance(n); }, v.nInstance);
    if (SUCCEEDED(hr) && UsesMonth(v.nType))
        hr = PutIfChanged([p](int32_t* pn) { return p->get_MonthOfYear(pn); },
                          [p](int32_t n) { return p->put_MonthOfYear(n); }, v.nMonthOfYear);
    return SUCCEEDED(hr) ? WriteEnd(v, p) : hr;
}

bool SkipsShortMonths(const RecurrenceValues& v)
{
    if (v.nType == olRecursMonthly)
        return v.nDayOfMonth > 28;
    return v.nType == olRecursYearly && v.nMonthOfYear == 2 && v.nDayOfMonth == 29;
}
