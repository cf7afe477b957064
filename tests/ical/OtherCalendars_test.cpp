// Calendars as other programs write them: zones by their own definitions or by names the
// system's zone database links, a UID given twice, values the store keeps otherwise, week
// starts, items without UIDs, single events in zones, and the older vCalendar format.
#include "tests/ical/ImportExportText.h"
#include "tests/support/PimTestStore.h"
#include "pim/CPimStore.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTimeZone>
#include <ctime>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

const char kPattern[] = "M/d/yy";

class OtherCalendars : public ::testing::Test {
protected:
    void SetUp() override { SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", kPattern); }
};

QByteArray Fixture(const char* pszName)
{
    QFile file(QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("fixtures/exchange/") + pszName));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << pszName;
    return file.readAll();
}

// "YYYY-MM-DD HH:MM <subject>" of every appointment occurrence of the week from that Monday.
QString Week(CTestStore& store, int nYear, int nMonth, int nDay)
{
    QStringList lines;
    for (const auto& [nOid, dtStart] : store.FindAppts(WeekApptRestriction(QLatin1String(kPattern), nYear, nMonth, nDay))) {
        QString strSubject;
        store.Item<IAppointment>(nOid)->get_Subject(&strSubject);
        lines << DateText(dtStart) + u' ' + strSubject;
    }
    return lines.join(u'\n');
}

// One line per stored item (not exceptions), in the order they were added.
QString Rows(CTestStore& store, const char* pszExpression)
{
    sqlite3_stmt* pStmt = nullptr;
    const QByteArray sql = QByteArray("SELECT ") + pszExpression + " FROM items WHERE series IS NULL ORDER BY oid";
    EXPECT_EQ(sqlite3_prepare_v2(store.App().GetStore()->Db(), sql.constData(), -1, &pStmt, nullptr), SQLITE_OK);
    QStringList rows;
    while (sqlite3_step(pStmt) == SQLITE_ROW)
        rows << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(pStmt, 0)));
    sqlite3_finalize(pStmt);
    return rows.join(u'\n');
}

struct ExchangeCase {
    const char* pszFile;
    const char* pszSaid;      // lines the import says, separated by '|'
    int nYear, nMonth, nDay;  // the Monday of the week looked at
    const char* pszWeek;      // what that week holds afterwards
    const char* pszRowsOf;    // an expression over each stored item
    const char* pszRows;      // its values
    const char* pszAgain;     // what the same file imported again says
    const char* pszExported;  // lines the export holds, separated by '|'
};

