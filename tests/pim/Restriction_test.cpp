#include "tests/support/PimTestStore.h"
#include "pim/CRestriction.h"
#include "pim/CShortDateReader.h"
#include "pim/WallTime.h"

#include <QDate>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace {

const char* const kPatterns[] = {"yyyy-MM-dd", "M/d/yyyy", "M/d/yy", "dd.MM.yy", "yy. M. d.", "d MMM yyyy"};

int64_t MaxStartOf(const QString& strText, const QString& strPattern, HRESULT* pHr = nullptr)
{
    CRestriction r;
    const HRESULT hr = r.Parse(strText, strPattern, olAppointmentItem);
    if (pHr)
        *pHr = hr;
    int64_t nMax = 0, nMin = 0;
    r.Bounds(&nMax, &nMin);
    return nMax;
}

CItemRecord Task(bool bComplete, int nImportance)
{
    CItemRecord r;
    r.nItemType = olTaskItem;
    r.bComplete = bComplete;
    r.nImportance = nImportance;
    return r;
}

}  // namespace

TEST(Restriction, DatesOfEveryPatternAreRead)
{
    const QDate dates[] = {QDate(1970, 1, 1), QDate(1999, 12, 31), QDate(2000, 2, 29), QDate(2007, 12, 31),
                           QDate(2069, 12, 31), QDate(2030, 6, 9)};
    for (const char* pszPattern : kPatterns) {
        for (const QDate& d : dates) {
            const QString strDate = FormatWithPattern(pszPattern, d.year(), d.month(), d.day());
            HRESULT hr = E_FAIL;
            const int64_t n = MaxStartOf(QStringLiteral("[Start] <= %1 23:59").arg(strDate), pszPattern, &hr);
            ASSERT_EQ(hr, S_OK) << pszPattern << " " << qPrintable(strDate);
            EXPECT_EQ(n, WallFromFields(d.year(), d.month(), d.day(), 23, 59)) << pszPattern << " " << qPrintable(strDate);
        }
    }
}

TEST(Restriction, ASingleTwoDigitYearUsesTheWindow1970To2069)
{
    EXPECT_EQ(MaxStartOf("[Start] <= 1/1/70", "M/d/yy"), WallFromFields(1970, 1, 1));
    EXPECT_EQ(MaxStartOf("[Start] <= 12/31/69", "M/d/yy"), WallFromFields(2069, 12, 31));
    // A wide span that the window reads well stays as it is.
    CRestriction r;
    ASSERT_EQ(r.Parse("[Start] >= 1/1/75 AND [Start] <= 1/1/25", "M/d/yy", olAppointmentItem), S_OK);
    int64_t nMax = 0, nMin = 0;
    r.Bounds(&nMax, &nMin);
    EXPECT_EQ(nMax, WallFromFields(2025, 1, 1));
    EXPECT_EQ(nMin, WallFromFields(1975, 1, 1));
    // The no-date text (four digits) does not pull two-digit years along.
    EXPECT_EQ(MaxStartOf("[Start] <= 12/31/69 OR [Start] = 1/1/4501", "M/d/yy"), kNoDateMinutes);
}

TEST(Restriction, NoDateTextWithFourDigitYearIsRead)
{
    for (const char* pszPattern : kPatterns) {
        const QString strText = QStringLiteral("[Start] = %1").arg(NoDateText(pszPattern));
        HRESULT hr = E_FAIL;
        EXPECT_EQ(MaxStartOf(strText, pszPattern, &hr), kNoDateMinutes) << pszPattern;
        EXPECT_EQ(hr, S_OK) << pszPattern;
    }
}

