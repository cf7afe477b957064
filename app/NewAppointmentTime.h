#pragma once
// The times a new appointment is offered with: on the day shown as current, at the next
// half hour that lies no more than 30 minutes ahead of now, for 30 minutes.
#include "calendar/DateTime.h"

constexpr int kNewAppointmentMinutes = 30;

// Now plus 30 minutes gives the hour; its minute becomes 0 when at most 30, else 30.
// The start lies on currentDate's day at that hour (10:10 gives 10:30, 10:00 gives
// 10:00, 10:45 gives 11:00; 23:45 gives 00:00 of that same day).
DateTime NewAppointmentStart(const DateTime& now, const DateTime& currentDate);
// 30 minutes after the start.
DateTime NewAppointmentEnd(const DateTime& start);
