#include "calendar/CScopedTestTime.h"
#include "calendar/CivilDays.h"
#include "calendar/ZoneRules.h"
#include <gtest/gtest.h>
#include <cstring>

namespace {

SYSTEMTIME Rule(int nMonth, int nWeek, int nDayOfWeek, int nHour, int nMinute)
{
    SYSTEMTIME st;
    st.wMonth = static_cast<uint16_t>(nMonth);
    st.wDay = static_cast<uint16_t>(nWeek);
    st.wDayOfWeek = static_cast<uint16_t>(nDayOfWeek);
    st.wHour = static_cast<uint16_t>(nHour);
    st.wMinute = static_cast<uint16_t>(nMinute);
    return st;
}

struct tm LocalTm(int nYear, int nYday, int nHour, int nMinute)
{
    struct tm t;
    std::memset(&t, 0, sizeof t);
    t.tm_year = nYear - 1900;
    t.tm_yday = nYday;
    t.tm_hour = nHour;
    t.tm_min = nMinute;
    return t;
}

}  // namespace

TEST(TransitionDay, DayInMonthRules)
{
    struct Case {
        int nYear;
        SYSTEMTIME rule;
        int nDay;
        const char* pszWhat;
    };
    const Case cases[] = {
        {2007, Rule(4, 1, 0, 2, 0), 90, "1 April 2007 is itself the first Sunday"},
        {2007, Rule(3, 2, 0, 2, 0), 69, "second Sunday of March 2007 is 11 March"},
        {2009, Rule(2, 5, 0, 2, 0), 52, "no fifth Sunday in February 2009: the fourth, 22 February"},
        {2009, Rule(3, 5, 0, 2, 0), 87, "fifth Sunday of March 2009 is 29 March"},
        {2008, Rule(3, 5, 0, 2, 0), 89, "leap year: last Sunday of March 2008 is 30 March"},
        {2007, Rule(10, 1, 0, 2, 0), 279, "first Sunday of October 2007 is 7 October"},
        {1980, Rule(4, 1, 0, 2, 0), 96, "first Sunday of April 1980 is 6 April"},
    };
    for (const Case& c : cases) {
        const TransitionPoint p = TransitionDay(false, c.nYear - 1900, c.rule, -3600);
        EXPECT_EQ(p.nDay, c.nDay) << c.pszWhat;
        EXPECT_EQ(p.nMillisecond, 2 * 3600 * 1000) << c.pszWhat;
    }
}

// Every rule form in every year from 1970 to 2099 (where the divisible-by-4 leap test
// agrees with the Gregorian one) against the calendar computed from day numbers.
TEST(TransitionDay, AgreesWithTheCalendarFrom1970To2099)
{
    for (int y = 1970; y <= 2099; ++y) {
        for (int m = 1; m <= 12; ++m) {
            for (int n = 1; n <= 5; ++n) {
                for (int w = 0; w <= 6; ++w) {
                    const int64_t nFirst = DaysFromCivil(y, m, 1);
                    int nDay = 1 + (w - WeekdayFromDays(nFirst) + 7) % 7 + 7 * (n - 1);
                    if (nDay > DaysInMonth(y, m))
                        nDay -= 7;
                    const int nExpected = static_cast<int>(DaysFromCivil(y, m, nDay) - DaysFromCivil(y, 1, 1));
                    ASSERT_EQ(TransitionDay(false, y - 1900, Rule(m, n, w, 2, 0), -3600).nDay, nExpected)
                        << y << "-" << m << " week " << n << " weekday " << w;
                }
            }
        }
    }
}

TEST(TransitionDay, EndRuleTimeMovesToStandardTime)
{
    // 4 November 2007 (day 307), first Sunday of November.
    const TransitionPoint atTwo = TransitionDay(true, 107, Rule(11, 1, 0, 2, 0), -3600);
    EXPECT_EQ(atTwo.nDay, 307);
    EXPECT_EQ(atTwo.nMillisecond, 3600 * 1000);

    const TransitionPoint atHalfPast = TransitionDay(true, 107, Rule(11, 1, 0, 0, 30), -3600);
    EXPECT_EQ(atHalfPast.nDay, 306);
    EXPECT_EQ(atHalfPast.nMillisecond, (23 * 60 + 30) * 60 * 1000);

    const TransitionPoint late = TransitionDay(true, 107, Rule(11, 1, 0, 23, 30), 3600);
    EXPECT_EQ(late.nDay, 308);
    EXPECT_EQ(late.nMillisecond, 30 * 60 * 1000);

    // The start rule is never moved.
    EXPECT_EQ(TransitionDay(false, 107, Rule(11, 1, 0, 0, 30), -3600).nDay, 307);
}

