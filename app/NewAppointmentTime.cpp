#include "app/NewAppointmentTime.h"

DateTime NewAppointmentStart(const DateTime& now, const DateTime& currentDate)
{
    const DateTime ahead = now + DateTimeSpan(0, 0, kNewAppointmentMinutes, 0);
    const int nHour = ahead.GetHour();
    const int nMinute = ahead.GetMinute() <= 30 ? 0 : 30;
    return DateTime(currentDate.GetYear(), currentDate.GetMonth(), currentDate.GetDay(), nHour, nMinute, 0);
}

DateTime NewAppointmentEnd(const DateTime& start)
{
    return start + DateTimeSpan(0, 0, kNewAppointmentMinutes, 0);
}
