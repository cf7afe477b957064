#include "calendar/CScopedTestTime.h"
#include "week/EntryBuilder.h"
#include <gtest/gtest.h>

namespace {

SYSTEMTIME St(int y, int m, int d, int h = 0, int n = 0)
{
    return CScopedTestTime::MakeSystemTime(y, m, d, h, n);
}

QString TwelveHour(const SYSTEMTIME& st)
{
    const int h = st.wHour % 12 == 0 ? 12 : st.wHour % 12;
    return QStringLiteral("%1:%2%3").arg(h).arg(st.wMinute, 2, 10, QLatin1Char('0')).arg(st.wHour < 12 ? "a" : "p");
}

class EntryBuilderTest : public ::testing::Test {
protected:
    CScopedTestTime m_time{"America/New_York"};

    void SetUp() override
    {
        // The week of 2 March 2015, in which daylight time starts on Sunday 8 March.
        ctx.week = WeekRangeOf(DateTime(2015, 3, 2, 0, 0, 0));
        ctx.SetToday(DateTime(2015, 3, 4, 0, 0, 0));  // Wednesday
        ctx.formatTime = TwelveHour;
    }

    std::vector<AgendaEntry> Appt(const ApptData& appt)
    {
        std::vector<AgendaEntry> v;
        AddAppointmentEntries(ctx, appt, &v);
        return v;
    }

    std::vector<AgendaEntry> Task(const TaskData& task)
    {
        std::vector<AgendaEntry> v;
        AddTaskEntries(ctx, task, &v);
        return v;
    }

    static int DayIndex(const AgendaEntry& e) { return ToMondayFirst(e.nDayOfWeek) - 1; }

    static ApptData MakeAppt(const char* pszSubject, const SYSTEMTIME& start, const SYSTEMTIME& end)
    {
        ApptData a;
        a.strSubject = QString::fromUtf8(pszSubject);
        a.stStart = start;
        a.stEnd = end;
        return a;
    }

    static TaskData MakeTask(int nImportance, const DateTime* pStart, const DateTime* pDue)
    {
        TaskData t;
        t.strSubject = QStringLiteral("Report");
        t.nImportance = nImportance;
        t.nOid = 77;
        t.dtStartDate = 949998.0;
        if (pStart) {
            t.bHasStart = true;
            t.start = *pStart;
            t.dtStartDate = 42000.0;
        }
        if (pDue) {
            t.bHasDue = true;
            t.due = *pDue;
        }
        return t;
    }

