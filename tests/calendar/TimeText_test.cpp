#include "QtPrinters.h"
#include "calendar/CScopedTestTime.h"
#include "calendar/TimeText.h"
#include <gtest/gtest.h>

TEST(FormatTime, TwelveAndTwentyFourHourTexts)
{
    struct Case {
        int nHour, nMinute;
        const char* psz12;
        const char* psz24;
    };
    const Case cases[] = {
        {0, 15, "12:15a", "0:15"}, {9, 5, "9:05a", "9:05"},   {11, 59, "11:59a", "11:59"},
        {12, 0, "12:00p", "12:00"}, {13, 30, "1:30p", "13:30"}, {23, 59, "11:59p", "23:59"},
    };
    for (const Case& c : cases) {
        const SYSTEMTIME st = CScopedTestTime::MakeSystemTime(2007, 5, 28, c.nHour, c.nMinute, 59, 999);
        EXPECT_EQ(FormatTime(st, false), QString::fromLatin1(c.psz12));
        EXPECT_EQ(FormatTime(st, true), QString::fromLatin1(c.psz24));
    }
}

TEST(GetToday, IsLocalMidnightOfTheCurrentDate)
{
    CScopedTestTime time("KST-9");
    time.SetNow(2007, 5, 28, 23, 59, 59);
    const DateTime today = GetToday();
    EXPECT_EQ(today, DateTime(2007, 5, 28, 0, 0, 0));
    time.SetNow(2007, 5, 29, 0, 0, 0);
    const DateTime tomorrow = GetToday();
    EXPECT_EQ((tomorrow - today).GetTotalSeconds(), 86400u);
}

TEST(GetToday, CurrentTimeReadsTheLocalClock)
{
    CScopedTestTime time("EST5EDT,M3.2.0,M11.1.0");
    time.SetNow(2007, 7, 1, 12, 34, 56, 789);
    const DateTime now = DateTime::GetCurrentTime();
    EXPECT_EQ(now.GetTime(), 1183307696u);  // 16:34:56 UTC
}
