// Dates and times of the command line and the environment, read by hand.
#include "platform/IsoDate.h"

#include <gtest/gtest.h>

TEST(IsoDate, ReadsRealDaysOnly)
{
    struct Case {
        const char16_t* pszText;
        QDate expected;  // invalid: refused
    };
    const Case cases[] = {
        {u"2015-06-01", QDate(2015, 6, 1)},
        {u"2008-02-29", QDate(2008, 2, 29)},
        {u"0001-01-01", QDate(1, 1, 1)},
        {u"9999-12-31", QDate(9999, 12, 31)},
        {u"2007-02-29", QDate()},
        {u"2007-02-30", QDate()},
        {u"2007-13-01", QDate()},
        {u"2007-00-10", QDate()},
        {u"0000-01-01", QDate()},
        {u"2007-2-18", QDate()},
        {u"18.02.2007", QDate()},
        {u"2007-02-18 ", QDate()},
        {u"+007-02-18", QDate()},
        {u"2007-02-1x", QDate()},
        {u"\u0662\u0660\u0660\u0667-02-18", QDate()},  // digits of another script
        {u"", QDate()},
    };
    for (const Case& c : cases) {
        const std::optional<QDate> date = ParseIsoDate(QStringView(c.pszText));
        EXPECT_EQ(date.value_or(QDate()), c.expected) << QString::fromUtf16(c.pszText).toStdString();
    }
}

TEST(IsoDate, ReadsTimesOfDayOnly)
{
    EXPECT_EQ(ParseIsoTime(u"00:00:00"), QTime(0, 0, 0));
    EXPECT_EQ(ParseIsoTime(u"23:59:59"), QTime(23, 59, 59));
    for (const char16_t* pszText : {u"24:00:00", u"12:60:00", u"12:00:60", u"1:00:00", u"12:00", u"12-00-00", u""})
        EXPECT_FALSE(ParseIsoTime(QStringView(pszText)).has_value()) << QString::fromUtf16(pszText).toStdString();
}
