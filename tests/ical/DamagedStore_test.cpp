// A store whose rows hold values out of their ranges (a damaged or hostile file): reading
// brings each into its range and names it, so that the export writes only dates a
// calendar holds and reminders before the start, and says which rows it mended.
#include "tests/support/PimTestStore.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "pim/CPimStore.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

struct DamageCase {
    const char* pszSet;       // SET clause applied to the appointment's row
    const char* pszWritten;   // a line the export holds
    const char* pszDamaged;   // the export's line about the row
};

class DamagedStore : public ::testing::TestWithParam<DamageCase> {
protected:
    void SetUp() override { SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy"); }
};

TEST_P(DamagedStore, ValuesOutOfRangeAreWrittenInRangeAndNamed)
{
    const DamageCase& c = GetParam();
    CTestStore store;
    ASSERT_TRUE(store.IsOpen());
    const int32_t nOid = store.AddAppt(QStringLiteral("shift"), Dt(2024, 3, 4, 9), Dt(2024, 3, 4, 10));
    const QByteArray sql = QByteArray("UPDATE items SET reminder=1, reminder_minutes=15, ") + c.pszSet
                         + " WHERE oid=" + QByteArray::number(nOid);
    ASSERT_EQ(sqlite3_exec(store.App().GetStore()->Db(), sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CICalExporter exporter(store.App().GetStore());
    QString strError;
    ASSERT_TRUE(exporter.Export(&buffer, &strError)) << strError.toStdString();
    const QByteArray text = buffer.data();
    EXPECT_TRUE(text.contains(QByteArray(c.pszWritten) + "\r\n")) << text.toStdString();
    EXPECT_FALSE(text.contains(":00000000T")) << text.toStdString();
    EXPECT_EQ(exporter.Damaged().join(u'\n').toStdString(), QStringLiteral("OID %1: %2").arg(nOid).arg(QLatin1String(c.pszDamaged)).toStdString());

    CTestStore again;
    CICalImporter importer(again.App().GetStore());
    EXPECT_TRUE(importer.ImportText(text, &strError)) << strError.toStdString();
    EXPECT_EQ(importer.CountsLine().toStdString(), "1 added, 0 updated, 0 unchanged, 0 skipped.");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DamagedStore,
    ::testing::Values(
        DamageCase{"t_start=9223372036854775807, t_end=9223372036854775807", "DTSTART:30001229T235900",
                   "t_start, t_end out of range, written as the nearest values the store allows"},
        DamageCase{"t_start=-9223372036854775808", "DTSTART:19000101T000000",
                   "t_start out of range, written as the nearest values the store allows"},
        DamageCase{"t_end=t_start-60", "DTEND:20240304T090000",
                   "t_end before t_start out of range, written as the nearest values the store allows"},
        DamageCase{"reminder_minutes=-600", "TRIGGER:PT0S",
                   "reminder_minutes out of range, written as the nearest values the store allows"},
        DamageCase{"reminder_minutes=9223372036854775807", "TRIGGER:-P366D",
                   "reminder_minutes out of range, written as the nearest values the store allows"},
        DamageCase{"rec_type=1, rec_interval=-5, rec_mask=2, rec_start=t_start, rec_last=t_start", "DTEND:20240304T100000",
                   "recurrence pattern out of range, written as the nearest values the store allows"}));

}  // namespace
