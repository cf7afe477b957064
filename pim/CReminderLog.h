#pragma once
// What the store keeps of reminders that were rung: one row per reminder shown (and
// snoozed ones with the time they ring again), and the mark up to which every due
// reminder was handled. Instants are UTC seconds. Each write is a transaction of its own
// unless the caller's transaction is open.
#include <QHash>
#include <QVector>
#include <cstdint>

class CPimStore;

// One reminder: the instant it fell due, the item (a series for its occurrences) and the
// occurrence's original start (0 for a single item or a task).
struct CReminderKey {
    int64_t nDue = 0;
    int32_t nOid = 0;
    int64_t nOccurrence = 0;
    bool operator==(const CReminderKey&) const = default;
};
size_t qHash(const CReminderKey& key, size_t nSeed = 0);

struct CSnoozedReminder {
    CReminderKey key;
    int64_t nUntil = 0;  // when it rings again
};

class CReminderLog {
public:
    // The reminders due in [nFrom, nTo] that were rung (snoozed ones included), with the
    // time a snoozed one rings again (0 for the others).
    static bool Rung(CPimStore& store, int64_t nFrom, int64_t nTo, QHash<CReminderKey, int64_t>* pRung);
    // Every snoozed reminder, by the time it rings again.
    static bool Snoozed(CPimStore& store, QVector<CSnoozedReminder>* pSnoozed);
    // Records a reminder as rung; nSnoozeUntil > 0 makes it ring again then.
    static bool Record(CPimStore& store, const CReminderKey& key, int64_t nSnoozeUntil = 0);
    // Forgets a reminder (a snoozed one whose item is gone).
    static bool Forget(CPimStore& store, const CReminderKey& key);

    // The mark; false when ringing never ran on this store.
    static bool Mark(CPimStore& store, int64_t* pnChecked);
    static bool SetMark(CPimStore& store, int64_t nChecked);
    // Drops the rows of reminders due before nBefore that are not snoozed.
    static bool Prune(CPimStore& store, int64_t nBefore);
};
