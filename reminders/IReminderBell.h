#pragma once
// What shows a reminder to the person: the desktop's notification service, or a box of
// the window's own. A bell that cannot show a reminder says so, and nothing is recorded
// as rung. What the person then chooses on a notice comes back through the choice
// handler.
#include "reminders/CReminder.h"
#include <functional>

// What the person chose on a reminder's notice.
struct ReminderChoice {
    enum Kind { Open, Snooze, Dismiss };
    Kind kind = Dismiss;
    int nMinutes = 0;  // Snooze: how long
};
// The snoozes a notice offers, in minutes.
inline constexpr int kSnoozeMinutes[] = {5, 10, 30};

class IReminderBell {
public:
    using ChoiceHandler = std::function<void(const CReminder& reminder, const ReminderChoice& choice)>;

    virtual ~IReminderBell() = default;
    // Shows one reminder (reminder.bMissed and bSnoozed say why it rings now); false when
    // it could not be shown.
    virtual bool Ring(const CReminder& reminder) = 0;
    // One notice for nCount missed reminders that are not shown one by one.
    virtual bool RingMissed(int nCount) = 0;

    void SetChoiceHandler(ChoiceHandler fnChoice) { m_fnChoice = std::move(fnChoice); }

protected:
    void Choose(const CReminder& reminder, const ReminderChoice& choice) const
    {
        if (m_fnChoice)
            m_fnChoice(reminder, choice);
    }

private:
    ChoiceHandler m_fnChoice;
};
