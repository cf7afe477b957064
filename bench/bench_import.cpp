// iCalendar import of large files, each into a new store:
//  - one event whose DESCRIPTION is one unfolded line of 8 MB or 50 MB: time must grow
//    with the file's size, not its square;
//  - the generated benchmark calendars of 110,000 and 1,100,000 items: the peak resident
//    memory of a process that imports one (counter peak_rss_mb) must not grow with it;
//  - the floor under the import of the 110,000 items: their components scanned and
//    parsed by libical, one thread, nothing else done with them.
// Files live in $QUILLDAY_BENCH_DIR (default /tmp/quillday-bench); the calendars are made
// by $QUILLDAY_GEN_ICS (default bench/gen_calendar.py of the source tree).
#include "BenchStore.h"
#include "ical/CICalImporter.h"
#include "ical/CICalStream.h"
#include "pim/IPOutlookApp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QString BenchDir()
{
    const QString dir = qEnvironmentVariable("QUILLDAY_BENCH_DIR", QStringLiteral("/tmp/quillday-bench"));
    QDir().mkpath(dir);
    return dir;
}

QString LongLineFile(int64_t nBytes)
{
    const QString path = BenchDir() + QStringLiteral("/long-line-%1.ics").arg(nBytes);
    if (QFileInfo(path).size() > nBytes) {
        return path;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        std::abort();
    file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nBEGIN:VEVENT\r\nUID:long@bench\r\n"
               "DTSTAMP:20240101T000000Z\r\nDTSTART:20240304T090000\r\nDTEND:20240304T100000\r\nSUMMARY:Long\r\n"
               "DESCRIPTION:");
    const QByteArray chunk = QByteArray("lorem ipsum dolor sit amet\\, ").repeated(1 << 12);
    for (int64_t n = 0; n < nBytes; n += chunk.size())
        file.write(chunk);
    file.write("\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    return path;
}

QString GeneratedFile(int nEvents, int nTodos)
{
    const QString path = BenchDir() + QStringLiteral("/gen-%1-%2-s1.ics").arg(nEvents).arg(nTodos);
    if (!QFileInfo::exists(path)) {
        const QString tool = CalendarGenerator();
        const QString cmd = QStringLiteral("python3 '%1' --events %2 --todos %3 --seed 1 --out '%4'")
                                .arg(tool)
                                .arg(nEvents)
                                .arg(nTodos)
                                .arg(path);
        if (std::system(cmd.toLocal8Bit().constData()) != 0)
            std::abort();
    }
    return path;
}

// Imports the file into a new store; false when the import failed.
bool ImportInto(const QString& strFile, const QString& strStore)
{
    for (const char* pszSuffix : {"", "-wal", "-shm"})
        QFile::remove(strStore + QLatin1String(pszSuffix));
    IPOutlookApp app;
    if (FAILED(app.Logon(strStore)))
        return false;
    CICalImporter importer(app.GetStore());
    QString strError;
    return importer.ImportFile(strFile, &strError);
}

void BM_ImportOneLongLine(benchmark::State& state)
{
    const QString file = LongLineFile(state.range(0) << 20);
    const QString store = BenchDir() + QStringLiteral("/long-line.sqlite");
    for (auto _ : state) {
        if (!ImportInto(file, store))
            state.SkipWithError("import failed");
    }
    state.SetBytesProcessed(state.iterations() * QFileInfo(file).size());
}
BENCHMARK(BM_ImportOneLongLine)->Arg(8)->Arg(50)->Unit(benchmark::kMillisecond)->Iterations(1);

// The import runs in a child process, whose peak resident memory is all its own.
void BM_ImportPeakMemory(benchmark::State& state)
{
    const int nEvents = int(state.range(0));
    const QString file = GeneratedFile(nEvents, nEvents / 10);
    const QString store = BenchDir() + QStringLiteral("/peak-memory.sqlite");
    long nPeakKb = 0;
    for (auto _ : state) {
        const pid_t pid = fork();
        if (pid == 0)
            _exit(ImportInto(file, store) ? 0 : 1);
        int nStatus = 0;
        rusage usage {};
        if (pid < 0 || wait4(pid, &nStatus, 0, &usage) != pid || !WIFEXITED(nStatus) || WEXITSTATUS(nStatus) != 0)
            state.SkipWithError("import failed");
        nPeakKb = usage.ru_maxrss;
    }
    state.counters["items"] = double(nEvents + nEvents / 10);
    state.counters["file_mb"] = double(QFileInfo(file).size()) / (1 << 20);
    state.counters["peak_rss_mb"] = double(nPeakKb) / 1024;
}
BENCHMARK(BM_ImportPeakMemory)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_ScanAndParseOnly(benchmark::State& state)
{
    const QString path = GeneratedFile(100000, 10000);
    int64_t nItems = 0;
    for (auto _ : state) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            state.SkipWithError("cannot read the calendar");
        CICalStream stream(&file);
        QString strError;
        stream.Scan(
            [&](const ICalBlock& b, const QByteArray& block) {
                if (b.name != "VEVENT" && b.name != "VTODO")
                    return true;
                if (icalcomponent* p = CICalStream::Parse(block))
                    icalcomponent_free(p);
                ++nItems;
                return true;
            },
            &strError);
    }
    state.counters["items_per_second"] = benchmark::Counter(double(nItems), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ScanAndParseOnly)->Iterations(3)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
