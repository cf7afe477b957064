#include "reminders/CReminderRunner.h"

#include "pim/CPimStore.h"
#include "platform/Clock.h"
#include "reminders/CClockWatch.h"
#include "reminders/CReminderLock.h"
#include "reminders/CStoreWatch.h"
#include "reminders/IReminderBell.h"

CReminderRunner::CReminderRunner(std::shared_ptr<CPimStore> pStore, IReminderBell& bell, int nTaskMinute,
                                 bool bWatchStore, QObject* pParent)
    : QObject(pParent), m_pStore(pStore), m_schedule(pStore, nTaskMinute), m_ringer(m_schedule, bell)
{
    m_pLock = new CReminderLock(m_pStore->Path(), this);
    connect(m_pLock, &CReminderLock::Acquired, this, &CReminderRunner::Reschedule);
    if (bWatchStore) {
        m_pStoreWatch = new CStoreWatch(m_pStore, this);
        connect(m_pStoreWatch, &CStoreWatch::Changed, this, &CReminderRunner::Reschedule);
    }
    bell.SetChoiceHandler([this](const CReminder& r, const ReminderChoice& c) { OnChoice(r, c); });
}

CReminderRunner::~CReminderRunner() = default;

void CReminderRunner::Start()
{
    if (m_pLock->Take())
        Reschedule();
}

bool CReminderRunner::IsRinging() const
{
    return m_pLock->IsHeld();
}

void CReminderRunner::Reschedule()
{
    if (!m_pLock->IsHeld())
        return;
    if (m_pClock == nullptr) {
        // Made only by the process that rings: a waiting one sleeps on the lock alone.
        m_pClock = new CClockWatch(this);
        connect(m_pClock, &CClockWatch::Due, this, &CReminderRunner::Reschedule);
        connect(m_pClock, &CClockWatch::ClockChanged, this, &CReminderRunner::Reschedule);
    }
    int64_t nNext = CReminderRinger::kNever;
    m_ringer.RingDue(GetUtcTime(), &nNext);
    m_nNext = nNext;
    m_pClock->WakeAt(nNext);
    emit Passed();
}

void CReminderRunner::OnChoice(const CReminder& reminder, const ReminderChoice& choice)
{
    switch (choice.kind) {
    case ReminderChoice::Open:
        emit OpenRequested(reminder);
        break;
    case ReminderChoice::Snooze:
        m_ringer.Snooze(reminder.key, GetUtcTime(), choice.nMinutes);
        Reschedule();
        break;
    case ReminderChoice::Dismiss:
        break;
    }
}
