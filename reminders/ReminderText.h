#pragma once
// The texts of a reminder's notice: its title (the subject, marked when missed) and its
// body (the day and time span, or the due date of a task, then the place), the notice of
// missed reminders, and the buttons. Dates in the short-date format, times as the day
// lists write them.
#include "reminders/CReminder.h"
#include <QString>

class StringTable;

struct ReminderTexts {
    QString strTitle;
    QString strBody;
};

ReminderTexts MakeReminderTexts(const CReminder& reminder, const StringTable& strings, bool bUse24Hour);
QString MissedCountText(int nCount, const StringTable& strings);
// The text of a button: RC_REMINDER_OPEN, RC_REMINDER_DISMISS, or a snooze of nMinutes.
QString OpenText(const StringTable& strings);
QString DismissText(const StringTable& strings);
QString SnoozeText(int nMinutes, const StringTable& strings);