// A rule's time may carry whole days: the change is the day the rule names, moved by them.
TEST(TransitionDay, TimeOutsideTheDayMovesTheNamedDay)
{
    struct Case {
        int nYear;
        SYSTEMTIME rule;
        int nDayOffset;
        int nDay;
        const char* pszWhat;
    };
    const Case cases[] = {
        {2030, Rule(3, 4, 4, 2, 0), 1, 87, "M3.4.4/26: Friday 29 March 2030, not the fourth Friday, 22 March"},
        {2024, Rule(3, 4, 4, 2, 0), 1, 88, "M3.4.4/26: Friday 29 March 2024"},
        {2029, Rule(3, 5, 0, 23, 0), -1, 82, "M3.5.0/-1: Saturday 24 March 2029, not the last Saturday, 31 March"},
        {2026, Rule(3, 5, 0, 23, 0), -1, 86, "M3.5.0/-1: Saturday 28 March 2026"},
        {2030, Rule(10, 5, 4, 0, 0), 1, 304, "M10.5.4/24 past the month: Thursday 31 October 2030 to 1 November"},
        {2030, Rule(3, 1, 0, 1, 0), -7, 54, "M3.1.0/-167: 3 March 2030 less seven days, 24 February"},
    };
    for (const Case& c : cases) {
        const TransitionPoint p = TransitionDay(false, c.nYear - 1900, c.rule, -3600, c.nDayOffset);
        EXPECT_EQ(p.nDay, c.nDay) << c.pszWhat;
        EXPECT_EQ(p.nMillisecond, (c.rule.wHour * 60 + c.rule.wMinute) * 60 * 1000) << c.pszWhat;
    }
    // The end rule moves to standard time after the days: "M10.5.4/24" with a one-hour shift
    // is 23:00 on the Thursday itself.
    const TransitionPoint end = TransitionDay(true, 130, Rule(10, 5, 4, 0, 0), -3600, 1);
    EXPECT_EQ(end.nDay, 303);
    EXPECT_EQ(end.nMillisecond, 23 * 3600 * 1000);
}

// Asia/Jerusalem's rule: daylight time from the Friday after the fourth Thursday of March,
// 02:00. In 2030 the fourth Friday (22 March) comes a week earlier.
TEST(IsDaylightTime, RuleTimePastTheDay)
{
    CScopedTestTime zone("IST-2IDT,M3.4.4/26,M10.5.0");
    struct tm friday = LocalTm(2030, 80, 12, 0);  // 22 March 2030
    EXPECT_FALSE(IsDaylightTime(friday));
    EXPECT_FALSE(IsDaylightTime(LocalTm(2030, 87, 1, 59)));
    EXPECT_TRUE(IsDaylightTime(LocalTm(2030, 87, 2, 0)));
    // 2030-03-22 10:00 UTC is 12:00 there, standard time.
    const struct tm local = *DateTimeToLocal(1900404000u);
    EXPECT_EQ(local.tm_mday, 22);
    EXPECT_EQ(local.tm_hour, 12);
}

// America/Nuuk's rule: the last Sunday of March less one hour, that is Saturday 23:00.
TEST(IsDaylightTime, NegativeRuleTime)
{
    CScopedTestTime zone("<-02>2<-01>,M3.5.0/-1,M10.5.0/0");
    EXPECT_FALSE(IsDaylightTime(LocalTm(2029, 82, 22, 59)));  // Saturday 24 March 2029
    EXPECT_TRUE(IsDaylightTime(LocalTm(2029, 82, 23, 0)));
    EXPECT_TRUE(IsDaylightTime(LocalTm(2029, 89, 12, 0)));  // Saturday 31 March
}

