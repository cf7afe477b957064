#pragma once
// A set of whole numbers kept as sorted, disjoint, non-adjacent closed ranges: the values
// of one column that a restriction leaves possible.
#include <QVector>
#include <cstdint>

class CValueRanges {
public:
    struct Range {
        int64_t nLo;
        int64_t nHi;
        bool operator==(const Range&) const = default;
    };

    // The empty set.
    CValueRanges() = default;
    static CValueRanges All();
    // [nLo, nHi]; empty when nLo > nHi.
    static CValueRanges Between(int64_t nLo, int64_t nHi);

    CValueRanges Union(const CValueRanges& other) const;
    CValueRanges Intersection(const CValueRanges& other) const;

    bool IsEmpty() const { return m_ranges.isEmpty(); }
    bool operator==(const CValueRanges&) const = default;
    // In ascending order.
    const QVector<Range>& Ranges() const { return m_ranges; }

private:
    QVector<Range> m_ranges;
};
