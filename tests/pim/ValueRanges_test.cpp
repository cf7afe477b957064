#include "pim/CValueRanges.h"

#include <gtest/gtest.h>
#include <limits>

namespace {

constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
constexpr int64_t kMax = std::numeric_limits<int64_t>::max();

using Ranges = QVector<CValueRanges::Range>;

CValueRanges Of(const Ranges& ranges)
{
    CValueRanges r;
    for (const CValueRanges::Range& range : ranges)
        r = r.Union(CValueRanges::Between(range.nLo, range.nHi));
    return r;
}

}  // namespace

TEST(ValueRanges, BetweenIsEmptyWhenReversed)
{
    EXPECT_TRUE(CValueRanges::Between(5, 4).IsEmpty());
    EXPECT_EQ(CValueRanges::Between(4, 4).Ranges(), Ranges({{4, 4}}));
    EXPECT_EQ(CValueRanges::All().Ranges(), Ranges({{kMin, kMax}}));
}

TEST(ValueRanges, UnionSortsAndJoinsOverlappingAndAdjacentRanges)
{
    struct Case {
        Ranges in;
        Ranges out;
    };
    const Case cases[] = {
        {{{10, 20}, {1, 3}}, {{1, 3}, {10, 20}}},
        {{{1, 5}, {6, 9}}, {{1, 9}}},               // adjacent
        {{{1, 5}, {7, 9}}, {{1, 5}, {7, 9}}},       // one value apart
        {{{1, 10}, {3, 4}}, {{1, 10}}},             // inside
        {{{5, 8}, {1, 6}, {8, 12}}, {{1, 12}}},     // a chain
        {{{kMin, 0}, {1, kMax}}, {{kMin, kMax}}},   // the whole line, no overflow
        {{{kMin, kMax}, {3, 3}}, {{kMin, kMax}}},
        {{{kMax, kMax}, {kMin, kMin}}, {{kMin, kMin}, {kMax, kMax}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Of(c.in).Ranges(), c.out);
}

TEST(ValueRanges, IntersectionKeepsWhatBothHold)
{
    const CValueRanges a = Of({{1, 10}, {20, 30}, {40, 40}});
    EXPECT_EQ(a.Intersection(Of({{5, 25}})).Ranges(), Ranges({{5, 10}, {20, 25}}));
    EXPECT_EQ(a.Intersection(Of({{kMin, 1}, {30, 45}})).Ranges(), Ranges({{1, 1}, {30, 30}, {40, 40}}));
    EXPECT_TRUE(a.Intersection(Of({{11, 19}, {31, 39}})).IsEmpty());
    EXPECT_TRUE(a.Intersection(CValueRanges()).IsEmpty());
    EXPECT_EQ(a.Intersection(CValueRanges::All()), a);
}
