#include "platform/Clock.h"
#include "platform/TimeZoneInformation.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>

namespace {

struct Transition {
    int month, week, weekday, hour, minute;
};

struct ZoneCase {
    const char* rule;
    int bias, standardBias, daylightBias;
    Transition daylight;  // month 0: no daylight rule
    Transition standard;
    int daylightDays = 0;  // the whole days the transition times carry
    int standardDays = 0;
};

void PrintTo(const ZoneCase& c, std::ostream* os) { *os << c.rule; }

void ExpectTransition(const SYSTEMTIME& st, const Transition& t, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(st.wYear, 0);
    EXPECT_EQ(st.wMonth, t.month);
    EXPECT_EQ(st.wDay, t.week);
    EXPECT_EQ(st.wDayOfWeek, t.weekday);
    EXPECT_EQ(st.wHour, t.hour);
    EXPECT_EQ(st.wMinute, t.minute);
    EXPECT_EQ(st.wSecond, 0);
}

class PosixRule : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(PosixRule, FillsTheRecordFieldByField)
{
    const ZoneCase& c = GetParam();
    TIME_ZONE_INFORMATION tzi;
    tzi.Bias = 12345;
    ASSERT_TRUE(ParsePosixTzRule(QString::fromLatin1(c.rule), &tzi));
    EXPECT_EQ(tzi.Bias, c.bias);
    EXPECT_EQ(tzi.StandardBias, c.standardBias);
    EXPECT_EQ(tzi.DaylightBias, c.daylightBias);
    ExpectTransition(tzi.DaylightDate, c.daylight, "DaylightDate");
    ExpectTransition(tzi.StandardDate, c.standard, "StandardDate");
    EXPECT_EQ(tzi.DaylightDayOffset, c.daylightDays);
    EXPECT_EQ(tzi.StandardDayOffset, c.standardDays);
}

INSTANTIATE_TEST_SUITE_P(
    Zones, PosixRule,
    ::testing::Values(
        ZoneCase{"EST5EDT,M3.2.0,M11.1.0", 300, 0, -60, {3, 2, 0, 2, 0}, {11, 1, 0, 2, 0}},
        ZoneCase{"CET-1CEST,M3.5.0,M10.5.0/3", -60, 0, -60, {3, 5, 0, 2, 0}, {10, 5, 0, 3, 0}},
        ZoneCase{"AEST-10AEDT,M10.1.0,M4.1.0/3", -600, 0, -60, {10, 1, 0, 2, 0}, {4, 1, 0, 3, 0}},
        ZoneCase{"KST-9", -540, 0, 0, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
        ZoneCase{"<+0330>-3:30", -210, 0, 0, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
        // An explicit daylight offset and transition times with minutes.
        ZoneCase{"NZST-12NZDT-13,M9.5.0,M4.1.0/3", -720, 0, -60, {9, 5, 0, 2, 0}, {4, 1, 0, 3, 0}},
        // Times outside the day keep the weekday as written and carry whole days apart.
        ZoneCase{"<-03>3<-02>,M3.5.0/-2,M10.5.0/-1", 180, 0, -60, {3, 5, 0, 22, 0}, {10, 5, 0, 23, 0}, -1, -1},
        ZoneCase{"IST-2IDT,M3.4.4/26,M10.5.0", -120, 0, -60, {3, 4, 4, 2, 0}, {10, 5, 0, 2, 0}, 1, 0},
        ZoneCase{"EET-2EEST,M3.4.4/50,M10.4.4/50", -120, 0, -60, {3, 4, 4, 2, 0}, {10, 4, 4, 2, 0}, 2, 2},
        ZoneCase{"EET-2EEST,M4.5.5/0,M10.5.4/24", -120, 0, -60, {4, 5, 5, 0, 0}, {10, 5, 4, 0, 0}, 0, 1},
        ZoneCase{"<-02>2<-01>,M3.5.0/-1,M10.5.0/0", 120, 0, -60, {3, 5, 0, 23, 0}, {10, 5, 0, 0, 0}, -1, 0},
        ZoneCase{"XXX3YYY,M3.2.0/-167,M11.1.0/167", 180, 0, -60, {3, 2, 0, 1, 0}, {11, 1, 0, 23, 0}, -7, 6},
        ZoneCase{"LHST-10:30LHDT-11,M10.1.0,M4.1.0", -630, 0, -30, {10, 1, 0, 2, 0}, {4, 1, 0, 2, 0}},
        ZoneCase{"XXX3YYY,M3.2.0/1:30,M11.1.0/0:45", 180, 0, -60, {3, 2, 0, 1, 30}, {11, 1, 0, 0, 45}},
        ZoneCase{"UTC0", 0, 0, 0, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
        // Julian-day forms and a daylight name without rule give no daylight rule.
        ZoneCase{"EST5EDT,J60,J300", 300, 0, 0, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
        ZoneCase{"EST5EDT,59/2,299", 300, 0, 0, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}},
        ZoneCase{"EST5EDT", 300, 0, 0, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}));

TEST(PosixRule, RejectsUnreadableText)
{
    const char* const bad[] = {"", "America/New_York", "EST", "ES5", "EST5EDT,M3.2.0",
                               "EST5EDT,M13.2.0,M11.1.0", "EST5EDT,M3.6.0,M11.1.0",
                               "EST5EDT,M3.2.7,M11.1.0", "EST5EDT,M3.2.0,M11.1.0x", "<+03", "EST25"};
    for (const char* text : bad) {
        TIME_ZONE_INFORMATION tzi;
        EXPECT_FALSE(ParsePosixTzRule(QString::fromLatin1(text), &tzi)) << text;
    }
}

// Sets TZ (and TZDIR) for one test and restores the previous values afterwards.
class ZoneEnvironment : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_savedTz = Save("TZ");
        m_savedTzDir = Save("TZDIR");
        ASSERT_TRUE(m_dir.isValid());
    }
    void TearDown() override
    {
        Restore("TZ", m_savedTz);
        Restore("TZDIR", m_savedTzDir);
        SetFixedLocalTime(std::nullopt);
    }
    static std::optional<std::string> Save(const char* name)
    {
        const char* value = std::getenv(name);
        return value ? std::optional<std::string>(value) : std::nullopt;
    }
    static void Restore(const char* name, const std::optional<std::string>& value)
    {
        if (value)
            setenv(name, value->c_str(), 1);
        else
            unsetenv(name);
        tzset();
    }
    // A minimal valid version 2 TZif file: one local time type, no transitions, both data
    // blocks, then the footer rule (the C library may read this file too).
    QString WriteZoneFile(const QString& name, const QByteArray& footer)
    {
        QByteArray block("TZif2");
        block.append(QByteArray(15, '\0'));
        const int counts[6] = {0, 0, 0, 0, 1, 4};  // isut, isstd, leap, time, type, char
        for (const int count : counts)
            block.append(static_cast<char>(count >> 24)).append(static_cast<char>(count >> 16))
                .append(static_cast<char>(count >> 8)).append(static_cast<char>(count));
        block.append(QByteArray(6, '\0'));  // ttinfo: UT offset 0, no daylight, name index 0
        block.append(QByteArray("UTC\0", 4));
        const QByteArray bytes = block + block + "\n" + footer + "\n";
        const QString path = m_dir.filePath(name);
        QDir().mkpath(QFileInfo(path).path());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    static void FixLocalTime(int year, int month, int day)
    {
        SYSTEMTIME st;
        st.wYear = static_cast<uint16_t>(year);
        st.wMonth = static_cast<uint16_t>(month);
        st.wDay = static_cast<uint16_t>(day);
        st.wHour = 12;
        SetFixedLocalTime(st);
    }

    QTemporaryDir m_dir;
    std::optional<std::string> m_savedTz, m_savedTzDir;
};

TEST_F(ZoneEnvironment, TzHoldingARuleIsUsedDirectly)
{
    setenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3", 1);
    FixLocalTime(2024, 7, 1);
    TIME_ZONE_INFORMATION tzi;
    EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_DAYLIGHT);
    EXPECT_EQ(tzi.Bias, -60);
    EXPECT_EQ(tzi.DaylightDate.wMonth, 3);
    FixLocalTime(2024, 12, 1);
    EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_STANDARD);
}

TEST_F(ZoneEnvironment, SouthernDaylightTimeSpansTheNewYear)
{
    setenv("TZ", "AEST-10AEDT,M10.1.0,M4.1.0/3", 1);
    TIME_ZONE_INFORMATION tzi;
    FixLocalTime(2024, 1, 15);
    EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_DAYLIGHT);
    FixLocalTime(2024, 6, 15);
    EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_STANDARD);
}

