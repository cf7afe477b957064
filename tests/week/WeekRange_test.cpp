#include "calendar/CScopedTestTime.h"
#include "week/WeekRange.h"
#include <gtest/gtest.h>

namespace {

class WeekRangeTest : public ::testing::Test {
protected:
    CScopedTestTime m_time{"America/New_York"};
};

struct MondayCase {
    int y, m, d;     // a date
    int my, mm, md;  // the Monday of its week
};

TEST_F(WeekRangeTest, SundayBelongsToTheWeekThatBeganSixDaysEarlier)
{
    const MondayCase cases[] = {
        {2015, 3, 8, 2015, 3, 2},    // Sunday
        {2015, 3, 2, 2015, 3, 2},    // Monday
        {2015, 3, 9, 2015, 3, 9},    // next Monday
        {2014, 12, 31, 2014, 12, 29},
        {2015, 1, 4, 2014, 12, 29},  // Sunday after the year boundary
        {2015, 11, 1, 2015, 10, 26}, // the Sunday daylight time ends
    };
    for (const MondayCase& c : cases) {
        const WeekRange week = WeekRangeOf(DateTime(c.y, c.m, c.d, 15, 0, 0));
        EXPECT_EQ(week.weekStart, DateTime(c.my, c.mm, c.md, 0, 0, 0)) << c.y << "-" << c.m << "-" << c.d;
    }
}

TEST_F(WeekRangeTest, WeekEndIsSundayEveningInTheWeekDaylightTimeStarts)
{
    const WeekRange week = WeekRangeOf(DateTime(2015, 3, 4, 0, 0, 0));
    EXPECT_EQ(week.weekEnd.GetMonth(), 3);
    EXPECT_EQ(week.weekEnd.GetDay(), 8);
    EXPECT_EQ(week.weekEnd.GetHour(), 23);
    EXPECT_EQ(week.weekEnd.GetMinute(), 59);
    EXPECT_EQ(week.weekEnd.GetSecond(), 59);
    // The week is one hour short of seven days.
    EXPECT_EQ((week.weekEnd - week.weekStart).GetTotalSeconds(), 7u * 86400u - 3600u - 1u);
}

TEST_F(WeekRangeTest, EveryDayStartsAtItsOwnMidnight)
{
    for (int nDay : {2, 26}) {  // the weeks daylight time starts (March) and ends (October)
        const int nMonth = nDay == 2 ? 3 : 10;
        const WeekRange week = WeekRangeOf(DateTime(2015, nMonth, nDay, 12, 0, 0));
        for (int i = 0; i < 7; ++i) {
            EXPECT_EQ(week.dayStart[i].GetHour(), 0);
            EXPECT_EQ(week.dayStart[i].GetMinute(), 0);
            EXPECT_EQ(ToMondayFirst(week.dayStart[i].GetDayOfWeek()), i + 1);
            EXPECT_EQ(week.DayIndexOf(week.dayStart[i] + DateTimeSpan(0, 22, 0, 0)), i);  // 8 March has 23 hours
        }
    }
}

TEST_F(WeekRangeTest, NextMondayIsNotInTheWeek)
{
    const WeekRange week = WeekRangeOf(DateTime(2015, 3, 2, 0, 0, 0));
    const DateTime nextMonday(2015, 3, 9, 0, 30, 0);
    EXPECT_FALSE(week.Contains(nextMonday));
    EXPECT_EQ(week.DayIndexOf(nextMonday), -1);
    EXPECT_TRUE(week.Contains(DateTime(2015, 3, 8, 23, 59, 0)));
}

struct DaysCase {
    int y1, m1, d1, y2, m2, d2, nDays;
};

TEST_F(WeekRangeTest, WholeDaysCountCalendarDates)
{
    const DaysCase cases[] = {
        {2015, 3, 6, 2015, 3, 9, 3},     // across the start of daylight time
        {2015, 3, 9, 2015, 3, 6, -3},
        {2015, 10, 30, 2015, 11, 2, 3},  // across its end
        {2014, 12, 31, 2015, 1, 1, 1},
        {2016, 2, 28, 2016, 3, 1, 2},
        {2015, 3, 8, 2015, 3, 8, 0},
    };
    for (const DaysCase& c : cases) {
        EXPECT_EQ(WholeDaysBetween(DateTime(c.y1, c.m1, c.d1, 0, 0, 0), DateTime(c.y2, c.m2, c.d2, 0, 0, 0)), c.nDays)
            << c.y1 << "-" << c.m1 << "-" << c.d1;
    }
}

TEST_F(WeekRangeTest, AddLocalDaysLandsOnMidnight)
{
    const DateTime d = AddLocalDays(DateTime(2015, 3, 7, 0, 0, 0), 2);
    EXPECT_EQ(d, DateTime(2015, 3, 9, 0, 0, 0));
    EXPECT_EQ(AddLocalDays(DateTime(2015, 3, 9, 0, 0, 0), -7), DateTime(2015, 3, 2, 0, 0, 0));
}

}  // namespace
