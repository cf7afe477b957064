#include "calendar/AnniversaryEntry.h"
#include "calendar/AnniversaryFile.h"
#include "calendar/AnniversaryList.h"
#include "calendar/CAnniversaryLines.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "tests/support/PimTestStore.h"
#include <QBuffer>
#include "calendar/LunarCalendar.h"
#include "ical/CAnniversaryEvents.h"
#include <QList>
#include <QString>
#include <gtest/gtest.h>
#include <cstdlib>

namespace {

// The last day of the last lunar year our table holds (lunar 2043-12-29).
constexpr int kLastTableDate = 20440129;
constexpr int kFirstComparedYear = 1900;

int DateNumber(int nYear, int nMonth, int nDay) { return nYear * 10000 + nMonth * 100 + nDay; }

// The dates libical expands the day's exported rule to, from its DTSTART to the end of
// the table (the rule's calendar named by strScale).
QList<int> ExpandedByLibical(const SpecialDay& day, const QString& strScale)
{
    icalcomponent* pEvent = CAnniversaryEvents::EventOf(day, QStringLiteral("u"), kFirstComparedYear);
    QList<int> dates;
    if (pEvent == nullptr)
        return dates;
    const icaltimetype start = icalcomponent_get_dtstart(pEvent);
    QString strRule = CAnniversaryEvents::RuleText(day);
    strRule.replace(QLatin1String(CAnniversaryEvents::kLunarScale), strScale);
    icalrecur_iterator* pIt = icalrecur_iterator_new(icalrecurrencetype_from_string(strRule.toUtf8().constData()), start);
    for (icaltimetype t = icalrecur_iterator_next(pIt); pIt != nullptr && !icaltime_is_null_time(t);
         t = icalrecur_iterator_next(pIt)) {
        if (DateNumber(t.year, t.month, t.day) > kLastTableDate)
            break;
        dates.append(DateNumber(t.year, t.month, t.day));
    }
    icalrecur_iterator_free(pIt);
    icalcomponent_free(pEvent);
    return dates;
}

QList<int> FromOurTable(const SpecialDay& day)
{
    QList<int> dates;
    for (int y = kFirstComparedYear; y <= LunarCalendar::kLastYear; ++y) {
        SolarDate solar;
        if (day.SolarDateOf(y, &solar))
            dates.append(DateNumber(solar.wYear, solar.nMonth, solar.nDay));
    }
    return dates;
}

// "+d" for each date only libical gives, "-d" for each only our table gives.
QString Differences(const QList<int>& libical, const QList<int>& ours)
{
    QString strText;
    for (int d : libical)
        if (!ours.contains(d))
            strText += QStringLiteral(" +%1").arg(d);
    for (int d : ours)
        if (!libical.contains(d))
            strText += QStringLiteral(" -%1").arg(d);
    return strText;
}

QString EventText(const SpecialDay& day)
{
    icalcomponent* pEvent = CAnniversaryEvents::EventOf(day, QStringLiteral("u"));
    char* psz = icalcomponent_as_ical_string_r(pEvent);
    const QString strText = QString::fromUtf8(psz);
    std::free(psz);
    icalcomponent_free(pEvent);
    return strText;
}

}  // namespace

