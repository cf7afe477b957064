#pragma once
// When reminders fall due, read from the store. An appointment's reminder falls due its
// reminder minutes before the instant it starts, for a single item and for each
// occurrence of a series (a changed occurrence at its own time, a deleted one never); a
// series in a zone of its own starts at the instants of its zone's wall times, as the week
// shows it. An open task with a reminder has it at a minute of its due day (local time:
// the store keeps only whether a task has a reminder). Instants are UTC seconds.
#include "pim/CItemRecord.h"
#include "reminders/CReminder.h"
#include <QHash>
#include <QVector>
#include <cstdint>
#include <memory>

class CPimStore;

class CReminderSchedule {
public:
    static constexpr int kDefaultTaskMinute = 9 * 60;

    // nTaskMinute: the minute of the due day at which a task's reminder falls due.
    explicit CReminderSchedule(std::shared_ptr<CPimStore> pStore, int nTaskMinute = kDefaultTaskMinute);

    // Every reminder, rung or not, that falls due in [nFrom, nTo], by due time.
    bool DueBetween(int64_t nFrom, int64_t nTo, QVector<CReminder>* pOut);
    // The next nCount reminders that ring at or after nAfter, by the time they ring: those
    // falling due then that were not rung yet, and snoozed ones.
    bool Next(int64_t nAfter, int nCount, QVector<CReminder>* pOut);
    // The reminder of a snoozed key, with its item's values as they are now; false when the
    // item, the occurrence or its reminder is gone (or the task was completed).
    bool Resolve(const CSnoozedReminder& snoozed, CReminder* pOut);

    int TaskMinute() const { return m_nTaskMinute; }
    CPimStore& Store() const { return *m_pStore; }

private:
    bool Collect(int64_t nFrom, int64_t nTo, const QVector<CItemRecord>& series, QVector<CReminder>* pOut);
    bool AddAppointments(int64_t nFrom, int64_t nTo, QVector<CReminder>* pOut);
    void AddSeries(const CItemRecord& series, int64_t nFrom, int64_t nTo, QVector<CReminder>* pOut);
    bool AddTasks(int64_t nFrom, int64_t nTo, QVector<CReminder>* pOut);
    bool ActiveSeries(int64_t nFrom, QVector<CItemRecord>* pSeries);
    int64_t TaskDueAt(int64_t nDueDay) const;

    std::shared_ptr<CPimStore> m_pStore;
    int m_nTaskMinute;
};

// Reminders by the time they ring, then item and occurrence.
bool RingsBefore(const CReminder& a, const CReminder& b);
