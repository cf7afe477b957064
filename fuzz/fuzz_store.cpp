// The store file as a person's file like any other, damaged or hostile: the input is read
// as raw values of every type for the rows of items, notes and the two span trees, written
// past the store's own checks. Then the week queries with series expansion over a week
// the input names, every value of what they find, the export, and the import of that
// export. Whatever the rows hold, nothing overflows or crashes; the export succeeds or
// says why; what it writes holds no date outside the years a calendar can hold and no
// reminder after the start, and the importer takes it.
#include "fuzz/FuzzTarget.h"
#include "ical/CICalExporter.h"
#include "ical/CICalImporter.h"
#include "pim/CItemRecord.h"
#include "pim/CPimStore.h"
#include "pim/IAppointment.h"
#include "pim/IFolder.h"
#include "pim/IPOutlookItemCollection.h"
#include "pim/IRecurrencePattern.h"
#include "pim/ITask.h"
#include "pim/PimTypes.h"
#include "pim/WallTime.h"
#include "platform/ShortDate.h"

#include <QBuffer>
#include <QRegularExpression>
#include <cstring>
#include <limits>
#include <memory>

namespace {

// The input, read front to back; past its end every read gives zeros.
class CFuzzInput {
public:
    CFuzzInput(const uint8_t* pData, size_t nSize) : m_pData(pData), m_nLeft(nSize) {}
    uint8_t Byte()
    {
        if (m_nLeft == 0)
            return 0;
        --m_nLeft;
        return *m_pData++;
    }
    int64_t Raw64()
    {
        uint64_t n = 0;
        for (int i = 0; i < 8; ++i)
            n = (n << 8) | Byte();
        int64_t nSigned = 0;
        std::memcpy(&nSigned, &n, sizeof(n));
        return nSigned;
    }
    QByteArray Bytes(size_t nMax)
    {
        const size_t n = std::min<size_t>(Byte() % (nMax + 1), m_nLeft);
        const QByteArray bytes(reinterpret_cast<const char*>(m_pData), static_cast<qsizetype>(n));
        m_pData += n;
        m_nLeft -= n;
        return bytes;
    }
    bool AtEnd() const { return m_nLeft == 0; }

private:
    const uint8_t* m_pData;
    size_t m_nLeft;
};

// Wall minutes of 2024-03-04 00:00, a Monday, about which most values are chosen.
const int64_t kNearby = int64_t(45355) * 1440;

// An integer from the edges of every range the store's columns have, or near a week.
int64_t Integer(CFuzzInput& in)
{
    static const int64_t kEdges[] = {0, 1, -1, 2, 5, 7, 12, 31, 127, 999,
                                     kNoDateMinutes, kNoDateMinutes - 1, kNoDateMinutes + 1,
                                     std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int64_t>::max(), std::numeric_limits<int64_t>::min(),
                                     kNearby, kNearby + 9 * 60, kNearby + 10 * 60 + 30};
    const uint8_t nWhich = in.Byte();
    if (nWhich < 128)
        return kEdges[nWhich % (sizeof(kEdges) / sizeof(kEdges[0]))];
    if (nWhich < 192)  // within two weeks of kNearby, to the minute
        return kNearby + (int64_t(in.Byte()) << 8 | in.Byte()) - 20160 / 2;
    if (nWhich < 224)  // a small number
        return int64_t(int8_t(in.Byte()));
    return in.Raw64();
}

// Binds one raw value of a type the input chooses: integer, text, real, blob or null.
void BindValue(sqlite3_stmt* pStmt, int nIndex, CFuzzInput& in)
{
    switch (in.Byte() % 8) {
    case 0:
        sqlite3_bind_null(pStmt, nIndex);
        break;
    case 1: {
        const QByteArray text = in.Bytes(24);
        sqlite3_bind_text(pStmt, nIndex, text.constData(), int(text.size()), SQLITE_TRANSIENT);
        break;
    }
    case 2: {
        const int64_t n = in.Raw64();
        double d = 0;
        std::memcpy(&d, &n, sizeof(d));
        sqlite3_bind_double(pStmt, nIndex, d);
        break;
    }
    case 3: {
        const QByteArray blob = in.Bytes(24);
        sqlite3_bind_blob(pStmt, nIndex, blob.constData(), int(blob.size()), SQLITE_TRANSIENT);
        break;
    }
    default:
        sqlite3_bind_int64(pStmt, nIndex, Integer(in));
        break;
    }
}

// Runs an INSERT with every parameter bound from the input; a row the schema refuses
// (NOT NULL, a span whose low end is above its high) is simply not there.
void InsertRow(sqlite3* pDb, const char* pszSql, CFuzzInput& in, int nFixedFirst = -1)
{
    sqlite3_stmt* pStmt = nullptr;
    FuzzCheck(sqlite3_prepare_v2(pDb, pszSql, -1, &pStmt, nullptr) == SQLITE_OK, "the row statement prepares");
    const int nCount = sqlite3_bind_parameter_count(pStmt);
    for (int i = 1; i <= nCount; ++i) {
        if (i == 1 && nFixedFirst >= 0)
            sqlite3_bind_int64(pStmt, 1, nFixedFirst);
        else
            BindValue(pStmt, i, in);
    }
    sqlite3_step(pStmt);
    sqlite3_finalize(pStmt);
}

void Fill(sqlite3* pDb, CFuzzInput& in)
{
    static const char kItem[] =
        "INSERT INTO items(oid,kind,series,orig_start,deleted,uid,stamp,subject,location,t_start,t_end,all_day,"
        "reminder,reminder_minutes,importance,complete,t_completed,rec_type,rec_interval,rec_mask,rec_dom,"
        "rec_instance,rec_moy,rec_count,rec_until,rec_start,rec_last,tzid,seq) VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,"
        "?10,?11,?12,?13,?14,?15,?16,?17,?18,?19,?20,?21,?22,?23,?24,?25,?26,?27,?28,?29)";
    // Items take the OIDs 1, 2, ... in input order; notes and spans name theirs.
    for (int nOid = 1; nOid <= 8 && !in.AtEnd(); ++nOid) {
        switch (in.Byte() % 4) {
        case 0:
        case 1:
            InsertRow(pDb, kItem, in, nOid);
            break;
        case 2:
            InsertRow(pDb, "INSERT INTO notes(oid,data) VALUES(?1,?2)", in);
            break;
        default:
            InsertRow(pDb, in.Byte() % 2 ? "INSERT INTO appt_span(id,lo,hi) VALUES(?1,?2,?3)"
                                         : "INSERT INTO series_span(id,lo,hi) VALUES(?1,?2,?3)",
                      in);
            break;
        }
    }
}

QString QueryDate(int64_t nWall)
{
    return FormatShortDateForQuery(SystemTimeOfWall(nWall));
}

// Hands each item the restriction finds to fnRead, the first 1000 at most.
template <class T, class Fn>
void ForEachFound(IPOutlookItemCollection& items, const QString& strRestriction, Fn fnRead)
{
    std::unique_ptr<T> p;
    int nFound = 0;
    for (HRESULT hr = items.Find(strRestriction, &p); SUCCEEDED(hr) && p && ++nFound < 1000; hr = items.FindNext(&p))
        fnRead(*p);
}

// The week loader's queries over the week starting at nWeek, with every value of what they
// find read.
void ReadWeek(const std::shared_ptr<CPimStore>& pStore, int64_t nWeek)
{
    const QString strStart = QueryDate(nWeek);
    const QString strEnd = QueryDate(nWeek + 6 * 1440);
    IFolder calendar(pStore, olFolderCalendar);
    std::unique_ptr<IPOutlookItemCollection> pItems;
    if (SUCCEEDED(calendar.get_Items(&pItems))) {
        pItems->Sort(QStringLiteral("[Start]"), VARIANT_FALSE);
        pItems->put_IncludeRecurrences(VARIANT_TRUE);
        ForEachFound<IAppointment>(*pItems, QStringLiteral("[Start] <= %1 23:59 AND [End] >= %2 00:00").arg(strEnd, strStart),
                                   [](IAppointment& a) {
                                       DATE dt = 0;
                                       int32_t n = 0;
                                       BOOL b = FALSE;
                                       QString str;
                                       a.get_Start(&dt);
                                       a.get_End(&dt);
                                       a.get_Duration(&n);
                                       a.get_AllDayEvent(&b);
                                       a.get_ReminderSet(&b);
                                       a.get_ReminderMinutesBeforeStart(&n);
                                       a.get_Subject(&str);
                                       a.get_Location(&str);
                                       a.get_Body(&str);
                                       std::unique_ptr<IRecurrencePattern> pPattern;
                                       if (SUCCEEDED(a.GetRecurrencePattern(&pPattern)) && pPattern) {
                                           pPattern->get_PatternStartDate(&dt);
                                           pPattern->get_PatternEndDate(&dt);
                                           pPattern->get_Occurrences(&n);
                                       }
                                   });
    }
    IFolder tasks(pStore, olFolderTasks);
    if (SUCCEEDED(tasks.get_Items(&pItems))) {
        ForEachFound<ITask>(*pItems, QStringLiteral("[StartDate] <= %1 23:59 AND [DueDate] >= %2 00:00").arg(strEnd, strStart),
                            [](ITask& t) {
                                DATE dt = 0;
                                int32_t n = 0;
                                VARIANT_BOOL b = VARIANT_FALSE;
                                t.get_StartDate(&dt);
                                t.get_DueDate(&dt);
                                t.get_DateCompleted(&dt);
                                t.get_Importance(&n);
                                t.get_Complete(&b);
                            });
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize)
{
    CFuzzInput in(pData, nSize);
    const int64_t nWeek = WallDayStart(kNearby + 1440 * (int64_t(int8_t(in.Byte())) * 7));
    const std::shared_ptr<CPimStore> pStore = FuzzEmptyStore(0);
    Fill(pStore->Db(), in);
    ReadWeek(pStore, nWeek);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    CICalExporter exporter(pStore);
    QString strError;
    if (!exporter.Export(&buffer, &strError)) {
        FuzzCheck(!strError.isEmpty(), "a failed export says why");
        return 0;
    }
    const QByteArray text = buffer.data();
    FuzzCheck(!text.contains(":00000000T") && !text.contains(":00000000\r"), "no date of year 0 is written");
    static const QRegularExpression afterStart(QStringLiteral("TRIGGER:P(?!T0S\r)"));
    FuzzCheck(!QString::fromUtf8(text).contains(afterStart), "no reminder is written after the start");
    CICalImporter importer(FuzzEmptyStore(1));
    FuzzCheck(importer.ImportText(text, &strError) == TRUE, "the importer reads what the exporter writes");
    return 0;
}
