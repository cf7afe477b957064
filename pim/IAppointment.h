#pragma once
// An appointment, a whole series, or one occurrence of a series (IsOccurrence).
// Start and End are local wall times to the minute (seconds are dropped on put).
// An all-day appointment is kept with inclusive dates: Start is 00:00 of its first day
// and End is 00:00 of its last day (a one-day event has Start == End).
#include "pim/IPOutlookItem.h"

class IAppointment : public IPOutlookItem {
public:
    IAppointment(std::shared_ptr<CPimStore> pStore, CItemRecord&& record);

    HRESULT get_Location(QString* pstr) const;
    HRESULT put_Location(const QString& str);
    HRESULT get_Start(DATE* pdt) const;
    HRESULT put_Start(DATE dt);
    HRESULT get_End(DATE* pdt) const;
    HRESULT put_End(DATE dt);
    // Minutes from Start to End.
    HRESULT get_Duration(int32_t* pnMinutes) const;
    HRESULT get_AllDayEvent(BOOL* pb) const;
    HRESULT put_AllDayEvent(BOOL b);
    HRESULT get_ReminderMinutesBeforeStart(int32_t* pnMinutes) const;
    HRESULT put_ReminderMinutesBeforeStart(int32_t nMinutes);
};
