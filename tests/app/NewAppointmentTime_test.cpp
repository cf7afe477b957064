#include "app/NewAppointmentTime.h"
#include "calendar/CScopedTestTime.h"

#include <gtest/gtest.h>

namespace {

TEST(NewAppointmentTime, StartsAtTheNextHalfHourOnTheCurrentDate)
{
    CScopedTestTime time("America/New_York");
    const DateTime current(2015, 3, 6, 0, 0, 0);  // the day selected in the week
    const struct {
        int nHour, nMinute;            // now, on 4 March 2015
        int nStartHour, nStartMinute;  // on 6 March
    } cases[] = {
        {10, 10, 10, 30},  // 10:40 becomes 10:30
        {10, 0, 10, 0},    // 10:30 has minute 30 and becomes 10:00
        {10, 45, 11, 0},   // 11:15 becomes 11:00
        {10, 1, 10, 30},   // 10:31
        {9, 59, 10, 0},    // 10:29
        {23, 45, 0, 0},    // 00:15 of the next day: the hour 0 on the current date
    };
    for (const auto& c : cases) {
        const DateTime now(2015, 3, 4, c.nHour, c.nMinute, 27);
        const DateTime start = NewAppointmentStart(now, current);
        EXPECT_EQ(start, DateTime(2015, 3, 6, c.nStartHour, c.nStartMinute, 0)) << c.nHour << ":" << c.nMinute;
        EXPECT_EQ((NewAppointmentEnd(start) - start).GetTotalSeconds(), 30u * 60u);
    }
}

TEST(NewAppointmentTime, EndIsHalfAnHourOfRealTimeAcrossTheClockChange)
{
    CScopedTestTime time("America/New_York");
    // 8 March 2015: the clocks go from 2:00 to 3:00.
    const DateTime start = NewAppointmentStart(DateTime(2015, 3, 4, 1, 15, 0), DateTime(2015, 3, 8, 0, 0, 0));
    EXPECT_EQ(start, DateTime(2015, 3, 8, 1, 30, 0));
    EXPECT_EQ(start.GetHour(), 1);
    EXPECT_EQ(NewAppointmentEnd(start).GetTime() - start.GetTime(), 1800u);
    EXPECT_EQ(NewAppointmentEnd(start).GetHour(), 3);
    EXPECT_EQ(NewAppointmentEnd(start).GetMinute(), 0);
}

}  // namespace