TEST_F(OtherCalendars, FilesOfOtherProgramsAreHeldAtTheirInstantsAndEveryChangeIsSaid)
{
    const ExchangeCase cases[] = {
        // The file's own definition of a zone the database links: the linked zone, equal
        // to it at every change (not a zone equal at noon, which ends summer time earlier).
        {"kiev-own-zone.ics", "1 added, 0 updated, 0 unchanged, 0 skipped.", 2017, 10, 23,
         "2017-10-28 18:30 Kiev Sunday", "uid||' '||tzid", "kiev-sunday@test Europe/Kyiv",
         "0 added, 0 updated, 1 unchanged, 0 skipped.", "DTSTART;TZID=Europe/Kyiv:20171001T013000"},
        // Zones equal in every change of the years used: the one the TZID names, not the
        // first by name that is equal at noon (Asia/Beirut, Asia/Colombo).
        {"named-own-zones.ics", "2 added, 0 updated, 0 unchanged, 0 skipped.", 2024, 3, 25,
         "2024-03-24 23:30 Calcutta\n2024-03-25 23:30 Calcutta\n2024-03-30 19:30 EET Sunday", "uid||' '||tzid",
         "eet@test EET\ncalcutta@test Asia/Kolkata", "0 added, 0 updated, 2 unchanged, 0 skipped.",
         "DTSTART;TZID=EET:20240324T013000|DTSTART;TZID=Asia/Kolkata:20240325T090000"},
        {"zone-aliases.ics", "5 added, 0 updated, 0 unchanged, 0 skipped.", 2024, 3, 4,
         "2024-03-04 22:30 Calcutta\n2024-03-05 10:00 Central\n2024-03-05 12:00 Pacific\n"
         "2024-03-06 02:00 Kiev\n2024-03-06 09:00 EST5EDT\n2024-03-06 10:00 Central",
         "uid||' '||tzid",
         "calcutta@test Asia/Kolkata\ncentral@test America/Chicago\npacific@test America/Los_Angeles\n"
         "est5edt@test EST5EDT\nkiev@test Europe/Kyiv",
         "0 added, 0 updated, 5 unchanged, 0 skipped.", "DTSTART;TZID=America/Chicago:20240305T090000"},
        // Lotus Notes repeats the change's hour in its zone's rules.
        {"lotus-zone.ics", "1 added, 0 updated, 0 unchanged, 0 skipped.", 2024, 3, 11, "2024-03-12 09:00 Lotus",
         "uid||' '||(tzid<>'')||' '||rec_type", "lotus@test 1 1", "0 added, 0 updated, 1 unchanged, 0 skipped.",
         "RRULE:FREQ=WEEKLY"},
        // No database zone has these offsets: the series is skipped with the reason; a
        // single event keeps its instant in local time.
        {"unmatched-zone.ics",
         "1 added, 0 updated, 0 unchanged, 1 skipped.|Skipped island-series@test: series in time zone Island Time: no "
         "zone of this system's database has the offsets that the file gives time zone Island Time in every year "
         "2024..2024",
         2024, 3, 4, "2024-03-06 04:43 Island once", "uid||' '||tzid", "island-once@test ",
         "0 added, 0 updated, 1 unchanged, 1 skipped.", "DTSTART:20240306T044300"},
        {"duplicate-uid.ics",
         "2 added, 0 updated, 0 unchanged, 0 skipped.|Kept twice@test as twice@test#2: an earlier item of the file "
         "has that UID",
         2024, 3, 4, "2024-03-05 09:00 First\n2024-03-06 09:00 Second", "uid", "twice@test\ntwice@test#2",
         "0 added, 0 updated, 2 unchanged, 0 skipped.", "UID:twice@test#2"},
        {"changed-values.ics",
         "4 added, 0 updated, 0 unchanged, 0 skipped.|Dropped COMPLETED time of day (its date kept): 1|"
         "Dropped DTEND before DTSTART (taken as DTSTART): 1|Dropped DUE time of day of a to-do (its date kept): 1|"
         "Dropped PERCENT-COMPLETE between 0 and 100 (the store keeps done or not): 1|"
         "Dropped PRIORITY other than 1, 5 or 9 (taken as the nearest: high 1, normal 5, low 9): 2|"
         "Dropped seconds of DTSTART (the store keeps whole minutes): 1",
         2024, 3, 4, "2024-03-05 09:00 Seconds\n2024-03-06 11:00 Backwards",
         "subject||' '||importance||' '||complete||' '||location",
         "Seconds 1 0 \nBackwards 1 0 \nProgress 2 0 \nDone 0 1 ",
         "0 added, 0 updated, 4 unchanged, 0 skipped.", "PRIORITY:1|PRIORITY:9"},
        {"week-start.ics",
         "1 added, 0 updated, 0 unchanged, 1 skipped.|Skipped differs@test: recurrence rule whose WKST changes which "
         "weeks its INTERVAL counts; the store counts weeks from Monday",
         2024, 3, 18, "2024-03-20 09:00 Every other Wednesday", "uid||' '||rec_interval", "same@test 2",
         "0 added, 0 updated, 1 unchanged, 1 skipped.", "RRULE:FREQ=WEEKLY;INTERVAL=2;BYDAY=WE"},
        {"no-uid.ics", "3 added, 0 updated, 0 unchanged, 0 skipped.", 2024, 3, 4,
         "2024-03-05 09:00 Without UID\n2024-03-05 09:00 Without UID",
         "subject||' '||(uid LIKE '%@derived.quillday%')", "Without UID 1\nTask without UID 1\nWithout UID 1",
         "0 added, 0 updated, 3 unchanged, 0 skipped.", "SUMMARY:Task without UID"},
        {"single-zoned.ics", "2 added, 0 updated, 0 unchanged, 0 skipped.", 2024, 3, 4,
         "2024-03-05 03:00 Berlin\n2024-03-05 10:00 UTC", "uid||' '||tzid", "berlin@test Europe/Berlin\nutc@test UTC",
         "0 added, 0 updated, 2 unchanged, 0 skipped.",
         "DTSTART;TZID=Europe/Berlin:20240305T090000|DTSTART:20240305T150000Z|TZID:Europe/Berlin"},
        {"vcalendar-1.vcs", "this is a vCalendar 1.0 file, which is not read", 2024, 3, 4, "", "uid", "",
         "this is a vCalendar 1.0 file, which is not read", ""},
    };
    for (const ExchangeCase& c : cases) {
        SCOPED_TRACE(c.pszFile);
        CTestStore store;
        ASSERT_TRUE(store.IsOpen());
        const QByteArray text = Fixture(c.pszFile);
        const QString strSaid = ImportSaying(store, text);
        for (const QString& strLine : QString::fromUtf8(c.pszSaid).split(u'|'))
            EXPECT_TRUE(strSaid.contains(strLine)) << strSaid.toStdString() << "\nlacks: " << strLine.toStdString();
        EXPECT_FALSE(strSaid.contains(QLatin1String("unreadable"))) << strSaid.toStdString();
        EXPECT_EQ(Week(store, c.nYear, c.nMonth, c.nDay).toStdString(), c.pszWeek);
        EXPECT_EQ(Rows(store, c.pszRowsOf).toStdString(), c.pszRows);
        const QByteArray exported = ExportAll(store);
        for (const QByteArray& line : QByteArray(c.pszExported).split('|'))
            EXPECT_TRUE(exported.contains(line)) << exported.constData() << "\nlacks: " << line.constData();
        EXPECT_TRUE(ImportSaying(store, text).startsWith(QLatin1String(c.pszAgain))) << ImportSaying(store, text).toStdString();
        // Our own export of it reads back as what the store holds.
        if (!exported.contains("BEGIN:VEVENT") && !exported.contains("BEGIN:VTODO"))
            continue;
        const QString strBack = ImportSaying(store, exported);
        EXPECT_TRUE(strBack.startsWith(QLatin1String("0 added, 0 updated, "))) << strBack.toStdString();
        EXPECT_EQ(Rows(store, c.pszRowsOf).toStdString(), c.pszRows);
    }
}

