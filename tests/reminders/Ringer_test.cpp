// Ringing what is due, once: at its minute, again after a snooze, marked missed after a
// restart that came too late, counted in one notice beyond a day's worth, and never
// recorded as rung when nothing could show it.
#include "pim/CReminderLog.h"
#include "reminders/CReminderRinger.h"
#include "reminders/CReminderSchedule.h"
#include "reminders/IReminderBell.h"
#include "tests/reminders/reminder_helper.h"

namespace {

class FakeBell : public IReminderBell {
public:
    bool Ring(const CReminder& reminder) override
    {
        if (!m_bWorks)
            return false;
        m_rung << reminder;
        return true;
    }
    bool RingMissed(int nCount) override
    {
        if (m_bWorks)
            m_missedCounts << nCount;
        return m_bWorks;
    }
    // What rang since the last call.
    QStringList Take() { return RingTexts(std::exchange(m_rung, {})); }

    QVector<CReminder> m_rung;
    QVector<int> m_missedCounts;
    bool m_bWorks = true;
};

class Ringer : public ReminderStore {
protected:
    // One ringing pass at nNow, as a process started afresh would run it.
    QStringList RingAt(int64_t nNow, int64_t* pnNext = nullptr)
    {
        CReminderSchedule schedule(Store());
        CReminderRinger ringer(schedule, m_bell);
        int64_t nNext = 0;
        EXPECT_TRUE(ringer.RingDue(nNow, &nNext));
        if (pnNext != nullptr)
            *pnNext = nNext;
        return m_bell.Take();
    }
    void Snooze(const CReminder& reminder, int64_t nNow, int nMinutes)
    {
        CReminderSchedule schedule(Store());
        CReminderRinger ringer(schedule, m_bell);
        EXPECT_TRUE(ringer.Snooze(reminder.key, nNow, nMinutes));
    }
    FakeBell m_bell;
};

TEST_F(Ringer, AReminderRingsAtItsMinuteAndOnlyOnce)
{
    Appt("Dentist", Dt(2026, 3, 10, 9, 0), Dt(2026, 3, 10, 10, 0), 15);
    int64_t nNext = 0;
    EXPECT_EQ(RingAt(At(2026, 3, 10, 8, 0), &nNext), QStringList());
    EXPECT_EQ(LocalText(nNext), "2026-03-10 08:45");
    EXPECT_EQ(RingAt(At(2026, 3, 10, 8, 45)), QStringList({"2026-03-10 08:45 Dentist"}));
    EXPECT_EQ(RingAt(At(2026, 3, 10, 8, 45)), QStringList());
    EXPECT_EQ(RingAt(At(2026, 3, 10, 8, 46), &nNext), QStringList());
    EXPECT_EQ(nNext, CReminderRinger::kNever);
}

TEST_F(Ringer, EachOccurrenceOfASeriesRingsOnce)
{
    const int32_t nOid = Daily("Standup", Dt(2026, 3, 9, 9, 0), Dt(2026, 3, 9, 9, 15), 3, 10);
    DeleteOccurrence(nOid, Dt(2026, 3, 10, 9, 0));
    RingAt(At(2026, 3, 9, 8, 0));
    QStringList rung;
    for (int nDay = 9; nDay <= 11; ++nDay) {
        for (int nMinute : {49, 50, 51})
            rung += RingAt(At(2026, 3, nDay, 8, nMinute));
    }
    EXPECT_EQ(rung, QStringList({"2026-03-09 08:50 Standup", "2026-03-11 08:50 Standup"}));
}

TEST_F(Ringer, ASnoozedReminderRingsAgainAfterItsMinutes)
{
    Appt("Dentist", Dt(2026, 3, 10, 9, 0), Dt(2026, 3, 10, 10, 0), 15);
    RingAt(At(2026, 3, 10, 8, 0));
    RingAt(At(2026, 3, 10, 8, 45));
    ASSERT_EQ(m_bell.m_rung.size(), 0);
    CReminderSchedule schedule(Store());
    QVector<CReminder> rung;
    ASSERT_TRUE(schedule.DueBetween(At(2026, 3, 10, 8, 45), At(2026, 3, 10, 8, 45), &rung));
    ASSERT_EQ(rung.size(), 1);
    Snooze(rung.front(), At(2026, 3, 10, 8, 46), 10);
    int64_t nNext = 0;
    EXPECT_EQ(RingAt(At(2026, 3, 10, 8, 50), &nNext), QStringList());
    EXPECT_EQ(LocalText(nNext), "2026-03-10 08:56");
    EXPECT_EQ(RingAt(At(2026, 3, 10, 8, 56)), QStringList({"2026-03-10 08:56 Dentist (snoozed)"}));
    EXPECT_EQ(RingAt(At(2026, 3, 10, 9, 30)), QStringList());
}

TEST_F(Ringer, ARestartAfterAMissedReminderRingsItOnceMarkedMissed)
{
    Appt("Dentist", Dt(2026, 3, 10, 9, 0), Dt(2026, 3, 10, 10, 0), 15);
    RingAt(At(2026, 3, 10, 8, 0));  // then nothing ran until 11:00
    EXPECT_EQ(RingAt(At(2026, 3, 10, 11, 0)), QStringList({"2026-03-10 08:45 Dentist (missed)"}));
    EXPECT_EQ(RingAt(At(2026, 3, 10, 11, 1)), QStringList());
}

TEST_F(Ringer, BeyondADayOfMissedRemindersTheRestRingAsOneNotice)
{
    for (int nDay = 2; nDay <= 9; ++nDay)
        Appt(QStringLiteral("Day %1").arg(nDay), Dt(2026, 3, nDay, 9, 0), Dt(2026, 3, nDay, 10, 0), 0);
    RingAt(At(2026, 3, 1, 12, 0));  // then off until the 9th at noon
    EXPECT_EQ(RingAt(At(2026, 3, 9, 12, 0)), QStringList({"2026-03-09 09:00 Day 9 (missed)"}));
    EXPECT_EQ(m_bell.m_missedCounts, QVector<int>({7}));
    EXPECT_EQ(RingAt(At(2026, 3, 9, 12, 1)), QStringList());
    EXPECT_EQ(m_bell.m_missedCounts, QVector<int>({7}));
}

TEST_F(Ringer, AtMostTenMissedRemindersRingOneByOne)
{
    for (int nHour = 0; nHour < 12; ++nHour)
        Appt(QStringLiteral("Hour %1").arg(nHour), Dt(2026, 3, 10, nHour, 30), Dt(2026, 3, 10, nHour, 45), 0);
    RingAt(At(2026, 3, 9, 23, 0));
    const QStringList rung = RingAt(At(2026, 3, 10, 13, 0));
    ASSERT_EQ(rung.size(), CReminderRinger::kMaxMissedNotices);
    EXPECT_EQ(rung.front(), "2026-03-10 02:30 Hour 2 (missed)");
    EXPECT_EQ(rung.back(), "2026-03-10 11:30 Hour 11 (missed)");
    EXPECT_EQ(m_bell.m_missedCounts, QVector<int>({2}));
}

TEST_F(Ringer, AReminderSetAfterItsTimeRingsWhileTheAppointmentIsAhead)
{
    RingAt(At(2026, 3, 10, 9, 40));
    Appt("Soon", Dt(2026, 3, 10, 10, 0), Dt(2026, 3, 10, 11, 0), 30);
    Appt("Over", Dt(2026, 3, 10, 9, 0), Dt(2026, 3, 10, 9, 30), 30);
    EXPECT_EQ(RingAt(At(2026, 3, 10, 9, 45)), QStringList({"2026-03-10 09:30 Soon"}));
}

TEST_F(Ringer, NothingIsRecordedAsRungThatNoBellShowed)
{
    Appt("Dentist", Dt(2026, 3, 10, 9, 0), Dt(2026, 3, 10, 10, 0), 15);
    RingAt(At(2026, 3, 10, 8, 0));
    m_bell.m_bWorks = false;
    EXPECT_EQ(RingAt(At(2026, 3, 10, 8, 45)), QStringList());
    EXPECT_EQ(RingAt(At(2026, 3, 10, 8, 50)), QStringList());
    m_bell.m_bWorks = true;
    EXPECT_EQ(RingAt(At(2026, 3, 10, 8, 52)), QStringList({"2026-03-10 08:45 Dentist (missed)"}));
    EXPECT_EQ(RingAt(At(2026, 3, 10, 8, 53)), QStringList());
}

TEST_F(Ringer, ASnoozedReminderWhoseItemIsGoneIsForgotten)
{
    const int32_t nOid = Appt("Dentist", Dt(2026, 3, 10, 9, 0), Dt(2026, 3, 10, 10, 0), 15);
    RingAt(At(2026, 3, 10, 8, 0));
    ASSERT_TRUE(CReminderLog::Record(*Store(), {At(2026, 3, 10, 8, 45), nOid, 0}, At(2026, 3, 10, 8, 55)));
    std::unique_ptr<IPOutlookItem> p;
    ASSERT_TRUE(SUCCEEDED(m_store.App().GetItemFromOid(nOid, &p)));
    ASSERT_TRUE(SUCCEEDED(p->Delete()));
    EXPECT_EQ(RingAt(At(2026, 3, 10, 8, 55)), QStringList());
    QVector<CSnoozedReminder> snoozed;
    ASSERT_TRUE(CReminderLog::Snoozed(*Store(), &snoozed));
    EXPECT_TRUE(snoozed.isEmpty());
}

}  // namespace