// Two-digit years: alone 70..99 are 1970..1999 and 00..69 are 2000..2069; the dates of one
// text are read together, so that the first week of 1970 (29 December 1969 to 4 January
// 1970) works too. Weeks are ISO weeks: the last week of 2069 ends on 29 December 2069.
TEST(Restriction, EveryWeekFrom1970To2069ReadsWithTwoDigitYears)
{
    for (const char* pszPattern : {"M/d/yy", "dd.MM.yy", "yy. M. d."}) {
        for (QDate monday(1969, 12, 29); monday <= QDate(2069, 12, 23); monday = monday.addDays(7)) {
            CRestriction r;
            const QString strText = WeekApptRestriction(pszPattern, monday.year(), monday.month(), monday.day());
            ASSERT_EQ(r.Parse(strText, pszPattern, olAppointmentItem), S_OK) << qPrintable(strText);
            int64_t nMax = 0, nMin = 0;
            r.Bounds(&nMax, &nMin);
            const QDate sunday = monday.addDays(6);
            ASSERT_EQ(nMin, WallFromFields(monday.year(), monday.month(), monday.day())) << qPrintable(strText);
            ASSERT_EQ(nMax, WallFromFields(sunday.year(), sunday.month(), sunday.day(), 23, 59)) << qPrintable(strText);
        }
    }
}

TEST(Restriction, MalformedTextsAndUnknownPropertiesFail)
{
    const char* const texts[] = {
        "[Start] <= ",
        "[Start] 12/31/07",
        "Start <= 12/31/07",
        "[Nope] = TRUE",
        "[Start] = TRUE",
        "[AllDayEvent] = 12/31/07",
        "[Start] <= 13/45/07",
        "[Start] <= 2/30/07",
        "([Start] <= 12/31/07",
        "[Start] <= 12/31/07)",
        "[Start] <= 12/31/07 AND",
        "[Start] <= 12/31/07 AND OR [End] >= 12/24/07",
        "[Start] <= 12/31/07 24:00",
        "[Start] <= 12/31/07 23:5",
        "[Start] <= 12/31/07 23:590",
        "[Start] <= 12/31/7",
        "[Start] <= 12/31/007",
        "[Start] =< 12/31/07",
        "[StartDate] = 12/31/07",
        "[Start] <= 12/31/07 garbage",
        "[Start",
    };
    for (const char* pszText : texts) {
        CRestriction r;
        EXPECT_EQ(r.Parse(pszText, "M/d/yy", olAppointmentItem), E_INVALIDARG) << pszText;
        CItemRecord any;
        EXPECT_TRUE(r.Matches(any)) << "a failed parse leaves no filter behind: " << pszText;
    }
}

// Damaged texts either parse or fail; none crashes, and deep nesting is refused.
TEST(Restriction, DamagedTextsFailCleanly)
{
    const QString good = WeekTaskRestriction("M/d/yy", 2007, 12, 24, true);
    const QString alphabet = QStringLiteral("[]()<>=/: 0123456789ANDORTRUEFALSE\"'x");
    std::mt19937 rng(5);
    int nFailed = 0;
    for (int i = 0; i < 20000; ++i) {
        QString text = good;
        for (int k = 0; k < 1 + int(rng() % 4); ++k) {
            const int nPos = int(rng() % text.size());
            switch (rng() % 3) {
            case 0: text.remove(nPos, 1 + int(rng() % 5)); break;
            case 1: text.insert(nPos, alphabet[int(rng() % alphabet.size())]); break;
            default: text[nPos] = alphabet[int(rng() % alphabet.size())]; break;
            }
        }
        CRestriction r;
        const HRESULT hr = r.Parse(text, "M/d/yy", olTaskItem);
        ASSERT_TRUE(hr == S_OK || hr == E_INVALIDARG);
        nFailed += hr == E_INVALIDARG;
        QVector<int64_t> params;
        r.ToSql(&params);
        r.Matches(Task(false, 1));
    }
    EXPECT_GT(nFailed, 10000);
    CRestriction deep;
    EXPECT_EQ(deep.Parse(QString(10000, u'(') + "[Complete] = TRUE" + QString(10000, u')'), "M/d/yy", olTaskItem),
              E_INVALIDARG);
}

