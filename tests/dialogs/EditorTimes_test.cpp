#include "calendar/CScopedTestTime.h"
#include "dialogs/EditorTimes.h"
#include "pim/PimTypes.h"
#include <gtest/gtest.h>

namespace {

struct ParseCase {
    const char* pszText;
    bool bUse24Hour;
    int nHour;
    int nMinute;
};

class ParseTimeTextTest : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTimeTextTest, ReadsHourAndMinute)
{
    const ParseCase& c = GetParam();
    const TimeOfDay time = ParseTimeText(QString::fromUtf8(c.pszText), c.bUse24Hour);
    EXPECT_EQ(time.nHour, c.nHour) << c.pszText;
    EXPECT_EQ(time.nMinute, c.nMinute) << c.pszText;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseTimeTextTest,
    ::testing::Values(
        // The documented examples.
        ParseCase{"9:5", true, 9, 5}, ParseCase{"9:5", false, 9, 5},
        ParseCase{"12:30 AM", false, 12, 30},  // only the word PM changes the hour
        ParseCase{"12:30 PM", false, 12, 30}, ParseCase{"1:30 pm", false, 13, 30},
        ParseCase{"", true, 12, 0}, ParseCase{"", false, 12, 0}, ParseCase{"25:70", true, 2, 7},
        // Four digits without a colon are hours and minutes, not hour 93.
        ParseCase{"930", true, 9, 30}, ParseCase{"1430", true, 14, 30}, ParseCase{"930 pm", false, 21, 30},
        // Plain hours; an hour of two digits past 23 falls back to its first digit.
        ParseCase{"7", true, 7, 0}, ParseCase{"14", true, 14, 0}, ParseCase{"31", true, 3, 0},
        ParseCase{"7 PM", false, 19, 0}, ParseCase{"12pm", false, 12, 0}, ParseCase{"12 am", false, 12, 0},
        // The 12-hour forms the lists themselves show.
        ParseCase{"0:00 AM", false, 0, 0}, ParseCase{"0:30 AM", false, 0, 30}, ParseCase{"11:30 AM", false, 11, 30},
        ParseCase{"12:00 PM", false, 12, 0}, ParseCase{"11:30 PM", false, 23, 30},
        // PM after an afternoon hour keeps that hour instead of passing 23.
        ParseCase{"13:15 PM", false, 13, 15},
        // With Use24Hour the words are not read.
        ParseCase{"1:30 PM", true, 1, 30},
        // White space, a lone colon, missing minutes, single minute digit past a letter.
        ParseCase{"  8:45  ", true, 8, 45}, ParseCase{":", true, 0, 0}, ParseCase{"10:", true, 10, 0},
        ParseCase{"10:x", true, 10, 0}, ParseCase{"10:7x", true, 10, 7}, ParseCase{"23:59", true, 23, 59},
        ParseCase{"noon", true, 12, 0}, ParseCase{"PM", false, 12, 0}));

struct FormatCase {
    int nHour;
    int nMinute;
    bool bUse24Hour;
    const char* pszText;
};

class FormatTimeTextTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatTimeTextTest, WritesTheText)
{
    const FormatCase& c = GetParam();
    EXPECT_EQ(FormatTimeText(c.nHour, c.nMinute, c.bUse24Hour).toStdString(), c.pszText);
}

INSTANTIATE_TEST_SUITE_P(Cases, FormatTimeTextTest,
                         ::testing::Values(FormatCase{9, 5, true, "9:05"}, FormatCase{13, 30, true, "13:30"},
                                           FormatCase{0, 0, true, "0:00"}, FormatCase{23, 30, true, "23:30"},
                                           FormatCase{0, 0, false, "0:00 AM"}, FormatCase{9, 5, false, "9:05 AM"},
                                           FormatCase{11, 59, false, "11:59 AM"}, FormatCase{12, 0, false, "12:00 PM"},
                                           FormatCase{12, 30, false, "12:30 PM"}, FormatCase{13, 0, false, "1:00 PM"},
                                           FormatCase{23, 30, false, "11:30 PM"}));

TEST(FormatTimeText, ParsesBackToTheSameTimeForEveryMinute)
{
    for (bool bUse24Hour : {true, false}) {
        for (int nMinutes = 0; nMinutes < 24 * 60; ++nMinutes) {
            const TimeOfDay time{nMinutes / 60, nMinutes % 60};
            EXPECT_EQ(ParseTimeText(FormatTimeText(time.nHour, time.nMinute, bUse24Hour), bUse24Hour), time)
                << nMinutes << " " << bUse24Hour;
        }
    }
}