TEST(IsDaylightTime, NorthernOrder)
{
    CScopedTestTime zone("EST5EDT,M3.2.0,M11.1.0");
    // 2007: start 11 March (day 69) 02:00, end 4 November (day 307) 01:00 standard.
    EXPECT_FALSE(IsDaylightTime(LocalTm(2007, 14, 12, 0)));
    EXPECT_FALSE(IsDaylightTime(LocalTm(2007, 69, 1, 59)));
    EXPECT_TRUE(IsDaylightTime(LocalTm(2007, 69, 2, 0)));
    EXPECT_TRUE(IsDaylightTime(LocalTm(2007, 181, 12, 0)));
    EXPECT_TRUE(IsDaylightTime(LocalTm(2007, 307, 0, 59)));
    EXPECT_FALSE(IsDaylightTime(LocalTm(2007, 307, 1, 0)));
    EXPECT_FALSE(IsDaylightTime(LocalTm(2007, 340, 12, 0)));
}

TEST(IsDaylightTime, SouthernOrder)
{
    CScopedTestTime zone("AEST-10AEDT,M10.1.0,M4.1.0/3");
    // 2007: end 1 April (day 90) 02:00 standard, start 7 October (day 279) 02:00.
    EXPECT_TRUE(IsDaylightTime(LocalTm(2007, 14, 12, 0)));
    EXPECT_TRUE(IsDaylightTime(LocalTm(2007, 90, 1, 59)));
    EXPECT_FALSE(IsDaylightTime(LocalTm(2007, 90, 2, 0)));
    EXPECT_FALSE(IsDaylightTime(LocalTm(2007, 181, 12, 0)));
    EXPECT_FALSE(IsDaylightTime(LocalTm(2007, 279, 1, 59)));
    EXPECT_TRUE(IsDaylightTime(LocalTm(2007, 279, 2, 0)));
    EXPECT_TRUE(IsDaylightTime(LocalTm(2007, 360, 12, 0)));
}

TEST(IsDaylightTime, NeverWithoutRuleOrWithUseDstOff)
{
    {
        CScopedTestTime zone("KST-9");
        EXPECT_FALSE(IsDaylightTime(LocalTm(2007, 181, 12, 0)));
    }
    CScopedTestTime zone("EST5EDT,M3.2.0,M11.1.0");
    g_bUseDST = 0;
    EXPECT_FALSE(IsDaylightTime(LocalTm(2007, 181, 12, 0)));
    g_bUseDST = 1;
    EXPECT_TRUE(IsDaylightTime(LocalTm(2007, 181, 12, 0)));
}

TEST(ZoneBiases, FromTheZoneRecord)
{
    struct Case {
        const char* pszZone;
        int32_t nOffset;
        int32_t nShift;
    };
    const Case cases[] = {
        {"KST-9", -32400, 0},
        {"EST5EDT,M3.2.0,M11.1.0", 18000, -3600},
        {"AEST-10AEDT,M10.1.0,M4.1.0/3", -36000, -3600},
        {"UTC0", 0, 0},
    };
    for (const Case& c : cases) {
        CScopedTestTime zone(c.pszZone);
        int32_t nOffset = 1;
        int32_t nShift = 1;
        GetZoneBiases(&nOffset, &nShift);
        EXPECT_EQ(nOffset, c.nOffset) << c.pszZone;
        EXPECT_EQ(nShift, c.nShift) << c.pszZone;
    }
}

TEST(ZoneBiases, RecordIsReadOnceUntilReset)
{
    CScopedTestTime zone("KST-9");
    int32_t nOffset = 0;
    GetZoneBiases(&nOffset, nullptr);
    EXPECT_EQ(nOffset, -32400);
    setenv("TZ", "EST5", 1);
    GetZoneBiases(&nOffset, nullptr);
    EXPECT_EQ(nOffset, -32400);
    ResetTimeZoneCache();
    GetZoneBiases(&nOffset, nullptr);
    EXPECT_EQ(nOffset, 18000);
}

TEST(ZoneBiases, UnreadableZoneIsUtcAndIsReadAgainLater)
{
    CScopedTestTime zone("Nowhere/No_Such_Zone");
    int32_t nOffset = 7;
    int32_t nShift = 7;
    GetZoneBiases(&nOffset, &nShift);
    EXPECT_EQ(nOffset, 7);  // outputs left alone
    EXPECT_EQ(nShift, 7);
    struct tm newYear = LocalTm(2007, 99, 0, 0);
    newYear.tm_mon = 0;
    newYear.tm_mday = 1;
    EXPECT_EQ(LocalToDateTime(&newYear), 1167609600u);  // 2007-01-01 00:00 UTC
    EXPECT_EQ(newYear.tm_yday, 0);  // set from the date
    setenv("TZ", "KST-9", 1);
    GetZoneBiases(&nOffset, nullptr);
    EXPECT_EQ(nOffset, -32400);
}
