#include "pim/CItemTable.h"

#include "pim/CPimStore.h"
#include "pim/CRecurrence.h"
#include "pim/CRecurrenceMath.h"
#include "pim/CSeriesZone.h"
#include "pim/CSqlStatement.h"
#include "pim/PimTypes.h"
#include <QStringList>
#include <algorithm>
#include <limits>

const char* const CItemTable::kQueryColumns =
    "oid,kind,series,orig_start,deleted,'','',subject,location,t_start,t_end,all_day,"
    "reminder,reminder_minutes,importance,complete,t_completed,rec_type,rec_interval,rec_mask,"
    "rec_dom,rec_instance,rec_moy,rec_count,rec_until,rec_start,rec_last,tzid,seq";

// Whether the row has notes of its own.
#define ITEM_NOTES_FLAG "EXISTS(SELECT 1 FROM notes WHERE notes.oid=items.oid AND length(notes.data)>0)"

const char* const CItemTable::kNotesFlag = ITEM_NOTES_FLAG;

const char* const CItemTable::kTaskQueryColumns =
    "oid,t_start,t_end,importance,t_completed,reminder,rec_type,subject," ITEM_NOTES_FLAG;

#undef ITEM_NOTES_FLAG

const char* const CItemTable::kColumns =
    "oid,kind,series,orig_start,deleted,uid,stamp,subject,location,t_start,t_end,all_day,"
    "reminder,reminder_minutes,importance,complete,t_completed,rec_type,rec_interval,rec_mask,"
    "rec_dom,rec_instance,rec_moy,rec_count,rec_until,rec_start,rec_last,tzid,seq";

