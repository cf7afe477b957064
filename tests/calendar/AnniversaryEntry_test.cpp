#include "calendar/CScopedTestTime.h"
#include "calendar/AnniversaryEntry.h"
#include <gtest/gtest.h>

namespace {

struct Week {
    DateTime first;
    DateTime last;
};

// Monday 00:00:00 to Sunday 23:59:59 of the week that starts on the given Monday.
Week WeekFrom(int nYear, int nMonth, int nDay)
{
    const DateTime first(nYear, nMonth, nDay, 0, 0, 0);
    return {first, first + DateTimeSpan(6, 23, 59, 59)};
}

QList<DateTime> Dates(std::initializer_list<std::array<int, 3>> dates)
{
    QList<DateTime> result;
    for (const auto& d : dates)
        result.append(DateTime(d[0], d[1], d[2], 0, 0, 0));
    return result;
}

}  // namespace

TEST(SpecialDay, Occurrences)
{
    CScopedTestTime zone("KST-9");
    struct Case {
        const char* pszWhat;
        SpecialDay day;
        Week week;
        QList<DateTime> expected;
    };
    const Case cases[] = {
        {"fixed year, its own year", SpecialDay(2007, 5, 28, FALSE, "a", 0), WeekFrom(2007, 5, 28), Dates({{2007, 5, 28}})},
        {"fixed year, another year", SpecialDay(2007, 5, 28, FALSE, "a", 0), WeekFrom(2008, 5, 26), {}},
        {"every year", SpecialDay(0, 5, 28, FALSE, "a", 0), WeekFrom(2008, 5, 26), Dates({{2008, 5, 28}})},
        {"every year, not this week", SpecialDay(0, 5, 28, FALSE, "a", 0), WeekFrom(2008, 6, 2), {}},
        {"lunar new year 2007", SpecialDay(0, 1, 1, TRUE, "a", 0), WeekFrom(2007, 2, 12), Dates({{2007, 2, 18}})},
        {"lunar new year 2008", SpecialDay(0, 1, 1, TRUE, "a", 0), WeekFrom(2008, 2, 4), Dates({{2008, 2, 7}})},
        {"lunar 1/30 in 2007 (29 days)", SpecialDay(0, 1, 30, TRUE, "a", 0), WeekFrom(2007, 3, 12), {}},
        {"lunar 1/30 in 2008 (30 days)", SpecialDay(0, 1, 30, TRUE, "a", 0), WeekFrom(2008, 3, 3), Dates({{2008, 3, 7}})},
        {"lunar fixed year", SpecialDay(2007, 8, 15, TRUE, "a", 0), WeekFrom(2007, 9, 24), Dates({{2007, 9, 25}})},
        {"lunar date of the previous lunar year", SpecialDay(0, 12, 20, TRUE, "a", 0), WeekFrom(2008, 1, 21),
         Dates({{2008, 1, 27}})},
        {"week across the new year", SpecialDay(0, 1, 1, FALSE, "a", 0), WeekFrom(2007, 12, 31), Dates({{2008, 1, 1}})},
        {"week across the new year, 31 December", SpecialDay(0, 12, 31, FALSE, "a", 0), WeekFrom(2007, 12, 31),
         Dates({{2007, 12, 31}})},
        {"29 February, common year", SpecialDay(0, 2, 29, FALSE, "a", 0), WeekFrom(2007, 2, 26), {}},
        {"29 February, leap year", SpecialDay(0, 2, 29, FALSE, "a", 0), WeekFrom(2008, 2, 25), Dates({{2008, 2, 29}})},
        {"31 April never", SpecialDay(0, 4, 31, FALSE, "a", 0), WeekFrom(2007, 4, 30), {}},
        {"month 13 never", SpecialDay(0, 13, 1, FALSE, "a", 0), WeekFrom(2007, 12, 31), {}},
        {"all fields 0 never", SpecialDay(0, 0, 0, FALSE, "", 0), WeekFrom(2007, 12, 31), {}},
        {"leap month, a year that has it", SpecialDay(0, 7, 1, TRUE, "a", 0, TRUE), WeekFrom(2006, 8, 21),
         Dates({{2006, 8, 24}})},
        {"leap month, not its regular month", SpecialDay(0, 7, 1, TRUE, "a", 0, TRUE), WeekFrom(2006, 7, 24), {}},
        {"leap month the year lacks: the regular month", SpecialDay(0, 7, 1, TRUE, "a", 0, TRUE),
         WeekFrom(2007, 8, 13), Dates({{2007, 8, 13}})},
        {"leap month day 30 of a 29-day leap month: day 29", SpecialDay(0, 7, 30, TRUE, "a", 0, TRUE),
         WeekFrom(2006, 9, 18), Dates({{2006, 9, 21}})},
        {"year before 1970 never", SpecialDay(1950, 2, 12, FALSE, "a", 0), WeekFrom(2036, 2, 4), {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.day.Occurrences(c.week.first, c.week.last), c.expected) << c.pszWhat;
}

TEST(SpecialDay, RangeBoundsAreInclusive)
{
    CScopedTestTime zone("KST-9");
    const SpecialDay day(0, 3, 1, FALSE, "a", 0);
    const DateTime date(2007, 3, 1, 0, 0, 0);
    EXPECT_EQ(day.Occurrences(date, date).size(), 1);
    EXPECT_EQ(day.Occurrences(date + DateTimeSpan(0, 0, 0, 1), date + DateTimeSpan(1, 0, 0, 0)).size(), 0);
    // Over several years, one occurrence a year in ascending order.
    EXPECT_EQ(day.Occurrences(DateTime(2007, 1, 1, 0, 0, 0), DateTime(2009, 12, 31, 0, 0, 0)),
              Dates({{2007, 3, 1}, {2008, 3, 1}, {2009, 3, 1}}));
}
