// A series that repeats in a zone of its own: the closed-form walk in that zone's wall
// time, turned into instants, against libical's iterator on a DTSTART with that zone,
// across the zone's changes to and from daylight time (including starts that a change
// skips or repeats).
#include "pim/CRecurrence.h"
#include "pim/CRecurrenceMath.h"
#include "pim/CSeriesZone.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"

#include <QVector>
#include <gtest/gtest.h>
#include <libical/ical.h>

namespace {

struct ZonedCase {
    const char* pszZone;
    const char* pszRule;  // RRULE value
    int nYear, nMonth, nDay, nHour, nMinute;
};

// The closed-form walk from the series' start to the end of 2026, in the zone's wall time.
QVector<int64_t> MathWalls(const ZonedCase& c, const CRecurrenceRule& rule)
{
    const int64_t nStart = WallFromFields(c.nYear, c.nMonth, c.nDay, c.nHour, c.nMinute);
    int64_t nFirst = 0, nLast = 0;
    if (!CRecurrence::Span(rule, nStart, &nFirst, &nLast))
        return {};
    CRecurrenceMath math(rule, nFirst, nLast);
    math.Seek(nFirst, WallFromFields(2026, 12, 31, 23, 59));
    QVector<int64_t> out;
    for (int64_t n = 0; math.Next(&n);)
        out << n;
    return out;
}

// libical's iterator in wall time (it carries a time moved by a skipped hour on to the
// next occurrences when it runs in a zone, so it runs floating; UNTIL in UTC is read in
// the zone first, as the importer does).
QVector<int64_t> IcalWalls(const ZonedCase& c, icaltimezone* pZone)
{
    icaltimetype start = icaltime_null_time();
    start.year = c.nYear;
    start.month = c.nMonth;
    start.day = c.nDay;
    start.hour = c.nHour;
    start.minute = c.nMinute;
    icalrecurrencetype rule = icalrecurrencetype_from_string(c.pszRule);
    if (!icaltime_is_null_time(rule.until) && icaltime_is_utc(rule.until))
        rule.until = icaltime_convert_to_zone(rule.until, pZone), rule.until.zone = nullptr;
    icalrecur_iterator* pIt = icalrecur_iterator_new(rule, start);
    QVector<int64_t> out;
    for (icaltimetype t = icalrecur_iterator_next(pIt); !icaltime_is_null_time(t) && t.year <= 2026;
         t = icalrecur_iterator_next(pIt))
        out << WallFromFields(t.year, t.month, t.day, t.hour, t.minute);
    icalrecur_iterator_free(pIt);
    return out;
}

class ZonedSeries : public ::testing::TestWithParam<ZonedCase> {};

TEST_P(ZonedSeries, ClosedFormAgreesWithLibical)
{
    const ZonedCase& c = GetParam();
    const QString strZone = QString::fromLatin1(c.pszZone);
    icaltimezone* pZone = icaltimezone_get_builtin_timezone(c.pszZone);
    ASSERT_NE(pZone, nullptr);
    CRecurrenceRule rule;
    const int64_t nStart = WallFromFields(c.nYear, c.nMonth, c.nDay, c.nHour, c.nMinute);
    ASSERT_TRUE(CRecurrence::FromIcal(icalrecurrencetype_from_string(c.pszRule), nStart, &rule)) << c.pszRule;
    const QVector<int64_t> walls = MathWalls(c, rule);
    ASSERT_FALSE(walls.isEmpty());
    EXPECT_EQ(walls, IcalWalls(c, pZone)) << c.pszZone << " " << c.pszRule;
    // Each occurrence at the instant libical gives its wall time in the zone, except where
    // libical departs from RFC 5545: a repeated wall time is the first of the two, and
    // one that a change skips is read with the offset before the change.
    int nChanges = 0;
    for (int64_t nWall : walls) {
        const WallFields f = FieldsOfWall(nWall);
        icaltimetype t = icaltime_null_time();
        t.year = f.nYear, t.month = f.nMonth, t.day = f.nDay, t.hour = f.nHour, t.minute = f.nMinute;
        const int64_t nIcal = icaltime_as_timet_with_zone(t, pZone);
        const int64_t nOurs = CSeriesZone::ToUtc(strZone, nWall);
        if (CSeriesZone::FromUtc(strZone, nIcal) != nWall) {
            ++nChanges;
            EXPECT_EQ(CSeriesZone::FromUtc(strZone, nOurs), nWall + 60) << "skipped " << nWall;
        } else if (CSeriesZone::FromUtc(strZone, nIcal - 3600) == nWall) {
            ++nChanges;
            EXPECT_EQ(nOurs, nIcal - 3600) << "repeated " << nWall;
        } else {
            EXPECT_EQ(nOurs, nIcal) << nWall;
        }
    }
    RecordProperty("changes", nChanges);
}

INSTANTIATE_TEST_SUITE_P(
    AcrossDaylightChanges, ZonedSeries,
    ::testing::Values(ZonedCase{"America/New_York", "FREQ=WEEKLY;BYDAY=TH", 2024, 1, 4, 9, 0},
                      ZonedCase{"America/New_York", "FREQ=DAILY;INTERVAL=3", 2024, 1, 1, 2, 30},
                      ZonedCase{"America/New_York", "FREQ=WEEKLY;BYDAY=SU;UNTIL=20251231T235959Z", 2024, 1, 7, 1, 30},
                      ZonedCase{"America/New_York", "FREQ=MONTHLY;BYDAY=2SU", 2024, 1, 14, 2, 15},
                      ZonedCase{"Europe/Berlin", "FREQ=MONTHLY;BYDAY=-1SU", 2024, 1, 28, 2, 30},
                      ZonedCase{"Europe/Berlin", "FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU", 2024, 10, 27, 2, 30},
                      ZonedCase{"Australia/Sydney", "FREQ=WEEKLY;INTERVAL=2;BYDAY=SU,WE;COUNT=80", 2024, 1, 3, 2, 30},
                      ZonedCase{"Asia/Seoul", "FREQ=MONTHLY;BYMONTHDAY=31", 2024, 1, 31, 23, 45}));

TEST(SeriesZone, NamesAndConversions)
{
    EXPECT_EQ(CSeriesZone::StoreName("America/New_York"), "America/New_York");
    EXPECT_EQ(CSeriesZone::StoreName("Eastern Standard Time"), "America/New_York");
    EXPECT_EQ(CSeriesZone::StoreName("utc"), "UTC");
    EXPECT_TRUE(CSeriesZone::StoreName("Nowhere/Atlantis").isEmpty());
    // Names the zone database links to a zone, or keeps as zones of their own.
    const std::pair<const char*, const char*> links[] = {
        {"Asia/Calcutta", "Asia/Kolkata"}, {"Europe/Kiev", "Europe/Kyiv"}, {"US/Central", "America/Chicago"},
        {"US/Pacific", "America/Los_Angeles"}, {"EST5EDT", "EST5EDT"}, {"localtime", ""}, {"posix/Europe/Berlin", ""},
        {"../zoneinfo/Europe/Berlin", ""},
    };
    for (const auto& [pszName, pszZone] : links)
        EXPECT_EQ(CSeriesZone::StoreName(pszName).toStdString(), pszZone) << pszName;
    const QString ny = "America/New_York";
    // 14 March 2024 09:00 EDT is 13:00Z; a skipped 02:30 takes the offset before the change.
    const int64_t nWall = WallFromFields(2024, 3, 14, 9, 0);
    EXPECT_EQ(CSeriesZone::ToUtc(ny, nWall), CSeriesZone::ToUtc("UTC", WallFromFields(2024, 3, 14, 13, 0)));
    EXPECT_EQ(CSeriesZone::FromUtc(ny, CSeriesZone::ToUtc(ny, nWall)), nWall);
    EXPECT_EQ(CSeriesZone::ToUtc(ny, WallFromFields(2024, 3, 10, 2, 30)),
              CSeriesZone::ToUtc("UTC", WallFromFields(2024, 3, 10, 7, 30)));
    // The repeated 01:30 of 3 November is the first one (EDT).
    EXPECT_EQ(CSeriesZone::ToUtc(ny, WallFromFields(2024, 11, 3, 1, 30)),
              CSeriesZone::ToUtc("UTC", WallFromFields(2024, 11, 3, 5, 30)));
}

}  // namespace