TEST(AnniversaryEvents, RulesAndStartOfEachKindOfDay)
{
    struct Case {
        SpecialDay day;
        const char* pszRule;
        const char* pszStart;
    };
    const Case cases[] = {
        {SpecialDay(0, 3, 1, FALSE, "a", 0), "RRULE:FREQ=YEARLY", "DTSTART;VALUE=DATE:19700301"},
        {SpecialDay(0, 2, 29, FALSE, "a", 0), "RRULE:FREQ=YEARLY", "DTSTART;VALUE=DATE:19720229"},
        {SpecialDay(2009, 5, 16, FALSE, "a", 0), nullptr, "DTSTART;VALUE=DATE:20090516"},
        {SpecialDay(0, 8, 15, TRUE, "a", 0), "RRULE:RSCALE=DANGI;FREQ=YEARLY;BYMONTHDAY=15;BYMONTH=8",
         "DTSTART;VALUE=DATE:19700915"},
        {SpecialDay(0, 7, 1, TRUE, "a", 0, TRUE), "RRULE:RSCALE=DANGI;FREQ=YEARLY;BYMONTHDAY=1;BYMONTH=7L;SKIP=BACKWARD",
         "DTSTART;VALUE=DATE:19700802"},
        {SpecialDay(2006, 7, 1, TRUE, "a", 0, TRUE),
         "RRULE:RSCALE=DANGI;FREQ=YEARLY;COUNT=1;BYMONTHDAY=1;BYMONTH=7L;\r\n SKIP=BACKWARD", "DTSTART;VALUE=DATE:20060824"},
    };
    for (const Case& c : cases) {
        const QString strText = EventText(c.day);
        EXPECT_TRUE(strText.contains(QLatin1String(c.pszStart))) << strText.toStdString();
        if (c.pszRule != nullptr)
            EXPECT_TRUE(strText.contains(QLatin1String(c.pszRule) + QLatin1String("\r\n"))) << strText.toStdString();
        else
            EXPECT_FALSE(strText.contains(QLatin1String("RRULE"))) << strText.toStdString();
    }
}

TEST(AnniversaryEvents, StableUids)
{
    const SpecialDay day(0, 8, 15, TRUE, "Chuseok", 0);
    EXPECT_EQ(CAnniversaryEvents::UidOf(day, 0), CAnniversaryEvents::UidOf(SpecialDay(0, 8, 15, TRUE, "Chuseok", 0xFF), 0));
    EXPECT_NE(CAnniversaryEvents::UidOf(day, 0), CAnniversaryEvents::UidOf(day, 1));
    EXPECT_NE(CAnniversaryEvents::UidOf(day, 0), CAnniversaryEvents::UidOf(SpecialDay(0, 8, 15, FALSE, "Chuseok", 0), 0));
}

namespace {

// The lunar year in which a solar date (YYYYMMDD) lies.
int LunarYearOf(int nDate)
{
    const int nYear = nDate / 10000;
    SolarDate newYear;
    if (!LunarCalendar().LunarToSolar(nYear, 1, 1, FALSE, &newYear))
        return nYear;
    return nDate < DateNumber(newYear.wYear, newYear.nMonth, newYear.nDay) ? nYear - 1 : nYear;
}

bool HasLeapBefore(int nYear, int nMonth)
{
    for (int m = 1; m < nMonth; ++m)
        if (LunarCalendar().HasLeapMonth(nYear, m))
            return true;
    return false;
}

// Where libical (ICU's "dangi" calendar) is known to differ from our table: ICU makes
// the first month of lunar 2017 30 days long (our table, after the Korean astronomy
// institute's calendar, 29); and SKIP=BACKWARD moves a missing leap month to the month
// before it in the year's order, which is an earlier leap month when the year has one,
// instead of the regular month of the same number (RFC 7529).
bool IsKnownDifference(const SpecialDay& day, int nLunarYear)
{
    if (nLunarYear == 2017 && day.nMonth <= 2)
        return true;
    return day.bLeapMonth && !LunarCalendar().HasLeapMonth(nLunarYear, day.nMonth)
        && HasLeapBefore(nLunarYear, day.nMonth);
}

}  // namespace

// Every lunar month, regular and leap, on its first, middle and last days: libical's
// expansion of the exported rule falls on the dates of our table in every year from 1900
// to the end of the table, apart from the known differences; leap months that a year has
// always agree.
TEST(AnniversaryEvents, LibicalExpandsLunarRulesToOurTable)
{
    int nKnown = 0;
    for (const bool bLeap : {false, true}) {
        for (int nMonth = 1; nMonth <= 12; ++nMonth) {
            for (const int nDay : {1, 15, 29, 30}) {
                const SpecialDay day(0, nMonth, nDay, TRUE, "a", 0, bLeap ? TRUE : FALSE);
                const QList<int> libical = ExpandedByLibical(day, QLatin1String(CAnniversaryEvents::kLunarScale));
                const QList<int> ours = FromOurTable(day);
                EXPECT_GT(libical.size(), 50) << CAnniversaryEvents::RuleText(day).toStdString();
                for (const QString& strDate : Differences(libical, ours).split(u' ', Qt::SkipEmptyParts)) {
                    const int nLunarYear = LunarYearOf(strDate.mid(1).toInt());
                    EXPECT_TRUE(IsKnownDifference(day, nLunarYear))
                        << CAnniversaryEvents::RuleText(day).toStdString() << " " << strDate.toStdString();
                    ++nKnown;
                }
            }
        }
    }
    // The differences named above do occur (else this test would check less than it says).
    EXPECT_GT(nKnown, 0);
}

