#include "EnvironmentGuard_helper.h"

#include "platform/Clock.h"
#include "platform/ShortDate.h"

#include <QDate>

#include <gtest/gtest.h>

namespace {

SYSTEMTIME MakeDate(int year, int month, int day)
{
    SYSTEMTIME st;
    st.wYear = static_cast<uint16_t>(year);
    st.wMonth = static_cast<uint16_t>(month);
    st.wDay = static_cast<uint16_t>(day);
    return st;
}

TEST(Clock, FixedLocalTimeWinsAndGetsItsWeekday)
{
    SYSTEMTIME fixed = MakeDate(2007, 2, 18);
    fixed.wHour = 9;
    fixed.wMinute = 30;
    SetFixedLocalTime(fixed);
    SYSTEMTIME st;
    GetLocalTime(&st);
    SetFixedLocalTime(std::nullopt);
    EXPECT_EQ(st.wYear, 2007);
    EXPECT_EQ(st.wMonth, 2);
    EXPECT_EQ(st.wDay, 18);
    EXPECT_EQ(st.wHour, 9);
    EXPECT_EQ(st.wMinute, 30);
    EXPECT_EQ(st.wDayOfWeek, 0);  // a Sunday
}

TEST(Clock, EnvironmentFixesTheClockForTheProcess)
{
    CEnvironmentGuard env;
    env.Set("QUILLDAY_NOW", "2024-02-29T23:59:58");
    SYSTEMTIME st;
    GetLocalTime(&st);
    EXPECT_EQ(st.wYear, 2024);
    EXPECT_EQ(st.wMonth, 2);
    EXPECT_EQ(st.wDay, 29);
    EXPECT_EQ(st.wDayOfWeek, 4);
    EXPECT_EQ(st.wHour, 23);
    EXPECT_EQ(st.wMinute, 59);
    EXPECT_EQ(st.wSecond, 58);
}

TEST(Clock, UnreadableEnvironmentTimeIsIgnored)
{
    CEnvironmentGuard env;
    for (const char* text : {"2024-02-30T10:00:00", "2024-02-01 10:00:00", "2024-02-01T10:00"}) {
        env.Set("QUILLDAY_NOW", text);
        SYSTEMTIME st;
        GetLocalTime(&st);  // the real clock: only its validity can be checked
        EXPECT_TRUE(QDate(st.wYear, st.wMonth, st.wDay).isValid()) << text;
        EXPECT_FALSE(st.wYear == 2024 && st.wMonth == 2 && st.wHour == 10 && st.wMinute == 0
                     && st.wSecond == 0)
            << text;
    }
}

struct ShortDateCase {
    const char* pattern;
    int year, month, day;
    const char* expected;
};

void PrintTo(const ShortDateCase& c, std::ostream* os) { *os << c.pattern; }

class ShortDateFormat : public ::testing::TestWithParam<ShortDateCase> {};

TEST_P(ShortDateFormat, FollowsTheOverridePattern)
{
    const ShortDateCase& c = GetParam();
    CEnvironmentGuard env;
    env.Set("QUILLDAY_SHORTDATE", c.pattern);
    EXPECT_EQ(GetShortDatePattern(), QString::fromLatin1(c.pattern));
    EXPECT_EQ(FormatShortDate(MakeDate(c.year, c.month, c.day)), QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Patterns, ShortDateFormat,
                         ::testing::Values(ShortDateCase{"yyyy-MM-dd", 2010, 1, 1, "2010-01-01"},
                                           ShortDateCase{"M/d/yyyy", 2010, 1, 1, "1/1/2010"},
                                           ShortDateCase{"M/d/yy", 2010, 12, 31, "12/31/10"},
                                           ShortDateCase{"dd.MM.yy", 2010, 1, 1, "01.01.10"},
                                           ShortDateCase{"yy. M. d.", 2010, 1, 1, "10. 1. 1."},
                                           ShortDateCase{"yyyy/MM/dd", 4501, 1, 1, "4501/01/01"}));

TEST(ShortDateFormat, DateThatDoesNotExistFormatsToNothing)
{
    CEnvironmentGuard env;
    env.Set("QUILLDAY_SHORTDATE", "yyyy-MM-dd");
    EXPECT_TRUE(FormatShortDate(MakeDate(2010, 2, 30)).isEmpty());
    EXPECT_TRUE(FormatShortDate(MakeDate(2010, 0, 1)).isEmpty());
}

TEST(ShortDateFormat, WithoutOverrideUsesTheSystemLocalePattern)
{
    CEnvironmentGuard env;
    env.Unset("QUILLDAY_SHORTDATE");
    EXPECT_FALSE(GetShortDatePattern().isEmpty());
    EXPECT_TRUE(FormatShortDate(MakeDate(2010, 1, 1)).contains(QLatin1String("10")));
}

}  // namespace
