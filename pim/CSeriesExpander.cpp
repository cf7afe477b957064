#include "pim/CSeriesExpander.h"

#include "pim/CItemTable.h"
#include "pim/CPimStore.h"
#include "pim/CRestriction.h"
#include "pim/CSeriesZone.h"
#include "pim/CSqlStatement.h"
#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kOpenHigh = std::numeric_limits<int64_t>::max();
constexpr int64_t kOpenLow = std::numeric_limits<int64_t>::min();

int64_t Clamp32(int64_t n)
{
    return std::clamp<int64_t>(n, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
}

}  // namespace

bool CSeriesExpander::Load(CPimStore& store, const CRestriction& restriction, int64_t nMaxStart, int64_t nMinEnd)
{
    m_pRestriction = &restriction;
    m_cursors.clear();
    m_heap.clear();
    m_exceptions.clear();
    const bool bBounded = nMaxStart != kOpenHigh || nMinEnd != kOpenLow;
    // The series' rows come from their own covering index, a few pages, rather than from
    // pages all over the table; SQLite would take the table's rows by OID without being told.
    static const QByteArray sqlSpan = QByteArray("SELECT ") + CItemTable::kQueryColumns + "," + CItemTable::kNotesFlag
        + " FROM series_span CROSS JOIN items INDEXED BY items_series_rows ON items.oid=series_span.id"
          " WHERE series_span.lo<=?1 AND series_span.hi>=?2 AND items.kind=1 AND items.rec_type>=0"
          " AND items.series IS NULL";
    static const QByteArray sqlAll = QByteArray("SELECT ") + CItemTable::kQueryColumns + "," + CItemTable::kNotesFlag
        + " FROM items WHERE kind=1 AND rec_type>=0 AND series IS NULL";
    CSqlStatement st(store.Cached(bBounded ? sqlSpan.constData() : sqlAll.constData()));
    if (bBounded)
        st.Bind(1, Clamp32(nMaxStart)).Bind(2, Clamp32(nMinEnd));
    int64_t nMaxDuration = 0;
    bool bZoned = false;
    m_cursors.reserve(64);
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW) {
        CItemRecord series;
        CItemTable::ReadWithNotesFlag(st, &series);
        const int64_t nDuration = CItemTable::Duration(series);
        Cursor cursor{series, CRecurrenceMath(series.rule, series.nPatternStart, series.nLastStart), nDuration};
        cursor.occurrence.bOccurrence = true;
        // Occurrences that end at or after nMinEnd and start at or before nMaxStart; a
        // zoned series walks in its own zone's wall time, so its bounds are widened by
        // the most two zones can differ (the restriction then decides).
        const int64_t nShift = series.strTzid.isEmpty() ? 0 : CSeriesZone::kMaxShiftMinutes;
        const int64_t nFrom = nMinEnd == kOpenLow ? kOpenLow : nMinEnd - nDuration - nShift;
        cursor.math.Seek(nFrom, nMaxStart == kOpenHigh ? kNoDateMinutes : nMaxStart + nShift);
        bZoned = bZoned || nShift != 0;
        nMaxDuration = std::max(nMaxDuration, nDuration);
        m_cursors.push_back(std::move(cursor));
    }
    if (rc != SQLITE_DONE)
        return false;
    if (m_cursors.empty())
        return true;
    // Exceptions of zoned series are keyed in their zone's wall time.
    const int64_t nShift = bZoned ? CSeriesZone::kMaxShiftMinutes : 0;
    if (!LoadExceptions(store, nMinEnd == kOpenLow ? kOpenLow : nMinEnd - nMaxDuration - nShift,
                        nMaxStart == kOpenHigh ? kOpenHigh : nMaxStart + nShift))
        return false;
    for (int i = 0; i < int(m_cursors.size()); ++i) {
        if (Advance(m_cursors[i]))
            m_heap.push_back(i);
    }
    std::make_heap(m_heap.begin(), m_heap.end(), [this](int a, int b) { return Before(b, a); });
    return true;
}

// The original starts of stored exceptions in the window (of any series).
bool CSeriesExpander::LoadExceptions(CPimStore& store, int64_t nFrom, int64_t nTo)
{
    CSqlStatement exc(store.Cached(
        "SELECT series,orig_start FROM items WHERE series IS NOT NULL AND orig_start BETWEEN ?1 AND ?2"));
    exc.Bind(1, nFrom).Bind(2, nTo);
    int rc = SQLITE_ROW;
    while ((rc = exc.Step()) == SQLITE_ROW)
        m_exceptions.insert({static_cast<int32_t>(exc.Int(0)), exc.Int(1)});
    return rc == SQLITE_DONE;
}

bool CSeriesExpander::Advance(Cursor& c)
{
    CItemRecord& r = c.occurrence;
    int64_t nStart = 0;
    while (c.math.Next(&nStart)) {
        if (m_exceptions.contains({r.nOid, nStart}))
            continue;
        r.nStart = CSeriesZone::ToLocal(r.strTzid, nStart);
        r.nOriginalStart = nStart;
        r.nEnd = r.nStart + c.nDuration;
        if (m_pRestriction->Matches(r))
            return true;
    }
    return false;
}

bool CSeriesExpander::Before(int a, int b) const
{
    const CItemRecord& ra = m_cursors[a].occurrence;
    const CItemRecord& rb = m_cursors[b].occurrence;
    return ra.nStart != rb.nStart ? ra.nStart < rb.nStart : ra.nOid < rb.nOid;
}

const CItemRecord* CSeriesExpander::Peek() const
{
    return m_heap.empty() ? nullptr : &m_cursors[m_heap.front()].occurrence;
}

void CSeriesExpander::Pop()
{
    if (m_heap.empty())
        return;
    if (!Advance(m_cursors[m_heap.front()])) {
        m_heap.front() = m_heap.back();
        m_heap.pop_back();
    }
    SiftDown(0);
}

void CSeriesExpander::SiftDown(size_t i)
{
    const size_t n = m_heap.size();
    while (true) {
        size_t nBest = i;
        const size_t l = 2 * i + 1, r = 2 * i + 2;
        if (l < n && Before(m_heap[l], m_heap[nBest]))
            nBest = l;
        if (r < n && Before(m_heap[r], m_heap[nBest]))
            nBest = r;
        if (nBest == i)
            return;
        std::swap(m_heap[i], m_heap[nBest]);
        i = nBest;
    }
}
