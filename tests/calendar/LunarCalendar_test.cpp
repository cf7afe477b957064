#include "calendar/CivilDays.h"
#include "calendar/LunarCalendar.h"
#include <gtest/gtest.h>

namespace {

struct Expected {
    int nYear, nMonth, nDay, nDayOfWeek;
};

void ExpectSolar(int nYear, int nMonth, int nDay, BOOL bLeap, const Expected& e)
{
    SolarDate solar;
    ASSERT_EQ(LunarCalendar().LunarToSolar(nYear, nMonth, nDay, bLeap, &solar), TRUE)
        << nYear << "-" << nMonth << "-" << nDay << (bLeap ? "L" : "");
    EXPECT_EQ(solar.wYear, e.nYear) << nYear << "-" << nMonth << "-" << nDay;
    EXPECT_EQ(solar.nMonth, e.nMonth) << nYear << "-" << nMonth << "-" << nDay;
    EXPECT_EQ(solar.nDay, e.nDay) << nYear << "-" << nMonth << "-" << nDay;
    EXPECT_EQ(solar.nDayOfWeek, e.nDayOfWeek) << nYear << "-" << nMonth << "-" << nDay;
}

}  // namespace

TEST(LunarCalendar, KnownDates)
{
    ExpectSolar(1841, 1, 1, FALSE, {1841, 1, 23, 6});
    ExpectSolar(2007, 1, 1, FALSE, {2007, 2, 18, 0});
    ExpectSolar(2008, 1, 1, FALSE, {2008, 2, 7, 4});
    ExpectSolar(1900, 1, 1, FALSE, {1900, 1, 31, 3});
    ExpectSolar(2000, 1, 1, FALSE, {2000, 2, 5, 6});
    ExpectSolar(2007, 8, 15, FALSE, {2007, 9, 25, 2});
    ExpectSolar(2043, 12, 30, FALSE, {2044, 1, 29, 5});
}

TEST(LunarCalendar, LeapMonth)
{
    // 2006, month 7 has code 5: regular 30 days, leap 29 days.
    ExpectSolar(2006, 7, 1, TRUE, {2006, 8, 24, 4});
    ExpectSolar(2006, 7, 1, FALSE, {2006, 7, 25, 2});
    ExpectSolar(2006, 7, 30, FALSE, {2006, 8, 23, 3});
    ExpectSolar(2006, 7, 29, TRUE, {2006, 9, 21, 4});
    SolarDate solar;
    EXPECT_EQ(LunarCalendar().LunarToSolar(2006, 7, 30, TRUE, &solar), FALSE);
    // Month 1 of 2007 (code 1) has no leap month: the flag reads as the regular month.
    ExpectSolar(2007, 1, 1, TRUE, {2007, 2, 18, 0});
    EXPECT_EQ(LunarCalendar().HasLeapMonth(2006, 7), TRUE);
    EXPECT_EQ(LunarCalendar().HasLeapMonth(2007, 1), FALSE);
}

TEST(LunarCalendar, DatesThatDoNotExistLeaveTheRecordAlone)
{
    struct Case {
        int nYear, nMonth, nDay;
    };
    const Case cases[] = {
        {1840, 12, 1}, {2044, 1, 1}, {2007, 0, 1}, {2007, 13, 1}, {2007, 1, 0}, {2007, 1, 30}, {2007, 1, 31},
    };
    for (const Case& c : cases) {
        SolarDate solar;
        solar.wYear = 1234;
        solar.nMonth = 5;
        solar.nDay = 6;
        solar.nDayOfWeek = 3;
        EXPECT_EQ(LunarCalendar().LunarToSolar(c.nYear, c.nMonth, c.nDay, FALSE, &solar), FALSE)
            << c.nYear << "-" << c.nMonth << "-" << c.nDay;
        EXPECT_EQ(solar.wYear, 1234);
        EXPECT_EQ(solar.nMonth, 5);
        EXPECT_EQ(solar.nDay, 6);
        EXPECT_EQ(solar.nDayOfWeek, 3);
    }
}

TEST(LunarCalendar, CorrectedYearsFollowTheKoreanCalendar)
{
    // Lunar new year 1966 is 22 January (not 21).
    ExpectSolar(1966, 1, 1, FALSE, {1966, 1, 22, 6});
    ExpectSolar(1965, 12, 30, FALSE, {1966, 1, 21, 5});
    ExpectSolar(1965, 1, 1, FALSE, {1965, 2, 2, 2});
    ExpectSolar(1990, 5, 1, TRUE, {1990, 6, 23, 6});
    ExpectSolar(2036, 10, 1, FALSE, {2036, 11, 18, 2});
    ExpectSolar(2036, 11, 1, FALSE, {2036, 12, 18, 4});
    ExpectSolar(2042, 10, 1, FALSE, {2042, 11, 13, 4});
    ExpectSolar(2042, 11, 1, FALSE, {2042, 12, 12, 5});
}

// Walking every lunar day of the table in order gives consecutive solar days, with the
// weekday advancing by one each time.
TEST(LunarCalendar, EveryLunarDayFollowsThePreviousOne)
{
    const LunarCalendar calendar;
    int64_t nPrevious = DaysFromCivil(1841, 1, 22);
    int nCount = 0;
    for (int y = LunarCalendar::kFirstYear; y <= LunarCalendar::kLastYear; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (BOOL bLeap : {FALSE, TRUE}) {
                if (bLeap && !calendar.HasLeapMonth(y, m))
                    continue;
                SolarDate solar;
                for (int d = 1; calendar.LunarToSolar(y, m, d, bLeap, &solar); ++d) {
                    const int64_t nDay = DaysFromCivil(solar.wYear, solar.nMonth, solar.nDay);
                    ASSERT_EQ(nDay, nPrevious + 1) << y << "-" << m << "-" << d << (bLeap ? "L" : "");
                    ASSERT_EQ(solar.nDayOfWeek, WeekdayFromDays(nDay));
                    ASSERT_LE(d, 30);
                    nPrevious = nDay;
                    ++nCount;
                }
            }
        }
    }
    EXPECT_EQ(nPrevious, DaysFromCivil(2044, 1, 29));
    EXPECT_EQ(nCount, DaysFromCivil(2044, 1, 29) - DaysFromCivil(1841, 1, 23) + 1);
}
