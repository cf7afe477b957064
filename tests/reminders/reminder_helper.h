#pragma once
// The reminder tests' fixture: New York as the local zone, a store in a temporary folder
// and makers of appointments, series and tasks with reminders. Instants are UTC seconds,
// written in tests as local wall times (At) and read back as "YYYY-MM-DD HH:MM subject".
#include "calendar/CScopedTestTime.h"
#include "reminders/CReminder.h"
#include "tests/support/PimTestStore.h"
#include <QStringList>
#include <QVector>
#include <gtest/gtest.h>
#include <memory>

class CPimStore;

// A local wall time as an instant.
int64_t At(int nYear, int nMonth, int nDay, int nHour = 0, int nMinute = 0);
// An instant as local wall time "YYYY-MM-DD HH:MM".
QString LocalText(int64_t nUtc);
// Each reminder as "<when it rings> <subject>", with " (missed)" or " (snoozed)".
QStringList RingTexts(const QVector<CReminder>& reminders);

class ReminderStore : public ::testing::Test {
protected:
    ReminderStore();

    std::shared_ptr<CPimStore> Store();
    // An appointment with a reminder nMinutes before its start; the OID.
    int32_t Appt(const QString& strSubject, DATE dtStart, DATE dtEnd, int nMinutes, bool bAllDay = false);
    // A series every day at dtStart's time, nCount times, with a reminder.
    int32_t Daily(const QString& strSubject, DATE dtStart, DATE dtEnd, int nCount, int nMinutes);
    // One occurrence (by its start) moved to another start, or deleted.
    void MoveOccurrence(int32_t nSeries, DATE dtOccurrence, DATE dtNewStart, DATE dtNewEnd);
    void DeleteOccurrence(int32_t nSeries, DATE dtOccurrence);
    // A task due on a day, with or without a reminder.
    int32_t Task(const QString& strSubject, DATE dtDue, bool bReminder = true, bool bComplete = false);
    // iCalendar text imported into the store.
    void Import(const QByteArray& ics);

    CScopedTestTime m_time{"America/New_York"};
    CTestStore m_store;
};
