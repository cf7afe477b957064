// iCalendar files as other programs write them, imported with quillday --import and read
// back as a user sees them (--print-week) and as --export writes them: every case keeps
// what the file says, or says what it could not keep.
#include "tests/support/QuilldayRun.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <vector>

namespace {

const char kStrings[] =
    "RC_COMMON_MONDAY_SHORT=Mon\nRC_COMMON_TUESDAY_SHORT=Tue\nRC_COMMON_WEDNESDAY_SHORT=Wed\n"
    "RC_COMMON_THURSDAY_SHORT=Thu\nRC_COMMON_FRIDAY_SHORT=Fri\nRC_COMMON_SATURDAY_SHORT=Sat\n"
    "RC_COMMON_SUNDAY_SHORT=Sun\nRC_COMMON_FORMAT_TITLE_DATE=MM YYYY\n";

// A weekly meeting at 09:00 New York time on Thursdays, ending with the 21 March
// occurrence (13:00Z is 09:00 EDT), and one without an end.
const char kNewYorkWeekly[] =
    "BEGIN:VEVENT\r\nUID:ny-until@test\r\nDTSTAMP:20240101T000000Z\r\n"
    "DTSTART;TZID=America/New_York:20240104T090000\r\nDTEND;TZID=America/New_York:20240104T093000\r\n"
    "RRULE:FREQ=WEEKLY;UNTIL=20240321T130000Z\r\nSUMMARY:NY until\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:ny@test\r\nDTSTAMP:20240101T000000Z\r\n"
    "DTSTART;TZID=America/New_York:20240104T090000\r\nDURATION:PT1H\r\n"
    "RRULE:FREQ=WEEKLY;BYDAY=TH\r\nSUMMARY:NY weekly\r\nEND:VEVENT\r\n";

struct DayRows {
    const char* pszDay;                   // YYYY-MM-DD
    std::vector<const char*> rows;        // its rows, label and text ("10:00p\tNY weekly")
};

struct Case {
    const char* pszName;
    const char* pszZone;
    const char* pszCalendar;              // components inside one VCALENDAR
    int nImportStatus;
    std::vector<const char*> importLines; // lines the import prints
    const char* pszWeek;                  // --print-week date
    std::vector<DayRows> days;            // days of that week with their exact rows
    std::vector<const char*> exportHas;   // texts the export holds
    const char* pszLocale = nullptr;      // LC_ALL (with the locale's own short date)
    bool bByteOrderMark = false;
};

const Case kCases[] = {
    {"reimport-by-uid", "America/New_York",
     "BEGIN:VEVENT\r\nUID:same@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240305T090000\r\n"
     "DTEND:20240305T100000\r\nSUMMARY:Only once\r\nEND:VEVENT\r\n",
     0, {"1 added, 0 updated, 0 unchanged, 0 skipped.", "Skipped nothing."}, "2024-03-04",
     {{"2024-03-05", {"9:00a\tOnly once"}}}, {"UID:same@test"}},
    {"seoul-new-york-spring", "Asia/Seoul", kNewYorkWeekly, 0, {"2 added"}, "2024-03-04",
     {{"2024-03-07", {"11:00p\tNY until", "11:00p\tNY weekly"}}},
     {"DTSTART;TZID=America/New_York:20240104T090000", "TZID:America/New_York", "BEGIN:VTIMEZONE",
      "RRULE:FREQ=WEEKLY;UNTIL=20240322T035959Z"}},
    {"seoul-new-york-after-change", "Asia/Seoul", kNewYorkWeekly, 0, {"2 added"}, "2024-03-18",
     {{"2024-03-21", {"10:00p\tNY until", "10:00p\tNY weekly"}}}, {}},
    {"seoul-new-york-until-ends", "Asia/Seoul", kNewYorkWeekly, 0, {}, "2024-03-25",
     {{"2024-03-28", {"10:00p\tNY weekly"}}}, {}},
    {"seoul-new-york-autumn", "Asia/Seoul", kNewYorkWeekly, 0, {}, "2024-10-28",
     {{"2024-10-31", {"10:00p\tNY weekly"}}}, {}},
    {"seoul-new-york-winter", "Asia/Seoul", kNewYorkWeekly, 0, {}, "2024-11-04",
     {{"2024-11-07", {"11:00p\tNY weekly"}}}, {}},
    {"berlin-new-york-january", "Europe/Berlin", kNewYorkWeekly, 0, {}, "2024-01-01",
     {{"2024-01-04", {"3:00p\tNY until", "3:00p\tNY weekly"}}}, {}},
    {"berlin-new-york-between-changes", "Europe/Berlin", kNewYorkWeekly, 0, {}, "2024-03-11",
     {{"2024-03-14", {"2:00p\tNY until", "2:00p\tNY weekly"}}}, {}},
    {"berlin-new-york-summer", "Europe/Berlin", kNewYorkWeekly, 0, {}, "2024-04-01",
     {{"2024-04-04", {"3:00p\tNY weekly"}}}, {}},
    {"berlin-new-york-autumn-gap", "Europe/Berlin", kNewYorkWeekly, 0, {}, "2024-10-28",
     {{"2024-10-31", {"2:00p\tNY weekly"}}}, {}},
    {"berlin-new-york-november", "Europe/Berlin", kNewYorkWeekly, 0, {}, "2024-11-04",
     {{"2024-11-07", {"3:00p\tNY weekly"}}}, {}},
    {"berlin-utc-series", "Europe/Berlin",
     "BEGIN:VEVENT\r\nUID:utc@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240320T090000Z\r\n"
     "DTEND:20240320T100000Z\r\nRRULE:FREQ=WEEKLY\r\nSUMMARY:UTC weekly\r\nEND:VEVENT\r\n",
     0, {}, "2024-04-01", {{"2024-04-03", {"11:00a\tUTC weekly"}}},
     {"DTSTART:20240320T090000Z", "DTEND:20240320T100000Z"}},
    // A zone the file defines under a name of its own keeps its series in the database
    // zone with the same offsets: 4:00a in New York between the two countries' changes.
    // A Berlin night shift whose first night is the one of the change to summer time (seven
    // hours long), kept in Seoul, which has no such change: its end stays 06:00 Berlin time.
    {"zoned-end-across-offset-change", "Asia/Seoul",
     "BEGIN:VEVENT\r\nUID:night@test\r\nDTSTAMP:20240101T000000Z\r\n"
     "DTSTART;TZID=Europe/Berlin:20240330T220000\r\nDTEND;TZID=Europe/Berlin:20240331T060000\r\n"
     "RRULE:FREQ=WEEKLY\r\nSUMMARY:Night shift\r\nEND:VEVENT\r\n",
     0, {"1 added, 0 updated, 0 unchanged, 0 skipped."}, "2024-03-25", {{"2024-03-31", {"6:00a\tNight shift"}}},
     {"DTSTART;TZID=Europe/Berlin:20240330T220000\r\nDTEND;TZID=Europe/Berlin:20240331T060000\r\n"}},
    {"file-only-zone", "America/New_York",
     "BEGIN:VTIMEZONE\r\nTZID:Customized Berlin Time\r\n"
     "BEGIN:STANDARD\r\nDTSTART:16010101T030000\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\n"
     "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=10\r\nEND:STANDARD\r\n"
     "BEGIN:DAYLIGHT\r\nDTSTART:16010101T020000\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\n"
     "RRULE:FREQ=YEARLY;BYDAY=-1SU;BYMONTH=3\r\nEND:DAYLIGHT\r\nEND:VTIMEZONE\r\n"
     "BEGIN:VEVENT\r\nUID:custom@test\r\nDTSTAMP:20240101T000000Z\r\n"
     "DTSTART;TZID=Customized Berlin Time:20240104T090000\r\nDTEND;TZID=Customized Berlin Time:20240104T100000\r\n"
     "RRULE:FREQ=WEEKLY\r\nSUMMARY:Custom zone\r\nEND:VEVENT\r\n",
     0, {"1 added, 0 updated, 0 unchanged, 0 skipped."}, "2024-03-18", {{"2024-03-21", {"4:00a\tCustom zone"}}},
     {"DTSTART;TZID=Europe/Berlin:20240104T090000", "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\n"}},
    {"floating-stays-floating", "Europe/Berlin",
     "BEGIN:VEVENT\r\nUID:float@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240320T090000\r\n"
     "DTEND:20240320T100000\r\nRRULE:FREQ=WEEKLY\r\nSUMMARY:Floating weekly\r\nEND:VEVENT\r\n",
     0, {}, "2024-04-01", {{"2024-04-03", {"9:00a\tFloating weekly"}}},
     {"DTSTART:20240320T090000\r\n"}},
    {"arabic-digits", "Africa/Cairo",
     "BEGIN:VEVENT\r\nUID:eg@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240305T090000\r\n"
     "DTEND:20240305T100000\r\nSUMMARY:Cairo\r\nEND:VEVENT\r\n",
     0, {}, "2024-03-04", {{"2024-03-05", {"9:00a\tCairo"}}}, {}, "ar_EG.UTF-8"},
    {"persian-digits", "Asia/Tehran",
     "BEGIN:VTODO\r\nUID:ir@test\r\nDTSTAMP:20240101T000000Z\r\nDUE;VALUE=DATE:20240306\r\n"
     "SUMMARY:Tehran\r\nEND:VTODO\r\n",
     0, {}, "2024-03-04", {{"2024-03-06", {"(T1)\tTehran"}}}, {}, "fa_IR.UTF-8"},
    {"myanmar-digits-two-digit-year", "Asia/Yangon",
     "BEGIN:VEVENT\r\nUID:mm@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240305T090000\r\n"
     "DTEND:20240305T100000\r\nSUMMARY:Yangon\r\nEND:VEVENT\r\n",
     0, {}, "2024-03-04", {{"2024-03-05", {"9:00a\tYangon"}}}, {}, "my_MM.UTF-8"},
    {"bengali-2070", "Asia/Dhaka",
     "BEGIN:VEVENT\r\nUID:bd@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20700107T090000\r\n"
     "DTEND:20700107T100000\r\nSUMMARY:Dhaka\r\nEND:VEVENT\r\n",
     0, {}, "2070-01-06", {{"2070-01-07", {"9:00a\tDhaka"}}}, {}, "bn_BD.UTF-8"},
    {"us-last-week", "America/New_York",
     "BEGIN:VEVENT\r\nUID:late@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:21051231T090000\r\n"
     "DTEND:21051231T100000\r\nSUMMARY:Late\r\nEND:VEVENT\r\n",
     0, {}, "2105-12-31", {{"2105-12-31", {"9:00a\tLate"}}}, {}, "en_US.UTF-8"},
    {"korean-2075", "Asia/Seoul",
     "BEGIN:VEVENT\r\nUID:kr@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20750107T090000\r\n"
     "DTEND:20750107T100000\r\nSUMMARY:Seoul\r\nEND:VEVENT\r\n",
     0, {}, "2075-01-07", {{"2075-01-07", {"9:00a\tSeoul"}}}, {}, "ko_KR.UTF-8"},
    {"cancelled", "America/New_York",
     "BEGIN:VEVENT\r\nUID:daily@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240304T090000\r\n"
     "DTEND:20240304T100000\r\nRRULE:FREQ=DAILY;COUNT=5\r\nSUMMARY:Daily\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:daily@test\r\nDTSTAMP:20240101T000000Z\r\nRECURRENCE-ID:20240306T090000\r\n"
     "DTSTART:20240306T090000\r\nDTEND:20240306T100000\r\nSTATUS:CANCELLED\r\nSUMMARY:Daily\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:gone@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240305T120000\r\n"
     "DTEND:20240305T130000\r\nSTATUS:CANCELLED\r\nSUMMARY:Called off\r\nEND:VEVENT\r\n"
     "BEGIN:VTODO\r\nUID:notodo@test\r\nDTSTAMP:20240101T000000Z\r\nDUE;VALUE=DATE:20240305\r\n"
     "STATUS:CANCELLED\r\nSUMMARY:Dropped task\r\nEND:VTODO\r\n",
     1, {"1 added, 0 updated, 0 unchanged, 2 skipped.", "Skipped gone@test: cancelled event",
         "Skipped notodo@test: cancelled to-do"},
     "2024-03-04",
     {{"2024-03-05", {"9:00a\tDaily"}}, {"2024-03-06", {"(NULL)\t"}}, {"2024-03-07", {"9:00a\tDaily"}}},
     {"EXDATE:20240306T090000"}},
    {"rules-held-exactly-or-skipped", "America/New_York",
     "BEGIN:VEVENT\r\nUID:twoweekdays@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240311T090000\r\n"
     "DTEND:20240311T100000\r\nRRULE:FREQ=MONTHLY;BYDAY=2MO,2TU\r\nEXDATE:20240409T090000\r\n"
     "SUMMARY:Second Mon and Tue\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:twoweekdays@test\r\nDTSTAMP:20240101T000000Z\r\nRECURRENCE-ID:20240513T090000\r\n"
     "DTSTART:20240513T110000\r\nDTEND:20240513T120000\r\nSUMMARY:Moved Monday\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:twocount@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240311T090000\r\n"
     "DTEND:20240311T100000\r\nRRULE:FREQ=MONTHLY;COUNT=4;BYDAY=2MO,2TU\r\nSUMMARY:Counted\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:fifteenth@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240115T080000\r\n"
     "DTEND:20240115T083000\r\nRRULE:FREQ=YEARLY;BYMONTHDAY=15\r\nSUMMARY:Fifteenth\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:setpos@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240311T090000\r\n"
     "DTEND:20240311T100000\r\nRRULE:FREQ=WEEKLY;BYDAY=MO,TU;BYSETPOS=1\r\nSUMMARY:Set pos\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:badrule@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240311T090000\r\n"
     "DTEND:20240311T100000\r\nRRULE:FREQ=WEEKLY;BYDAY=XX\r\nSUMMARY:Bad rule\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:exrule@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240311T090000\r\n"
     "DTEND:20240311T100000\r\nRRULE:FREQ=DAILY\r\nEXRULE:FREQ=WEEKLY;BYDAY=TU\r\nSUMMARY:Ex rule\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:exdate@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240311T070000\r\n"
     "DTEND:20240311T073000\r\nRRULE:FREQ=DAILY;COUNT=3\r\nEXDATE;VALUE=DATE:20240312\r\nSUMMARY:Early\r\n"
     "END:VEVENT\r\n",
     1, {"4 added, 0 updated, 0 unchanged, 4 skipped.",
         "Skipped twocount@test: recurrence rule the store cannot hold exactly (FREQ=MONTHLY;COUNT=4;BYDAY=2MO,2TU)",
         "Skipped setpos@test: recurrence rule the store cannot hold exactly (FREQ=WEEKLY;BYDAY=MO,TU;BYSETPOS=1)",
         "Skipped badrule@test: unreadable RRULE", "Skipped exrule@test: EXRULE"},
     "2024-03-11",
     {{"2024-03-11", {"7:00a\tEarly", "9:00a\tSecond Mon and Tue"}}, {"2024-03-12", {"9:00a\tSecond Mon and Tue"}},
      {"2024-03-13", {"7:00a\tEarly"}}, {"2024-03-15", {"8:00a\tFifteenth"}}},
     {"RRULE:FREQ=MONTHLY;BYMONTHDAY=15", "EXDATE:20240312T070000",
      // two ordinal weekdays: one series for each, the exclusion and the change with theirs
      "UID:twoweekdays@test/2MO\r\n", "RRULE:FREQ=MONTHLY;BYDAY=2TU\r\nEXDATE:20240409T090000\r\n",
      "UID:twoweekdays@test/2MO\r\nDTSTAMP:20240101T000000Z\r\nSUMMARY:Moved Monday\r\nRECURRENCE-ID:20240513T090000"}},
    {"recurring-todo-overrides", "America/New_York",
     "BEGIN:VTODO\r\nUID:chore@test\r\nDTSTAMP:20240101T000000Z\r\nDUE;VALUE=DATE:20240304\r\n"
     "RRULE:FREQ=DAILY;COUNT=6\r\nEXDATE;VALUE=DATE:20240305\r\nSUMMARY:Chore\r\nEND:VTODO\r\n"
     "BEGIN:VTODO\r\nUID:chore@test\r\nDTSTAMP:20240101T000000Z\r\nRECURRENCE-ID;VALUE=DATE:20240304\r\n"
     "DUE;VALUE=DATE:20240304\r\nSTATUS:COMPLETED\r\nCOMPLETED:20240304T150000Z\r\nSUMMARY:Chore done\r\n"
     "END:VTODO\r\n",
     0, {"2 added, 0 updated, 0 unchanged, 0 skipped."}, "2024-03-04",
     {{"2024-03-06", {"(T1)\tChore"}}},
     {"UID:chore@test\r\n", "UID:chore@test/2024-03-04\r\n"}},
    {"byte-order-mark", "America/New_York",
     "BEGIN:VEVENT\r\nUID:bom@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240305T090000\r\n"
     "DTEND:20240305T100000\r\nSUMMARY:After a BOM\r\nEND:VEVENT\r\n",
     0, {"1 added"}, "2024-03-04", {{"2024-03-05", {"9:00a\tAfter a BOM"}}}, {}, nullptr, true},
    {"losses-are-said", "America/New_York",
     "BEGIN:VEVENT\r\nUID:nowhere@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART;TZID=Nowhere/Atlantis:20240305T090000\r\n"
     "DTEND;TZID=Nowhere/Atlantis:20240305T100000\r\nSUMMARY:Atlantis\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:rich@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240306T090000\r\n"
     "DTEND:20240306T100000\r\nSUMMARY:Rich\r\nATTENDEE:mailto:a@example.com\r\nATTENDEE:mailto:b@example.com\r\n"
     "CATEGORIES:Work\r\nURL:http://example.com/\r\n"
     "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT10M\r\nDESCRIPTION:a\r\nEND:VALARM\r\n"
     "BEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-PT5M\r\nDESCRIPTION:b\r\nEND:VALARM\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:weekly@test\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240304T120000\r\n"
     "DTEND:20240304T130000\r\nRRULE:FREQ=WEEKLY\r\nSUMMARY:Lunch\r\nEND:VEVENT\r\n"
     "BEGIN:VEVENT\r\nUID:weekly@test\r\nDTSTAMP:20240101T000000Z\r\nRECURRENCE-ID:20240305T120000\r\n"
     "DTSTART:20240307T120000\r\nDTEND:20240307T130000\r\nSUMMARY:Stray lunch\r\nEND:VEVENT\r\n",
     1, {"Skipped nowhere@test: time zone Nowhere/Atlantis is neither defined in the file nor known here",
         "Skipped weekly@test: changed occurrence: RECURRENCE-ID matches no occurrence of its series",
         "Dropped ATTENDEE: 2", "Dropped CATEGORIES: 1", "Dropped URL: 1", "Dropped VALARM (all but the first): 1"},
     "2024-03-04",
     {{"2024-03-04", {"12:00p\tLunch"}}, {"2024-03-05", {"(NULL)\t"}}, {"2024-03-06", {"9:00a\tRich"}},
      {"2024-03-07", {"(NULL)\t"}}},
     {}},
};

void PrintTo(const Case& c, std::ostream* pOut)
{
    *pOut << c.pszName;
}

class ICalCases : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override
    {
        if (!HaveQuilldayBinary())
            GTEST_SKIP() << "QUILLDAY_BIN is not set";
        Write("orlith.inf", kStrings);
        Write("anniversary.dat", "# none\n");
    }

