#pragma once
// What shows a reminder to the person: the desktop's notification service, or a box of
// the window's own. A bell that cannot show a reminder says so, and nothing is recorded
// as rung.
#include "reminders/CReminder.h"

class IReminderBell {
public:
    virtual ~IReminderBell() = default;
    // Shows one reminder (reminder.bMissed and bSnoozed say why it rings now); false when
    // it could not be shown.
    virtual bool Ring(const CReminder& reminder) = 0;
    // One notice for nCount missed reminders that are not shown one by one.
    virtual bool RingMissed(int nCount) = 0;
};