// The whole days a rule's time carries move the change day: Asia/Jerusalem's daylight time
// starts on Friday 29 March 2030, not on the fourth Friday, 22 March; America/Nuuk's on
// Saturday 24 March 2029, not on the last Saturday, 31 March.
TEST_F(ZoneEnvironment, RuleTimesOutsideTheDayMoveTheChangeDay)
{
    TIME_ZONE_INFORMATION tzi;
    setenv("TZ", "IST-2IDT,M3.4.4/26,M10.5.0", 1);
    FixLocalTime(2030, 3, 23);
    EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_STANDARD);
    FixLocalTime(2030, 3, 30);
    EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_DAYLIGHT);
    setenv("TZ", "<-02>2<-01>,M3.5.0/-1,M10.5.0/0", 1);
    FixLocalTime(2029, 3, 25);
    EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_DAYLIGHT);
}

TEST_F(ZoneEnvironment, ZoneNameReadsTheFooterOfItsFile)
{
    setenv("TZDIR", m_dir.path().toLocal8Bit().constData(), 1);
    WriteZoneFile(QStringLiteral("America/Test_City"), "EST5EDT,M3.2.0,M11.1.0");
    setenv("TZ", ":America/Test_City", 1);
    FixLocalTime(2024, 7, 1);
    TIME_ZONE_INFORMATION tzi;
    EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_DAYLIGHT);
    EXPECT_EQ(tzi.Bias, 300);
    EXPECT_EQ(tzi.DaylightBias, -60);
    EXPECT_EQ(tzi.StandardDate.wMonth, 11);
}