namespace {

constexpr const char* kInsert =
    "INSERT INTO items(kind,series,orig_start,deleted,uid,stamp,subject,location,t_start,t_end,"
    "all_day,reminder,reminder_minutes,importance,complete,t_completed,rec_type,rec_interval,"
    "rec_mask,rec_dom,rec_instance,rec_moy,rec_count,rec_until,rec_start,rec_last,tzid,seq) "
    "VALUES(?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13,?14,?15,?16,?17,?18,?19,?20,?21,?22,?23,?24,?25,?26,?28,?29)";
constexpr const char* kUpdate =
    "UPDATE items SET kind=?1,series=?2,orig_start=?3,deleted=?4,uid=coalesce(nullif(?5,''),uid),stamp=?6,subject=?7,"
    "location=?8,t_start=?9,t_end=?10,all_day=?11,reminder=?12,reminder_minutes=?13,importance=?14,"
    "complete=?15,t_completed=?16,rec_type=?17,rec_interval=?18,rec_mask=?19,rec_dom=?20,"
    "rec_instance=?21,rec_moy=?22,rec_count=?23,rec_until=?24,rec_start=?25,rec_last=?26,tzid=?28,seq=?29 WHERE oid=?27";

int64_t ClampI32(int64_t n)
{
    return std::clamp<int64_t>(n, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
}

constexpr int64_t kIntMin = std::numeric_limits<int>::min();
constexpr int64_t kIntMax = std::numeric_limits<int>::max();

// n kept within [nLo, nHi]; the column is named in *pDamaged when it was not.
int64_t Within(int64_t n, int64_t nLo, int64_t nHi, const char* pszColumn, QStringList* pDamaged)
{
    if (n >= nLo && n <= nHi)
        return n;
    *pDamaged << QLatin1String(pszColumn);
    return std::clamp(n, nLo, nHi);
}

// A time the store holds, or not set.
int64_t Time(const CSqlStatement& st, int nColumn, const char* pszColumn, QStringList* pDamaged)
{
    const int64_t n = st.Int(nColumn);
    return n == kNoDateMinutes ? n : Within(n, kEarliestMinutes, kLatestMinutes, pszColumn, pDamaged);
}

// A value of the store as an int (its columns hold 64 bits).
int Number(const CSqlStatement& st, int nColumn, const char* pszColumn, QStringList* pDamaged)
{
    return static_cast<int>(Within(st.Int(nColumn), kIntMin, kIntMax, pszColumn, pDamaged));
}

// What a damaged row holds beyond the single values' ranges: a kind of item the store has
// no other of, an appointment without times or ending before it starts, a pattern no walk
// can follow.
void CheckConsistency(CItemRecord* p, QStringList* pDamaged)
{
    if (p->nItemType != olAppointmentItem && p->nItemType != olTaskItem) {
        *pDamaged << QStringLiteral("kind");
        p->nItemType = olAppointmentItem;
    }
    if (p->nItemType == olAppointmentItem) {
        p->nStart = Within(p->nStart, kEarliestMinutes, kLatestMinutes, "t_start not set", pDamaged);
        p->nEnd = Within(p->nEnd, p->nStart, kLatestMinutes, "t_end before t_start", pDamaged);
    }
    const CRecurrenceRule& rule = p->rule;
    if (rule.nType < -1
        || (rule.IsRecurring() && (!CRecurrenceMath::IsValid(rule) || rule.nOccurrences < 0
                                   || rule.nOccurrences > CRecurrence::kMaxOccurrences
                                   || p->nPatternStart == kNoDateMinutes))) {
        *pDamaged << QStringLiteral("recurrence pattern");
        p->rule = CRecurrenceRule();
    }
}

}  // namespace

bool CItemTable::ReadWithNotesFlag(const CSqlStatement& st, CItemRecord* p)
{
    const bool bRead = Read(st, 0, p);
    p->bHasNotes = st.Int(kColumnCount) != 0;
    p->bNotesFlagRead = true;
    return bRead;
}

bool CItemTable::Read(const CSqlStatement& st, int c, CItemRecord* p, QString* pstrDamage)
{
    QStringList damaged;
    const int64_t nRow = st.Int(c);
    p->nItemType = Number(st, c + 1, "kind", &damaged);
    p->bOccurrence = !st.IsNull(c + 2);
    p->nOid = static_cast<int32_t>(p->bOccurrence ? ClampI32(st.Int(c + 2)) : nRow);
    p->nExceptionId = p->bOccurrence ? nRow : 0;
    p->nOriginalStart = p->bOccurrence ? Time(st, c + 3, "orig_start", &damaged) : 0;
    p->bDeletedOccurrence = st.Int(c + 4) != 0;
    p->strUid = st.Text(c + 5);
    p->strStamp = st.Text(c + 6);
    p->strSubject = st.Text(c + 7);
    p->strLocation = st.Text(c + 8);
    p->nStart = Time(st, c + 9, "t_start", &damaged);
    p->nEnd = Time(st, c + 10, "t_end", &damaged);
    p->bAllDay = st.Int(c + 11) != 0;
    p->bReminderSet = st.Int(c + 12) != 0;
    p->nReminderMinutes = static_cast<int>(Within(st.Int(c + 13), 0, kLongestReminderMinutes, "reminder_minutes", &damaged));
    p->nImportance = static_cast<int>(Within(st.Int(c + 14), olImportanceLow, olImportanceHigh, "importance", &damaged));
    p->bComplete = st.Int(c + 15) != 0;
    p->nDateCompleted = Time(st, c + 16, "t_completed", &damaged);
    p->rule.nType = Number(st, c + 17, "rec_type", &damaged);
    p->rule.nInterval = Number(st, c + 18, "rec_interval", &damaged);
    p->rule.nDayOfWeekMask = Number(st, c + 19, "rec_mask", &damaged);
    p->rule.nDayOfMonth = Number(st, c + 20, "rec_dom", &damaged);
    p->rule.nInstance = Number(st, c + 21, "rec_instance", &damaged);
    p->rule.nMonthOfYear = Number(st, c + 22, "rec_moy", &damaged);
    p->rule.nOccurrences = Number(st, c + 23, "rec_count", &damaged);
    p->rule.nPatternEnd = Time(st, c + 24, "rec_until", &damaged);
    p->nPatternStart = Time(st, c + 25, "rec_start", &damaged);
    p->nLastStart = Time(st, c + 26, "rec_last", &damaged);
    p->strTzid = st.Text(c + 27);
    p->nSequence = static_cast<int>(Within(st.Int(c + 28), 0, kIntMax, "seq", &damaged));
    CheckConsistency(p, &damaged);
    // A zoned series starts at the local time of its first occurrence, as the local zone
    // gives it now.
    if (!p->strTzid.isEmpty() && !p->bOccurrence && p->rule.IsRecurring()) {
        const int64_t nDuration = p->nEnd - p->nStart;
        p->nStart = CSeriesZone::ToLocal(p->strTzid, p->nPatternStart);
        p->nEnd = p->nStart + nDuration;
    }
    p->notes.clear();
    p->bNotesLoaded = false;
    p->bPartial = false;
    if (pstrDamage != nullptr)
        *pstrDamage = damaged.join(QStringLiteral(", "));
    return damaged.isEmpty();
}

bool CItemTable::Load(CPimStore& store, int64_t nRow, CItemRecord* pRecord)
{
    static const QByteArray sql = QByteArray("SELECT ") + kColumns + " FROM items WHERE oid=?1";
    CSqlStatement st(store.Cached(sql.constData()));
    st.Bind(1, nRow);
    if (st.Step() != SQLITE_ROW)
        return false;
    Read(st, 0, pRecord);
    return true;
}

void CItemTable::BindValues(CSqlStatement& st, const CItemRecord& r)
{
    st.Bind(1, int64_t(r.nItemType));
    if (r.bOccurrence)
        st.Bind(2, int64_t(r.nOid)).Bind(3, r.nOriginalStart);
    else
        st.BindNull(2).BindNull(3);
    st.Bind(4, int64_t(r.bDeletedOccurrence)).Bind(5, r.strUid).Bind(6, r.strStamp);
    st.Bind(7, r.strSubject).Bind(8, r.strLocation).Bind(9, r.nStart).Bind(10, r.nEnd);
    st.Bind(11, int64_t(r.bAllDay)).Bind(12, int64_t(r.bReminderSet)).Bind(13, int64_t(r.nReminderMinutes));
    st.Bind(14, int64_t(r.nImportance)).Bind(15, int64_t(r.bComplete)).Bind(16, r.nDateCompleted);
    const CRecurrenceRule& rule = r.bOccurrence ? CRecurrenceRule() : r.rule;
    st.Bind(17, int64_t(rule.nType)).Bind(18, int64_t(rule.nInterval)).Bind(19, int64_t(rule.nDayOfWeekMask));
    st.Bind(20, int64_t(rule.nDayOfMonth)).Bind(21, int64_t(rule.nInstance)).Bind(22, int64_t(rule.nMonthOfYear));
    st.Bind(23, int64_t(rule.nOccurrences)).Bind(24, rule.nPatternEnd);
    st.Bind(25, r.nPatternStart).Bind(26, r.nLastStart);
    st.Bind(28, r.strTzid).Bind(29, int64_t(r.nSequence));
}

// The R*Tree span of an appointment row: a deleted occurrence and a short item have none;
// a series reaches to the end of its last possible occurrence.
bool CItemTable::PutSpan(CPimStore& store, int64_t nRow, const CItemRecord& r, bool bNew)
{
    // A row may have turned from single to series or back: clear both trees first.
    CSqlStatement del(store.Cached("DELETE FROM appt_span WHERE id=?1"));
    CSqlStatement delSeries(store.Cached("DELETE FROM series_span WHERE id=?1"));
    if (!bNew && (!del.Bind(1, nRow).Exec() || !delSeries.Bind(1, nRow).Exec()))
        return false;
    if (r.nItemType != olAppointmentItem || r.bDeletedOccurrence)
        return true;
    const bool bSeries = r.rule.IsRecurring() && !r.bOccurrence;
    if (!bSeries && IsShort(r.nStart, r.nEnd))
        return true;
    int64_t nHi = r.nEnd;
    int64_t nLo = r.nStart;
    if (bSeries) {
        // A zoned series' local times move with the local zone: leave room for any.
        const int64_t nShift = r.strTzid.isEmpty() ? 0 : CSeriesZone::kMaxShiftMinutes;
        nLo = (r.strTzid.isEmpty() ? r.nStart : r.nPatternStart) - nShift;
        nHi = r.nLastStart >= kNoDateMinutes ? std::numeric_limits<int32_t>::max() : r.nLastStart + Duration(r) + nShift;
    }
    CSqlStatement ins(store.Cached(bSeries ? "INSERT INTO series_span(id,lo,hi) VALUES(?1,?2,?3)"
                                           : "INSERT INTO appt_span(id,lo,hi) VALUES(?1,?2,?3)"));
    return ins.Bind(1, nRow).Bind(2, ClampI32(nLo)).Bind(3, ClampI32(std::max(nHi, nLo))).Exec();
}

int64_t CItemTable::Insert(CPimStore& store, const CItemRecord& record)
{
    CSqlStatement st(store.Cached(kInsert));
    BindValues(st, record);
    if (!st.Exec())
        return 0;
    const int64_t nRow = sqlite3_last_insert_rowid(store.Db());
    if (nRow > std::numeric_limits<int32_t>::max())  // OIDs are 32-bit
        return 0;
    return PutSpan(store, nRow, record, true) ? nRow : 0;
}

bool CItemTable::Update(CPimStore& store, int64_t nRow, const CItemRecord& record)
{
    CSqlStatement st(store.Cached(kUpdate));
    BindValues(st, record);
    st.Bind(27, nRow);
    return st.Exec() && sqlite3_changes(store.Db()) == 1 && PutSpan(store, nRow, record, false);
}

bool CItemTable::RestoreSpan(CPimStore& store, int64_t nRow)
{
    CItemRecord record;
    return Load(store, nRow, &record) && PutSpan(store, nRow, record, false);
}

bool CItemTable::Remove(CPimStore& store, int64_t nRow)
{
    CSqlStatement st(store.Cached("DELETE FROM items WHERE oid=?1"));
    CSqlStatement notes(store.Cached("DELETE FROM notes WHERE oid=?1"));
    CSqlStatement span(store.Cached("DELETE FROM appt_span WHERE id=?1"));
    CSqlStatement series(store.Cached("DELETE FROM series_span WHERE id=?1"));
    return st.Bind(1, nRow).Exec() && notes.Bind(1, nRow).Exec() && span.Bind(1, nRow).Exec()
        && series.Bind(1, nRow).Exec();
}

bool CItemTable::RemoveExceptions(CPimStore& store, int32_t nSeries)
{
    CSqlStatement notes(store.Cached("DELETE FROM notes WHERE oid IN (SELECT oid FROM items WHERE series=?1)"));
    CSqlStatement span(store.Cached("DELETE FROM appt_span WHERE id IN (SELECT oid FROM items WHERE series=?1)"));
    CSqlStatement rows(store.Cached("DELETE FROM items WHERE series=?1"));
    return notes.Bind(1, int64_t(nSeries)).Exec() && span.Bind(1, int64_t(nSeries)).Exec()
        && rows.Bind(1, int64_t(nSeries)).Exec();
}

bool CItemTable::ListExceptions(CPimStore& store, int32_t nSeries, QVector<QPair<int64_t, int64_t>>* pRows)
{
    CSqlStatement st(store.Cached("SELECT oid,orig_start FROM items WHERE series=?1 ORDER BY orig_start"));
    st.Bind(1, int64_t(nSeries));
    pRows->clear();
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW)
        pRows->push_back({st.Int(0), st.Int(1)});
    return rc == SQLITE_DONE;
}

