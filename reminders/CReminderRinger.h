#pragma once
// Rings what is due and records it in the store, so that nothing rings twice, not even
// across a restart or from two processes one after the other.
//
// At a ringing pass at nNow every reminder due by then and not rung yet rings: those due
// since the last pass (the store's mark) and those whose appointment has not begun yet
// (set after their reminder time). One that rings more than a minute late was missed
// (nothing ran then); of those, the ones of the last day ring one by one (at most
// kMaxMissedNotices, the latest), the rest as one notice of their number. Snoozed
// reminders ring again when their snooze ends. What the bell could not show stays unrung
// and rings at a later pass.
#include "pim/CReminderLog.h"
#include <QVector>
#include <cstdint>
#include <limits>

class CReminderSchedule;
class IReminderBell;
struct CReminder;

class CReminderRinger {
public:
    static constexpr int64_t kMissedSpan = 86400;  // seconds: a day of missed reminders
    static constexpr int kMaxMissedNotices = 10;
    static constexpr int64_t kLateAfter = 60;      // seconds late that make a reminder missed
    static constexpr int64_t kNever = std::numeric_limits<int64_t>::max();

    CReminderRinger(CReminderSchedule& schedule, IReminderBell& bell);

    // Rings what is due at nNow (UTC seconds) and sets *pnNext to when the next reminder
    // rings (kNever when none will). false when the store could not be read or written.
    bool RingDue(int64_t nNow, int64_t* pnNext);
    // The reminder rings again nMinutes after nNow.
    bool Snooze(const CReminderKey& key, int64_t nNow, int nMinutes);

private:
    bool Pending(int64_t nNow, int64_t nMark, QVector<CReminder>* pShow, QVector<CReminder>* pSummary);
    bool SnoozesDue(int64_t nNow, QVector<CReminder>* pShow);

    CReminderSchedule& m_schedule;
    IReminderBell& m_bell;
};
