#include "pim/CItemQuery.h"

#include "pim/CItemTable.h"
#include "pim/CPimStore.h"
#include "pim/CSqlStatement.h"
#include "pim/PimTypes.h"
#include <limits>

namespace {

constexpr int kBatchRows = 256;
constexpr int64_t kOpenHigh = std::numeric_limits<int64_t>::max();
constexpr int64_t kOpenLow = std::numeric_limits<int64_t>::min();

int64_t Clamp32(int64_t n)
{
    return std::clamp<int64_t>(n, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
}

}  // namespace

CItemQuery::CItemQuery(std::shared_ptr<CPimStore> pStore, CRestriction restriction, const Options& options)
    : m_pStore(std::move(pStore)), m_restriction(std::move(restriction)), m_options(options)
{
}

CItemQuery::~CItemQuery() = default;

// SELECT ... WHERE kind AND rows AND restriction [AND span] [AND keyset] ORDER BY ... LIMIT.
// Parameters: ?1 kind, then the restriction's, then span bounds, then keyset values.
QByteArray CItemQuery::BuildSql() const
{
    const bool bRecurrences = m_options.bIncludeRecurrences;
    QString strSql = QStringLiteral("SELECT ") + QLatin1String(CItemTable::kQueryColumns);
    strSql += m_bUseSpan ? QStringLiteral(" FROM appt_span CROSS JOIN items ON items.oid=appt_span.id")
                         : QStringLiteral(" FROM items");
    strSql += QStringLiteral(" WHERE kind=?1 AND ");
    // With recurrences: single items and stored occurrences; without: items and series.
    strSql += bRecurrences ? QStringLiteral("rec_type<0 AND deleted=0") : QStringLiteral("series IS NULL");
    QVector<int64_t> params;
    strSql += QStringLiteral(" AND ") + m_restriction.ToSql(&params);
    const int nSpan = 2 + int(params.size());
    if (m_bUseSpan)
        strSql += QStringLiteral(" AND appt_span.lo<=?%1 AND appt_span.hi>=?%2").arg(nSpan).arg(nSpan + 1);
    const QString strCol = m_options.strSortColumn.isEmpty() ? QStringLiteral("oid") : m_options.strSortColumn;
    const QString strDir = m_options.bDescending ? QStringLiteral(" DESC") : QString();
    const QChar cmp = m_options.bDescending ? u'<' : u'>';
    const int nKey = nSpan + 2;
    // Keyset: rows after the last one read, in (sort column, oid) order.
    strSql += QStringLiteral(" AND (?%1 = 0 OR %2 %3 ?%4 OR (%2 = ?%4 AND items.oid %3 ?%5))")
                  .arg(nKey).arg(strCol).arg(cmp).arg(nKey + 1).arg(nKey + 2);
    strSql += QStringLiteral(" ORDER BY %1%2, items.oid%2 LIMIT %3").arg(strCol, strDir).arg(kBatchRows);
    return strSql.toUtf8();
}

HRESULT CItemQuery::Start()
{
    const bool bAppointments = m_options.nItemType == olAppointmentItem;
    if (m_options.bIncludeRecurrences && bAppointments
        && (m_options.bDescending || (m_options.strSortColumn != QLatin1String("t_start")
                                      && !m_options.strSortColumn.isEmpty())))
        return E_NOTIMPL;  // occurrences are merged in ascending start order only
    if (m_options.bIncludeRecurrences && bAppointments && m_options.strSortColumn.isEmpty())
        m_options.strSortColumn = QStringLiteral("t_start");
    m_options.bIncludeRecurrences = m_options.bIncludeRecurrences && bAppointments;
    m_restriction.Bounds(&m_nMaxStart, &m_nMinEnd);
    m_bUseSpan = bAppointments && (m_nMaxStart != kOpenHigh || m_nMinEnd != kOpenLow);
    if (m_options.strSortColumn == QLatin1String("oid"))
        m_options.strSortColumn.clear();
    if (!m_options.strSortColumn.isEmpty())
        m_options.strSortColumn = QStringLiteral("items.") + m_options.strSortColumn;
    m_pStatement = std::make_unique<CSqlStatement>(m_pStore->Db(), BuildSql());
    if (!m_pStatement->IsValid())
        return E_FAIL;
    m_restriction.ToSql(&m_params);
    if (m_options.bIncludeRecurrences && !m_series.Load(*m_pStore, m_restriction, m_nMaxStart, m_nMinEnd))
        return E_FAIL;
    return FillBatch() || !m_bFailed ? S_OK : E_FAIL;
}

bool CItemQuery::FillBatch()
{
    m_batch.clear();
    m_nBatchPos = 0;
    if (m_bRowsDone)
        return false;
    CSqlStatement& st = *m_pStatement;
    int n = 1;
    st.Bind(n++, int64_t(m_options.nItemType));
    for (int64_t v : std::as_const(m_params))
        st.Bind(n++, v);
    if (m_bUseSpan) {
        st.Bind(n++, Clamp32(m_nMaxStart));
        st.Bind(n++, Clamp32(m_nMinEnd));
    }
    st.Bind(n++, int64_t(m_bHaveKey));
    if (m_options.bTextSort)
        st.Bind(n++, m_strKey);
    else
        st.Bind(n++, m_bHaveKey ? m_nKey : 0);
    st.Bind(n++, m_nKeyOid);
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW) {
        CItemRecord r;
        CItemTable::Read(st, 0, &r);
        m_batch.push_back(std::move(r));
    }
    st.Reset();
    m_bFailed = rc != SQLITE_DONE;
    m_bRowsDone = m_bFailed || m_batch.size() < kBatchRows;
    if (!m_batch.isEmpty()) {
        const CItemRecord& last = m_batch.back();
        const QString& c = m_options.strSortColumn;
        m_bHaveKey = true;
        m_nKeyOid = last.nExceptionId != 0 ? last.nExceptionId : last.nOid;
        m_nKey = c.endsWith(u"t_start") ? last.nStart : c.endsWith(u"t_end") ? last.nEnd
               : c.endsWith(u"t_completed") ? last.nDateCompleted : c.endsWith(u"importance") ? last.nImportance
               : m_nKeyOid;
        m_strKey = last.strSubject;
    }
    return !m_batch.isEmpty();
}

bool CItemQuery::Next(CItemRecord* pRecord, HRESULT* pHr)
{
    *pHr = S_OK;
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
