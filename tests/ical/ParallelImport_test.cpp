// An import read on several threads gives what one reading thread gives: the same rows,
// counts, lines about what was left out (in file order), special days and errors, over a
// file of many batches that has every kind of component the reading threads treat apart.
#include "tests/support/PimTestStore.h"
#include "ical/CICalImporter.h"
#include "pim/CPimStore.h"

#include <QBuffer>
#include <QDate>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// A zone of the file's own, defined after the items that use it.
const char kOwnZone[] = "BEGIN:VTIMEZONE\r\nTZID:Own Berlin\r\n"
                        "BEGIN:DAYLIGHT\r\nTZOFFSETFROM:+0100\r\nTZOFFSETTO:+0200\r\nDTSTART:19810329T020000\r\n"
                        "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU\r\nEND:DAYLIGHT\r\n"
                        "BEGIN:STANDARD\r\nTZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nDTSTART:19961027T030000\r\n"
                        "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n";

// The day of March 2024 (from 10 on) weeks later, as iCalendar writes it.
QByteArray MarchDay(int nDay, int nWeeks)
{
    return QDate(2024, 3, nDay).addDays(7 * nWeeks).toString(QStringLiteral("yyyyMMdd")).toLatin1();
}

QByteArray Component(const char* pszName, const QByteArray& body)
{
    return QByteArray("BEGIN:") + pszName + "\r\nDTSTAMP:20240101T000000Z\r\n" + body + "END:" + pszName + "\r\n";
}

// Group i of the file: one of the kinds of component, in turn.
QByteArray Group(int i)
{
    const QByteArray n = QByteArray::number(i);
    const QByteArray day = QByteArray::number(10 + i % 18);
    const auto week = [&](int nWeeks) { return "TZID=Own Berlin:" + MarchDay(10 + i % 18, nWeeks) + "T090000"; };
    switch (i % 9) {
    case 0:  // a zoned weekly series, a changed occurrence before it, one after, one of no occurrence
        return Component("VEVENT", "UID:s" + n + "\r\nRECURRENCE-ID;" + week(0) + "\r\nDTSTART;TZID=Own Berlin:202403"
                                       + day + "T110000\r\nDURATION:PT1H\r\nSUMMARY:moved " + n + "\r\n")
             + Component("VEVENT", "UID:s" + n + "\r\nDTSTART;" + week(0) + "\r\nDURATION:PT1H\r\n"
                                       "RRULE:FREQ=WEEKLY;COUNT=6\r\nEXDATE;" + week(1) + "\r\nSUMMARY:series " + n + "\r\n")
             + Component("VEVENT", "UID:s" + n + "\r\nRECURRENCE-ID;TZID=Own Berlin:202403" + day
                                       + "T100000\r\nDTSTART:20240301T100000\r\nSUMMARY:no such occurrence\r\n")
             + Component("VEVENT", "UID:s" + n + "\r\nRECURRENCE-ID;" + week(2) + "\r\nSTATUS:CANCELLED\r\n"
                                       "DTSTART:20240301T100000\r\n");
    case 1:  // a recurring to-do with a completed occurrence at its front and one beyond
        return Component("VTODO", "UID:t" + n + "\r\nDUE;VALUE=DATE:202402" + day + "\r\nRRULE:FREQ=DAILY;COUNT=9\r\n"
                                      "SUMMARY:task " + n + "\r\n")
             + Component("VTODO", "UID:t" + n + "\r\nRECURRENCE-ID;VALUE=DATE:202402" + day
                                      + "\r\nSTATUS:COMPLETED\r\nDUE;VALUE=DATE:202402" + day + "\r\n")
             + Component("VTODO", "UID:t" + n + "\r\nRECURRENCE-ID;VALUE=DATE:202402" + QByteArray::number(12 + i % 16)
                                      + "\r\nSTATUS:NEEDS-ACTION\r\nDUE;VALUE=DATE:20240301\r\n");
    case 2:  // a UID that an earlier item of the file has
        return Component("VEVENT", "UID:s" + QByteArray::number(i - 2) + "\r\nDTSTART:20240601T080000\r\n"
                                       "SUMMARY:same UID " + n + "\r\n");
    case 3:  // not an event or a to-do
        return Component("VJOURNAL", "UID:j" + n + "\r\nSUMMARY:journal\r\n");
    case 4:  // cancelled, and a component libical cannot read
        return Component("VEVENT", "UID:c" + n + "\r\nSTATUS:CANCELLED\r\nDTSTART:20240601T080000\r\n")
             + Component("VEVENT", "UID:u" + n + "\r\nDTSTART:2024x\r\nSUMMARY:unreadable\r\n");
    case 5:  // seconds and a database zone, without a UID
        return Component("VEVENT", "DTSTART;TZID=America/New_York:202405" + day + "T081530\r\n"
                                   "DTEND;TZID=America/New_York:202405" + day + "T091530\r\nSUMMARY:no uid " + n + "\r\n");
    case 6:  // a changed occurrence whose series is not in the file
        return Component("VEVENT", "UID:orphan" + n + "\r\nRECURRENCE-ID:20240301T090000Z\r\n"
                                       "DTSTART:20240301T100000Z\r\n");
    case 7:  // a yearly all-day event: a special day when they are kept apart
        return Component("VEVENT", "UID:b" + n + "\r\nDTSTART;VALUE=DATE:199004" + day
                                       + "\r\nRRULE:FREQ=YEARLY\r\nSUMMARY:birthday " + n + "\r\n");
    default:  // a to-do with a time of day and a progress the store does not keep
        return Component("VTODO", "UID:p" + n + "\r\nDUE:202407" + day + "T170000\r\nPERCENT-COMPLETE:40\r\n"
                                      "PRIORITY:3\r\nSUMMARY:progress " + n + "\r\n");
    }
}

