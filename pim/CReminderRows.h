#pragma once
// The rows behind reminders, read in the order they fall due: appointments (single items
// and changed occurrences) by the wall minute of their reminder, series with a reminder
// that still have occurrences to come, and open tasks with a reminder by due date. Times
// are local wall minutes (CItemRecord.h); rows come as CItemTable reads them.
#include "pim/CItemRecord.h"
#include <QVector>
#include <cstdint>

class CPimStore;

class CReminderRows {
public:
    // Appointments with a reminder whose start minus its reminder minutes lies in
    // [nFrom, nTo], in that order.
    static bool Appointments(CPimStore& store, int64_t nFrom, int64_t nTo, QVector<CItemRecord>* pRows);
    // Series of appointments with a reminder whose last occurrence ends at or after nFrom.
    static bool Series(CPimStore& store, int64_t nFrom, QVector<CItemRecord>* pRows);
    // Open tasks with a reminder due on a day in [nFrom, nTo], by due date.
    static bool Tasks(CPimStore& store, int64_t nFrom, int64_t nTo, QVector<CItemRecord>* pRows);
};
