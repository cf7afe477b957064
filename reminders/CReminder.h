#pragma once
// One reminder as it rings: which item and occurrence, when it falls due and when it
// rings, and what the notice shows. Instants are UTC seconds; nStart and nEnd are local
// wall minutes, as the week shows the item.
#include "pim/CReminderLog.h"
#include <QString>
#include <cstdint>

struct CReminder {
    CReminderKey key;        // key.nDue: the instant the reminder falls due
    int64_t nRingAt = 0;     // when it rings: key.nDue, or the end of a snooze
    int64_t nEventAt = 0;    // the instant the appointment starts; a task's due day ends
    int nItemType = 0;       // olAppointmentItem or olTaskItem
    int64_t nStart = 0;      // appointment (occurrence) start; a task's due day at 00:00
    int64_t nEnd = 0;        // appointment end; a task's due day at 00:00
    bool bAllDay = false;
    QString strSubject;
    QString strLocation;
    bool bSnoozed = false;   // rings again after a snooze
    bool bMissed = false;    // rings later than it fell due: nothing rang it then
};
