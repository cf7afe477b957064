// DateTimeToLocal and LocalToDateTime against the C library's localtime_r for every zone
// of the system's zone database whose rule has daylight time, over the next twenty years.
// The program reads only the rule in a zone file's footer, so a year counts only where
// the footer rule governs it: where the C library gives the same changes for the zone
// file as for its footer rule alone (Asia/Gaza, for one, lists other dates for decades).
#include "calendar/CScopedTestTime.h"
#include "calendar/ZoneRules.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kYearCount = 20;
constexpr time_t kDay = 86400;
const char* const kZoneDir = "/usr/share/zoneinfo";

struct ZoneFile {
    std::string name;  // relative to kZoneDir, as TZ takes it
    std::string rule;  // the footer
    std::filesystem::path file;  // the file itself, links followed
};

// The footer of a TZif file of version 2 or later: the text between the last two line feeds.
std::string FooterRule(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 6 || bytes.compare(0, 4, "TZif") != 0 || bytes[4] < '2' || bytes.back() != '\n')
        return std::string();
    const size_t start = bytes.rfind('\n', bytes.size() - 2);
    return start == std::string::npos ? std::string() : bytes.substr(start + 1, bytes.size() - start - 2);
}

// Every zone with a daylight rule in its footer, each file once (links share a file);
// posix/ repeats the same files and right/ counts leap seconds, so both are left out.
std::vector<ZoneFile> DaylightZones()
{
    std::vector<ZoneFile> zones;
    std::set<std::filesystem::path> seen;
    namespace fs = std::filesystem;
    for (auto it = fs::recursive_directory_iterator(kZoneDir); it != fs::recursive_directory_iterator(); ++it) {
        const std::string name = fs::relative(it->path(), kZoneDir).string();
        if (it->is_directory() && (name == "posix" || name == "right")) {
            it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file() || !seen.insert(fs::canonical(it->path())).second)
            continue;
        const std::string rule = FooterRule(it->path());
        if (rule.find(',') != std::string::npos)
            zones.push_back(ZoneFile{name, rule, fs::canonical(it->path())});
    }
    std::sort(zones.begin(), zones.end(), [](const ZoneFile& a, const ZoneFile& b) { return a.name < b.name; });
    return zones;
}

void UseCLibraryZone(const std::string& tz)
{
    setenv("TZ", tz.c_str(), 1);
    tzset();
}

long OffsetAt(time_t t)
{
    struct tm local;
    localtime_r(&t, &local);
    return local.tm_gmtoff;
}

time_t StartOfYear(int nYear)
{
    struct tm t = {};
    t.tm_year = nYear - 1900;
    t.tm_mday = 1;
    return timegm(&t);
}

struct Change {
    time_t at;
    long nOffset;  // from then on
    bool operator==(const Change&) const = default;
};

// The C library's offset changes in a year under the current TZ: a walk by days, then
// halving down to the second.
std::vector<Change> ChangesInYear(int nYear)
{
    std::vector<Change> changes;
    const time_t end = StartOfYear(nYear + 1);
    for (time_t t = StartOfYear(nYear); t < end; t += kDay) {
        const long nBefore = OffsetAt(t);
        if (OffsetAt(t + kDay) == nBefore)
            continue;
        time_t lo = t, hi = t + kDay;
        while (hi - lo > 1) {
            const time_t mid = lo + (hi - lo) / 2;
            (OffsetAt(mid) == nBefore ? lo : hi) = mid;
        }
        changes.push_back(Change{hi, OffsetAt(hi)});
    }
    return changes;
}

int CurrentYear()
{
    const time_t now = time(nullptr);
    struct tm utc;
    gmtime_r(&now, &utc);
    return utc.tm_year + 1900;
}

// The years (of the twenty from nFirstYear) whose changes the footer rule alone gives, each
// with its changes.
std::map<int, std::vector<Change>> YearsOfTheRule(const ZoneFile& zone, int nFirstYear)
{
    std::map<int, std::vector<Change>> byRule, covered;
    UseCLibraryZone(zone.rule);
    for (int y = nFirstYear; y < nFirstYear + kYearCount; ++y)
        byRule[y] = ChangesInYear(y);
    UseCLibraryZone(zone.name);
    for (int y = nFirstYear; y < nFirstYear + kYearCount; ++y) {
        std::vector<Change> changes = ChangesInYear(y);
        if (changes == byRule[y] && !changes.empty())
            covered[y] = std::move(changes);
    }
    return covered;
}

