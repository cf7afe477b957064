// The closed-form expansion used by queries against libical's iterator, and the
// conversion of patterns to and from RRULEs.
#include "pim/CRecurrence.h"
#include "pim/CRecurrenceMath.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"

#include <gtest/gtest.h>
#include <random>

namespace {

CRecurrenceRule Rule(int nType, int nInterval = 1, int nMask = 0, int nDayOfMonth = 0, int nInstance = 0,
                     int nMonth = 0)
{
    CRecurrenceRule r;
    r.nType = nType;
    r.nInterval = nInterval;
    r.nDayOfWeekMask = nMask;
    r.nDayOfMonth = nDayOfMonth;
    r.nInstance = nInstance;
    r.nMonthOfYear = nMonth;
    return r;
}

QVector<int64_t> MathStarts(const CRecurrenceRule& rule, int64_t nStart, int64_t nFrom, int64_t nTo)
{
    int64_t nFirst = 0, nLast = 0;
    if (!CRecurrence::Span(rule, nStart, &nFirst, &nLast))
        return {};
    CRecurrenceMath math(rule, nFirst, nLast);
    math.Seek(nFrom, nTo);
    QVector<int64_t> out;
    for (int64_t n = 0; math.Next(&n) && out.size() < 100000;)
        out << n;
    return out;
}

QVector<int64_t> IcalStarts(const CRecurrenceRule& rule, int64_t nStart, int64_t nFrom, int64_t nTo)
{
    QVector<int64_t> all, out;
    CRecurrence::Expand(rule, nStart, nTo, 100000, &all);
    for (int64_t n : all) {
        if (n >= nFrom && n <= nTo)
            out << n;
    }
    return out;
}

QVector<CRecurrenceRule> RuleTable()
{
    QVector<CRecurrenceRule> rules;
    for (int nInterval : {1, 2, 3}) {
        rules << Rule(olRecursDaily, nInterval);
        rules << Rule(olRecursWeekly, nInterval, olMonday) << Rule(olRecursWeekly, nInterval, olTuesday | olFriday | olSunday)
              << Rule(olRecursWeekly, nInterval, 0x7F);
        for (int nDay : {1, 15, 29, 30, 31})
            rules << Rule(olRecursMonthly, nInterval, 0, nDay);
        for (int nInstance = 1; nInstance <= 5; ++nInstance) {
            rules << Rule(olRecursMonthNth, nInterval, olFriday, 0, nInstance);
            rules << Rule(olRecursMonthNth, nInterval, olMonday | olTuesday | olWednesday | olThursday | olFriday, 0,
                          nInstance);
            rules << Rule(olRecursYearNth, nInterval, olSunday, 0, nInstance, 3);
        }
        rules << Rule(olRecursYearly, nInterval, 0, 29, 0, 2) << Rule(olRecursYearly, nInterval, 0, 31, 0, 12);
    }
    return rules;
}

}  // namespace

// Every kind, interval, end and window: the closed form gives libical's occurrences.
TEST(Recurrence, ClosedFormAgreesWithLibical)
{
    std::mt19937 rng(11);
    const int64_t nStarts[] = {WallFromFields(2000, 2, 29, 9, 30), WallFromFields(2007, 12, 31, 23, 45),
                               WallFromFields(2011, 7, 15)};
    int nCompared = 0;
    for (CRecurrenceRule rule : RuleTable()) {
        for (int64_t nStart : nStarts) {
            for (int nEnd = 0; nEnd < 3; ++nEnd) {
                rule.nOccurrences = nEnd == 1 ? 7 : 0;
                rule.nPatternEnd = nEnd == 2 ? WallFromFields(2013, 5, 20) : kNoDateMinutes;
                const int64_t nTo = nStart + 6 * 366 * kMinutesPerDay;
                const auto expected = IcalStarts(rule, nStart, nStart, nTo);
                ASSERT_EQ(MathStarts(rule, nStart, nStart, nTo), expected)
                    << "type " << rule.nType << " interval " << rule.nInterval << " mask " << rule.nDayOfWeekMask
                    << " day " << rule.nDayOfMonth << " instance " << rule.nInstance << " end " << nEnd;
                // A window somewhere inside, as a week query asks.
                const int64_t nFrom = nStart + int64_t(rng() % (5 * 365)) * kMinutesPerDay;
                const int64_t nWindowTo = nFrom + 7 * kMinutesPerDay - 1;
                ASSERT_EQ(MathStarts(rule, nStart, nFrom, nWindowTo), IcalStarts(rule, nStart, nFrom, nWindowTo));
                ++nCompared;
            }
        }
    }
    EXPECT_GT(nCompared, 400);
}

