// Files a careful tester builds to hurt an importer: zone rules without end, stamps
// written as dates or local times, and a store that stops taking writes halfway.
#include "tests/ical/ImportExportText.h"
#include "tests/support/PimTestStore.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "pim/CPimStore.h"

#include <QBuffer>
#include <sqlite3.h>
#include <gtest/gtest.h>

namespace {

class ImportBounds : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_store.IsOpen());
    }
    QByteArray Export() { return ExportAll(m_store); }
    CTestStore m_store;
};

QByteArray Calendar(const QByteArray& body)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//EN\r\n" + body + "END:VCALENDAR\r\n";
}

// Components nested past the bound refuse the whole file with the line, before libical
// reads any of it (it frees nested components recursively); the sound event beside them
// is not added.
TEST_F(ImportBounds, DeeplyNestedComponentsRefuseTheFile)
{
    const QByteArray sound = "BEGIN:VEVENT\r\nUID:s@x\r\nDTSTART:20240305T090000\r\nDTEND:20240305T100000\r\n"
                             "SUMMARY:Sound\r\nEND:VEVENT\r\n";
    const QByteArray deep = "BEGIN:VEVENT\r\nUID:d@x\r\nDTSTART:20240306T090000\r\n"
                          + QByteArray("BEGIN:VALARM\r\n").repeated(10000) + QByteArray("END:VALARM\r\n").repeated(10000)
                          + "END:VEVENT\r\n";
    CICalImporter importer(m_store.App().GetStore());
    QString strError;
    EXPECT_FALSE(importer.ImportText(Calendar(sound + deep), &strError));
    EXPECT_TRUE(strError.contains(QLatin1String("line 27: components nested more than 16 deep"))) << strError.toStdString();
    EXPECT_EQ(importer.Added(), 0);
}

// A component longer than an item may be (a huge DESCRIPTION, a huge changed occurrence)
// is skipped with its size and the bound, its bytes never held or handed to libical; the
// items beside it import.
TEST_F(ImportBounds, ComponentsLongerThanAnItemMayBeAreSkippedWithTheReason)
{
    const QByteArray sound = "BEGIN:VEVENT\r\nUID:s@x\r\nDTSTART:20240305T090000\r\nDTEND:20240305T100000\r\n"
                             "RRULE:FREQ=DAILY;COUNT=3\r\nSUMMARY:Sound\r\nEND:VEVENT\r\n";
    const QByteArray text = "DESCRIPTION:" + QByteArray(5 << 20, 'x') + "\r\n";
    const QByteArray huge = "BEGIN:VEVENT\r\nUID:h@x\r\nDTSTART:20240306T090000\r\n" + text + "END:VEVENT\r\n";
    const QByteArray hugeOverride = "BEGIN:VEVENT\r\nUID:s@x\r\nRECURRENCE-ID:20240306T090000\r\n"
                                    "DTSTART:20240306T110000\r\n" + text + "END:VEVENT\r\n";
    CICalImporter importer(m_store.App().GetStore());
    QString strError;
    ASSERT_TRUE(importer.ImportText(Calendar(sound + huge + hugeOverride), &strError)) << strError.toStdString();
    EXPECT_EQ(importer.CountsLine().toStdString(), "1 added, 0 updated, 0 unchanged, 2 skipped.");
    const qsizetype nHuge = huge.size(), nOverride = hugeOverride.size();
    EXPECT_EQ(importer.SkippedSummary().join(u'\n').toStdString(),
              QStringLiteral("h@x: VEVENT of %1 bytes, more than the 4 MiB an item may have\n"
                             "s@x: VEVENT of %2 bytes, more than the 4 MiB an item may have")
                  .arg(nHuge)
                  .arg(nOverride)
                  .toStdString());
    EXPECT_EQ(Export().count("RECURRENCE-ID"), 0);
}

