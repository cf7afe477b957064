// The week on screen, measured on a large store: --print-week 2015-06-01 as a whole
// process (wall time and peak memory), and LoadWeek inside the process.
//
// Today is the clock's, as for a user who looks at that week now; QUILLDAY_NOW (for
// example 2015-06-03T10:00:00) puts today into the week, which adds a row on today for
// every open task. The store is imported once from gen_calendar.py --events 100000 --todos 10000 --seed 1 into
// $QUILLDAY_BENCH_DIR (default /tmp/quillday-bench-week) and reused by later runs. The program
// and its data files are taken from the build's bin folder.
#include "BenchStore.h"
#include "app/CAgendaApp.h"
#include "app/CMainFrame.h"
#include "app/CMainView.h"
#include "week/CWeekPane.h"
#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <chrono>
#include <cstdlib>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace {

BenchSetup& Setup()
{
    static BenchSetup setup;
    return setup;
}

// Runs quillday --print-week 2015-06-01 with output to /dev/null; returns the child's
// peak resident memory in kilobytes, or -1.
long RunPrintWeek(const BenchSetup& setup)
{
    const QByteArray bin = (setup.strBin + QStringLiteral("/quillday")).toLocal8Bit();
    const QByteArray home = setup.strBin.toLocal8Bit();
    const QByteArray store = setup.strStore.toLocal8Bit();
    const QByteArray registry = setup.strRegistry.toLocal8Bit();
    std::vector<char*> argv = {const_cast<char*>(bin.constData()), const_cast<char*>("--print-week"),
                               const_cast<char*>("2015-06-01"), const_cast<char*>("--home"),
                               const_cast<char*>(home.constData()), const_cast<char*>("--store"),
                               const_cast<char*>(store.constData()), const_cast<char*>("--registry"),
                               const_cast<char*>(registry.constData()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int nError = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (nError != 0)
        return -1;
    int nStatus = 0;
    struct rusage usage;
    if (wait4(pid, &nStatus, 0, &usage) != pid || !WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0)
        return -1;
    return usage.ru_maxrss;
}

void BM_PrintWeekProcess(benchmark::State& state)
{
    const BenchSetup& setup = Setup();
    if (!setup.bReady) {
        state.SkipWithError("the store could not be prepared");
        return;
    }
    long nPeakKb = 0;
    for (auto _ : state) {
        const long nKb = RunPrintWeek(setup);
        if (nKb < 0) {
            state.SkipWithError("quillday --print-week failed");
            return;
        }
        nPeakKb = std::max(nPeakKb, nKb);
    }
    state.counters["peak_MB"] = static_cast<double>(nPeakKb) / 1024.0;
}
BENCHMARK(BM_PrintWeekProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5)->Repetitions(5);

void BM_LoadWeek(benchmark::State& state)
{
    const BenchSetup& setup = Setup();
    if (!setup.bReady) {
        state.SkipWithError("the store could not be prepared");
        return;
    }
    UseBenchStore(setup);
    CMainFrame frame;
    if (!frame.Create()) {
        state.SkipWithError("the main frame could not start");
        return;
    }
    frame.resize(240, 320);
    frame.show();
    CWeekPane* pPane = frame.GetView()->GetWeekPane();
    pPane->SetWeek(DateTime(2015, 6, 1, 0, 0, 0));
    CAgendaApp::PaintOffscreen(&frame);
    for (auto _ : state)
        pPane->LoadWeek();
    int nRows = 0;
    for (int i = 0; i < 7; ++i)
        nRows += pPane->GetDayList(i)->GetItemCount();
    state.counters["rows"] = nRows;
}
BENCHMARK(BM_LoadWeek)->Unit(benchmark::kMillisecond)->Repetitions(5);

}  // namespace

int main(int argc, char** argv)
{
    return RunWindowBenchmarks(argc, argv, &Setup());
}
