#include "pim/CItemQuery.h"

#include "pim/CItemTable.h"
#include "pim/CPimStore.h"
#include "pim/CSqlStatement.h"
#include "pim/PimTypes.h"
#include <limits>

namespace {

constexpr int kBatchRows = 512;
constexpr int64_t kOpenHigh = std::numeric_limits<int64_t>::max();
constexpr int64_t kOpenLow = std::numeric_limits<int64_t>::min();
// The order of the index items_task (of tasks alone) after its kind and complete columns.
constexpr char kTaskOrder[] = "t_start,t_end,importance,t_completed,reminder,rec_type,series,oid";

int64_t Clamp32(int64_t n)
{
    return std::clamp<int64_t>(n, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
}

int64_t KeyValue(const QString& strColumn, const CItemRecord& r)
{
    if (strColumn == QLatin1String("t_start"))
        return r.nStart;
    if (strColumn == QLatin1String("t_end"))
        return r.nEnd;
    if (strColumn == QLatin1String("t_completed"))
        return r.nDateCompleted;
    if (strColumn == QLatin1String("importance"))
        return r.nImportance;
    return r.bComplete ? 1 : 0;  // "complete"
}

}  // namespace

CItemQuery::CItemQuery(std::shared_ptr<CPimStore> pStore, CRestriction restriction, const Options& options)
    : m_pStore(std::move(pStore)), m_restriction(std::move(restriction)), m_options(options)
{
}

CItemQuery::~CItemQuery() = default;

// SELECT ... WHERE kind AND rows AND restriction [AND span] [AND (keys) > (last keys)]
// ORDER BY keys, oid LIMIT. Parameters: ?1 kind, the restriction's, two for the span,
// then one per sort column and one for the row id.
QByteArray CItemQuery::BuildSql(bool bAfterKey) const
{
    QString strSql = QStringLiteral("SELECT ") + QLatin1String(CItemTable::kQueryColumns) + QLatin1Char(',')
                   + QLatin1String(CItemTable::kNotesFlag) + QStringLiteral(" FROM items");
    // With recurrences: single items and stored occurrences; without: items and series
    // (tasks have no stored occurrences: their rows need no test). With a span the kind
    // is tested on the row only, so that the rows come from the span's own lookups.
    strSql += m_bUseSpan ? QStringLiteral(" WHERE +kind=?1") : QStringLiteral(" WHERE kind=?1");
    if (m_options.bIncludeRecurrences)
        strSql += QStringLiteral(" AND rec_type<0 AND deleted=0");
    else
        strSql += QStringLiteral(" AND series IS NULL");
    QVector<int64_t> params;
    strSql += QStringLiteral(" AND ") + m_restriction.ToSql(&params);
    int n = 2 + int(params.size());
    if (m_bUseSpan)
        strSql += SpanSql(n);
    n += 3;
    QStringList keys, values;
    for (const QString& c : m_sortColumns) {
        keys << QStringLiteral("items.") + c;
        values << QStringLiteral("?%1").arg(n++);
    }
    keys << QStringLiteral("items.oid");
    values << QStringLiteral("?%1").arg(n);
    if (bAfterKey) {
        strSql += QStringLiteral(" AND (%1) %2 (%3)")
                      .arg(keys.join(u','), m_options.bDescending ? QStringLiteral("<") : QStringLiteral(">"),
                           values.join(u','));
    }
    const QString strDir = m_options.bDescending ? QStringLiteral(" DESC") : QString();
    strSql += QStringLiteral(" ORDER BY ") + keys.join(strDir + u',') + strDir;
    strSql += QStringLiteral(" LIMIT %1").arg(kBatchRows);
    return strSql.toUtf8();
}

// Rows that may overlap ?n (latest start) .. ?n+1 (earliest end): long items and series
// by their R*Tree span, short items by their start (?n+2: the earliest start a short
// item can have and still end in time).
QString CItemQuery::SpanSql(int n) const
{
    const QString strSeries = m_options.bIncludeRecurrences
                                ? QString()
                                : QStringLiteral(" UNION ALL SELECT id FROM series_span WHERE lo<=?%1 AND hi>=?%2");
    const QString strSql = QStringLiteral(" AND (items.oid IN (SELECT id FROM appt_span WHERE lo<=?%1 AND hi>=?%2")
                         + strSeries
                         + QStringLiteral(") OR (items.kind=?1 AND items.t_start BETWEEN ?%3 AND ?%1 AND items.t_end>=?%2))");
    return strSql.arg(n).arg(n + 1).arg(n + 2);
}

HRESULT CItemQuery::Start()
{
    const bool bAppointments = m_options.nItemType == olAppointmentItem;
    m_options.bIncludeRecurrences = m_options.bIncludeRecurrences && bAppointments;
    const QString& strSort = m_options.strSortColumn;
    if (m_options.bIncludeRecurrences
        && (m_options.bDescending || (!strSort.isEmpty() && strSort != QLatin1String("t_start"))))
        return E_NOTIMPL;  // occurrences are merged in ascending start order only
    m_bLean = !bAppointments && strSort.isEmpty();
    if (m_bLean)
        return ReadLean() ? S_OK : E_FAIL;
    m_sortColumns << (strSort.isEmpty() ? QStringLiteral("t_start") : strSort);
    m_restriction.Bounds(&m_nMaxStart, &m_nMinEnd);
    m_bUseSpan = bAppointments && (m_nMaxStart != kOpenHigh || m_nMinEnd != kOpenLow);
    m_pFirst = std::make_unique<CSqlStatement>(m_pStore->Db(), BuildSql(false));
    m_pAfter = std::make_unique<CSqlStatement>(m_pStore->Db(), BuildSql(true));
    if (!m_pFirst->IsValid() || !m_pAfter->IsValid())
        return E_FAIL;
    m_restriction.ToSql(&m_params);
    if (m_options.bIncludeRecurrences && !m_series.Load(*m_pStore, m_restriction, m_nMaxStart, m_nMinEnd))
        return E_FAIL;
    FillBatch();
    return m_bFailed ? E_FAIL : S_OK;
}

void CItemQuery::RememberKey(const CItemRecord& last)
{
    m_bHaveKey = true;
    m_keyValues.clear();
    for (const QString& c : std::as_const(m_sortColumns))
        m_keyValues << KeyValue(c, last);
    m_keyValues << (last.nExceptionId != 0 ? last.nExceptionId : last.nOid);
    m_strKeyText = last.strSubject;
}

bool CItemQuery::FillBatch()
{
    m_batch.clear();
    m_nBatchPos = 0;
    if (m_bRowsDone)
        return false;
    CSqlStatement& st = m_bHaveKey ? *m_pAfter : *m_pFirst;
    // Numbered as BuildSql numbers them.
    st.Bind(1, int64_t(m_options.nItemType));
    int n = 2;
    for (int64_t v : std::as_const(m_params))
        st.Bind(n++, v);
    if (m_bUseSpan) {
        st.Bind(n, Clamp32(m_nMaxStart));
        st.Bind(n + 1, Clamp32(m_nMinEnd));
        st.Bind(n + 2, Clamp32(m_nMinEnd) - CItemTable::kShortItemMinutes);
    }
    n += 3;
    for (int i = 0; m_bHaveKey && i < m_keyValues.size(); ++i, ++n) {
        if (i < m_sortColumns.size() && m_sortColumns[i] == QLatin1String("subject"))
            st.Bind(n, m_strKeyText);
        else
            st.Bind(n, m_keyValues[i]);
    }
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW) {
        m_batch.push_back(CItemRecord());
        CItemTable::ReadWithNotesFlag(st, &m_batch.back());
    }
    st.Reset();
    m_bFailed = rc != SQLITE_DONE;
    m_bRowsDone = m_bFailed || m_batch.size() < kBatchRows;
    if (!m_batch.isEmpty())
        RememberKey(m_batch.back());
    return !m_batch.isEmpty();
}

