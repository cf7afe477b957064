// Values at the edges of what libical and the store hold: durations past 2^31 seconds,
// numbers libical would read as others, UIDs that do not survive a file, and calendar
// texts of one item that libical must not be handed.
#include "tests/ical/ImportExportText.h"
#include "tests/support/PimTestStore.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "ical/ICalItemText.h"
#include "pim/CPimStore.h"
#include "pim/WallTime.h"

#include <QBuffer>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

QByteArray Calendar(const QByteArray& body)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//x//y//EN\r\n" + body + "END:VCALENDAR\r\n";
}

class ImportValues : public ::testing::Test {
protected:
    void SetUp() override { SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy"); }
};

// One value of the store's first row; -1 without rows.
int64_t Value(CTestStore& store, const QByteArray& expression)
{
    sqlite3_stmt* pStmt = nullptr;
    const QByteArray sql = "SELECT " + expression + " FROM items ORDER BY oid";
    sqlite3_prepare_v2(store.App().GetStore()->Db(), sql.constData(), -1, &pStmt, nullptr);
    const int64_t n = sqlite3_step(pStmt) == SQLITE_ROW ? sqlite3_column_int64(pStmt, 0) : -1;
    sqlite3_finalize(pStmt);
    return n;
}

// Every row's UID, in the order of their OIDs.
QStringList Uids(CTestStore& store)
{
    sqlite3_stmt* pStmt = nullptr;
    sqlite3_prepare_v2(store.App().GetStore()->Db(), "SELECT uid FROM items ORDER BY oid", -1, &pStmt, nullptr);
    QStringList uids;
    while (sqlite3_step(pStmt) == SQLITE_ROW)
        uids << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(pStmt, 0)));
    sqlite3_finalize(pStmt);
    return uids;
}

struct ValueCase {
    const char* pszComponent;  // VEVENT or VTODO
    const char* pszLines;      // its DURATION, VALARM or number
    const char* pszStored;     // an expression over the stored row
    int64_t nStored;           // its value; -1: nothing stored
    const char* pszSaid;       // what the import says
};

// libical sums a duration in an int: from P24856D (2^31 seconds) on it wrapped, silently;
// and it reads a number of ten digits or more as another number.
TEST_F(ImportValues, DurationsAndNumbersAreExactOrRefusedWithTheReason)
{
    const int64_t nDay = 1440;
    const ValueCase cases[] = {
        {"VEVENT", "DURATION:PT1H", "t_end-t_start", 60, "1 added, 0 updated, 0 unchanged, 0 skipped."},
        {"VEVENT", "DURATION:P24856D", "t_end-t_start", 24856 * nDay, "1 added"},
        {"VEVENT", "DURATION:PT999999999S", "t_end-t_start", 999999999 / 60, "1 added"},
        {"VEVENT", "DURATION:P50000D", "t_end-t_start", 50000 * nDay, "1 added"},
        {"VTODO", "DURATION:P24856D", "t_end-t_start", 24856 * nDay, "1 added"},
        {"VEVENT", "DURATION:P99999999D", "t_end", -1,
         "Skipped e@x: DURATION P99999999D is longer than the years 1900..3000"},
        {"VTODO", "DURATION:P99999999D", "t_end", -1,
         "Skipped e@x: DURATION P99999999D is longer than the years 1900..3000"},
        // 4294967297 days would be read as one.
        {"VEVENT", "DURATION:P4294967297D", "t_end", -1, "Skipped e@x: DURATION holds a number of more than 9 digits"},
        {"VEVENT", "DURATION:PT2147483648S", "t_end", -1, "Skipped e@x: DURATION holds a number of more than 9 digits"},
        {"VEVENT", "SEQUENCE:99999999999", "t_end", -1, "Skipped e@x: SEQUENCE holds a number of more than 9 digits"},
        {"VEVENT", "DURATION:PT1H\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-P4294967297D\r\nEND:VALARM", "t_end",
         -1, "Skipped e@x: TRIGGER holds a number of more than 9 digits"},
        {"VEVENT", "DURATION:PT1H\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-P300D\r\nEND:VALARM",
         "reminder_minutes", 300 * nDay, "1 added, 0 updated, 0 unchanged, 0 skipped."},
        // Past a year before the start, as past 2^31 seconds, the reminder keeps its default.
        {"VEVENT", "DURATION:PT1H\r\nBEGIN:VALARM\r\nACTION:DISPLAY\r\nTRIGGER:-P24856D\r\nEND:VALARM",
         "reminder_minutes", 15, "Dropped VALARM trigger (not a time before the start, up to a year): 1"},
    };
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(c.pszLines);
        CTestStore store;
        ASSERT_TRUE(store.IsOpen());
        const QByteArray component(c.pszComponent);
        const QString strSaid = ImportSaying(store, Calendar("BEGIN:" + component + "\r\nUID:e@x\r\nDTSTART:20240305T090000\r\n"
                                                       + c.pszLines + "\r\nSUMMARY:Long\r\nEND:" + component + "\r\n"));
        EXPECT_TRUE(strSaid.contains(QLatin1String(c.pszSaid))) << strSaid.toStdString();
        EXPECT_EQ(Value(store, c.pszStored), c.nStored);
    }
}