// A zone whose rule changes the offset every second (or minute, or hour) since 1601 would
// take libical without end: such a zone is refused with its reason, and the rest of the
// file imports.
TEST_F(ImportBounds, ZoneRulesWithoutBoundAreRefused)
{
    for (const char* pszFreq : {"SECONDLY", "MINUTELY", "HOURLY"}) {
        const QByteArray text = Calendar(
            QByteArray("BEGIN:VTIMEZONE\r\nTZID:Hostile\r\nBEGIN:STANDARD\r\nDTSTART:16010101T000000\r\nRRULE:FREQ=")
            + pszFreq
            + "\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0000\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
              "BEGIN:VEVENT\r\nUID:h@x\r\nDTSTAMP:20240101T000000Z\r\nDTSTART;TZID=Hostile:20240304T090000\r\n"
              "DTEND;TZID=Hostile:20240304T100000\r\nSUMMARY:Zoned\r\nEND:VEVENT\r\n"
              "BEGIN:VEVENT\r\nUID:f@x\r\nDTSTAMP:20240101T000000Z\r\nDTSTART:20240305T090000\r\n"
              "DTEND:20240305T100000\r\nSUMMARY:Floating\r\nEND:VEVENT\r\n");
        CICalImporter importer(m_store.App().GetStore());
        QString strError;
        ASSERT_TRUE(importer.ImportText(text, &strError)) << pszFreq << strError.toStdString();
        // The floating event is in (added the first time, the same after); the zoned one is not.
        EXPECT_EQ(importer.Appointments() + importer.Unchanged(), 1) << pszFreq;
        const QString strSaid = importer.SkippedSummary().join(QLatin1Char('\n'));
        EXPECT_TRUE(strSaid.contains(QLatin1String("not yearly"))) << pszFreq << strSaid.toStdString();
    }
}

// DTSTAMP is a UTC date-time however the file wrote it: a date counts from its midnight
// in UTC, a time without zone is local time.
TEST_F(ImportBounds, ExportWritesEveryStampAsUtcDateTime)
{
    const QByteArray text = Calendar("BEGIN:VTODO\r\nUID:d@x\r\nDTSTAMP;VALUE=DATE:20240101\r\nSUMMARY:Date\r\nEND:VTODO\r\n"
                                     "BEGIN:VTODO\r\nUID:l@x\r\nDTSTAMP:20240601T100000\r\nSUMMARY:Local\r\nEND:VTODO\r\n"
                                     "BEGIN:VTODO\r\nUID:u@x\r\nDTSTAMP:20240601T100000Z\r\nSUMMARY:Utc\r\nEND:VTODO\r\n");
    CICalImporter importer(m_store.App().GetStore());
    QString strError;
    ASSERT_TRUE(importer.ImportText(text, &strError)) << strError.toStdString();
    const QByteArray out = Export();
    EXPECT_TRUE(out.contains("UID:d@x\r\nDTSTAMP:20240101T000000Z\r\n")) << out.constData();
    EXPECT_TRUE(out.contains("UID:l@x\r\nDTSTAMP:20240601T140000Z\r\n")) << out.constData();
    EXPECT_TRUE(out.contains("UID:u@x\r\nDTSTAMP:20240601T100000Z\r\n")) << out.constData();
    EXPECT_FALSE(out.contains("00000000T000000")) << out.constData();
}

// The file is read ahead of the store in a thread of its own: a write the store refuses
// far into a long file ends the reading, and the whole import is undone.
TEST_F(ImportBounds, AWriteRefusedHalfwayUndoesTheWholeImport)
{
    sqlite3* pDb = m_store.App().GetStore()->Db();
    ASSERT_EQ(sqlite3_exec(pDb,
                           "CREATE TRIGGER refuse BEFORE INSERT ON items WHEN NEW.subject='Refused' "
                           "BEGIN SELECT RAISE(ABORT, 'refused by the test'); END;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    QByteArray body;
    for (int i = 0; i < 2000; ++i) {
        body += "BEGIN:VEVENT\r\nUID:e" + QByteArray::number(i) + "@x\r\nDTSTAMP:20240101T000000Z\r\n"
              + "DTSTART:20240304T090000\r\nDTEND:20240304T100000\r\nSUMMARY:"
              + (i == 1500 ? "Refused" : "Event") + "\r\nEND:VEVENT\r\n";
    }
    CICalImporter importer(m_store.App().GetStore());
    QString strError;
    EXPECT_FALSE(importer.ImportText(Calendar(body), &strError));
    EXPECT_TRUE(strError.contains(QLatin1String("refused by the test"))) << strError.toStdString();
    EXPECT_EQ(importer.Added(), 0);
    sqlite3_stmt* pCount = nullptr;
    ASSERT_EQ(sqlite3_prepare_v2(pDb, "SELECT count(*) FROM items", -1, &pCount, nullptr), SQLITE_OK);
    ASSERT_EQ(sqlite3_step(pCount), SQLITE_ROW);
    EXPECT_EQ(sqlite3_column_int(pCount, 0), 0);
    sqlite3_finalize(pCount);
    ASSERT_EQ(sqlite3_exec(pDb, "DROP TRIGGER refuse", nullptr, nullptr, nullptr), SQLITE_OK);
    // The store takes the next import whole.
    EXPECT_TRUE(importer.ImportText(Calendar(body), &strError)) << strError.toStdString();
    EXPECT_EQ(importer.Added(), 2000);
}

}  // namespace