    EntryContext ctx;
};

TEST_F(EntryBuilderTest, OneDayAppointmentHasStartLabelAndRangeAsLongLabel)
{
    ApptData a = MakeAppt("Dentist", St(2015, 3, 3, 9, 0), St(2015, 3, 3, 10, 30));
    a.nOid = 5;
    a.dtStart = 42065.375;
    const auto v = Appt(a);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(DayIndex(v[0]), 1);
    EXPECT_EQ(v[0].strLabel, "9:00a");
    EXPECT_EQ(v[0].strLabelExtra.value(), "9:00a-10:30a");
    EXPECT_EQ(v[0].strText, "Dentist");
    EXPECT_FALSE(v[0].strTextExtra.has_value());
    EXPECT_EQ(v[0].nKind, kEntryAppointment);
    EXPECT_EQ(v[0].nOid, 5);
    EXPECT_EQ(v[0].dtItem, 42065.375);
    EXPECT_EQ(v[0].nImportance, -1);
}

TEST_F(EntryBuilderTest, TimedAppointmentOverThreeDays)
{
    ApptData a = MakeAppt("Trip", St(2015, 3, 2, 22, 0), St(2015, 3, 4, 2, 0));
    a.strLocation = QStringLiteral("Busan");
    a.bIsRecurring = 2;  // any non-zero value
    const auto v = Appt(a);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(DayIndex(v[0]), 0);
    EXPECT_EQ(v[0].strLabel, "10:00p");
    EXPECT_EQ(v[0].strText, "Trip(Busan)");
    EXPECT_EQ(DayIndex(v[1]), 1);
    EXPECT_EQ(v[1].strLabel, "<<");
    EXPECT_EQ(v[1].strText, "Trip");
    EXPECT_EQ(v[1].strTextExtra.value(), "Trip (Busan)");
    EXPECT_EQ(DayIndex(v[2]), 2);
    EXPECT_EQ(v[2].strText, "Trip (~2:00a)");
    for (const AgendaEntry& e : v) {
        EXPECT_EQ(e.strLabelExtra.value(), "10:00p-2:00a");
        EXPECT_TRUE(e.bRecurring);
    }
}

TEST_F(EntryBuilderTest, AppointmentUntilMidnightEndsWithTwelveA)
{
    ApptData a = MakeAppt("Party", St(2015, 3, 5, 23, 0), St(2015, 3, 6, 0, 0));
    const auto v = Appt(a);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(DayIndex(v[1]), 4);
    EXPECT_EQ(v[1].strLabel, "<<");
    EXPECT_EQ(v[1].strText, "Party (~12:00a)");
}

TEST_F(EntryBuilderTest, TimedAppointmentInTheDaylightWeekStaysOnItsDays)
{
    ApptData a = MakeAppt("Night shift", St(2015, 3, 7, 21, 0), St(2015, 3, 9, 1, 0));  // next Monday
    const auto v = Appt(a);
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(DayIndex(v[0]), 5);
    EXPECT_EQ(DayIndex(v[1]), 6);
    EXPECT_EQ(v[1].strText, "Night shift");  // Sunday is not the end day
}

TEST_F(EntryBuilderTest, AllDayAppointmentBoldOnlyOnItsFirstDay)
{
    ctx.bBoldAllDayEvent = TRUE;
    ApptData a = MakeAppt("Holiday", St(2015, 3, 6), St(2015, 3, 8, 23, 59));
    a.strLocation = QStringLiteral("Jeju");
    a.bAllDayEvent = TRUE;
    const auto v = Appt(a);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_EQ(v[0].strLabel, "(E)");
    EXPECT_TRUE(v[0].bBold);
    EXPECT_EQ(v[0].strText, "Holiday (Jeju)");
    EXPECT_EQ(v[1].strLabel, "<<");
    EXPECT_FALSE(v[1].bBold);
    EXPECT_EQ(DayIndex(v[2]), 6);
    EXPECT_FALSE(v[2].strLabelExtra.has_value());
}

TEST_F(EntryBuilderTest, AllDayAppointmentFromLastWeekIsNeverBold)
{
    ctx.bBoldAllDayEvent = TRUE;
    ApptData a = MakeAppt("Leave", St(2015, 2, 26), St(2015, 3, 3, 23, 59));
    a.bAllDayEvent = TRUE;
    const auto v = Appt(a);
    ASSERT_EQ(v.size(), 2u);
    for (const AgendaEntry& e : v) {
        EXPECT_EQ(e.strLabel, "<<");
        EXPECT_FALSE(e.bBold);
    }
}

TEST_F(EntryBuilderTest, TaskDueInThreeDaysAcrossDaylightStartShowsThreeDaysLeft)
{
    ctx.SetToday(DateTime(2015, 3, 6, 0, 0, 0));  // Friday; due Monday 9 March
    ctx.week = WeekRangeOf(DateTime(2015, 3, 6, 0, 0, 0));
    const DateTime due(2015, 3, 9, 0, 0, 0);
    const auto v = Task(MakeTask(1, nullptr, &due));
    ASSERT_EQ(v.size(), 1u);  // due day is next week
    EXPECT_EQ(v[0].strLabel, "(T1)");
    EXPECT_EQ(v[0].strText, "Report(3d)");
    EXPECT_EQ(DayIndex(v[0]), 4);
}

TEST_F(EntryBuilderTest, TaskDueInThreeDaysShowsDueRowAndDaysLeft)
{
    const DateTime due(2015, 3, 7, 0, 0, 0);
    const auto v = Task(MakeTask(1, nullptr, &due));
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(DayIndex(v[0]), 5);
    EXPECT_EQ(v[0].strText, "Report");
    EXPECT_EQ(v[0].crText, 0u);
    EXPECT_EQ(DayIndex(v[1]), 2);
    EXPECT_EQ(v[1].strText, "Report(3d)");
    EXPECT_EQ(v[1].strTextExtra.value(), "Report(3d)");
    EXPECT_EQ(v[1].strLabelExtra.value(), "(T1)");
    EXPECT_EQ(v[1].dtItem, 949998.0);
}

TEST_F(EntryBuilderTest, OverdueTaskShowsDaysOverInOverdueColour)
{
    const DateTime due(2015, 3, 2, 0, 0, 0);
    const auto v = Task(MakeTask(2, nullptr, &due));
    ASSERT_EQ(v.size(), 2u);
    EXPECT_EQ(v[0].strLabel, "(T2)");
    EXPECT_TRUE(v[0].bOverdue);
    EXPECT_EQ(v[1].strText, "Report(+2d)");
    EXPECT_TRUE(v[1].bOverdue);
    EXPECT_EQ(MakeAgendaRow(v[1]).crText, kOverdueColor);
}

TEST_F(EntryBuilderTest, TaskDueTodayIsBlueWithoutReminderRow)
{
    const auto v = Task(MakeTask(1, nullptr, &ctx.today));
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].crText, kDueTodayColor);
    EXPECT_FALSE(v[0].bOverdue);
}

