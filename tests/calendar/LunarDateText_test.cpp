#include "QtPrinters.h"
#include "calendar/LunarDateText.h"
#include <gtest/gtest.h>

TEST(LunarDateText, Answers)
{
    struct Case {
        const char* pszText;
        const char* pszAnswer;
        LunarAnswerKind kind;
    };
    const Case cases[] = {
        {"2007-01-01", "2007-02-18 Sun", LunarAnswerKind::Solar},
        {" 2007-08-15 ", "2007-09-25 Tue", LunarAnswerKind::Solar},
        {"2006-07-01L", "2006-08-24 Thu", LunarAnswerKind::Solar},
        {"2006-07-01l", "2006-08-24 Thu", LunarAnswerKind::Solar},
        {"2006-07-01", "2006-07-25 Tue", LunarAnswerKind::Solar},
        {"1841-1-1", "1841-01-23 Sat", LunarAnswerKind::Solar},
        {"2043-12-30", "2044-01-29 Fri", LunarAnswerKind::Solar},
        {"2007-01-30", "INVALID", LunarAnswerKind::Invalid},
        {"2007-01-01L", "INVALID", LunarAnswerKind::Invalid},  // 2007 has no leap 1st month
        {"2006-07-30L", "INVALID", LunarAnswerKind::Invalid},
        {"1840-12-01", "INVALID", LunarAnswerKind::Invalid},
        {"2044-01-01", "INVALID", LunarAnswerKind::Invalid},
        {"2007-13-01", "INVALID", LunarAnswerKind::Invalid},
        {"2007-00-01", "INVALID", LunarAnswerKind::Invalid},
        {"2007-01-00", "INVALID", LunarAnswerKind::Invalid},
        {"", "INVALID", LunarAnswerKind::Malformed},
        {"07-01-01", "INVALID", LunarAnswerKind::Malformed},
        {"2007/01/01", "INVALID", LunarAnswerKind::Malformed},
        {"2007-01-01X", "INVALID", LunarAnswerKind::Malformed},
        {"2007-001-01", "INVALID", LunarAnswerKind::Malformed},
        {"-2007-01-01", "INVALID", LunarAnswerKind::Malformed},
    };
    for (const Case& c : cases) {
        LunarAnswerKind kind = LunarAnswerKind::Solar;
        EXPECT_EQ(AnswerLunarDateText(QString::fromLatin1(c.pszText), &kind), QString::fromLatin1(c.pszAnswer))
            << c.pszText;
        EXPECT_EQ(kind, c.kind) << c.pszText;
    }
}
