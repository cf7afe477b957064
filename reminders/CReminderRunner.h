#pragma once
// Rings a store's reminders while the program runs, in the window or in the background:
// takes the ringing (the lock beside the store) or waits until it is free, rings what is
// due, and then sleeps on one timer until the next reminder. It wakes early only when the
// store changes, the clock jumps or the zone changes, or the bell asks (a notification
// service appeared), and works out anew what rings next.
#include "reminders/CReminderRinger.h"
#include "reminders/CReminderSchedule.h"
#include <QObject>
#include <memory>

class CClockWatch;
class CPimStore;
class CReminderLock;
class CStoreWatch;
class IReminderBell;
struct ReminderChoice;

class CReminderRunner : public QObject {
    Q_OBJECT
public:
    // bWatchStore: notice commits of other processes itself (the background process);
    // the window passes its own store notifications to Reschedule instead.
    CReminderRunner(std::shared_ptr<CPimStore> pStore, IReminderBell& bell, int nTaskMinute, bool bWatchStore,
                    QObject* pParent = nullptr);
    ~CReminderRunner() override;

    // Takes the ringing now or as soon as it is free.
    void Start();
    bool IsRinging() const;
    // Rings what is due now and sets the timer for the next reminder (only while ringing).
    void Reschedule();
    // When the timer wakes next (UTC seconds; CReminderRinger::kNever for none).
    int64_t NextRing() const { return m_nNext; }

signals:
    // The person chose to open the reminder's item.
    void OpenRequested(const CReminder& reminder);
    // A ringing pass ran (tests wait for it).
    void Passed();

private:
    void OnChoice(const CReminder& reminder, const ReminderChoice& choice);

    std::shared_ptr<CPimStore> m_pStore;
    CReminderSchedule m_schedule;
    CReminderRinger m_ringer;
    CReminderLock* m_pLock = nullptr;
    CClockWatch* m_pClock = nullptr;
    CStoreWatch* m_pStoreWatch = nullptr;
    int64_t m_nNext = CReminderRinger::kNever;
};
