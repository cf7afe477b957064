#include "pim/VariantTime.h"
#include "pim/WallTime.h"

#include <gtest/gtest.h>
#include <cmath>

namespace {

struct DateCase {
    DATE dt;
    int y, m, d, h, mi, s;
};

SYSTEMTIME St(int y, int m, int d, int h = 0, int mi = 0, int s = 0)
{
    SYSTEMTIME st;
    st.wYear = uint16_t(y), st.wMonth = uint16_t(m), st.wDay = uint16_t(d);
    st.wHour = uint16_t(h), st.wMinute = uint16_t(mi), st.wSecond = uint16_t(s);
    return st;
}

}  // namespace

TEST(VariantTime, KnownDatesConvertBothWays)
{
    const DateCase cases[] = {
        {0.0, 1899, 12, 30, 0, 0, 0},       {1.0, 1899, 12, 31, 0, 0, 0},
        {2.25, 1900, 1, 1, 6, 0, 0},        {-1.25, 1899, 12, 29, 6, 0, 0},
        {39442.5, 2007, 12, 26, 12, 0, 0},  {949998.0, 4501, 1, 1, 0, 0, 0},
        {36526.0 + 13.0 / 24 + 30.0 / 1440 + 15.0 / 86400, 2000, 1, 1, 13, 30, 15},
    };
    for (const DateCase& c : cases) {
        SYSTEMTIME st;
        ASSERT_TRUE(VariantTimeToSystemTime(c.dt, &st)) << c.dt;
        EXPECT_EQ(st.wYear, c.y) << c.dt;
        EXPECT_EQ(st.wMonth, c.m) << c.dt;
        EXPECT_EQ(st.wDay, c.d) << c.dt;
        EXPECT_EQ(st.wHour, c.h) << c.dt;
        EXPECT_EQ(st.wMinute, c.mi) << c.dt;
        EXPECT_EQ(st.wSecond, c.s) << c.dt;
        DATE back = 0;
        const SYSTEMTIME in = St(c.y, c.m, c.d, c.h, c.mi, c.s);
        ASSERT_TRUE(SystemTimeToVariantTime(&in, &back));
        EXPECT_NEAR(back, c.dt, 1e-9) << c.dt;
    }
}

TEST(VariantTime, WeekdayIsFilledIn)
{
    SYSTEMTIME st;
    ASSERT_TRUE(VariantTimeToSystemTime(39442.0, &st));  // 2007-12-26, a Wednesday
    EXPECT_EQ(st.wDayOfWeek, 3);
}

TEST(VariantTime, ValuesJustBelowMidnightRoundToTheNextDay)
{
    SYSTEMTIME st;
    ASSERT_TRUE(VariantTimeToSystemTime(39442.0 - 1e-9, &st));
    EXPECT_EQ(st.wDay, 26);
    EXPECT_EQ(st.wHour, 0);
    EXPECT_EQ(st.wSecond, 0);
}

TEST(VariantTime, EveryDayFrom1900To2100RoundTrips)
{
    for (int64_t nDay = 1; nDay < 73415; nDay += 1) {
        const DATE dt = double(nDay) + (nDay % 1440) / 1440.0;
        SYSTEMTIME st;
        ASSERT_TRUE(VariantTimeToSystemTime(dt, &st));
        DATE back = 0;
        ASSERT_TRUE(SystemTimeToVariantTime(&st, &back));
        ASSERT_NEAR(back, dt, 1e-9);
        int64_t nWall = 0;
        ASSERT_TRUE(DateToWall(dt, &nWall));
        ASSERT_NEAR(WallToDate(nWall), dt, 1e-9);
    }
}

TEST(VariantTime, OutOfRangeInputFails)
{
    SYSTEMTIME st = St(2000, 1, 1);
    EXPECT_FALSE(VariantTimeToSystemTime(std::nan(""), &st));
    EXPECT_FALSE(VariantTimeToSystemTime(3e6, &st));
    EXPECT_FALSE(VariantTimeToSystemTime(-7e5, &st));
    DATE dt = 0;
    const SYSTEMTIME bad[] = {St(2007, 2, 29), St(2000, 13, 1), St(10000, 1, 1), St(2000, 1, 1, 24), St(99, 1, 1)};
    for (const SYSTEMTIME& b : bad)
        EXPECT_FALSE(SystemTimeToVariantTime(&b, &dt)) << b.wYear << "-" << b.wMonth << "-" << b.wDay;
}

TEST(WallTime, DateToWallDropsSeconds)
{
    int64_t nWall = 0;
    const SYSTEMTIME st = St(2007, 12, 26, 9, 30, 59);
    DATE dt = 0;
    ASSERT_TRUE(SystemTimeToVariantTime(&st, &dt));
    ASSERT_TRUE(DateToWall(dt, &nWall));
    EXPECT_EQ(nWall, WallFromFields(2007, 12, 26, 9, 30));
}
