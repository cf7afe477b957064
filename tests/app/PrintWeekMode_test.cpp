// quillday --print-week and --screenshot as a user runs them, on a store filled with
// --import, in a fixed zone with a fixed clock.
#include "tests/support/QuilldayRun.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const char kStrings[] =
    "RC_COMMON_MONDAY_SHORT=Mon\nRC_COMMON_TUESDAY_SHORT=Tue\nRC_COMMON_WEDNESDAY_SHORT=Wed\n"
    "RC_COMMON_THURSDAY_SHORT=Thu\nRC_COMMON_FRIDAY_SHORT=Fri\nRC_COMMON_SATURDAY_SHORT=Sat\n"
    "RC_COMMON_SUNDAY_SHORT=Sun\nRC_COMMON_FORMAT_TITLE_DATE=MM YYYY\nRC_COMMON_MARCH=Mar\n";

const char kCalendar[] =
    "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//test//EN\r\n"
    "BEGIN:VEVENT\r\nUID:e1\r\nDTSTART:20150303T090000\r\nDTEND:20150303T103000\r\nSUMMARY:Dentist\r\n"
    "LOCATION:Clinic\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:e2\r\nDTSTART;VALUE=DATE:20150306\r\nDTEND;VALUE=DATE:20150309\r\n"
    "SUMMARY:Holiday\r\nEND:VEVENT\r\n"
    "BEGIN:VEVENT\r\nUID:e3\r\nDTSTART:20150309T003000\r\nDTEND:20150309T010000\r\nSUMMARY:Next week\r\n"
    "END:VEVENT\r\n"
    "BEGIN:VTODO\r\nUID:t1\r\nSUMMARY:Report\r\nDUE;VALUE=DATE:20150309\r\nEND:VTODO\r\n"
    "END:VCALENDAR\r\n";

class PrintWeekMode : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!HaveQuilldayBinary())
            GTEST_SKIP() << "QUILLDAY_BIN is not set";
        Write("orlith.inf", kStrings);
        Write("anniversary.dat", "[#FF0000]\n0000-03-03 Holiday\n");
        Write("week.ics", kCalendar);
        ASSERT_EQ(Run({"--import", m_dir.filePath("week.ics")}), 0) << m_err.toStdString();
    }

    void Write(const char* pszName, const QByteArray& bytes)
    {
        QFile file(m_dir.filePath(pszName));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    int Run(const QStringList& args, const QString& strOutFile = QString())
    {
        const QuilldayRun run = RunQuillday(args, m_dir.path(), m_dir.filePath("pim.sqlite"),
                                            QuilldayEnvironment("America/New_York", "2015-03-06T10:00:00", "M/d/yyyy"),
                                            QByteArray(), strOutFile);
        m_out = run.strOut;
        m_err = run.strErr;
        return run.nExitCode;
    }

    QTemporaryDir m_dir;
    QString m_out;
    QString m_err;
};

TEST_F(PrintWeekMode, PrintsTheSevenDaysOfTheDaylightWeek)
{
    ASSERT_EQ(Run({"--print-week", "2015-03-08"}), 0) << m_err.toStdString();
    EXPECT_EQ(m_out.toStdString(),
              "2015-03-02 M 3/2\n"
              "  (NULL)\t\n"
              "2015-03-03 Tue 3\n"
              "  (E)\tHoliday\tcolor=#FF0000\trecurring\n"
              "  9:00a\tDentist (Clinic)\textra=9:00a-10:30a|\n"
              "2015-03-04 Wed 4\n"
              "  (NULL)\t\n"
              "2015-03-05 Thu 5\n"
              "  (NULL)\t\n"
              "2015-03-06 Fri 6\n"
              "  (E)\tHoliday\n"
              "  (T1)\tReport(3d)\textra=(T1)|Report(3d)\n"
              "2015-03-07 Sat 7\n"
              "  <<\tHoliday\n"
              "2015-03-08 Sun 8\n"
              "  <<\tHoliday\n");
}