TEST(StartTimes, RunFromMidnightToHalfPastElevenInBothForms)
{
    const QStringList list24 = MakeStartTimes(true);
    ASSERT_EQ(list24.size(), 48);
    EXPECT_EQ(list24.first(), "0:00");
    EXPECT_EQ(list24[1], "0:30");
    EXPECT_EQ(list24.last(), "23:30");
    const QStringList list12 = MakeStartTimes(false);
    ASSERT_EQ(list12.size(), 48);
    EXPECT_EQ(list12.first(), "0:00 AM");
    EXPECT_EQ(list12[1], "0:30 AM");
    EXPECT_EQ(list12[24], "12:00 PM");
    EXPECT_EQ(list12[25], "12:30 PM");
    EXPECT_EQ(list12[26], "1:00 PM");
    EXPECT_EQ(list12.last(), "11:30 PM");
}

struct EndTimesCase {
    bool bSameDay;
    TimeOfDay start;
    bool bUse24Hour;
    int nCount;
    const char* pszFirst;
    const char* pszLast;
};

class EndTimesTest : public ::testing::TestWithParam<EndTimesCase> {};

TEST_P(EndTimesTest, StartAfterTheStartOnItsDay)
{
    const EndTimesCase& c = GetParam();
    const QStringList list = MakeEndTimes(c.bSameDay, c.start, c.bUse24Hour);
    ASSERT_EQ(list.size(), c.nCount);
    if (c.nCount == 0)
        return;
    EXPECT_EQ(list.first().toStdString(), c.pszFirst);
    EXPECT_EQ(list.last().toStdString(), c.pszLast);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, EndTimesTest,
    ::testing::Values(EndTimesCase{true, {9, 40}, true, 28, "10:00", "23:30"},
                      EndTimesCase{true, {9, 10}, true, 29, "9:30", "23:30"},
                      EndTimesCase{true, {9, 30}, true, 28, "10:00", "23:30"},
                      EndTimesCase{true, {0, 0}, true, 47, "0:30", "23:30"},
                      EndTimesCase{true, {9, 40}, false, 28, "10:00 AM", "11:30 PM"},
                      EndTimesCase{true, {23, 0}, true, 1, "23:30", "23:30"},
                      EndTimesCase{true, {23, 10}, false, 1, "11:30 PM", "11:30 PM"},
                      // Nothing on the start's day lies after 23:30.
                      EndTimesCase{true, {23, 30}, true, 0, "", ""},
                      EndTimesCase{true, {23, 45}, false, 0, "", ""},
                      EndTimesCase{false, {9, 40}, true, 48, "0:00", "23:30"},
                      EndTimesCase{false, {23, 45}, false, 48, "0:00 AM", "11:30 PM"}));

TEST(EditorDates, WholeDaysCountDatesAcrossDaylightSavingChanges)
{
    CScopedTestTime time("America/New_York");
    // 2015-03-08 has 23 hours in New York.
    EXPECT_EQ(WholeDaysBetween(DateTime(2015, 3, 7, 12, 0, 0), DateTime(2015, 3, 9, 11, 0, 0)), 2);
    EXPECT_EQ(WholeDaysBetween(DateTime(2015, 3, 9, 23, 0, 0), DateTime(2015, 3, 7, 0, 0, 0)), -2);
    EXPECT_EQ(WholeDaysBetween(DateTime(2015, 3, 7, 23, 0, 0), DateTime(2015, 3, 8, 1, 0, 0)), 1);
    const DateTime moved = AddWholeDays(DateTime(2015, 3, 7, 23, 30, 0), 1);
    EXPECT_EQ(moved, DateTime(2015, 3, 8, 23, 30, 0));
    EXPECT_EQ(WithDate(DateTime(2015, 3, 7, 9, 15, 0), QDate(2015, 12, 31)), DateTime(2015, 12, 31, 9, 15, 0));
}

TEST(EditorDates, StoreDatesConvertToTheMinute)
{
    CScopedTestTime time("KST-9");
    DateTime t;
    // 2015-03-04 09:40:30 as a store date; seconds are dropped.
    const DATE dt = 42067.0 + (9 * 3600 + 40 * 60 + 30) / 86400.0;
    ASSERT_TRUE(DateTimeFromVariant(dt, &t));
    EXPECT_EQ(t, DateTime(2015, 3, 4, 9, 40, 0));
    EXPECT_DOUBLE_EQ(VariantFromDateTime(DateTime(2015, 3, 4, 9, 40, 59)), 42067.0 + (9 * 60 + 40) / 1440.0);
    DateTime unchanged = t;
    EXPECT_FALSE(DateTimeFromVariant(kNoDate, &unchanged));
    EXPECT_EQ(unchanged, t);
}

}  // namespace