int64_t CItemTable::FindException(CPimStore& store, int32_t nSeries, int64_t nOriginalStart)
{
    CSqlStatement st(store.Cached("SELECT oid FROM items WHERE series=?1 AND orig_start=?2"));
    st.Bind(1, int64_t(nSeries)).Bind(2, nOriginalStart);
    return st.Step() == SQLITE_ROW ? st.Int(0) : 0;
}

int64_t CItemTable::FindExceptionStartingAt(CPimStore& store, int32_t nSeries, int64_t nStart)
{
    CSqlStatement st(store.Cached("SELECT oid FROM items WHERE series=?1 AND deleted=0 AND t_start=?2"));
    st.Bind(1, int64_t(nSeries)).Bind(2, nStart);
    return st.Step() == SQLITE_ROW ? st.Int(0) : 0;
}

bool CItemTable::LoadNotes(CPimStore& store, int64_t nRow, QByteArray* pBytes)
{
    CSqlStatement st(store.Cached("SELECT data FROM notes WHERE oid=?1"));
    st.Bind(1, nRow);
    const int rc = st.Step();
    *pBytes = rc == SQLITE_ROW ? st.Blob(0) : QByteArray();
    return rc == SQLITE_ROW || rc == SQLITE_DONE;
}

bool CItemTable::SaveNotes(CPimStore& store, int64_t nRow, const QByteArray& bytes)
{
    if (bytes.isEmpty()) {
        CSqlStatement del(store.Cached("DELETE FROM notes WHERE oid=?1"));
        return del.Bind(1, nRow).Exec();
    }
    CSqlStatement st(store.Cached("INSERT OR REPLACE INTO notes(oid,data) VALUES(?1,?2)"));
    return st.Bind(1, nRow).Bind(2, bytes).Exec();
}

bool CItemTable::CopyNotes(CPimStore& store, int64_t nFrom, int64_t nTo)
{
    CSqlStatement st(store.Cached("INSERT OR REPLACE INTO notes(oid,data) SELECT ?2,data FROM notes WHERE oid=?1"));
    return st.Bind(1, nFrom).Bind(2, nTo).Exec();
}

int64_t CItemTable::NotesLength(CPimStore& store, int64_t nRow)
{
    CSqlStatement st(store.Cached("SELECT length(data) FROM notes WHERE oid=?1"));
    st.Bind(1, nRow);
    return st.Step() == SQLITE_ROW ? st.Int(0) : 0;
}