TEST_F(EntryBuilderTest, FloatingTaskOnlyWhileTodayIsInTheWeek)
{
    auto v = Task(MakeTask(1, nullptr, nullptr));
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].strLabel, "(FT1)");
    EXPECT_EQ(DayIndex(v[0]), 2);
    ctx.week = WeekRangeOf(DateTime(2015, 3, 9, 0, 0, 0));
    EXPECT_TRUE(Task(MakeTask(1, nullptr, nullptr)).empty());
}

TEST_F(EntryBuilderTest, ShowTaskStartAddsDueMarkerOnLaterStartDay)
{
    ctx.bShowTaskStart = TRUE;
    const DateTime start(2015, 3, 6, 0, 0, 0);
    const DateTime due(2015, 3, 20, 0, 0, 0);
    auto v = Task(MakeTask(0, &start, &due));
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(DayIndex(v[0]), 4);
    EXPECT_EQ(v[0].strLabel, "(T0)");
    EXPECT_EQ(v[0].strText, "Report(~3/20)");
    EXPECT_EQ(v[0].dtItem, 42000.0);
    // A start today or earlier gives no start-day row but a days-left row today.
    const DateTime early(2015, 3, 4, 0, 0, 0);
    v = Task(MakeTask(0, &early, &due));
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].strText, "Report(16d)");
    ctx.bShowTaskStart = FALSE;
    EXPECT_TRUE(Task(MakeTask(0, &start, &due)).empty());
}

TEST_F(EntryBuilderTest, CompletedTaskIsStruckGreyAndUndatedOneShowsOnItsDay)
{
    const DateTime due(2015, 3, 3, 0, 0, 0);
    TaskData t = MakeTask(1, nullptr, &due);
    t.bComplete = TRUE;
    auto v = Task(t);
    ASSERT_EQ(v.size(), 1u);
    const AgendaRow row = MakeAgendaRow(v[0]);
    EXPECT_TRUE(row.bStrikeOut);
    EXPECT_EQ(row.crText, kStrikeColor);

    TaskData u = MakeTask(1, nullptr, nullptr);
    u.bComplete = TRUE;
    u.bHasDone = true;
    u.done = DateTime(2015, 3, 8, 0, 0, 0);
    v = Task(u);
    ASSERT_EQ(v.size(), 1u);
    EXPECT_EQ(v[0].strLabel, "(FT1)");
    EXPECT_EQ(DayIndex(v[0]), 6);
}

TEST_F(EntryBuilderTest, BoldImportantTaskMakesOnlyHighImportanceBold)
{
    ctx.bBoldImportantTask = TRUE;
    for (int nImportance : {0, 1, 2}) {
        const auto v = Task(MakeTask(nImportance, nullptr, nullptr));
        ASSERT_EQ(v.size(), 1u);
        EXPECT_EQ(v[0].bBold != 0, nImportance == 2);
        const int nFlags = MakeAgendaRow(v[0]).nIconFlags;
        EXPECT_EQ((nFlags & kIconHighImportance) != 0, nImportance == 2);
        EXPECT_EQ((nFlags & kIconLowImportance) != 0, nImportance == 0);
    }
}