// Tasks in the store's own order are read from their covering index items_task, range by
// range in index order: a range is one complete state and one run of start dates that the
// restriction allows. Within a range the restriction loses the comparisons that the range
// decides (for the week load mostly all of them). Lean rows are small: the whole result
// is read at once, with each task's subject and notes flag, and turned into records one
// at a time.
bool CItemQuery::ReadLean()
{
    for (int nComplete = 0; nComplete <= 1; ++nComplete) {
        const CRestriction state = m_restriction.Narrowed("complete", nComplete, nComplete);
        const CValueRanges starts = state.Ranges("t_start");
        for (const CValueRanges::Range& range : starts.Ranges()) {
            const CRestriction part = state.Narrowed("t_start", range.nLo, range.nHi);
            if (!part.MatchesNothing() && !ReadLeanRange(part, nComplete != 0, range))
                return false;
        }
    }
    return true;
}

bool CItemQuery::ReadLeanRange(const CRestriction& part, bool bComplete, const CValueRanges::Range& range)
{
    // ?1 complete, ?2 and ?3 the start dates, then the restriction's parameters. The kind
    // is written out: the index holds tasks alone, and SQLite uses it only for a query
    // that names the kind it holds.
    QVector<int64_t> params;
    const QString strSql = QStringLiteral("SELECT ") + QLatin1String(CItemTable::kTaskQueryColumns)
                         + QStringLiteral(" FROM items WHERE kind=%1 AND complete=?1 AND t_start BETWEEN ?2 AND ?3 AND ")
                               .arg(olTaskItem)
                         + part.ToSql(&params) + QStringLiteral(" ORDER BY ") + QLatin1String(kTaskOrder);
    const std::unique_ptr<CSqlStatement> pStatement = m_pStore->Query(strSql.toUtf8());
    CSqlStatement& st = *pStatement;
    st.Bind(1, int64_t(bComplete)).Bind(2, range.nLo).Bind(3, range.nHi);
    for (int i = 0; i < params.size(); ++i)
        st.Bind(4 + i, params[i]);
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW) {
        LeanRow row;
        row.nOid = static_cast<int32_t>(st.Int(0));
        row.nStart = st.Int(1);
        row.nEnd = st.Int(2);
        row.nImportance = static_cast<int16_t>(st.Int(3));
        row.nDateCompleted = st.Int(4);
        row.bReminderSet = st.Int(5) != 0;
        row.nRecurrenceType = static_cast<int16_t>(st.Int(6));
        row.strSubject = st.Text(7);
        row.bHasNotes = st.Int(8) != 0;
        row.bComplete = bComplete;
        m_lean.push_back(std::move(row));
    }
    return rc == SQLITE_DONE;
}

