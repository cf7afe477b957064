// When reminders fall due: single items, series with changed and deleted occurrences, a
// series in a zone of its own across changes to daylight time, all-day items and tasks,
// read from a store with New York as the local zone.
#include "pim/CReminderLog.h"
#include "pim/WallTime.h"
#include "reminders/CReminderSchedule.h"
#include "tests/reminders/reminder_helper.h"

namespace {

class Schedule : public ReminderStore {
protected:
    QStringList Next(int64_t nAfter, int nCount, int nTaskMinute = CReminderSchedule::kDefaultTaskMinute)
    {
        CReminderSchedule schedule(Store(), nTaskMinute);
        QVector<CReminder> found;
        EXPECT_TRUE(schedule.Next(nAfter, nCount, &found));
        return RingTexts(found);
    }
    QStringList DueBetween(int64_t nFrom, int64_t nTo)
    {
        CReminderSchedule schedule(Store());
        QVector<CReminder> found;
        EXPECT_TRUE(schedule.DueBetween(nFrom, nTo, &found));
        return RingTexts(found);
    }
};

TEST_F(Schedule, ASingleItemFallsDueItsMinutesBeforeItsStart)
{
    Appt("Dentist", Dt(2026, 3, 10, 9, 0), Dt(2026, 3, 10, 10, 0), 15);
    Appt("Call", Dt(2026, 3, 10, 11, 0), Dt(2026, 3, 10, 11, 30), 0);
    m_store.AddAppt("No reminder", Dt(2026, 3, 10, 8, 0), Dt(2026, 3, 10, 8, 30));
    EXPECT_EQ(Next(At(2026, 3, 10), 5), QStringList({"2026-03-10 08:45 Dentist", "2026-03-10 11:00 Call"}));
    // Falling due at the minute asked for counts; a minute later it is past.
    EXPECT_EQ(Next(At(2026, 3, 10, 8, 45), 1), QStringList({"2026-03-10 08:45 Dentist"}));
    EXPECT_EQ(Next(At(2026, 3, 10, 8, 46), 1), QStringList({"2026-03-10 11:00 Call"}));
}

TEST_F(Schedule, ASeriesRingsForEachOccurrenceAChangedOneAtItsOwnTimeADeletedOneNever)
{
    const int32_t nOid = Daily("Standup", Dt(2026, 3, 9, 9, 0), Dt(2026, 3, 9, 9, 15), 5, 10);
    DeleteOccurrence(nOid, Dt(2026, 3, 10, 9, 0));
    MoveOccurrence(nOid, Dt(2026, 3, 11, 9, 0), Dt(2026, 3, 11, 14, 0), Dt(2026, 3, 11, 14, 15));
    EXPECT_EQ(Next(At(2026, 3, 1), 10),
              QStringList({"2026-03-09 08:50 Standup", "2026-03-11 13:50 Standup", "2026-03-12 08:50 Standup",
                           "2026-03-13 08:50 Standup"}));
    EXPECT_EQ(DueBetween(At(2026, 3, 11), At(2026, 3, 12, 23, 59)),
              QStringList({"2026-03-11 13:50 Standup", "2026-03-12 08:50 Standup"}));
}

TEST_F(Schedule, AnOccurrenceIsKeyedByItsOriginalStart)
{
    const int32_t nOid = Daily("Standup", Dt(2026, 3, 9, 9, 0), Dt(2026, 3, 9, 9, 15), 2, 10);
    MoveOccurrence(nOid, Dt(2026, 3, 10, 9, 0), Dt(2026, 3, 10, 14, 0), Dt(2026, 3, 10, 14, 15));
    CReminderSchedule schedule(Store());
    QVector<CReminder> found;
    ASSERT_TRUE(schedule.Next(At(2026, 3, 1), 2, &found));
    ASSERT_EQ(found.size(), 2);
    for (const CReminder& r : found)
        EXPECT_EQ(r.key.nOid, nOid);
    EXPECT_EQ(found[0].key.nOccurrence, WallFromFields(2026, 3, 9, 9, 0));
    EXPECT_EQ(found[1].key.nOccurrence, WallFromFields(2026, 3, 10, 9, 0));
    EXPECT_EQ(found[1].nStart, WallFromFields(2026, 3, 10, 14, 0));
}

// Every Tuesday at 09:00 in Berlin. New York changes to daylight time on 8 March 2026,
// Berlin on 29 March: for three weeks the two are five hours apart instead of six.
TEST_F(Schedule, ASeriesInAnotherZoneFollowsThatZoneAcrossDaylightChanges)
{
    Import("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
           "BEGIN:VEVENT\r\nUID:berlin@test\r\nDTSTAMP:20260101T000000Z\r\n"
           "DTSTART;TZID=Europe/Berlin:20260303T090000\r\nDTEND;TZID=Europe/Berlin:20260303T100000\r\n"
           "RRULE:FREQ=WEEKLY;COUNT=5\r\nSUMMARY:Berlin call\r\n"
           "BEGIN:VALARM\r\nACTION:DISPLAY\r\nDESCRIPTION:Reminder\r\nTRIGGER:-PT15M\r\nEND:VALARM\r\n"
           "END:VEVENT\r\nEND:VCALENDAR\r\n");
    EXPECT_EQ(Next(At(2026, 3, 1), 10),
              QStringList({"2026-03-03 02:45 Berlin call", "2026-03-10 03:45 Berlin call",
                           "2026-03-17 03:45 Berlin call", "2026-03-24 03:45 Berlin call",
                           "2026-03-31 02:45 Berlin call"}));
}

TEST_F(Schedule, AnAllDayItemFallsDueBeforeItsDayBegins)
{
    Appt("Holiday", Dt(2026, 3, 12), Dt(2026, 3, 12), 30, true);
    EXPECT_EQ(Next(At(2026, 3, 1), 5), QStringList({"2026-03-11 23:30 Holiday"}));
}

// The store keeps only whether a task has a reminder: it falls due on the due day at the
// reminder hour (09:00 unless set otherwise).
TEST_F(Schedule, AnOpenTaskFallsDueAtTheReminderHourOfItsDueDay)
{
    Task("Taxes", Dt(2026, 3, 12));
    Task("Done", Dt(2026, 3, 12), true, true);
    Task("Quiet", Dt(2026, 3, 12), false);
    EXPECT_EQ(Next(At(2026, 3, 1), 5), QStringList({"2026-03-12 09:00 Taxes"}));
    EXPECT_EQ(Next(At(2026, 3, 1), 5, 7 * 60 + 30), QStringList({"2026-03-12 07:30 Taxes"}));
}

TEST_F(Schedule, RungRemindersAreNotNextButSnoozedOnesAre)
{
    const int32_t nOid = Appt("Dentist", Dt(2026, 3, 10, 9, 0), Dt(2026, 3, 10, 10, 0), 15);
    Appt("Lunch", Dt(2026, 3, 10, 12, 0), Dt(2026, 3, 10, 13, 0), 15);
    ASSERT_TRUE(CReminderLog::Record(*Store(), {At(2026, 3, 10, 8, 45), nOid, 0}));
    EXPECT_EQ(Next(At(2026, 3, 10), 5), QStringList({"2026-03-10 11:45 Lunch"}));
    ASSERT_TRUE(CReminderLog::Record(*Store(), {At(2026, 3, 10, 8, 45), nOid, 0}, At(2026, 3, 10, 8, 55)));
    EXPECT_EQ(Next(At(2026, 3, 10), 5),
              QStringList({"2026-03-10 08:55 Dentist (snoozed)", "2026-03-10 11:45 Lunch"}));
}

TEST_F(Schedule, TheNextReminderIsFoundYearsAhead)
{
    Appt("Far", Dt(2041, 6, 1, 9, 0), Dt(2041, 6, 1, 10, 0), 60);
    Appt("Farther", Dt(2300, 1, 1, 9, 0), Dt(2300, 1, 1, 10, 0), 60);
    EXPECT_EQ(Next(At(2026, 3, 1), 1), QStringList({"2041-06-01 08:00 Far"}));
    EXPECT_EQ(Next(At(2026, 3, 1), 5), QStringList({"2041-06-01 08:00 Far", "2300-01-01 08:00 Farther"}));
}

}  // namespace