QByteArray Calendar(const QByteArray& components)
{
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillday tests//threads//EN\r\n" + components
         + "END:VCALENDAR\r\n";
}

// Many batches of every kind of group.
QByteArray ManyKinds(int nGroups)
{
    QByteArray components;
    for (int i = 0; i < nGroups; ++i)
        components += Group(i);
    return Calendar(components + kOwnZone);
}

// The item a store holds before the import, unless it is empty.
const QByteArray kThereBefore = Component("VEVENT", "UID:before\r\nDTSTART:20240102T090000\r\nSUMMARY:there before\r\n");

struct Outcome {
    bool bOk = false;
    QString strError;
    QString strCounts;
    QStringList leftOut;
    QStringList specialDays;
    QString strRows;
};

// The first line where two texts differ, both ways.
std::string FirstDifference(const QString& strA, const QString& strB)
{
    const QStringList a = strA.split(u'\n'), b = strB.split(u'\n');
    for (qsizetype i = 0; i < std::min(a.size(), b.size()); ++i) {
        if (a[i] != b[i])
            return "\n" + a[i].toStdString() + "\n" + b[i].toStdString();
    }
    return a.size() == b.size() ? std::string() : "\nof other lengths";
}

void ExpectSame(const Outcome& a, const Outcome& b, int nThreads)
{
    EXPECT_EQ(a.bOk, b.bOk) << nThreads;
    EXPECT_EQ(a.strError.toStdString(), b.strError.toStdString()) << nThreads;
    EXPECT_EQ(a.strCounts.toStdString(), b.strCounts.toStdString()) << nThreads;
    EXPECT_EQ(a.leftOut.join(u'\n').toStdString(), b.leftOut.join(u'\n').toStdString()) << nThreads;
    EXPECT_EQ(a.specialDays, b.specialDays) << nThreads;
    EXPECT_TRUE(a.strRows == b.strRows) << nThreads << FirstDifference(a.strRows, b.strRows);
}

// Fails the reads of a second pass over it from a given byte on.
class CFailingSecondPass : public QBuffer {
public:
    CFailingSecondPass(const QByteArray& text, qint64 nFailFrom) : m_nFailFrom(nFailFrom)
    {
        setData(text);
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }

protected:
    qint64 readData(char* pData, qint64 nMax) override
    {
        if (m_bReadToEnd && pos() >= m_nFailFrom)
            return -1;
        if (m_bReadToEnd)
            nMax = std::min(nMax, m_nFailFrom - pos());
        const qint64 n = QBuffer::readData(pData, nMax);
        m_bReadToEnd = m_bReadToEnd || pos() + n >= size();
        return n;
    }

private:
    const qint64 m_nFailFrom;
    bool m_bReadToEnd = false;
};

