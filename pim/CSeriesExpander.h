#pragma once
// The occurrences of the appointment series that a query's span can reach, merged in
// ascending (start, OID) order and filtered by the restriction. Occurrences that a
// stored exception replaces or deletes are left out (the exception rows come with the
// single items). Series are expanded lazily and never past the span or 1 January 4501.
#include "pim/CItemRecord.h"
#include "pim/CRecurrenceMath.h"
#include <QSet>
#include <cstdint>
#include <vector>

class CPimStore;
class CRestriction;

class CSeriesExpander {
public:
    // nMaxStart / nMinEnd: the restriction's bounds (INT64_MAX / INT64_MIN when open).
    bool Load(CPimStore& store, const CRestriction& restriction, int64_t nMaxStart, int64_t nMinEnd);
    // The next occurrence, or null at the end. Pop moves on.
    const CItemRecord* Peek() const;
    void Pop();

private:
    struct Cursor {
        CItemRecord occurrence;  // the series' values with the current occurrence's times
        CRecurrenceMath math;
        int64_t nDuration;
    };
    bool LoadExceptions(CPimStore& store, int64_t nFrom, int64_t nTo);
    bool Advance(Cursor& cursor);
    bool Before(int a, int b) const;
    void SiftDown(size_t i);

    const CRestriction* m_pRestriction = nullptr;
    std::vector<Cursor> m_cursors;
    std::vector<int> m_heap;  // indices into m_cursors, a binary min-heap
    QSet<QPair<int32_t, int64_t>> m_exceptions;  // (series, original start)
};