// The last start of a counted rule, counted without a walk for daily and weekly rules,
// is libical's last occurrence of that count, from starts on and off the pattern.
// (Only where libical reaches the count: it gives no occurrence after the year 2582.)
TEST(Recurrence, CountedRulesEndWhereLibicalEnds)
{
    const int64_t nStarts[] = {WallFromFields(2000, 2, 29, 9, 30), WallFromFields(2007, 12, 30, 23, 45),
                               WallFromFields(2011, 7, 13)};
    for (CRecurrenceRule rule : RuleTable()) {
        for (int64_t nStart : nStarts) {
            for (int nCount : {1, 2, 3, 7, 53, 400}) {
                rule.nOccurrences = nCount;
                QVector<int64_t> starts;
                CRecurrence::Expand(rule, nStart, kNoDateMinutes, nCount, &starts);
                if (starts.size() < nCount)
                    continue;  // libical stops in the year 2582; the walk goes on
                int64_t nFirst = 0, nLast = 0;
                ASSERT_TRUE(CRecurrence::Span(rule, nStart, &nFirst, &nLast));
                ASSERT_EQ(nFirst, starts.front());
                ASSERT_EQ(nLast, starts.back()) << "type " << rule.nType << " interval " << rule.nInterval << " mask "
                                                << rule.nDayOfWeekMask << " count " << nCount;
            }
        }
    }
}

TEST(Recurrence, PatternStartMovesToTheFirstOccurrence)
{
    int64_t nFirst = 0, nLast = 0;
    // Wednesday 26 December 2007, weekly on Fridays: the first is Friday the 28th.
    ASSERT_TRUE(CRecurrence::Span(Rule(olRecursWeekly, 1, olFriday), WallFromFields(2007, 12, 26, 9), &nFirst, &nLast));
    EXPECT_EQ(nFirst, WallFromFields(2007, 12, 28, 9));
    EXPECT_EQ(nLast, kNoDateMinutes);
    CRecurrenceRule counted = Rule(olRecursMonthNth, 1, olTuesday, 0, 2);
    counted.nOccurrences = 3;
    ASSERT_TRUE(CRecurrence::Span(counted, WallFromFields(2008, 1, 1, 10), &nFirst, &nLast));
    EXPECT_EQ(nFirst, WallFromFields(2008, 1, 8, 10));
    EXPECT_EQ(nLast, WallFromFields(2008, 3, 11, 10));
}

TEST(Recurrence, InvalidPatternsAreRefused)
{
    int64_t nFirst = 0, nLast = 0;
    const CRecurrenceRule bad[] = {Rule(olRecursWeekly, 1, 0), Rule(olRecursMonthly, 1, 0, 32),
                                   Rule(olRecursYearly, 1, 0, 30, 0, 2), Rule(olRecursMonthNth, 1, olMonday, 0, 6),
                                   Rule(olRecursDaily, 0), Rule(4)};
    for (const CRecurrenceRule& r : bad)
        EXPECT_FALSE(CRecurrence::Span(r, WallFromFields(2008, 1, 1), &nFirst, &nLast)) << r.nType;
    CRecurrenceRule ended = Rule(olRecursDaily);
    ended.nPatternEnd = WallFromFields(2007, 1, 1);  // ends before it starts
    EXPECT_FALSE(CRecurrence::Span(ended, WallFromFields(2008, 1, 1), &nFirst, &nLast));
}

TEST(Recurrence, RrulesReadBackIntoTheSamePattern)
{
    const int64_t nStart = WallFromFields(2008, 1, 8, 10);
    for (CRecurrenceRule rule : RuleTable()) {
        rule.nPatternEnd = WallFromFields(2012, 6, 30);
        const icalrecurrencetype ical = CRecurrence::ToIcal(rule, nStart, false);
        char* psz = icalrecurrencetype_as_string_r(const_cast<icalrecurrencetype*>(&ical));
        const icalrecurrencetype parsed = icalrecurrencetype_from_string(psz);
        CRecurrenceRule back;
        ASSERT_TRUE(CRecurrence::FromIcal(parsed, nStart, &back)) << psz;
        // Fields a kind does not use are not kept.
        if (rule.nType == olRecursDaily || rule.nType == olRecursWeekly)
            rule.nDayOfMonth = back.nDayOfMonth, rule.nMonthOfYear = back.nMonthOfYear;
        if (rule.nType == olRecursMonthly || rule.nType == olRecursMonthNth)
            rule.nMonthOfYear = back.nMonthOfYear;
        if (rule.nType == olRecursMonthNth || rule.nType == olRecursYearNth)
            rule.nDayOfMonth = back.nDayOfMonth;
        EXPECT_EQ(back, rule) << psz;
        free(psz);
    }
}

TEST(Recurrence, UnsupportedRrulesAreRefused)
{
    const char* const rules[] = {"FREQ=DAILY;BYHOUR=9,17", "FREQ=MONTHLY;BYMONTHDAY=1,15", "FREQ=YEARLY;BYWEEKNO=20",
                                 "FREQ=HOURLY", "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH;WKST=SU",
                                 "FREQ=MONTHLY;BYDAY=1MO,2TU"};
    for (const char* psz : rules) {
        CRecurrenceRule rule;
        EXPECT_FALSE(CRecurrence::FromIcal(icalrecurrencetype_from_string(psz), WallFromFields(2008, 1, 7, 9), &rule))
            << psz;
    }
}
