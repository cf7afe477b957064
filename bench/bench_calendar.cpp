// Lunar-to-solar conversion and one week's special-day pass over the shipped
// anniversary.dat.
#include "calendar/CScopedTestTime.h"
#include "calendar/LunarCalendar.h"
#include "calendar/AnniversaryFile.h"
#include <QDir>
#include <QFileInfo>
#include <benchmark/benchmark.h>

namespace {

// The data folder of the source tree, where the shipped files live.
QString ShippedDataFolder()
{
    return QFileInfo(QStringLiteral(__FILE__)).dir().filePath(QStringLiteral("../data"));
}

void BM_LunarToSolar(benchmark::State& state)
{
    const LunarCalendar calendar;
    int nYear = LunarCalendar::kFirstYear;
    int nMonth = 1;
    for (auto _ : state) {
        SolarDate solar;
        benchmark::DoNotOptimize(calendar.LunarToSolar(nYear, nMonth, 15, FALSE, &solar));
        benchmark::DoNotOptimize(solar);
        if (++nMonth > 12) {
            nMonth = 1;
            nYear = nYear == LunarCalendar::kLastYear ? LunarCalendar::kFirstYear : nYear + 1;
        }
    }
}
BENCHMARK(BM_LunarToSolar);

// Every entry of the shipped file placed in the week of 2007-09-24 (Chuseok), as the
// week loader does for each week it shows.
void BM_SpecialDaysOneWeek(benchmark::State& state)
{
    const CScopedTestTime zone("Asia/Seoul");
    SpecialDayList list;
    if (!LoadSpecialDaysFrom(&list, ShippedDataFolder())) {
        state.SkipWithError("anniversary.dat not found");
        return;
    }
    const DateTime first(2007, 9, 24, 0, 0, 0);
    const DateTime last = first + DateTimeSpan(6, 23, 59, 59);
    int nFound = 0;
    for (auto _ : state) {
        nFound = 0;
        for (int i = 0; i < list.GetSize(); ++i)
            nFound += static_cast<int>(list.GetAt(i)->Occurrences(first, last).size());
        benchmark::DoNotOptimize(nFound);
    }
    state.counters["entries"] = list.GetSize();
    state.counters["occurrences"] = nFound;
}
BENCHMARK(BM_SpecialDaysOneWeek);

}  // namespace

BENCHMARK_MAIN();
