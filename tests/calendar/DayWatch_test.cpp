// The day watch: when it looks again, and what makes it call back.
#include "calendar/CDayWatch.h"
#include "calendar/CScopedTestTime.h"
#include "calendar/ZoneRules.h"
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>

TEST(DayWatch, NextCheckIsJustPastMidnightAndAtMostAMinuteAway)
{
    struct Case {
        int nHour, nMinute, nSecond, nMilliseconds;
        int nExpected;
    };
    const Case cases[] = {
        {23, 59, 59, 900, 300},      // 100 ms to midnight, then 200 past it
        {23, 59, 30, 0, 30200},
        {23, 59, 0, 0, 60000},       // 60.2 s to past midnight: a minute, then again
        {12, 0, 0, 0, 60000},
        {0, 0, 0, 0, 60000},
    };
    for (const Case& c : cases) {
        const SYSTEMTIME now = CScopedTestTime::MakeSystemTime(2015, 3, 4, c.nHour, c.nMinute, c.nSecond, c.nMilliseconds);
        EXPECT_EQ(CDayWatch::MillisecondsToNextCheck(now), c.nExpected) << c.nHour << ":" << c.nMinute << ":" << c.nSecond;
    }
}

TEST(DayWatch, CallsBackWhenTheDateOrTheZoneMoves)
{
    CScopedTestTime time("EST5EDT,M3.2.0,M11.1.0");
    time.SetNow(2015, 3, 4, 23, 59, 30);
    std::vector<DateTime> calls;
    CDayWatch watch([&calls](const DateTime& oldToday) { calls.push_back(oldToday); });
    EXPECT_FALSE(watch.Check());

    time.SetNow(2015, 3, 5, 0, 0, 0);  // midnight
    EXPECT_TRUE(watch.Check());
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0], DateTime(2015, 3, 4, 0, 0, 0));
    EXPECT_FALSE(watch.Check());  // once only

    time.SetNow(2015, 3, 1, 9, 0, 0);  // the clock set back by hand
    EXPECT_TRUE(watch.Check());
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[1], DateTime(2015, 3, 5, 0, 0, 0));

    // The machine's zone changes under the running program: the conversions follow it.
    setenv("TZ", "KST-9", 1);
    EXPECT_TRUE(watch.Check());
    EXPECT_EQ(calls.size(), 3u);
    int32_t nOffset = 0;
    GetZoneBiases(&nOffset, nullptr);
    EXPECT_EQ(nOffset, -9 * 3600);
    EXPECT_FALSE(watch.Check());
}
