// Zone rules from files, checked before libical expands them.
#include "ical/CZoneRuleCheck.h"

#include <QString>
#include <gtest/gtest.h>

namespace {

// A VTIMEZONE with one STANDARD observance of the given rule lines, and a DAYLIGHT one.
QByteArray Zone(const char* pszStandardRule, const char* pszStart = "16010101T000000")
{
    return QByteArray("BEGIN:VTIMEZONE\r\nTZID:Test\r\nBEGIN:STANDARD\r\nDTSTART:") + pszStart + "\r\n"
         + pszStandardRule
         + "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\n"
           "BEGIN:DAYLIGHT\r\nDTSTART:19700329T020000\r\nRRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\n"
           "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";
}

TEST(ZoneRuleCheck, AcceptsTheRulesOfRealZonesAndRefusesOthers)
{
    struct Case {
        QByteArray text;
        const char* pszWhy;  // null: accepted
    } const cases[] = {
        {Zone("RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\n"), nullptr},
        {Zone("RRULE:FREQ=YEARLY;BYMONTH=4;BYDAY=SU;BYMONTHDAY=1,2,3,4,5,6,7\r\n"), nullptr},
        {Zone("RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU;UNTIL=20061029T010000Z\r\n", "00010101T000000"), nullptr},
        {Zone("RDATE:19801026T030000\r\nRDATE:19811025T030000\r\n"), nullptr},
        {Zone(""), nullptr},
        {Zone("RRULE:FREQ=SECONDLY\r\n"), "not yearly"},
        {Zone("RRULE:FREQ=MINUTELY\r\n"), "not yearly"},
        {Zone("RRULE:FREQ=HOURLY\r\n"), "not yearly"},
        {Zone("RRULE:FREQ=DAILY\r\n"), "not yearly"},
        {Zone("RRULE:FREQ=YEARLY;BYMONTH=1,2,3,4,5,6,7,8,9,10,11,12;BYDAY=SU,MO,TU,WE,TH,FR,SA\r\n"), "not yearly"},
        {Zone("RRULE:FREQ=YEARLY;BYYEARDAY=1,2,3\r\n"), "not yearly"},
        {Zone("RRULE:FREQ=YEARLY;BYHOUR=1,2,3\r\n"), "not yearly"},
        // Lotus Notes repeats DTSTART's time in the rule: it changes nothing.
        {Zone("RRULE:FREQ=YEARLY;BYMINUTE=0;BYHOUR=2;BYDAY=-1SU;BYMONTH=10\r\n", "16011028T020000"), nullptr},
        {Zone("RRULE:FREQ=YEARLY;BYMINUTE=0;BYHOUR=3;BYDAY=-1SU;BYMONTH=10\r\n", "16011028T020000"), "not yearly"},
        {Zone("RRULE:FREQ=YEARLY;BYMINUTE=30;BYHOUR=2;BYDAY=-1SU;BYMONTH=10\r\n", "16011028T020000"), "not yearly"},
    };
    for (const Case& c : cases) {
        icalcomponent* pZone = icalparser_parse_string(c.text.constData());
        ASSERT_NE(pZone, nullptr);
        QString strWhy;
        EXPECT_EQ(CZoneRuleCheck::Check(pZone, &strWhy), c.pszWhy == nullptr) << c.text.constData();
        if (c.pszWhy != nullptr) {
            EXPECT_TRUE(strWhy.contains(QLatin1String(c.pszWhy))) << strWhy.toStdString();
        }
        icalcomponent_free(pZone);
    }
}

// Many yearly observances from year 1 add up to more changes than any zone has.
TEST(ZoneRuleCheck, RefusesAZoneWithTooManyChanges)
{
    QByteArray text("BEGIN:VTIMEZONE\r\nTZID:Many\r\n");
    for (int i = 0; i < 100; ++i)
        text += "BEGIN:STANDARD\r\nDTSTART:00010101T000000\r\nRRULE:FREQ=YEARLY;BYMONTH=1;BYMONTHDAY=1,2,3,4,5,6,7\r\n"
                "TZOFFSETFROM:+0000\r\nTZOFFSETTO:+0000\r\nEND:STANDARD\r\n";
    text += "END:VTIMEZONE\r\n";
    icalcomponent* pZone = icalparser_parse_string(text.constData());
    ASSERT_NE(pZone, nullptr);
    QString strWhy;
    EXPECT_FALSE(CZoneRuleCheck::Check(pZone, &strWhy));
    EXPECT_TRUE(strWhy.contains(QLatin1String("more than"))) << strWhy.toStdString();
    icalcomponent_free(pZone);
}

}  // namespace
