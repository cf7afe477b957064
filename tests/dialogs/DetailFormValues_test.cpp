// The detail forms' rules without a window: the prefilled pattern, the checks of bad
// input, the short-month note and the reminder's minutes.
#include "dialogs/FormValues.h"
#include "dialogs/RecurrenceValues.h"
#include "pim/PimTypes.h"

#include <gtest/gtest.h>

TEST(DetailFormValues, ANewPatternStartsFromTheStartDay)
{
    struct Case {
        QDate start;
        int nMask, nDay, nMonth, nInstance;
    };
    const Case cases[] = {
        {QDate(2015, 3, 4), olWednesday, 4, 3, 1},
        {QDate(2015, 3, 31), olTuesday, 31, 3, 5},  // the fifth Tuesday is the last
        {QDate(2015, 2, 22), olSunday, 22, 2, 4},
    };
    for (const Case& c : cases) {
        const RecurrenceValues v = DefaultRecurrence(c.start);
        EXPECT_EQ(v.nType, kRecursNone);
        EXPECT_EQ(v.nDayOfWeekMask, c.nMask) << c.start.toString().toStdString();
        EXPECT_EQ(v.nDayOfMonth, c.nDay);
        EXPECT_EQ(v.nMonthOfYear, c.nMonth);
        EXPECT_EQ(v.nInstance, c.nInstance);
        EXPECT_EQ(v.nEnd, kEndNever);
        EXPECT_GT(v.endDate, c.start);
    }
}

TEST(DetailFormValues, BadPatternsAreNamed)
{
    const QDate start(2015, 3, 4);
    const auto make = [&](int nType, auto fnChange) {
        RecurrenceValues v = DefaultRecurrence(start);
        v.nType = nType;
        fnChange(v);
        return v;
    };
    struct Case {
        RecurrenceValues v;
        const char* pszKey;
    };
    const Case cases[] = {
        {make(kRecursNone, [](RecurrenceValues& v) { v.nInterval = 0; }), ""},
        {make(olRecursDaily, [](RecurrenceValues&) {}), ""},
        {make(olRecursDaily, [](RecurrenceValues& v) { v.nInterval = 0; }), "RC_DETAILFORM_ERROR_INTERVAL"},
        {make(olRecursMonthly, [](RecurrenceValues& v) { v.nInterval = -2; }), "RC_DETAILFORM_ERROR_INTERVAL"},
        {make(olRecursWeekly, [](RecurrenceValues& v) { v.nDayOfWeekMask = 0; }), "RC_DETAILFORM_ERROR_WEEKDAY"},
        {make(olRecursYearNth, [](RecurrenceValues& v) { v.nDayOfWeekMask = 0; }), "RC_DETAILFORM_ERROR_WEEKDAY"},
        {make(olRecursYearly, [](RecurrenceValues& v) { v.nMonthOfYear = 2; v.nDayOfMonth = 30; }),
         "RC_DETAILFORM_ERROR_MONTHDAY"},
        {make(olRecursYearly, [](RecurrenceValues& v) { v.nMonthOfYear = 2; v.nDayOfMonth = 29; }), ""},
        {make(olRecursMonthly, [](RecurrenceValues& v) { v.nDayOfMonth = 31; }), ""},
        {make(olRecursDaily, [](RecurrenceValues& v) { v.nEnd = kEndAfterCount; v.nOccurrences = 0; }),
         "RC_DETAILFORM_ERROR_COUNT"},
        {make(olRecursDaily, [](RecurrenceValues& v) { v.nEnd = kEndByDate; v.endDate = QDate(2015, 3, 3); }),
         "RC_DETAILFORM_ERROR_PATTERNEND"},
        {make(olRecursDaily, [](RecurrenceValues& v) { v.nEnd = kEndByDate; v.endDate = QDate(2015, 3, 4); }), ""},
        // An end that is not chosen is not checked.
        {make(olRecursDaily, [](RecurrenceValues& v) { v.nOccurrences = 0; v.endDate = QDate(2000, 1, 1); }), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CheckRecurrence(c.v, start).toStdString(), c.pszKey);
}

TEST(DetailFormValues, ShortMonthsAreNamedForDaysSomeMonthsLack)
{
    RecurrenceValues v = DefaultRecurrence(QDate(2015, 1, 31));
    v.nType = olRecursMonthly;
    EXPECT_TRUE(SkipsShortMonths(v));
    v.nDayOfMonth = 28;
    EXPECT_FALSE(SkipsShortMonths(v));
    v.nType = olRecursYearly;
    v.nMonthOfYear = 2;
    v.nDayOfMonth = 29;
    EXPECT_TRUE(SkipsShortMonths(v));
    v.nMonthOfYear = 1;
    v.nDayOfMonth = 31;
    EXPECT_FALSE(SkipsShortMonths(v));
}

TEST(DetailFormValues, ReminderMinutesAreWholeNumbersInRange)
{
    const std::pair<const char*, int> cases[] = {{"15", 15}, {" 45 ", 45}, {"0", 0}, {"40320", 40320},
                                                 {"40321", -1}, {"-5", -1}, {"", -1}, {"1.5", -1},
                                                 {"soon", -1}, {"99999999999", -1}};
    for (const auto& [psz, nExpected] : cases) {
        int n = -1;
        const bool bOk = ParseReminderMinutes(QString::fromLatin1(psz), &n);
        EXPECT_EQ(bOk, nExpected >= 0) << psz;
        if (bOk) {
            EXPECT_EQ(n, nExpected) << psz;
        }
    }
}

TEST(DetailFormValues, StoreDatesRoundTripToTheMinute)
{
    const QDate day(2015, 3, 8);
    const DATE dt = DateOfQt(day, QTime(2, 30));
    EXPECT_EQ(DateTimeOfDate(dt), QDateTime(day, QTime(2, 30)));
    EXPECT_FALSE(DateTimeOfDate(kNoDate).isValid());
    EXPECT_EQ(DateOfQt(QDate(), QTime(1, 0)), kNoDate);
}