    void Write(const QString& strName, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(strName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    QByteArray Read(const QString& strName)
    {
        QFile file(m_dir.filePath(strName));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    int Run(const QStringList& args, const Case& c, const QString& strStore = QStringLiteral("pim.sqlite"))
    {
        QProcessEnvironment env = QuilldayEnvironment(c.pszZone, "2024-03-06T10:00:00", c.pszLocale ? nullptr : "M/d/yy");
        if (c.pszLocale) {  // with the locale's own short date
            env.insert("LC_ALL", c.pszLocale);
            env.insert("LANG", c.pszLocale);
        }
        const QuilldayRun run = RunQuillday(args, m_dir.path(), m_dir.filePath(strStore), env);
        m_out = run.strOut;
        m_err = run.strErr;
        return run.nExitCode;
    }

    // The rows printed under one day of --print-week, without their indent.
    QStringList RowsOf(const QString& strWeek, const char* pszDay) const
    {
        QStringList rows;
        bool bIn = false;
        for (const QString& strLine : strWeek.split(u'\n')) {
            if (!strLine.startsWith(u' ')) {
                bIn = strLine.startsWith(QLatin1String(pszDay));
                continue;
            }
            if (bIn) {
                // Label and text only: the extra columns (icons, long label) vary by row.
                const QStringList cells = strLine.trimmed().split(u'\t');
                rows << cells.value(0) + u'\t' + cells.value(1);
            }
        }
        return rows;
    }

    QTemporaryDir m_dir;
    QString m_out;
    QString m_err;
};

QByteArray Calendar(const Case& c)
{
    return QByteArray(c.bByteOrderMark ? "\xEF\xBB\xBF" : "") + "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
         + c.pszCalendar + "END:VCALENDAR\r\n";
}

TEST_P(ICalCases, ImportShowsAndExportsWhatTheFileSays)
{
    const Case& c = GetParam();
    Write("in.ics", Calendar(c));
    ASSERT_EQ(Run({"--import", m_dir.filePath("in.ics")}, c), c.nImportStatus) << m_out.toStdString() << m_err.toStdString();
    for (const char* pszLine : c.importLines)
        EXPECT_TRUE(m_out.contains(QString::fromUtf8(pszLine))) << pszLine << "\n" << m_out.toStdString();
    ASSERT_EQ(Run({"--print-week", c.pszWeek}, c), 0) << m_err.toStdString();
    const QString strWeek = m_out;
    for (const DayRows& day : c.days) {
        QStringList expected;
        for (const char* pszRow : day.rows)
            expected << QString::fromUtf8(pszRow);
        EXPECT_EQ(RowsOf(strWeek, day.pszDay).join(u'\n').toStdString(), expected.join(u'\n').toStdString())
            << day.pszDay << "\n" << strWeek.toStdString();
    }
    ASSERT_EQ(Run({"--export", m_dir.filePath("out.ics")}, c), 0) << m_err.toStdString();
    const QByteArray exported = Read("out.ics");
    for (const char* pszText : c.exportHas)
        EXPECT_TRUE(exported.contains(pszText)) << pszText << "\n" << exported.constData();

    // The same file again, and the export, change nothing; the export read into a new
    // store exports byte for byte the same.
    EXPECT_EQ(Run({"--import", m_dir.filePath("in.ics")}, c), c.nImportStatus) << m_out.toStdString();
    EXPECT_TRUE(m_out.contains(QRegularExpression("\\n0 added, 0 updated, \\d+ unchanged"))) << m_out.toStdString();
    EXPECT_EQ(Run({"--import", m_dir.filePath("out.ics")}, c), 0) << m_out.toStdString();
    EXPECT_TRUE(m_out.contains(QRegularExpression("\\n0 added, 0 updated, \\d+ unchanged, 0 skipped"))) << m_out.toStdString();
    ASSERT_EQ(Run({"--import", m_dir.filePath("out.ics")}, c, "second.sqlite"), 0) << m_out.toStdString();
    ASSERT_EQ(Run({"--export", m_dir.filePath("again.ics")}, c, "second.sqlite"), 0) << m_err.toStdString();
    EXPECT_EQ(QString::fromUtf8(Read("again.ics")).toStdString(), QString::fromUtf8(exported).toStdString());
    ASSERT_EQ(Run({"--print-week", c.pszWeek}, c, "second.sqlite"), 0) << m_err.toStdString();
    EXPECT_EQ(m_out.toStdString(), strWeek.toStdString());
}

INSTANTIATE_TEST_SUITE_P(Files, ICalCases, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<Case>& info) {
                             return QString::fromLatin1(info.param.pszName).replace(u'-', u'_').toStdString();
                         });

}  // namespace
