// What wakes the ringing process besides its timer: the ringing handed over through the
// lock beside the store when its holder lets go, and commits of another connection to the
// store (its own leave it asleep).
#include "pim/CPimStore.h"
#include "reminders/CReminderLock.h"
#include "reminders/CStoreWatch.h"
#include "tests/reminders/reminder_helper.h"
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <sqlite3.h>

namespace {

// Runs the event loop until pfnDone holds, for at most nMs.
template <typename Done>
bool RunUntil(Done fnDone, int nMs = 5000)
{
    const QDeadlineTimer deadline(nMs);
    while (!fnDone() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return fnDone();
}

class Watch : public ReminderStore {
protected:
    Watch()
    {
        if (QCoreApplication::instance() == nullptr)
            s_pApp = new QCoreApplication(s_nArgc, s_argv);
    }
    static inline int s_nArgc = 1;
    static inline char s_szName[] = "reminders_tests";
    static inline char* s_argv[] = {s_szName, nullptr};
    static inline QCoreApplication* s_pApp = nullptr;
};

TEST_F(Watch, TheRingingPassesToAWaitingProcessWhenItsHolderEnds)
{
    auto pFirst = std::make_unique<CReminderLock>(Store()->Path());
    CReminderLock second(Store()->Path());
    int nAcquired = 0;
    QObject::connect(&second, &CReminderLock::Acquired, [&nAcquired]() { ++nAcquired; });
    ASSERT_TRUE(pFirst->Take());
    EXPECT_FALSE(second.Take());
    EXPECT_FALSE(second.IsHeld());
    CReminderLock third(Store()->Path());
    EXPECT_FALSE(third.Take());
    pFirst.reset();
    ASSERT_TRUE(RunUntil([&]() { return second.IsHeld() || third.IsHeld(); }));
    RunUntil([] { return false; }, 200);
    // Exactly one of the waiting ones took it.
    EXPECT_NE(second.IsHeld(), third.IsHeld());
    EXPECT_EQ(nAcquired, second.IsHeld() ? 1 : 0);
}

TEST_F(Watch, AnotherConnectionsCommitWakesTheWatchItsOwnDoNot)
{
    Appt("Before", Dt(2026, 3, 10, 9, 0), Dt(2026, 3, 10, 10, 0), 15);
    CStoreWatch watch(Store());
    int nChanges = 0;
    QObject::connect(&watch, &CStoreWatch::Changed, [&nChanges]() { ++nChanges; });
    Appt("Own", Dt(2026, 3, 11, 9, 0), Dt(2026, 3, 11, 10, 0), 15);
    RunUntil([] { return false; }, 300);
    EXPECT_EQ(nChanges, 0);

    sqlite3* pOther = nullptr;
    ASSERT_EQ(sqlite3_open(Store()->Path().toUtf8().constData(), &pOther), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(pOther, "UPDATE items SET reminder_minutes=5", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(pOther);
    EXPECT_TRUE(RunUntil([&]() { return nChanges > 0; }));
    RunUntil([] { return false; }, 300);
    EXPECT_EQ(nChanges, 1);
}

}  // namespace
