#pragma once
// The large store the window benchmarks run on: gen_calendar.py --events 100000 --todos 10000
// --seed 1, imported once into $QUILLDAY_BENCH_DIR (default /tmp/quillday-bench-week) and
// reused by later runs while the program still opens it. The program and its data files
// are taken from the build's bin folder (beside the benchmark's own folder).
#include <QString>

struct BenchSetup {
    QString strBin;  // the build's bin folder: quillday and its data files
    QString strStore;
    QString strRegistry;
    bool bReady = false;
};

// Finds the bin folder from argv[0] and prepares the store; bReady tells whether it is
// usable.
BenchSetup PrepareBenchStore(const char* pszArgv0);
// Points the program folder, store and registry of this process at the setup's.
void UseBenchStore(const BenchSetup& setup);
// The calendar generator: $QUILLDAY_GEN_ICS, else bench/gen_calendar.py of the source
// tree this benchmark was built from.
QString CalendarGenerator();
// The whole main() of a window benchmark: an offscreen application with a numeric short-date
// form (M/d/yy unless the caller chose one; child processes inherit it), the store prepared
// into *pSetup, then the registered benchmarks.
int RunWindowBenchmarks(int argc, char** argv, BenchSetup* pSetup);
