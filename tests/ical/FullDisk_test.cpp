// A disk that fills while the calendar is written into the store or into a file: the
// failure says that the disk is full, and what was there before is kept.
#include "tests/support/CSmallDisk.h"
#include "tests/support/PimTestStore.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "pim/CPimStore.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QByteArray kCalendar = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//EN\r\nBEGIN:VEVENT\r\nUID:a@x\r\n"
                             "DTSTAMP:20240101T000000Z\r\nDTSTART:20240304T090000\r\nDTEND:20240304T100000\r\n"
                             "SUMMARY:Kept\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";

QString IndexNames(const QString& strPath)
{
    return StoreSqlValue(strPath, "SELECT group_concat(name) FROM (SELECT name FROM sqlite_master WHERE type='index'"
                                  " ORDER BY name)");
}

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        if (!m_disk.IsMounted())
            GTEST_SKIP() << "no file system of its own can be mounted here";
    }
    CSmallDisk m_disk{1024};
};

TEST_F(FullDisk, AnImportThatFindsTheDiskFullAtCommitSaysSo)
{
    IPOutlookApp app;
    const QString strStore = m_disk.FilePath(QStringLiteral("pim.sqlite"));
    ASSERT_EQ(app.Logon(strStore), S_OK);
    const QString strIndexes = IndexNames(strStore);
    ASSERT_TRUE(m_disk.Fill());
    CICalImporter importer(app.GetStore());
    QString strError;
    EXPECT_FALSE(importer.ImportText(kCalendar, &strError));
    EXPECT_EQ(strError.toStdString(), QStringLiteral("store %1: the disk is full").arg(strStore).toStdString());
    m_disk.Unfill();
    EXPECT_TRUE(importer.ImportText(kCalendar, &strError)) << strError.toStdString();
    EXPECT_EQ(importer.CountsLine().toStdString(), "1 added, 0 updated, 0 unchanged, 0 skipped.");
    EXPECT_EQ(IndexNames(strStore), strIndexes);  // a failed import into an empty store drops none
}

TEST_F(FullDisk, AnExportOntoAFullDiskSaysSoAndLeavesTheOldFile)
{
    CTestStore store;
    ASSERT_TRUE(store.IsOpen());
    CICalImporter importer(store.App().GetStore());
    QString strError;
    ASSERT_TRUE(importer.ImportText(kCalendar, &strError));
    const QString strTarget = m_disk.FilePath(QStringLiteral("out.ics"));
    {
        QFile old(strTarget);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("old");
    }
    ASSERT_TRUE(m_disk.Fill());
    CICalExporter exporter(store.App().GetStore());
    EXPECT_FALSE(exporter.ExportFile(strTarget, &strError));
    EXPECT_EQ(strError.toStdString(), QStringLiteral("cannot write %1: the disk is full").arg(strTarget).toStdString());
    QFile kept(strTarget);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "old");
}

}  // namespace