// One zone of a name of its own, with series in forty years: each is matched to the same
// database zone, as many years as there are (no limit of look-ups skips the later ones).
TEST_F(OtherCalendars, SeriesOfFortyYearsInAZoneOfItsOwnNameAllKeepTheirZone)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillday tests//forty years//EN\r\n"
                      "BEGIN:VTIMEZONE\r\nTZID:Customized Time Zone\r\n"
                      "BEGIN:STANDARD\r\nDTSTART:16011028T030000\r\nRRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\n"
                      "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\n"
                      "BEGIN:DAYLIGHT\r\nDTSTART:16010325T020000\r\nRRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\r\n"
                      "TZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n";
    for (int nYear = 1996; nYear < 2036; ++nYear)
        text += QStringLiteral("BEGIN:VEVENT\r\nUID:year-%1@test\r\nDTSTART;TZID=Customized Time Zone:%2\r\n"
                               "DURATION:PT1H\r\nRRULE:FREQ=WEEKLY;COUNT=3\r\nSUMMARY:%1\r\nEND:VEVENT\r\n")
                    .arg(nYear)
                    .arg(QStringLiteral("%1").arg(nYear) + QStringLiteral("0601T090000"))
                    .toLatin1();
    text += "END:VCALENDAR\r\n";
    CTestStore store;
    ASSERT_TRUE(store.IsOpen());
    EXPECT_EQ(ImportSaying(store, text).toStdString(), "40 added, 0 updated, 0 unchanged, 0 skipped.");
    EXPECT_EQ(Rows(store, "count(DISTINCT tzid)||' '||min(tzid<>'')").toStdString(), "1 1");
    // 1 June 09:00 in Central European summer time is 03:00 in New York.
    EXPECT_EQ(Week(store, 2035, 5, 28).toStdString(), "2035-06-01 03:00 2035");
}

// The local wall time of an instant, as the C library reads TZ: "YYYY-MM-DD HH:MM".
QString LocalText(int64_t nUtc)
{
    const time_t t = static_cast<time_t>(nUtc);
    struct tm local = {};
    localtime_r(&t, &local);
    char sz[32];
    std::strftime(sz, sizeof sz, "%Y-%m-%d %H:%M", &local);
    return QString::fromLatin1(sz);
}

// A daily 09:00 series in a zone the file defines under its Windows name, over 2023 and
// 2024: every occurrence, those around the changes of both zones in both years included,
// is shown at the local time of the instant the system's zone database gives 09:00 in
// Berlin that day.
TEST_F(OtherCalendars, AZonedSeriesFollowsTheZoneDatabaseAcrossEveryChangeOfTwoYears)
{
    CTestStore store;
    ASSERT_TRUE(store.IsOpen());
    EXPECT_EQ(ImportSaying(store, Fixture("outlook-two-years.ics")).toStdString(), "1 added, 0 updated, 0 unchanged, 0 skipped.");
    EXPECT_EQ(Rows(store, "tzid").toStdString(), "Europe/Berlin");
    const QTimeZone berlin("Europe/Berlin");
    ASSERT_TRUE(berlin.isValid());
    QStringList expected;
    for (QDate d(2023, 1, 1); d <= QDate(2024, 12, 31); d = d.addDays(1))
        expected << LocalText(QDateTime(d, QTime(9, 0), berlin).toSecsSinceEpoch());
    QStringList shown;
    for (const auto& [nOid, dtStart] : store.FindAppts(QStringLiteral("[Start] >= 12/31/22 00:00 AND [Start] <= 1/1/25 23:59")))
        shown << DateText(dtStart);
    ASSERT_EQ(shown.size(), expected.size());
    // Both years' changes of Berlin and of the local zone lie between their samples.
    for (const char* pszDay : {"2023-03-12", "2023-03-26", "2023-10-29", "2023-11-05",
                               "2024-03-10", "2024-03-31", "2024-10-27", "2024-11-03"})
        EXPECT_TRUE(shown.filter(QLatin1String(pszDay)).size() == 1) << pszDay;
    EXPECT_EQ(shown, expected);
}

}  // namespace
