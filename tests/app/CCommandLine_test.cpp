#include "app/CCommandLine.h"

#include <gtest/gtest.h>

namespace {

CCommandLine Parsed(const QStringList& args)
{
    CCommandLine cmd;
    EXPECT_TRUE(cmd.Parse(args)) << args.join(QLatin1Char(' ')).toStdString() << ": " << cmd.m_strError.toStdString();
    return cmd;
}

TEST(CCommandLine, NoArgumentsOpenTheWindow)
{
    const CCommandLine cmd = Parsed({});
    EXPECT_EQ(cmd.m_mode, QuilldayMode::Gui);
    EXPECT_TRUE(cmd.m_strHome.isEmpty());
    EXPECT_EQ(cmd.m_nScale, 0);
}

TEST(CCommandLine, PrintWeekWithAndWithoutDate)
{
    CCommandLine cmd = Parsed({"--print-week"});
    EXPECT_EQ(cmd.m_mode, QuilldayMode::PrintWeek);
    EXPECT_TRUE(cmd.m_strDate.isEmpty());
    cmd = Parsed({"--print-week", "2007-02-18", "--json"});
    EXPECT_EQ(cmd.m_strDate, QStringLiteral("2007-02-18"));
    EXPECT_TRUE(cmd.m_bJson);
    cmd = Parsed({"--json", "--print-week=2008-02-29", "--home", "/data"});
    EXPECT_EQ(cmd.m_strDate, QStringLiteral("2008-02-29"));
    EXPECT_EQ(cmd.m_strHome, QStringLiteral("/data"));
}

TEST(CCommandLine, ScreenshotWithDateAndSize)
{
    const CCommandLine cmd = Parsed({"--screenshot", "out.png", "--date", "2024-01-31", "--size", "240x320"});
    EXPECT_EQ(cmd.m_mode, QuilldayMode::Screenshot);
    EXPECT_EQ(cmd.m_strFile, QStringLiteral("out.png"));
    EXPECT_EQ(cmd.m_strDate, QStringLiteral("2024-01-31"));
    EXPECT_EQ(cmd.m_nWidth, 240);
    EXPECT_EQ(cmd.m_nHeight, 320);
    const CCommandLine largest = Parsed({"--screenshot", "out.png", "--size", "8192x8192"});
    EXPECT_EQ(largest.m_nWidth, 8192);
    EXPECT_EQ(largest.m_nHeight, 8192);
}

TEST(CCommandLine, ImportExportAndPaths)
{
    CCommandLine cmd = Parsed({"--import", "a.ics", "--store", "s.sqlite", "--registry", "r.reg", "--scale", "2"});
    EXPECT_EQ(cmd.m_mode, QuilldayMode::Import);
    EXPECT_EQ(cmd.m_strFile, QStringLiteral("a.ics"));
    EXPECT_EQ(cmd.m_strStore, QStringLiteral("s.sqlite"));
    EXPECT_EQ(cmd.m_strRegistry, QStringLiteral("r.reg"));
    EXPECT_EQ(cmd.m_nScale, 2);
    cmd = Parsed({"--export=b.ics"});
    EXPECT_EQ(cmd.m_mode, QuilldayMode::Export);
    EXPECT_EQ(cmd.m_strFile, QStringLiteral("b.ics"));
}

TEST(CCommandLine, AccountsAndSync)
{
    const QString strSha256 = QStringLiteral("AB:").repeated(31) + QStringLiteral("CD");
    CCommandLine cmd = Parsed({"--add-account", "https://dav.example/", "--user", "jo", "--password-file=pw",
                               "--calendar", "/jo/work/", "--fingerprint", strSha256});
    EXPECT_EQ(cmd.m_mode, QuilldayMode::AddAccount);
    EXPECT_EQ(cmd.m_strAccount, QStringLiteral("https://dav.example/"));
    EXPECT_EQ(cmd.m_strUser, QStringLiteral("jo"));
    EXPECT_EQ(cmd.m_strPasswordFile, QStringLiteral("pw"));
    EXPECT_EQ(cmd.m_strCalendar, QStringLiteral("/jo/work/"));
    EXPECT_EQ(cmd.m_strFingerprint, strSha256);
    EXPECT_EQ(Parsed({"--add-account", "https://dav.example/", "--fingerprint", QString("0f").repeated(32)}).m_strFingerprint,
              QString("0f").repeated(32));
    EXPECT_EQ(Parsed({"--remove-account", "https://dav.example/"}).m_mode, QuilldayMode::RemoveAccount);
    EXPECT_EQ(Parsed({"--list-accounts"}).m_mode, QuilldayMode::ListAccounts);
    EXPECT_EQ(Parsed({"--sync", "--store", "s.sqlite"}).m_mode, QuilldayMode::Sync);
}

TEST(CCommandLine, RemindersAndTheNextOnes)
{
    EXPECT_EQ(Parsed({"--reminders", "--store", "s.sqlite"}).m_mode, QuilldayMode::Reminders);
    const struct {
        QStringList args;
        int nCount;
    } cases[] = {
        {{"--next-reminders"}, 10},
        {{"--next-reminders", "3"}, 3},
        {{"--next-reminders=1000"}, 1000},
        {{"--next-reminders", "--store", "s.sqlite"}, 10},
    };
    for (const auto& c : cases) {
        const CCommandLine cmd = Parsed(c.args);
        EXPECT_EQ(cmd.m_mode, QuilldayMode::NextReminders);
        EXPECT_EQ(cmd.m_nReminderCount, c.nCount) << c.args.join(QLatin1Char(' ')).toStdString();
    }
}

TEST(CCommandLine, AnItemToOpenInTheWindow)
{
    const CCommandLine cmd = Parsed({"--open-item", "42@2026-03-10T09:00", "--store", "s.sqlite"});
    EXPECT_EQ(cmd.m_mode, QuilldayMode::Gui);
    int32_t nOid = 0;
    QString strAt;
    ASSERT_TRUE(CCommandLine::SplitOpenItem(cmd.m_strOpenItem, &nOid, &strAt));
    EXPECT_EQ(nOid, 42);
    EXPECT_EQ(strAt, QStringLiteral("2026-03-10T09:00"));
    ASSERT_TRUE(CCommandLine::SplitOpenItem(QStringLiteral("7"), &nOid, &strAt));
    EXPECT_EQ(nOid, 7);
    EXPECT_TRUE(strAt.isEmpty());
}

TEST(CCommandLine, LunarToSolarTakesDatesOrStandardInput)
{
    CCommandLine cmd = Parsed({"--lunar-to-solar", "2007-01-01", "2006-07-15L", "--home", "x"});
    EXPECT_EQ(cmd.m_mode, QuilldayMode::LunarToSolar);
    EXPECT_EQ(cmd.m_lunarDates, (QStringList{"2007-01-01", "2006-07-15L"}));
    EXPECT_FALSE(cmd.m_bLunarFromStdin);
    EXPECT_EQ(cmd.m_strHome, QStringLiteral("x"));
    cmd = Parsed({"--lunar-to-solar", "2007-1-1"});  // the mode itself answers a malformed date
    EXPECT_EQ(cmd.m_lunarDates, QStringList{"2007-1-1"});
    cmd = Parsed({"--lunar-to-solar", "-"});
    EXPECT_TRUE(cmd.m_bLunarFromStdin);
    EXPECT_TRUE(cmd.m_lunarDates.isEmpty());
}

TEST(CCommandLine, HelpWinsOverEverythingElse)
{
    EXPECT_EQ(Parsed({"--bogus", "--help"}).m_mode, QuilldayMode::Help);
    EXPECT_EQ(Parsed({"-h"}).m_mode, QuilldayMode::Help);
    EXPECT_EQ(Parsed({"--version", "--help"}).m_mode, QuilldayMode::Help);
}

TEST(CCommandLine, OneFileOpensInTheMainWindow)
{
    const CCommandLine cmd = Parsed({"--store", "s.sqlite", "/home/me/Downloads/holidays.ics"});
    EXPECT_EQ(cmd.m_mode, QuilldayMode::Gui);
    EXPECT_EQ(cmd.m_strOpenFile, QStringLiteral("/home/me/Downloads/holidays.ics"));
    EXPECT_EQ(cmd.m_strStore, QStringLiteral("s.sqlite"));
    EXPECT_TRUE(Parsed({}).m_strOpenFile.isEmpty());
}

TEST(CCommandLine, VersionWinsOverEverythingButHelp)
{
    EXPECT_EQ(Parsed({"--version"}).m_mode, QuilldayMode::Version);
    EXPECT_EQ(Parsed({"--print-week", "--version", "--bogus"}).m_mode, QuilldayMode::Version);
}

struct BadCase {
    QStringList args;
    const char* errorPart;
};

TEST(CCommandLine, UnusableLinesAreRefusedWithAReason)
{
    const BadCase cases[] = {
        {{"--bogus"}, "unknown option '--bogus'"},
        {{"a.ics", "stray"}, "unexpected argument 'stray'"},
        {{"--export", "b.ics", "a.ics"}, "a file to open ('a.ics') works only without a mode"},
        {{"--print-week", "2007-02-30"}, "--print-week: '2007-02-30'"},
        {{"--print-week", "18.02.2007"}, "--print-week: '18.02.2007'"},
        {{"--print-week=", }, "--print-week: ''"},
        {{"--json"}, "--json works only with --print-week"},
        {{"--print-week", "--json=yes"}, "--json takes no value"},
        {{"--screenshot"}, "--screenshot needs a value"},
        {{"--screenshot", "--date", "2007-01-01"}, "--screenshot needs a value"},
        {{"--screenshot", "a.png", "--size", "240*320"}, "--size: '240*320'"},
        {{"--screenshot", "a.png", "--size", "0x320"}, "--size: '0x320'"},
        {{"--screenshot", "a.png", "--size", "8193x100"}, "sides from 1 to 8192"},
        {{"--screenshot", "a.png", "--size", "100x16384"}, "sides from 1 to 8192"},
        {{"--screenshot", "a.png", "--date", "2007-13-01"}, "--date: '2007-13-01'"},
        {{"--date", "2007-01-01"}, "work only with --screenshot"},
        {{"--print-week", "--size", "10x10"}, "work only with --screenshot"},
        {{"--import", "a.ics", "--export", "b.ics"}, "--export cannot be combined with another mode"},
        {{"--print-week", "--print-week"}, "--print-week given more than once"},
        {{"--home", "a", "--home=b"}, "--home given more than once"},
        {{"--home"}, "--home needs a value"},
        {{"--home="}, "--home needs a value"},
        {{"--scale", "0"}, "--scale: '0'"},
        {{"--scale", "1.5"}, "--scale: '1.5'"},
        {{"--scale", "9"}, "--scale: '9'"},
        {{"--lunar-to-solar"}, "--lunar-to-solar needs at least one date"},
        {{"--sync", "--user", "jo"}, "work only with --add-account"},
        {{"--password-file", "pw"}, "work only with --add-account"},
        {{"--sync", "--fingerprint", "ab"}, "work only with --add-account"},
        {{"--add-account", "https://dav.example/", "--fingerprint", "ab:cd"}, "--fingerprint: 'ab:cd' is not a SHA-256"},
        {{"--sync=now"}, "--sync takes no value"},
        {{"--add-account"}, "--add-account needs a value"},
        {{"--sync", "--list-accounts"}, "--list-accounts cannot be combined with another mode"},
        {{"--lunar-to-solar", "-", "2007-01-01"}, "- cannot be combined with dates"},
        {{"--lunar-to-solar=2007-01-01"}, "give the dates as separate arguments"},
        {{"--reminders=yes"}, "--reminders takes no value"},
        {{"--reminders", "--sync"}, "cannot be combined with another mode"},
        {{"--next-reminders", "0"}, "--next-reminders: '0' is not a whole number from 1 to 1000"},
        {{"--next-reminders=1001"}, "--next-reminders: '1001'"},
        {{"--next-reminders=x"}, "--next-reminders: 'x'"},
        {{"--open-item", "0"}, "--open-item: '0' is not of the form"},
        {{"--open-item", "5@2026-02-30T09:00"}, "--open-item: '5@2026-02-30T09:00'"},
        {{"--open-item", "5@tomorrow"}, "--open-item: '5@tomorrow'"},
        {{"--open-item", "5", "--print-week"}, "--open-item works only without a mode"},
    };
    for (const BadCase& c : cases) {
        CCommandLine cmd;
        EXPECT_FALSE(cmd.Parse(c.args)) << c.args.join(QLatin1Char(' ')).toStdString();
        EXPECT_TRUE(cmd.m_strError.contains(QString::fromUtf8(c.errorPart)))
            << c.args.join(QLatin1Char(' ')).toStdString() << " gave: " << cmd.m_strError.toStdString();
    }
}

TEST(CCommandLine, HelpListsEveryOptionAndTheExitStatus)
{
    const QString help = CCommandLine::HelpText();
    for (const char* option : {"--print-week", "--json", "--screenshot", "--date", "--size", "--import", "--export",
                               "--lunar-to-solar", "--home", "--store", "--registry", "--scale", "--help",
                               "--version", "--add-account", "--user", "--password-file", "--calendar", "--fingerprint",
                               "--list-accounts", "--remove-account", "--sync", "--reminders", "--next-reminders",
                               "--open-item"})
        EXPECT_TRUE(help.contains(QLatin1String(option))) << option;
    EXPECT_TRUE(help.contains(QLatin1String("2 when the command line cannot be used")));
}

TEST(CCommandLine, ParseStartsFromAnEmptyRecord)
{
    CCommandLine cmd;
    ASSERT_TRUE(cmd.Parse(QStringList{"--print-week", "--json", "--home", "h"}));
    ASSERT_TRUE(cmd.Parse(QStringList{"--export", "x.ics"}));
    EXPECT_FALSE(cmd.m_bJson);
    EXPECT_TRUE(cmd.m_strHome.isEmpty());
    EXPECT_EQ(cmd.m_mode, QuilldayMode::Export);
}

}  // namespace
