// DateTimeToLocal against the C library's localtime_r for real zones, over a spread of
// instants from 2008 to 2037 and every second around each daylight-saving change.
#include "calendar/CScopedTestTime.h"
#include "calendar/ZoneRules.h"
#include <gtest/gtest.h>
#include <ctime>
#include <string>
#include <vector>

namespace {

constexpr time_t kFrom = 1199145600;  // 2008-01-01 00:00:00 UTC
constexpr time_t kTo = 2145916800;    // 2038-01-01 00:00:00 UTC
constexpr int kSampleCount = 100000;

long OffsetAt(time_t t)
{
    struct tm local;
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}

// The first second at which the C library's offset differs from the one at lo.
time_t FindChange(time_t lo, time_t hi)
{
    const long nOffset = OffsetAt(lo);
    while (hi - lo > 1) {
        const time_t mid = lo + (hi - lo) / 2;
        if (OffsetAt(mid) == nOffset)
            lo = mid;
        else
            hi = mid;
    }
    return hi;
}

// Evenly spread instants with varying seconds, plus the instants around each change.
std::vector<time_t> SampleInstants(int* pChangeCount)
{
    std::vector<time_t> instants;
    const time_t nStep = (kTo - kFrom) / kSampleCount;
    uint32_t nJitter = 12345;
    time_t previous = kFrom;
    *pChangeCount = 0;
    for (int i = 0; i < kSampleCount; ++i) {
        nJitter = nJitter * 1103515245u + 12345u;
        const time_t t = kFrom + i * nStep + static_cast<time_t>(nJitter % static_cast<uint32_t>(nStep));
        if (OffsetAt(t) != OffsetAt(previous)) {
            const time_t change = FindChange(previous, t);
            ++*pChangeCount;
            for (time_t d : {-3601, -3600, -3599, -1, 0, 1, 3599, 3600, 3601})
                instants.push_back(change + d);
        }
        instants.push_back(t);
        previous = t;
    }
    return instants;
}

bool SameWallClock(const struct tm& a, const struct tm& b)
{
    return a.tm_year == b.tm_year && a.tm_yday == b.tm_yday && a.tm_hour == b.tm_hour && a.tm_min == b.tm_min
        && a.tm_sec == b.tm_sec;
}

// Local fields back to the instant. The hour repeated when daylight time ends reads as
// standard time, so instants whose wall clock repeats an hour later are left out.
int CountRoundTripFailures(const std::vector<time_t>& instants)
{
    int nFailures = 0;
    for (time_t t : instants) {
        struct tm local = *DateTimeToLocal(static_cast<uint32_t>(t));
        const struct tm later = *DateTimeToLocal(static_cast<uint32_t>(t + 3600));
        if (SameWallClock(local, later))
            continue;
        if (LocalToDateTime(&local) != static_cast<uint32_t>(t))
            ++nFailures;
    }
    return nFailures;
}

class LocaltimeAgreement : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(LocaltimeAgreement, SameLocalFieldsAsTheCLibrary)
{
    CScopedTestTime zone(GetParam());
    int nChangeCount = 0;
    const std::vector<time_t> instants = SampleInstants(&nChangeCount);
    int nMismatches = 0;
    for (time_t t : instants) {
        struct tm expected;
        localtime_r(&t, &expected);
        const struct tm actual = *DateTimeToLocal(static_cast<uint32_t>(t));
        const bool bSame = actual.tm_year == expected.tm_year && actual.tm_mon == expected.tm_mon
            && actual.tm_mday == expected.tm_mday && actual.tm_hour == expected.tm_hour
            && actual.tm_min == expected.tm_min && actual.tm_sec == expected.tm_sec
            && actual.tm_wday == expected.tm_wday && actual.tm_yday == expected.tm_yday;
        if (!bSame && ++nMismatches <= 5)
            ADD_FAILURE() << GetParam() << ": instant " << t << " gives " << actual.tm_year + 1900 << "-"
                          << actual.tm_mon + 1 << "-" << actual.tm_mday << " " << actual.tm_hour << ":"
                          << actual.tm_min << ":" << actual.tm_sec << ", C library " << expected.tm_year + 1900
                          << "-" << expected.tm_mon + 1 << "-" << expected.tm_mday << " " << expected.tm_hour
                          << ":" << expected.tm_min << ":" << expected.tm_sec;
    }
    EXPECT_EQ(nMismatches, 0);
    EXPECT_GE(instants.size(), static_cast<size_t>(kSampleCount));
    EXPECT_EQ(CountRoundTripFailures(instants), 0);
    // Two changes a year in the zones with daylight time, none in Seoul.
    const bool bHasDaylight = std::string(GetParam()) != "Asia/Seoul";
    EXPECT_EQ(nChangeCount, bHasDaylight ? 60 : 0);
}

INSTANTIATE_TEST_SUITE_P(Zones, LocaltimeAgreement,
                         ::testing::Values("America/New_York", "Europe/Berlin", "Australia/Sydney", "Asia/Seoul"),
                         [](const ::testing::TestParamInfo<const char*>& info) {
                             std::string name = info.param;
                             for (char& c : name)
                                 if (c == '/')
                                     c = '_';
                             return name;
                         });