TEST(Restriction, AndBindsTighterThanOrAndKeywordsIgnoreCase)
{
    CRestriction r;
    ASSERT_EQ(r.Parse("[Complete] = true or [Complete] = FALSE and [Importance] = 2", "M/d/yy", olTaskItem), S_OK);
    EXPECT_TRUE(r.Matches(Task(true, 0)));
    EXPECT_TRUE(r.Matches(Task(false, 2)));
    EXPECT_FALSE(r.Matches(Task(false, 1)));
    ASSERT_EQ(r.Parse("([Complete] = TRUE OR [Complete] = FALSE) AND [Importance] <> 2", "M/d/yy", olTaskItem), S_OK);
    EXPECT_TRUE(r.Matches(Task(true, 0)));
    EXPECT_FALSE(r.Matches(Task(true, 2)));
}

TEST(Restriction, ComparisonsOnDatesAndQuotedValues)
{
    CItemRecord a;
    a.nItemType = olAppointmentItem;
    a.nStart = WallFromFields(2007, 12, 26, 9, 0);
    a.nEnd = WallFromFields(2007, 12, 26, 10, 30);
    struct Case {
        const char* pszText;
        bool bMatch;
    } cases[] = {
        {"[Start] = 12/26/07 9:00", true},        {"[Start] = 12/26/07", false},
        {"[Start] > 12/26/07 8:59", true},        {"[Start] < 12/26/07 9:00", false},
        {"[End] >= 12/26/07 10:30", true},        {"[End] <> 12/26/07 10:30", false},
        {"[Start] >= \"12/26/07 09:00\"", true},  {"[Start] <= '12/25/07'", false},
    };
    for (const Case& c : cases) {
        CRestriction r;
        ASSERT_EQ(r.Parse(c.pszText, "M/d/yy", olAppointmentItem), S_OK) << c.pszText;
        EXPECT_EQ(r.Matches(a), c.bMatch) << c.pszText;
    }
}

TEST(Restriction, EmptyTextMatchesEverything)
{
    CRestriction r;
    ASSERT_EQ(r.Parse("  ", "M/d/yy", olTaskItem), S_OK);
    EXPECT_TRUE(r.Matches(Task(true, 0)));
    int64_t nMax = 0, nMin = 0;
    r.Bounds(&nMax, &nMin);
    EXPECT_EQ(nMax, std::numeric_limits<int64_t>::max());
    EXPECT_EQ(nMin, std::numeric_limits<int64_t>::min());
}

TEST(Restriction, PatternsWithoutDayMonthAndYearAreRefused)
{
    CShortDateReader reader;
    EXPECT_FALSE(reader.SetPattern("d/M"));
    EXPECT_FALSE(reader.SetPattern("MMM yyyy"));
    EXPECT_FALSE(reader.SetPattern("d/M/yyy"));
    EXPECT_TRUE(reader.SetPattern("yyyy/MM/dd"));
}

// The "C" locale's short format writes month names ("7 Jan 2008").
TEST(Restriction, MonthAndWeekdayNamesAreRead)
{
    struct Case {
        const char* pszPattern;
        const char* pszText;
    } cases[] = {
        {"d MMM yyyy", "7 Jan 2008"},  {"d MMM yyyy", "7 jan 2008"},
        {"dddd, MMMM d, yyyy", "Monday, January 7, 2008"}, {"ddd d MMM yy", "Mon 7 Jan 08"},
        {"d. MMMM yyyy", "7. January 2008"},
    };
    for (const Case& c : cases) {
        HRESULT hr = E_FAIL;
        const int64_t n = MaxStartOf(QStringLiteral("[Start] <= %1 23:59").arg(c.pszText), c.pszPattern, &hr);
        EXPECT_EQ(hr, S_OK) << c.pszText;
        EXPECT_EQ(n, WallFromFields(2008, 1, 7, 23, 59)) << c.pszText;
    }
    HRESULT hr = S_OK;
    MaxStartOf("[Start] <= 7 Jax 2008", "d MMM yyyy", &hr);
    EXPECT_EQ(hr, E_INVALIDARG);
}