// Instants of a year worth comparing: every second around each change, a week either side
// of it, and a spread over the year with varying seconds.
std::vector<time_t> SampleInstants(int nYear, const std::vector<Change>& changes)
{
    std::vector<time_t> instants;
    for (const Change& c : changes)
        for (time_t d : {-7 * kDay, -kDay, -3601L, -3600L, -3599L, -1L, 0L, 1L, 3599L, 3600L, 3601L, kDay, 7 * kDay})
            instants.push_back(c.at + d);
    const time_t start = StartOfYear(nYear);
    for (int i = 0; i < 24; ++i)
        instants.push_back(start + i * (365 * kDay / 24) + (i * 7919) % kDay);
    return instants;
}

bool SameFields(const struct tm& a, const struct tm& b)
{
    return a.tm_year == b.tm_year && a.tm_mon == b.tm_mon && a.tm_mday == b.tm_mday && a.tm_hour == b.tm_hour
        && a.tm_min == b.tm_min && a.tm_sec == b.tm_sec && a.tm_wday == b.tm_wday && a.tm_yday == b.tm_yday;
}

// The other instant with the same wall clock as t, where the clock is set back (by 30
// minutes to 2 hours, and in Dublin's winter time after the rule's "daylight" time); t itself
// when the wall clock is not repeated.
time_t SameWallClockInstant(time_t t)
{
    struct tm local;
    localtime_r(&t, &local);
    for (const time_t away : {-kDay, kDay}) {
        const long nDifference = OffsetAt(t + away) - local.tm_gmtoff;
        if (nDifference == 0)
            continue;
        const time_t other = t - nDifference;
        struct tm otherLocal;
        localtime_r(&other, &otherLocal);
        if (SameFields(local, otherLocal))
            return other;
    }
    return t;
}

std::string Text(const struct tm& t)
{
    std::ostringstream out;
    out << t.tm_year + 1900 << "-" << t.tm_mon + 1 << "-" << t.tm_mday << " " << t.tm_hour << ":" << t.tm_min
        << ":" << t.tm_sec;
    return out.str();
}

// Mismatches of the program's conversions with the C library's in one zone; the first few
// are reported.
int CountMismatches(const std::string& zoneName, const std::map<int, std::vector<Change>>& years)
{
    CScopedTestTime zone(zoneName.c_str());
    int nMismatches = 0;
    for (const auto& [nYear, changes] : years) {
        for (time_t t : SampleInstants(nYear, changes)) {
            struct tm expected;
            localtime_r(&t, &expected);
            struct tm actual = *DateTimeToLocal(static_cast<uint32_t>(t));
            bool bSame = SameFields(actual, expected);
            // Back from local fields: a repeated wall clock may read as either instant.
            if (bSame) {
                const uint32_t nBack = LocalToDateTime(&actual);
                bSame = nBack == static_cast<uint32_t>(t) || nBack == static_cast<uint32_t>(SameWallClockInstant(t));
            }
            if (!bSame && ++nMismatches <= 3)
                ADD_FAILURE() << zoneName << ": instant " << t << " gives " << Text(actual) << ", C library "
                              << Text(expected);
        }
    }
    return nMismatches;
}

}  // namespace

TEST(ZoneDatabase, EveryDaylightZoneAgreesWithTheCLibraryOverTheNextTwentyYears)
{
    const char* pszOldTz = std::getenv("TZ");
    const std::string oldTz = pszOldTz ? pszOldTz : "";
    const std::vector<ZoneFile> zones = DaylightZones();
    ASSERT_GE(zones.size(), 50u) << "the zone database is missing or nearly empty";
    const int nFirstYear = CurrentYear();
    int nZoneYears = 0;
    std::map<std::filesystem::path, size_t> coveredYears;  // by file
    for (const ZoneFile& zone : zones) {
        const std::map<int, std::vector<Change>> years = YearsOfTheRule(zone, nFirstYear);
        coveredYears[zone.file] = years.size();
        nZoneYears += static_cast<int>(years.size());
        EXPECT_EQ(CountMismatches(zone.name, years), 0) << zone.name << " " << zone.rule;
    }
    if (pszOldTz)
        UseCLibraryZone(oldTz);
    else {
        unsetenv("TZ");
        tzset();
    }
    // Nearly every zone follows its footer rule throughout, among them the rules whose
    // change time lies outside the day.
    EXPECT_GE(nZoneYears, static_cast<int>(zones.size()) * kYearCount * 9 / 10);
    for (const char* name : {"Asia/Jerusalem", "America/Nuuk", "America/Santiago", "Africa/Cairo", "Europe/Berlin"})
        EXPECT_EQ(coveredYears[std::filesystem::canonical(std::filesystem::path(kZoneDir) / name)],
                  static_cast<size_t>(kYearCount))
            << name;
}