bool CItemQuery::NextLean(CItemRecord* p)
{
    if (m_nLeanPos >= m_lean.size())
        return false;
    LeanRow& row = m_lean[m_nLeanPos++];
    p->nItemType = olTaskItem;
    p->nOid = row.nOid;
    p->nStart = row.nStart;
    p->nEnd = row.nEnd;
    p->nImportance = row.nImportance;
    p->bComplete = row.bComplete;
    p->nDateCompleted = row.nDateCompleted;
    p->bReminderSet = row.bReminderSet;
    p->rule.nType = row.nRecurrenceType;
    p->strSubject = std::move(row.strSubject);
    p->bHasNotes = row.bHasNotes;
    p->bNotesFlagRead = true;
    p->bPartial = true;
    p->bSummaryRead = true;
    return true;
}

bool CItemQuery::Next(CItemRecord* pRecord, HRESULT* pHr)
{
    *pHr = S_OK;
    if (m_bLean)
        return NextLean(pRecord);
    if (m_nBatchPos >= m_batch.size() && !m_bRowsDone)
        FillBatch();
    if (m_bFailed) {
        *pHr = E_FAIL;
        return false;
    }
    const CItemRecord* pRow = m_nBatchPos < m_batch.size() ? &m_batch[m_nBatchPos] : nullptr;
    const CItemRecord* pOcc = m_series.Peek();
    const bool bTakeOccurrence =
        pOcc && (!pRow || pOcc->nStart < pRow->nStart || (pOcc->nStart == pRow->nStart && pOcc->nOid < pRow->nOid));
    if (bTakeOccurrence) {
        *pRecord = *pOcc;
        m_series.Pop();
        return true;
    }
    if (!pRow)
        return false;
    *pRecord = std::move(m_batch[m_nBatchPos++]);
    return true;
}