// A task with a start date and no due date never turns overdue: before its start it shows
// only on its start day, marked as a start, when ShowTaskStart is set; from its start on it
// shows on today as the tasks without dates do.
TEST_F(EntryBuilderTest, TaskWithStartButNoDueDate)
{
    struct Case {
        const char* pszWhat;
        DateTime start;
        BOOL bShowTaskStart;
        DateTime weekOf;
        int nDay;  // the one row's day index, -1 for no row
        const char* pszLabel;
        const char* pszText;
    };
    const DateTime wednesday(2015, 3, 4, 0, 0, 0);  // today
    const Case cases[] = {
        {"starts Friday, ShowTaskStart", DateTime(2015, 3, 6, 0, 0, 0), TRUE, wednesday, 4, "(T1)", "Report(3/6~)"},
        {"starts Friday", DateTime(2015, 3, 6, 0, 0, 0), FALSE, wednesday, -1, "", ""},
        {"starts today, ShowTaskStart", wednesday, TRUE, wednesday, 2, "(FT1)", "Report"},
        {"started Monday", DateTime(2015, 3, 2, 0, 0, 0), TRUE, wednesday, 2, "(FT1)", "Report"},
        {"started weeks ago", DateTime(2015, 2, 10, 0, 0, 0), FALSE, wednesday, 2, "(FT1)", "Report"},
        {"started Monday, next week shown", DateTime(2015, 3, 2, 0, 0, 0), TRUE, DateTime(2015, 3, 9, 0, 0, 0), -1,
         "", ""},
        {"starts next Tuesday, next week shown", DateTime(2015, 3, 10, 0, 0, 0), TRUE, DateTime(2015, 3, 9, 0, 0, 0),
         1, "(T1)", "Report(3/10~)"},
        {"started last week, last week shown", DateTime(2015, 2, 24, 0, 0, 0), TRUE, DateTime(2015, 2, 23, 0, 0, 0),
         -1, "", ""},
    };
    for (const Case& c : cases) {
        ctx.bShowTaskStart = c.bShowTaskStart;
        ctx.week = WeekRangeOf(c.weekOf);
        const auto v = Task(MakeTask(1, &c.start, nullptr));
        if (c.nDay < 0) {
            EXPECT_TRUE(v.empty()) << c.pszWhat;
            continue;
        }
        ASSERT_EQ(v.size(), 1u) << c.pszWhat;
        EXPECT_EQ(DayIndex(v[0]), c.nDay) << c.pszWhat;
        EXPECT_EQ(v[0].strLabel, QString::fromLatin1(c.pszLabel)) << c.pszWhat;
        EXPECT_EQ(v[0].strText, QString::fromLatin1(c.pszText)) << c.pszWhat;
        EXPECT_FALSE(v[0].bOverdue) << c.pszWhat;
        EXPECT_EQ(v[0].crText, 0u) << c.pszWhat;
    }
}

TEST(AgendaRowTest, OverdueColourWinsAndFlagsMapToIcons)
{
    AgendaEntry e;
    e.nDayOfWeek = 1;  // Sunday
    e.strLabel = QStringLiteral("(E)");
    e.bStrike = TRUE;
    e.bOverdue = TRUE;
    e.bHasNotes = TRUE;
    e.bReminder = TRUE;
    e.bRecurring = TRUE;
    e.crText = RGB(1, 2, 3);
    const AgendaRow row = MakeAgendaRow(e);
    EXPECT_EQ(row.nDayIndex, 6);
    EXPECT_EQ(row.strLabelExtra, "(E)");
    EXPECT_EQ(row.strTextExtra, "");
    EXPECT_EQ(row.crText, kOverdueColor);
    EXPECT_EQ(row.nIconFlags, LCX_ICON_NOTES | LCX_ICON_ALARM | LCX_ICON_RECUR);
    e.bOverdue = FALSE;
    e.bStrike = FALSE;
    EXPECT_EQ(MakeAgendaRow(e).crText, RGB(1, 2, 3));
}

}  // namespace