// "EST5EDT" reads as a rule without daylight dates, but the C library takes the zone file
// of that name first, and so must the record, or summer times are an hour off.
TEST_F(ZoneEnvironment, ZoneFileWinsOverARuleOfTheSameName)
{
    setenv("TZDIR", m_dir.path().toLocal8Bit().constData(), 1);
    WriteZoneFile(QStringLiteral("EST5EDT"), "EST5EDT,M3.2.0,M11.1.0");
    setenv("TZ", "EST5EDT", 1);
    FixLocalTime(2024, 7, 1);
    TIME_ZONE_INFORMATION tzi;
    EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_DAYLIGHT);
    EXPECT_EQ(tzi.Bias, 300);
    EXPECT_EQ(tzi.DaylightDate.wMonth, 3);
    EXPECT_EQ(tzi.StandardDate.wMonth, 11);
}

TEST_F(ZoneEnvironment, AbsoluteZonePathReadsThatFile)
{
    const QString path = WriteZoneFile(QStringLiteral("Seoul"), "KST-9");
    setenv("TZ", path.toLocal8Bit().constData(), 1);
    FixLocalTime(2024, 7, 1);
    TIME_ZONE_INFORMATION tzi;
    EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_UNKNOWN);
    EXPECT_EQ(tzi.Bias, -540);
    EXPECT_EQ(tzi.DaylightDate.wMonth, 0);
}

TEST_F(ZoneEnvironment, MissingOrRulelessZoneFileFailsWithOffsetZero)
{
    setenv("TZDIR", m_dir.path().toLocal8Bit().constData(), 1);
    QFile v1(m_dir.filePath(QStringLiteral("Old")));
    ASSERT_TRUE(v1.open(QIODevice::WriteOnly));
    v1.write(QByteArray("TZif") + QByteArray(40, '\0'));
    v1.close();
    // /dev/zero never ends: only the first bytes a zone file may have are read.
    for (const char* tz : {"No/Such_Zone", "Old", "../etc/passwd", "/dev/zero"}) {
        setenv("TZ", tz, 1);
        TIME_ZONE_INFORMATION tzi;
        tzi.Bias = 77;
        tzi.DaylightDate.wMonth = 3;
        EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_INVALID) << tz;
        EXPECT_EQ(tzi.Bias, 0) << tz;
        EXPECT_EQ(tzi.DaylightDate.wMonth, 0) << tz;
    }
}

TEST_F(ZoneEnvironment, EmptyTzIsUtc)
{
    setenv("TZ", "", 1);
    TIME_ZONE_INFORMATION tzi;
    tzi.Bias = 77;
    EXPECT_EQ(GetTimeZoneInformation(&tzi), TIME_ZONE_ID_UNKNOWN);
    EXPECT_EQ(tzi.Bias, 0);
}

}  // namespace
