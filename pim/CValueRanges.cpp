#include "pim/CValueRanges.h"

#include <algorithm>
#include <limits>

namespace {

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

}  // namespace

CValueRanges CValueRanges::All()
{
    return Between(kMin, kMax);
}

CValueRanges CValueRanges::Between(int64_t nLo, int64_t nHi)
{
    CValueRanges r;
    if (nLo <= nHi)
        r.m_ranges.push_back({nLo, nHi});
    return r;
}

CValueRanges CValueRanges::Union(const CValueRanges& other) const
{
    QVector<Range> all = m_ranges + other.m_ranges;
    std::sort(all.begin(), all.end(), [](const Range& a, const Range& b) { return a.nLo < b.nLo; });
    CValueRanges r;
    for (const Range& next : std::as_const(all)) {
        Range* pLast = r.m_ranges.isEmpty() ? nullptr : &r.m_ranges.last();
        // Overlapping or adjacent ranges become one (nHi + 1 cannot overflow once nHi < kMax).
        if (pLast && (pLast->nHi == kMax || next.nLo <= pLast->nHi + 1))
            pLast->nHi = std::max(pLast->nHi, next.nHi);
        else
            r.m_ranges.push_back(next);
    }
    return r;
}

CValueRanges CValueRanges::Intersection(const CValueRanges& other) const
{
    CValueRanges r;
    int i = 0, j = 0;
    while (i < m_ranges.size() && j < other.m_ranges.size()) {
        const Range& a = m_ranges[i];
        const Range& b = other.m_ranges[j];
        const int64_t nLo = std::max(a.nLo, b.nLo), nHi = std::min(a.nHi, b.nHi);
        if (nLo <= nHi)
            r.m_ranges.push_back({nLo, nHi});
        if (a.nHi < b.nHi)
            ++i;
        else
            ++j;
    }
    return r;
}