TEST(Restriction, FindFailsOnAMalformedTextAndHandsOutNothing)
{
    SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
    CTestStore store;
    ASSERT_TRUE(store.IsOpen());
    ASSERT_GT(store.AddAppt("A", Dt(2007, 12, 26, 9), Dt(2007, 12, 26, 10)), 0);
    HRESULT hr = S_OK;
    EXPECT_TRUE(store.FindAppts("[Start] <= 12/31/07 23:59 AND", &hr).isEmpty());
    EXPECT_EQ(hr, E_INVALIDARG);
    EXPECT_TRUE(store.FindAppts("[Subject] = 12/31/07", &hr).isEmpty());
    EXPECT_EQ(hr, E_INVALIDARG);
    EXPECT_EQ(store.FindAppts("[Start] <= 12/31/07 23:59", &hr).size(), 1);
    EXPECT_EQ(hr, S_OK);
}

namespace {

constexpr int64_t kLowest = std::numeric_limits<int64_t>::min();
constexpr int64_t kHighest = std::numeric_limits<int64_t>::max();

CRestriction TaskRestriction(const QString& strText)
{
    CRestriction r;
    EXPECT_EQ(r.Parse(strText, QStringLiteral("M/d/yy"), olTaskItem), S_OK) << qPrintable(strText);
    return r;
}

QString SqlOf(const CRestriction& r, QVector<int64_t>* pParams = nullptr)
{
    QVector<int64_t> params;
    const QString strSql = r.ToSql(&params);
    if (pParams)
        *pParams = params;
    return strSql;
}

}  // namespace

TEST(Restriction, RangesOfAColumnFollowAndAndOr)
{
    const int64_t e = WallFromFields(2015, 6, 7, 23, 59), s = WallFromFields(2015, 6, 1), n = kNoDateMinutes;
    struct Case {
        const char* pszText;
        QVector<CValueRanges::Range> starts;
    };
    const Case cases[] = {
        {"", {{kLowest, kHighest}}},
        {"[DueDate] >= 6/1/15", {{kLowest, kHighest}}},
        {"[StartDate] = 1/1/4501 OR [StartDate] <= 6/7/15 23:59", {{kLowest, e}, {n, n}}},
        {"[StartDate] <> 6/1/15", {{kLowest, s - 1}, {s + 1, kHighest}}},
        {"[StartDate] > 6/1/15 AND [StartDate] < 6/7/15 23:59", {{s + 1, e - 1}}},
        {"[StartDate] >= 6/7/15 23:59 AND [StartDate] <= 6/1/15", {}},
        {"[Complete] = TRUE AND ([StartDate] >= 6/1/15 OR [DueDate] = 6/1/15)", {{kLowest, kHighest}}},
    };
    for (const Case& c : cases) {
        const CRestriction r = TaskRestriction(QString::fromLatin1(c.pszText));
        EXPECT_EQ(r.Ranges("t_start").Ranges(), c.starts) << c.pszText;
    }
}

