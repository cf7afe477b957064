#include "calendar/CScopedTestTime.h"
#include "calendar/DateTime.h"
#include <gtest/gtest.h>

namespace {

constexpr const char* kSeoul = "KST-9";
constexpr const char* kNewYork = "EST5EDT,M3.2.0,M11.1.0";
constexpr const char* kSydney = "AEST-10AEDT,M10.1.0,M4.1.0/3";

struct LocalFields {
    int nYear, nMonth, nDay, nHour, nMinute, nSecond;
};

LocalFields FieldsOf(const DateTime& t)
{
    struct tm local;
    t.GetLocalTm(&local);
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

void ExpectFields(const DateTime& t, const LocalFields& expected)
{
    const LocalFields actual = FieldsOf(t);
    EXPECT_EQ(actual.nYear, expected.nYear);
    EXPECT_EQ(actual.nMonth, expected.nMonth);
    EXPECT_EQ(actual.nDay, expected.nDay);
    EXPECT_EQ(actual.nHour, expected.nHour);
    EXPECT_EQ(actual.nMinute, expected.nMinute);
    EXPECT_EQ(actual.nSecond, expected.nSecond);
}

}  // namespace

TEST(DateTime, EpochInUtcPlusNineWrapsToTheTopOfTheUnsignedRange)
{
    CScopedTestTime zone(kSeoul);
    const DateTime t(1970, 1, 1, 0, 0, 0);
    EXPECT_EQ(t.GetTime(), 4294934896u);
    ExpectFields(t, {2106, 2, 7, 6, 28, 16});
}

TEST(DateTime, FieldsRoundTripInSeoul)
{
    CScopedTestTime zone(kSeoul);
    const DateTime t(2007, 5, 28, 13, 45, 10);
    EXPECT_EQ(t.GetTime(), 1180327510u);  // 2007-05-28 04:45:10 UTC
    ExpectFields(t, {2007, 5, 28, 13, 45, 10});
    EXPECT_EQ(t.GetDayOfWeek(), 2);
    EXPECT_EQ(t.GetHour(), 13);
    EXPECT_EQ(t.GetMinute(), 45);
}

TEST(DateTime, DaylightTimeInBothHemispheres)
{
    struct Case {
        const char* pszZone;
        LocalFields local;
        uint32_t nUtc;
    };
    const Case cases[] = {
        {kNewYork, {2007, 7, 1, 12, 0, 0}, 1183305600u},   // EDT, 16:00 UTC
        {kNewYork, {2007, 1, 15, 12, 0, 0}, 1168880400u},  // EST, 17:00 UTC
        {kSydney, {2007, 1, 15, 12, 0, 0}, 1168822800u},   // AEDT, 01:00 UTC
        {kSydney, {2007, 7, 1, 12, 0, 0}, 1183255200u},    // AEST, 02:00 UTC
    };
    for (const Case& c : cases) {
        CScopedTestTime zone(c.pszZone);
        const DateTime t(c.local.nYear, c.local.nMonth, c.local.nDay, c.local.nHour, c.local.nMinute, 0);
        EXPECT_EQ(t.GetTime(), c.nUtc) << c.pszZone << " " << c.local.nMonth;
        ExpectFields(t, c.local);
    }
}

TEST(DateTime, UseDstZeroConvertsWithTheStandardOffsetOnly)
{
    CScopedTestTime zone(kNewYork);
    g_bUseDST = 0;
    const DateTime t(2007, 7, 1, 12, 0, 0);
    EXPECT_EQ(t.GetTime(), 1183309200u);  // 17:00 UTC, as in winter
    ExpectFields(DateTime::FromTime(1183305600u), {2007, 7, 1, 11, 0, 0});
}

TEST(DateTime, InstantsAroundTheNewYorkTransitions)
{
    CScopedTestTime zone(kNewYork);
    // 2007-03-11 07:00 UTC: 02:00 EST becomes 03:00 EDT.
    ExpectFields(DateTime::FromTime(1173596399u), {2007, 3, 11, 1, 59, 59});
    ExpectFields(DateTime::FromTime(1173596400u), {2007, 3, 11, 3, 0, 0});
    // 2007-11-04 06:00 UTC: 02:00 EDT becomes 01:00 EST.
    ExpectFields(DateTime::FromTime(1194155999u), {2007, 11, 4, 1, 59, 59});
    ExpectFields(DateTime::FromTime(1194156000u), {2007, 11, 4, 1, 0, 0});
}

TEST(DateTime, SystemTimeConversions)
{
    CScopedTestTime zone(kSeoul);
    SYSTEMTIME st;
    st.wYear = 2007;
    st.wMonth = 5;
    st.wDay = 28;
    st.wHour = 9;
    st.wMinute = 30;
    st.wSecond = 15;
    st.wDayOfWeek = 6;  // ignored
    st.wMilliseconds = 999;  // ignored
    const DateTime t(st, -1);
    EXPECT_EQ(t, DateTime(2007, 5, 28, 9, 30, 15));
    SYSTEMTIME out;
    out.wMilliseconds = 5;
    EXPECT_EQ(t.GetAsSystemTime(out), TRUE);
    EXPECT_EQ(out.wYear, 2007);
    EXPECT_EQ(out.wMonth, 5);
    EXPECT_EQ(out.wDay, 28);
    EXPECT_EQ(out.wDayOfWeek, 1);
    EXPECT_EQ(out.wHour, 9);
    EXPECT_EQ(out.wMinute, 30);
    EXPECT_EQ(out.wSecond, 15);
    EXPECT_EQ(out.wMilliseconds, 0);

    st.wYear = 1899;
    EXPECT_EQ(DateTime(st, -1).GetTime(), 0u);
}

TEST(DateTime, ArithmeticAndComparisonAreUnsignedModulo32Bits)
{
    const DateTime top = DateTime::FromTime(0xFFFFFFFFu);
    EXPECT_EQ((top + DateTimeSpan(0, 0, 0, 2)).GetTime(), 1u);
    EXPECT_EQ((DateTime::FromTime(1) - DateTimeSpan(0, 0, 0, 2)).GetTime(), 0xFFFFFFFFu);
    EXPECT_EQ((DateTime::FromTime(1) - top).GetTotalSeconds(), 2u);
    EXPECT_TRUE(DateTime::FromTime(0x80000000u) > DateTime::FromTime(1));
    EXPECT_TRUE(DateTime::FromTime(1) < DateTime::FromTime(0x80000000u));
    EXPECT_TRUE(DateTime::FromTime(5) <= DateTime::FromTime(5));
    EXPECT_TRUE(DateTime::FromTime(5) >= DateTime::FromTime(5));
    EXPECT_TRUE(DateTime::FromTime(5) != DateTime::FromTime(6));
}

TEST(DateTimeSpan, ComponentsAndDays)
{
    const DateTimeSpan span(1, 2, 3, 4);
    EXPECT_EQ(span.GetTotalSeconds(), 93784u);
    EXPECT_EQ(span.GetDays(), 1u);
    CScopedTestTime zone(kSeoul);
    EXPECT_EQ((DateTime(2007, 5, 29, 9, 0, 0) - DateTime(2007, 5, 28, 10, 0, 0)).GetDays(), 0u);
    EXPECT_EQ(DateTimeSpan(-1, 0, 0, 0).GetTotalSeconds(), 0u - 86400u);
}

TEST(DateTime, DayOfWeekAndMondayFirst)
{
    CScopedTestTime zone(kSeoul);
    EXPECT_EQ(DateTime(2007, 5, 28, 0, 0, 0).GetDayOfWeek(), 2);
    EXPECT_EQ(DateTime(2007, 5, 27, 23, 59, 59).GetDayOfWeek(), 1);
    EXPECT_EQ(ToMondayFirst(2), 1);
    EXPECT_EQ(ToMondayFirst(1), 7);
    EXPECT_EQ(ToMondayFirst(7), 6);
}

TEST(DateTime, IsSameDay)
{
    CScopedTestTime zone(kSeoul);
    EXPECT_FALSE(IsSameDay(DateTime(2007, 5, 28, 23, 59, 0), DateTime(2007, 5, 29, 0, 0, 0)));
    EXPECT_TRUE(IsSameDay(DateTime(2007, 5, 28, 0, 0, 0), DateTime(2007, 5, 28, 23, 59, 59)));
    EXPECT_FALSE(IsSameDay(DateTime(2007, 5, 28, 0, 0, 0), DateTime(2008, 5, 28, 0, 0, 0)));
}

TEST(DateTime, IsoWeekNumbers)
{
    struct Case {
        int nYear, nMonth, nDay, nWeek;
    };
    const Case cases[] = {
        {2007, 1, 7, 1},  {2004, 1, 4, 1},  {2005, 1, 2, 53}, {2007, 1, 1, 1},   {2008, 12, 29, 1},
        {2009, 12, 31, 53}, {2010, 1, 3, 53}, {2010, 1, 4, 1}, {2007, 12, 30, 52}, {2007, 12, 31, 1},
    };
    for (const char* pszZone : {kSeoul, kNewYork}) {
        CScopedTestTime zone(pszZone);
        for (const Case& c : cases)
            EXPECT_EQ(IsoWeekNumber(DateTime(c.nYear, c.nMonth, c.nDay, 0, 0, 0)), c.nWeek)
                << c.nYear << "-" << c.nMonth << "-" << c.nDay;
    }
}

TEST(DateTime, IsoWeekOfTheMondayAfterASpringForward)
{
    CScopedTestTime zone(kNewYork);
    // Sunday 2007-03-11 has 23 hours; the following Monday starts week 11.
    EXPECT_EQ(IsoWeekNumber(DateTime(2007, 3, 12, 0, 0, 0)), 11);
    EXPECT_EQ(IsoWeekNumber(DateTime(2007, 3, 11, 0, 0, 0)), 10);
}