// libical trims white space at the ends of a value that its writer wrote out: such a UID is
// kept as it reads back, and one of white space only (or none) becomes one derived from
// the component. Export and import again, or the same file again, find the same item.
TEST_F(ImportValues, UidsAreKeptAsTheyReadBack)
{
    const struct {
        const char* pszUidLine;
        const char* pszKept;  // null: derived
    } cases[] = {
        {"UID:plain@x\r\n", "plain@x"},
        {"UID:\\tpadded@x\\t\r\n", "padded@x"},
        {"UID:\\t\r\n", nullptr},
        {"UID: \r\n", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszUidLine);
        CTestStore store;
        ASSERT_TRUE(store.IsOpen());
        const QByteArray text = Calendar(QByteArray("BEGIN:VEVENT\r\n") + c.pszUidLine
                                         + "DTSTART:20240305T090000\r\nDTEND:20240305T100000\r\nSUMMARY:Kept\r\n"
                                           "END:VEVENT\r\n");
        EXPECT_TRUE(ImportSaying(store, text).startsWith(QLatin1String("1 added, 0 updated, 0 unchanged, 0 skipped.")));
        const QStringList uids = Uids(store);
        ASSERT_EQ(uids.size(), 1);
        if (c.pszKept != nullptr)
            EXPECT_EQ(uids[0].toStdString(), c.pszKept);
        else
            EXPECT_TRUE(uids[0].endsWith(QLatin1String("@derived.quillday"))) << uids[0].toStdString();
        for (int nCycle = 0; nCycle < 3; ++nCycle)
            EXPECT_EQ(ImportSaying(store, ExportAll(store)).toStdString(), "0 added, 0 updated, 1 unchanged, 0 skipped.");
        EXPECT_EQ(ImportSaying(store, text).toStdString(), "0 added, 0 updated, 1 unchanged, 0 skipped.");
        EXPECT_EQ(Uids(store), uids);
    }
}

// A calendar server's text of one item reaches libical only when its structure is sound
// ('BEGIN;' made libical free a component twice; deep nesting exhausts its stack).
TEST_F(ImportValues, ItemTextOfDamagedStructureReadsAsNoCalendar)
{
    const QByteArray sound = Calendar("BEGIN:VEVENT\r\nUID:\\tone@x\r\nSUMMARY:A\r\nEND:VEVENT\r\n");
    EXPECT_EQ(ICalFirstUid(sound).toStdString(), "one@x");
    EXPECT_TRUE(ICalRenamedCopy(sound, QStringLiteral("two@x"), QStringLiteral(" (copy)"))
                    .contains("UID:two@x\r\nSUMMARY:A (copy)\r\n"));
    const QByteArray damaged[] = {
        Calendar("BEGIN:VEVENT\r\nUID:a@x\r\nBEGIN;\r\nEND:VEVENT\r\n"),
        Calendar("BEGIN;\r\n"),
        Calendar("BEGIN:VEVENT\r\nUID:a@x\r\n" + QByteArray("BEGIN:VALARM\r\n").repeated(100)
                 + QByteArray("END:VALARM\r\n").repeated(100) + "END:VEVENT\r\n"),
    };
    for (const QByteArray& text : damaged) {
        EXPECT_EQ(ICalFirstUid(text).toStdString(), "");
        EXPECT_TRUE(ICalRenamedCopy(text, QStringLiteral("b@x"), QStringLiteral("!")).isEmpty());
        EXPECT_FALSE(ICalSameItem(text, text));
    }
}

// A server's copy of what we sent is the same item however the server wrote it.
TEST_F(ImportValues, SameItemWhateverTheWriterChanged)
{
    const QByteArray ours = Calendar("BEGIN:VEVENT\r\nUID:a@x\r\nDTSTAMP:20261201T000000Z\r\n"
                                     "SUMMARY:Lunch with the whole team at the new place\r\nLOCATION:Here\r\nEND:VEVENT\r\n");
    const struct {
        QByteArray text;
        bool bSame;
    } cases[] = {
        {Calendar("BEGIN:VEVENT\r\nLOCATION:Here\r\nUID:a@x\r\nDTSTAMP:20261211T101010Z\r\n"
                  "SUMMARY:Lunch with the whole team at the new \r\n place\r\nEND:VEVENT\r\n"), true},
        {Calendar("BEGIN:VEVENT\r\nUID:a@x\r\nDTSTAMP:20261201T000000Z\r\n"
                  "SUMMARY:Lunch with the whole team at the old place\r\nLOCATION:Here\r\nEND:VEVENT\r\n"), false},
        {Calendar("BEGIN:VEVENT\r\nUID:a@x\r\nDTSTAMP:20261201T000000Z\r\n"
                  "SUMMARY:Lunch with the whole team at the new place\r\nEND:VEVENT\r\n"), false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ICalSameItem(ours, c.text), c.bSame) << c.text.constData();
}

}  // namespace