TEST(Restriction, NarrowingFoldsWhatTheRangeDecides)
{
    const int64_t e = WallFromFields(2015, 6, 7, 23, 59), s = WallFromFields(2015, 6, 1), n = kNoDateMinutes;
    const QString strWeek = QStringLiteral(
        "([StartDate] <= 6/7/15 23:59 AND [DueDate] >= 6/1/15 00:00) OR ([Complete] = FALSE AND ([StartDate] = "
        "1/1/4501 OR [StartDate] <= 6/7/15 23:59)) OR ([Complete] = TRUE AND ([StartDate] = 1/1/4501 AND [DueDate] "
        "<= 6/7/15 23:59 AND [DueDate] >= 6/1/15 00:00))");
    const CRestriction open = TaskRestriction(strWeek).Narrowed("complete", 0, 0);
    const CRestriction done = TaskRestriction(strWeek).Narrowed("complete", 1, 1);
    EXPECT_EQ(SqlOf(open.Narrowed("t_start", kLowest, e)), QStringLiteral("1"));
    EXPECT_EQ(SqlOf(open.Narrowed("t_start", n, n)), QStringLiteral("1"));
    QVector<int64_t> params;
    EXPECT_EQ(SqlOf(open.Narrowed("t_start", s, n), &params),
              QStringLiteral("((t_start <= ? AND t_end >= ?) OR (t_start = ? OR t_start <= ?))"));
    EXPECT_EQ(params, QVector<int64_t>({e, s, n, e}));
    EXPECT_EQ(SqlOf(done.Narrowed("t_start", kLowest, e), &params), QStringLiteral("t_end >= ?"));
    EXPECT_EQ(params, QVector<int64_t>({s}));
    EXPECT_EQ(SqlOf(done.Narrowed("t_start", n, n), &params), QStringLiteral("(t_end <= ? AND t_end >= ?)"));
    EXPECT_EQ(params, QVector<int64_t>({e, s}));
    const CRestriction none = done.Narrowed("t_start", e + 1, n - 1);
    EXPECT_TRUE(none.MatchesNothing());
    EXPECT_EQ(SqlOf(none), QStringLiteral("0"));
    EXPECT_FALSE(none.Matches(Task(true, 1)));
    EXPECT_TRUE(none.Ranges("t_start").IsEmpty());
}

TEST(Restriction, NarrowingByEveryOperator)
{
    struct Case {
        const char* pszText;
        int64_t nLo, nHi;
        const char* pszSql;
    };
    const Case cases[] = {
        {"[Importance] = 1", 1, 1, "1"},       {"[Importance] = 1", 0, 2, "importance = ?"},
        {"[Importance] = 1", 2, 2, "0"},       {"[Importance] <> 1", 1, 1, "0"},
        {"[Importance] <> 1", 2, 5, "1"},      {"[Importance] <> 1", 0, 1, "importance <> ?"},
        {"[Importance] < 1", 0, 0, "1"},       {"[Importance] < 1", 1, 2, "0"},
        {"[Importance] <= 1", 0, 1, "1"},      {"[Importance] <= 1", 0, 2, "importance <= ?"},
        {"[Importance] > 1", 2, 2, "1"},       {"[Importance] > 1", 0, 1, "0"},
        {"[Importance] >= 1", 1, 2, "1"},      {"[Importance] >= 1", 0, 0, "0"},
        {"[Importance] = 1 OR [ReminderSet] = TRUE", 0, 0, "reminder = ?"},
        {"[Importance] = 1 AND [ReminderSet] = TRUE", 1, 1, "reminder = ?"},
        {"[Importance] = 1 AND [ReminderSet] = TRUE", 2, 2, "0"},
        {"[Importance] = 1 OR [ReminderSet] = TRUE", 1, 1, "1"},
        {"[ReminderSet] = TRUE", 0, 0, "reminder = ?"},  // another column stays
        {"", 0, 0, "1"},
        {"[Importance] = 1", 2, 1, "0"},       // an empty range
    };
    for (const Case& c : cases) {
        const CRestriction r = TaskRestriction(QString::fromLatin1(c.pszText)).Narrowed("importance", c.nLo, c.nHi);
        EXPECT_EQ(SqlOf(r), QString::fromLatin1(c.pszSql)) << c.pszText << " " << c.nLo << ".." << c.nHi;
        EXPECT_EQ(r.MatchesNothing(), QByteArray(c.pszSql) == "0") << c.pszText;
    }
}