TEST_F(PrintWeekMode, JsonHasTheSameRows)
{
    ASSERT_EQ(Run({"--print-week", "2015-03-02", "--json"}), 0) << m_err.toStdString();
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(m_out.toUtf8(), &error);
    ASSERT_EQ(error.error, QJsonParseError::NoError);
    const QJsonObject root = doc.object();
    EXPECT_EQ(root.value("weekStart").toString(), "2015-03-02");
    const QJsonArray days = root.value("days").toArray();
    ASSERT_EQ(days.size(), 7);
    EXPECT_EQ(days.at(4).toObject().value("date").toString(), "2015-03-06");
    EXPECT_TRUE(days.at(4).toObject().value("today").toBool());
    EXPECT_FALSE(days.at(3).toObject().value("today").toBool());
    EXPECT_EQ(days.at(6).toObject().value("label").toString(), "Sun 8");
    const QJsonObject dentist = days.at(1).toObject().value("rows").toArray().at(1).toObject();
    EXPECT_EQ(dentist.value("label").toString(), "9:00a");
    EXPECT_EQ(dentist.value("labelExtra").toString(), "9:00a-10:30a");
    EXPECT_EQ(dentist.value("text").toString(), "Dentist (Clinic)");
    EXPECT_EQ(dentist.value("textExtra").toString(), "");
    EXPECT_EQ(dentist.value("color").toString(), "#000000");
    EXPECT_EQ(dentist.value("kind").toInt(), 1);
    EXPECT_GT(dentist.value("oid").toInt(), 0);
    const QJsonObject special = days.at(1).toObject().value("rows").toArray().at(0).toObject();
    EXPECT_EQ(special.value("icons").toArray(), QJsonArray{"recurring"});
    EXPECT_EQ(special.value("kind").toInt(), 0);
    const QJsonObject empty = days.at(0).toObject().value("rows").toArray().at(0).toObject();
    EXPECT_EQ(empty.value("label").toString(), "(NULL)");
    EXPECT_EQ(empty.value("oid").toInt(), -1);
    EXPECT_EQ(empty.value("kind").toInt(), -1);
    EXPECT_FALSE(empty.value("bold").toBool());
}

TEST_F(PrintWeekMode, AWeekThatCannotBeWrittenIsAFailure)
{
    for (const QStringList& args : {QStringList{"--print-week"}, QStringList{"--print-week", "--json"}}) {
        EXPECT_EQ(Run(args, "/dev/full"), 1) << args.join(' ').toStdString();
        EXPECT_EQ(m_err, "quillday: cannot write the week: No space left on device\n");
    }
}

TEST_F(PrintWeekMode, DefaultsToThisWeek)
{
    ASSERT_EQ(Run({"--print-week"}), 0) << m_err.toStdString();
    EXPECT_TRUE(m_out.startsWith("2015-03-02 M 3/2\n"));
}

TEST_F(PrintWeekMode, RefusesDatesOutsideTheRange)
{
    EXPECT_EQ(Run({"--print-week", "1960-01-01"}), 2);
    EXPECT_TRUE(m_out.isEmpty());
}

TEST_F(PrintWeekMode, ScreenshotWritesAPngOfTheWindow)
{
    const QString path = m_dir.filePath("shot.png");
    ASSERT_EQ(Run({"--screenshot", path, "--date", "2015-03-04"}), 0) << m_err.toStdString();
    QImage image(path);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(240, 320));
    const QString big = m_dir.filePath("big.png");
    ASSERT_EQ(Run({"--screenshot", big, "--size", "480x640"}), 0) << m_err.toStdString();
    EXPECT_EQ(QImage(big).size(), QSize(480, 640));
    EXPECT_EQ(Run({"--screenshot", m_dir.filePath("missing/folder/x.png")}), 1);
}

TEST_F(PrintWeekMode, ScreenshotShowsTheSelectedEntryInTheStatusLine)
{
    // The current day's list has the focus, so its first row (the 9:00 dentist on
    // Tuesday) is selected and repeated in the status strip above the button bar.
    const QString path = m_dir.filePath("selected.png");
    ASSERT_EQ(Run({"--screenshot", path, "--date", "2015-03-03"}), 0) << m_err.toStdString();
    const QImage image = QImage(path).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(image.size(), QSize(240, 320));
    const int nStripTop = 320 - 20 - 16;  // above the 20-pixel button bar
    int nDarkPixels = 0;
    for (int y = nStripTop; y < nStripTop + 15; ++y) {
        for (int x = 0; x < 120; ++x)
            nDarkPixels += qGray(image.pixel(x, y)) < 100 ? 1 : 0;
    }
    EXPECT_GT(nDarkPixels, 20);
}

TEST_F(PrintWeekMode, ScaleEnlargesTheWindow)
{
    const QString path = m_dir.filePath("scaled.png");
    ASSERT_EQ(Run({"--screenshot", path, "--scale", "2"}), 0) << m_err.toStdString();
    EXPECT_EQ(QImage(path).size(), QSize(480, 640));
}

}  // namespace

TEST_F(PrintWeekMode, DayNamesFollowTheLanguage)
{
    // The shipped texts of both languages.
    const QDir data(qEnvironmentVariable("QUILLDAY_TEST_DATA"));
    for (const char* pszName : {"orlith.inf", "orlith.en.inf"}) {
        QFile file(data.filePath(QLatin1String(pszName)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        Write(pszName, file.readAll());
    }
    const struct {
        const char* pszLanguage;
        const char* pszThursday;
    } cases[] = {{"ko", "2015-03-05 목 5\n"}, {"en", "2015-03-05 Thu 5\n"}, {"fr", "2015-03-05 Thu 5\n"}};
    for (const auto& c : cases) {
        ASSERT_EQ(Run({"--print-week", "2015-03-02", "--language", c.pszLanguage}), 0) << m_err.toStdString();
        EXPECT_TRUE(m_out.contains(QString::fromUtf8(c.pszThursday))) << c.pszLanguage << "\n" << m_out.toStdString();
    }
}
