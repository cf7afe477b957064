#include "pim/IRecurrencePattern.h"

#include "pim/CItemRecord.h"
#include "pim/CItemTable.h"
#include "pim/CPimStore.h"
#include "pim/CRecurrenceMath.h"
#include "pim/CSeriesZone.h"
#include "pim/IAppointment.h"
#include "pim/WallTime.h"

namespace {

int64_t PatternDay(const CItemRecord& r)
{
    if (r.rule.IsRecurring() && r.nPatternStart < kNoDateMinutes)
        return r.nPatternStart;
    if (r.nItemType == olTaskItem && r.nStart >= kNoDateMinutes)
        return r.nEnd;
    return r.nStart;
}

// The pattern an item gets when it starts to recur: weekly on its start's weekday.
CRecurrenceRule DefaultRule(const CItemRecord& r)
{
    const WallFields f = FieldsOfWall(std::min(PatternDay(r), kNoDateMinutes - 1));
    CRecurrenceRule rule;
    rule.nType = olRecursWeekly;
    rule.nDayOfWeekMask = 1 << f.nDayOfWeek;
    rule.nDayOfMonth = f.nDay;
    rule.nMonthOfYear = f.nMonth;
    rule.nInstance = std::min(5, (f.nDay - 1) / 7 + 1);
    return rule;
}

HRESULT Out(int32_t* p, int32_t n)
{
    if (p == nullptr)
        return E_POINTER;
    *p = n;
    return S_OK;
}

}  // namespace

IRecurrencePattern::IRecurrencePattern(std::shared_ptr<CPimStore> pStore, std::shared_ptr<CItemRecord> pRecord,
                                       bool bReadOnly)
    : m_pStore(std::move(pStore)), m_pRecord(std::move(pRecord)), m_bReadOnly(bReadOnly)
{
}

HRESULT IRecurrencePattern::MakeRecurring()
{
    if (m_bReadOnly)
        return E_FAIL;
    if (!m_pRecord->rule.IsRecurring())
        m_pRecord->rule = DefaultRule(*m_pRecord);
    return S_OK;
}

#define PATTERN_GET(name, field)                                                     \
    HRESULT IRecurrencePattern::get_##name(int32_t* pn) const                        \
    {                                                                                \
        const CRecurrenceRule rule =                                                 \
            m_pRecord->rule.IsRecurring() ? m_pRecord->rule : DefaultRule(*m_pRecord); \
        return Out(pn, rule.field);                                                  \
    }
#define PATTERN_PUT(name, field, lo, hi)                      \
    HRESULT IRecurrencePattern::put_##name(int32_t n)         \
    {                                                         \
        if (n < (lo) || n > (hi))                             \
            return E_INVALIDARG;                              \
        const HRESULT hr = MakeRecurring();                   \
        if (SUCCEEDED(hr))                                    \
            m_pRecord->rule.field = n;                        \
        return hr;                                            \
    }

PATTERN_GET(RecurrenceType, nType)
PATTERN_GET(Interval, nInterval)
PATTERN_GET(DayOfWeekMask, nDayOfWeekMask)
PATTERN_GET(DayOfMonth, nDayOfMonth)
PATTERN_GET(Instance, nInstance)
PATTERN_GET(MonthOfYear, nMonthOfYear)
PATTERN_GET(Occurrences, nOccurrences)
PATTERN_PUT(Interval, nInterval, 1, 999)
PATTERN_PUT(DayOfWeekMask, nDayOfWeekMask, 1, 127)
PATTERN_PUT(DayOfMonth, nDayOfMonth, 1, 31)
PATTERN_PUT(Instance, nInstance, 1, 5)
PATTERN_PUT(MonthOfYear, nMonthOfYear, 1, 12)

HRESULT IRecurrencePattern::put_RecurrenceType(int32_t nType)
{
    if (nType != olRecursDaily && nType != olRecursWeekly && nType != olRecursMonthly
        && nType != olRecursMonthNth && nType != olRecursYearly && nType != olRecursYearNth)
        return E_INVALIDARG;
    const HRESULT hr = MakeRecurring();
    if (SUCCEEDED(hr))
        m_pRecord->rule.nType = nType;
    return hr;
}