class ParallelImport : public ::testing::Test {
protected:
    void SetUp() override { SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy"); }

    // An import with the given reading threads into a store that is empty or holds one
    // item; with nRoomPages, the store can grow by that many pages only.
    static Outcome Import(int nThreads, const std::function<bool(CICalImporter&, QString*)>& fnImport,
                          bool bEmpty = false, int nRoomPages = 0)
    {
        CTestStore store;
        EXPECT_TRUE(store.IsOpen());
        CPimStore& pim = *store.App().GetStore();
        QString strError;
        const bool bBefore = bEmpty || CICalImporter(store.App().GetStore()).ImportText(Calendar(kThereBefore), &strError);
        EXPECT_TRUE(bBefore) << strError.toStdString();
        if (nRoomPages > 0) {
            const QByteArray sql = "PRAGMA max_page_count=" + QByteArray::number(PageCount(pim) + nRoomPages);
            EXPECT_EQ(sqlite3_exec(pim.Db(), sql.constData(), nullptr, nullptr, nullptr), SQLITE_OK);
        }
        CICalImporter importer(store.App().GetStore());
        importer.SetReaderThreads(nThreads);
        importer.KeepSpecialDays(false);
        Outcome out;
        out.bOk = fnImport(importer, &out.strError);
        out.strError.replace(pim.Path(), QStringLiteral("<store>"));
        out.strCounts = importer.CountsLine();
        out.leftOut = importer.LeftOut();
        for (const ICalSpecialDay& day : importer.SpecialDays())
            out.specialDays << day.strUid;
        out.strRows = StoreRows(pim);
        return out;
    }

    static Outcome ImportText(int nThreads, const QByteArray& text, bool bEmpty = false, int nRoomPages = 0)
    {
        return Import(
            nThreads, [&](CICalImporter& importer, QString* pstrError) { return importer.ImportText(text, pstrError); },
            bEmpty, nRoomPages);
    }

    static int PageCount(CPimStore& pim)
    {
        sqlite3_stmt* pStmt = nullptr;
        sqlite3_prepare_v2(pim.Db(), "PRAGMA page_count", -1, &pStmt, nullptr);
        const int nPages = sqlite3_step(pStmt) == SQLITE_ROW ? sqlite3_column_int(pStmt, 0) : 0;
        sqlite3_finalize(pStmt);
        return nPages;
    }
};

constexpr int kGroups = 1500;  // some 2,500 components: many batches for each thread

TEST_F(ParallelImport, SeveralReadingThreadsGiveWhatOneGives)
{
    const QByteArray text = ManyKinds(kGroups);
    for (const bool bEmpty : {true, false}) {
        const Outcome one = ImportText(1, text, bEmpty);
        ASSERT_TRUE(one.bOk) << one.strError.toStdString();
        for (int nThreads : {2, 3, 4})
            ExpectSame(one, ImportText(nThreads, text, bEmpty), nThreads);
    }
}

TEST_F(ParallelImport, TheFileHoldsEveryKindOfLine)
{
    const Outcome one = ImportText(1, ManyKinds(kGroups));
    ASSERT_TRUE(one.bOk) << one.strError.toStdString();
    // Every kind of line is there, so that the comparison below covers it.
    const QString strLeftOut = one.leftOut.join(u'\n');
    for (const char* psz : {"Skipped s0: changed occurrence: RECURRENCE-ID matches no occurrence",
                            "Skipped t1: changed occurrence 2024-02-13: a recurring task keeps one pattern",
                            "Skipped j3: VJOURNAL components are not events or to-dos", "Skipped c4: cancelled event",
                            "Skipped u4: ", "Skipped orphan6: changed occurrence whose series is not in the file",
                            "Kept s0 as s0#2", "Dropped seconds of DTSTART", "Dropped PERCENT-COMPLETE"})
        EXPECT_TRUE(strLeftOut.contains(QLatin1String(psz))) << psz;
    EXPECT_EQ(one.strCounts.toStdString(), "1167 added, 0 updated, 0 unchanged, 1502 skipped.");
}

TEST_F(ParallelImport, SpecialDaysComeInFileOrder)
{
    const QByteArray text = ManyKinds(kGroups);
    const auto keepDays = [&](CICalImporter& importer, QString* pstrError) {
        importer.KeepSpecialDays(true);
        return importer.ImportText(text, pstrError);
    };
    const Outcome one = Import(1, keepDays);
    ASSERT_TRUE(one.bOk) << one.strError.toStdString();
    ASSERT_EQ(one.specialDays.size(), kGroups / 9);
    EXPECT_EQ(one.specialDays.front(), QStringLiteral("b7"));
    EXPECT_EQ(one.specialDays.back(), QStringLiteral("b1492"));
    ExpectSame(one, Import(4, keepDays), 4);
}

TEST_F(ParallelImport, AFileThatCannotBeReadToItsEndAddsNothing)
{
    const QByteArray text = ManyKinds(kGroups);
    const Outcome before = ImportText(1, Calendar(QByteArray()));
    for (int nThreads : {1, 4}) {
        const Outcome out = Import(nThreads, [&](CICalImporter& importer, QString* pstrError) {
            CFailingSecondPass device(text, text.size() * 3 / 4);
            return importer.ImportDevice(&device, pstrError);
        });
        EXPECT_FALSE(out.bOk) << nThreads;
        EXPECT_EQ(out.strError.toStdString(), "the file could not be read to its end") << nThreads;
        EXPECT_TRUE(out.strRows == before.strRows) << nThreads;
    }
}

TEST_F(ParallelImport, AStoreThatFillsUpMidwayKeepsWhatItHeld)
{
    const QByteArray text = ManyKinds(kGroups);
    const Outcome before = ImportText(1, Calendar(QByteArray()));
    // Room for a few more pages only: the writes fail long before the file's end.
    constexpr int kRoomPages = 20;
    const Outcome one = ImportText(1, text, false, kRoomPages);
    EXPECT_FALSE(one.bOk);
    EXPECT_TRUE(one.strError.contains(QLatin1String("full"))) << one.strError.toStdString();
    EXPECT_TRUE(one.strRows == before.strRows);
    for (int nThreads : {2, 4})
        ExpectSame(one, ImportText(nThreads, text, false, kRoomPages), nThreads);
}

}  // namespace
