#pragma once
// The recurrence pattern of an appointment or a task, got from the item's
// GetRecurrencePattern. It shares the item's values: put_ calls change the item, and the
// item's Save stores them. The pattern starts at the item's start (PatternStartDate) and
// keeps the item's time of day. Ends: NoEndDate, or Occurrences (> 0), or PatternEndDate
// (the last day on which an occurrence may start).
#include "pim/PimTypes.h"
#include "platform/WinTypes.h"
#include <cstdint>
#include <memory>

class CPimStore;
class IAppointment;
struct CItemRecord;

class IRecurrencePattern {
public:
    IRecurrencePattern(std::shared_ptr<CPimStore> pStore, std::shared_ptr<CItemRecord> pRecord,
                       bool bReadOnly);
    IRecurrencePattern(const IRecurrencePattern&) = delete;
    IRecurrencePattern& operator=(const IRecurrencePattern&) = delete;

    HRESULT get_RecurrenceType(int32_t* pnType) const;  // olRecurs...
    HRESULT put_RecurrenceType(int32_t nType);
    HRESULT get_Interval(int32_t* pn) const;             // >= 1
    HRESULT put_Interval(int32_t n);
    HRESULT get_DayOfWeekMask(int32_t* pnMask) const;    // ol<Day> bits
    HRESULT put_DayOfWeekMask(int32_t nMask);
    HRESULT get_DayOfMonth(int32_t* pn) const;           // 1..31
    HRESULT put_DayOfMonth(int32_t n);
    HRESULT get_Instance(int32_t* pn) const;             // 1..5, 5 = last
    HRESULT put_Instance(int32_t n);
    HRESULT get_MonthOfYear(int32_t* pn) const;          // 1..12
    HRESULT put_MonthOfYear(int32_t n);
    HRESULT get_Occurrences(int32_t* pn) const;          // 0 unless ending by count
    HRESULT put_Occurrences(int32_t n);                  // also clears NoEndDate
    HRESULT get_NoEndDate(VARIANT_BOOL* pb) const;
    HRESULT put_NoEndDate(VARIANT_BOOL b);
    HRESULT get_PatternStartDate(DATE* pdt) const;
    HRESULT get_PatternEndDate(DATE* pdt) const;         // kNoDate unless ending by date
    HRESULT put_PatternEndDate(DATE dt);                 // also clears NoEndDate

    // The occurrence of the appointment series that starts at dtStart (compared to the
    // minute). S_OK with the occurrence; E_PIM_NOTFOUND when no occurrence starts then
    // (or it was deleted); E_FAIL for a task pattern or an unsaved series.
    HRESULT GetOccurrence(DATE dtStart, std::unique_ptr<IAppointment>* ppAppt);

private:
    HRESULT MakeRecurring();
    std::shared_ptr<CPimStore> m_pStore;
    std::shared_ptr<CItemRecord> m_pRecord;
    bool m_bReadOnly = false;
};