HRESULT IRecurrencePattern::put_Occurrences(int32_t n)
{
    if (n < 1 || n > 999999)
        return E_INVALIDARG;
    const HRESULT hr = MakeRecurring();
    if (SUCCEEDED(hr)) {
        m_pRecord->rule.nOccurrences = n;
        m_pRecord->rule.nPatternEnd = kNoDateMinutes;
    }
    return hr;
}

HRESULT IRecurrencePattern::get_NoEndDate(VARIANT_BOOL* pb) const
{
    if (pb == nullptr)
        return E_POINTER;
    const CRecurrenceRule& r = m_pRecord->rule;
    const bool bEnds = r.IsRecurring() && (r.nOccurrences > 0 || r.nPatternEnd < kNoDateMinutes);
    *pb = bEnds ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
}

HRESULT IRecurrencePattern::put_NoEndDate(VARIANT_BOOL b)
{
    const HRESULT hr = MakeRecurring();
    if (SUCCEEDED(hr) && b != VARIANT_FALSE) {
        m_pRecord->rule.nOccurrences = 0;
        m_pRecord->rule.nPatternEnd = kNoDateMinutes;
    }
    return hr;
}

HRESULT IRecurrencePattern::get_PatternStartDate(DATE* pdt) const
{
    if (pdt == nullptr)
        return E_POINTER;
    *pdt = WallToDate(WallDayStart(PatternDay(*m_pRecord)));
    return S_OK;
}

HRESULT IRecurrencePattern::get_PatternEndDate(DATE* pdt) const
{
    if (pdt == nullptr)
        return E_POINTER;
    *pdt = WallToDate(m_pRecord->rule.IsRecurring() ? m_pRecord->rule.nPatternEnd : kNoDateMinutes);
    return S_OK;
}

HRESULT IRecurrencePattern::put_PatternEndDate(DATE dt)
{
    int64_t nWall = 0;
    if (!DateToWall(dt, &nWall))
        return E_INVALIDARG;
    const HRESULT hr = MakeRecurring();
    if (SUCCEEDED(hr)) {
        m_pRecord->rule.nPatternEnd = nWall >= kNoDateMinutes ? kNoDateMinutes : WallDayStart(nWall);
        m_pRecord->rule.nOccurrences = 0;
    }
    return hr;
}

HRESULT IRecurrencePattern::GetOccurrence(DATE dtStart, std::unique_ptr<IAppointment>* ppAppt)
{
    if (ppAppt == nullptr)
        return E_POINTER;
    ppAppt->reset();
    int64_t nWall = 0;
    CItemRecord series;
    const CItemRecord& r = *m_pRecord;
    if (r.nItemType != olAppointmentItem || r.nOid == 0 || !r.rule.IsRecurring()
        || !CItemTable::Load(*m_pStore, r.nOid, &series) || !series.rule.IsRecurring())
        return E_FAIL;
    if (!DateToWall(dtStart, &nWall))
        return E_INVALIDARG;
    CItemRecord occurrence;
    // A stored (moved or changed) occurrence that starts then; otherwise the rule's own
    // occurrence, unless an exception moved or deleted it.
    const int64_t nMoved = CItemTable::FindExceptionStartingAt(*m_pStore, r.nOid, nWall);
    if (nMoved != 0) {
        if (!CItemTable::Load(*m_pStore, nMoved, &occurrence))
            return E_PIM_NOTFOUND;
    } else {
        // A zoned series knows its occurrences by their start in its own zone.
        const int64_t nOriginal = CSeriesZone::FromLocal(series.strTzid, nWall);
        CRecurrenceMath math(series.rule, series.nPatternStart, series.nLastStart);
        math.Seek(nOriginal, nOriginal);
        int64_t nFound = 0;
        if (CItemTable::FindException(*m_pStore, r.nOid, nOriginal) != 0 || !math.Next(&nFound) || nFound != nOriginal)
            return E_PIM_NOTFOUND;
        occurrence = series;
        occurrence.bOccurrence = true;
        occurrence.nOriginalStart = nOriginal;
        occurrence.nStart = nWall;
        occurrence.nEnd = nWall + CItemTable::Duration(series);
    }
    *ppAppt = std::make_unique<IAppointment>(m_pStore, std::move(occurrence));
    return S_OK;
}