namespace {

const char* const kDayLines[] = {
    "0000-03-01 Solar yearly", "2009-05-16 Solar one year", "0000-02-29 Leap day",
    "L0000-08-15 Lunar yearly", "L0000-07L01 Leap month yearly", "L2006-07L01 Leap month one year",
    "L2024-04-15 Lunar one year", "L0000-12-30 Lunar last day",
};

// The days' lines as a list, exported as the days alone.
QByteArray ExportedDays(const QStringList& lines)
{
    SpecialDayList days;
    for (const QString& strLine : lines)
        days.Add(ParseSpecialDayLine(strLine, 0));
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    CICalExporter exporter(nullptr);
    exporter.SetSpecialDays(&days, true);
    QString strError;
    EXPECT_TRUE(exporter.Export(&buffer, &strError)) << strError.toStdString();
    EXPECT_EQ(exporter.SpecialDays(), lines.size());
    return bytes;
}

}  // namespace

// Export then import into an empty file gives the same lines; a lunar rule goes to the
// special days even without asking, plain all-day events only when asked; another
// calendar's rule stays skipped with its reason.
TEST(AnniversaryEvents, ExportThenImportGivesTheSameLines)
{
    SetTestZoneAndPattern("KST-9", "yy. M. d.");
    QStringList lines;
    for (const char* pszLine : kDayLines)
        lines << QString::fromUtf8(pszLine);
    QByteArray exported = ExportedDays(lines);
    exported.replace("END:VCALENDAR", "BEGIN:VEVENT\r\nUID:hebrew\r\nSUMMARY:h\r\nDTSTART;VALUE=DATE:20240101\r\n"
                                      "RRULE:RSCALE=HEBREW;FREQ=YEARLY;BYMONTH=5;BYMONTHDAY=1\r\nEND:VEVENT\r\nEND:VCALENDAR");
    for (const bool bPlainToo : {true, false}) {
        CTestStore store;
        CICalImporter importer(store.App().GetStore());
        importer.KeepSpecialDays(bPlainToo);
        QString strError;
        ASSERT_TRUE(importer.ImportText(exported, &strError)) << strError.toStdString();
        CAnniversaryLines file;
        ASSERT_TRUE(file.LoadUtf16(QByteArray("\xFF\xFE", 2)));
        const QStringList summary = CAnniversaryEvents::AddToFile(importer.SpecialDays(), &file, QStringLiteral("F"));
        QStringList expected;
        for (const QString& strLine : lines)
            if (bPlainToo || strLine.startsWith(u'L'))
                expected << strLine;
        EXPECT_EQ(file.Lines(), expected) << bPlainToo;
        ASSERT_EQ(summary.size(), expected.size());
        EXPECT_TRUE(summary.front().endsWith(expected.front() + QStringLiteral(" -> F"))) << summary.front().toStdString();
        EXPECT_EQ(importer.Appointments(), bPlainToo ? 0 : 3);
        EXPECT_EQ(importer.SkippedSummary().size(), 1);
        EXPECT_TRUE(importer.SkippedSummary().value(0).startsWith(QStringLiteral("hebrew: ")));
        // The same days imported again are already there.
        const QStringList again = CAnniversaryEvents::AddToFile(importer.SpecialDays(), &file, QStringLiteral("F"));
        EXPECT_EQ(file.Lines(), expected);
        EXPECT_TRUE(again.front().endsWith(QStringLiteral(" already in F"))) << again.front().toStdString();
    }
}
