// Store benchmarks on a generated calendar: 100,000 events (3% recurring with an end,
// plus 500 series without one) and 10,000 to-dos, imported once into a store that is
// kept between runs. Data lives in $QUILLDAY_BENCH_DIR (default /tmp/quillday-bench);
// the calendar is made by $QUILLDAY_GEN_ICS (default bench/gen_calendar.py of the source tree).
#include "BenchStore.h"
#include "ical/CICalImporter.h"
#include "pim/CPimDatabases.h"
#include "pim/CPimStore.h"
#include "pim/IPOutlookApp.h"
#include "pim/VariantTime.h"
#include "week/WeekQueries.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <random>

namespace {

const char kPattern[] = "M/d/yy";

QString BenchDir()
{
    const QString dir = qEnvironmentVariable("QUILLDAY_BENCH_DIR", QStringLiteral("/tmp/quillday-bench"));
    QDir().mkpath(dir);
    return dir;
}

QString CalendarFile()
{
    const QString path = BenchDir() + QStringLiteral("/gen-100000-10000-s1-e500.ics");
    if (!QFileInfo::exists(path)) {
        const QString tool = CalendarGenerator();
        const QString cmd = QStringLiteral("python3 '%1' --events 100000 --todos 10000 --seed 1 --endless 500 --out '%2'")
                                .arg(tool, path);
        if (std::system(cmd.toLocal8Bit().constData()) != 0)
            return QString();
    }
    return path;
}

// The imported store, built once (its file is kept beside the calendar).
IPOutlookApp& Store()
{
    static IPOutlookApp app;
    if (app.IsLoggedOn())
        return app;
    const QString path = BenchDir() + QStringLiteral("/bench-store.sqlite");
    const bool bNew = !QFileInfo::exists(path);
    if (FAILED(app.Logon(path)))
        std::abort();
    if (bNew) {
        CICalImporter importer(app.GetStore());
        QString error;
        if (!importer.ImportFile(CalendarFile(), &error))
            std::abort();
    }
    return app;
}

QString Text(const QDate& d)
{
    return QStringLiteral("%1/%2/%3").arg(d.month()).arg(d.day()).arg(d.year() % 100, 2, 10, QLatin1Char('0'));
}

// The week load's own query texts, for the week that starts on monday.
QString ApptQuery(const QDate& monday)
{
    return AppointmentWeekQuery(Text(monday), Text(monday.addDays(6)));
}

// With bShowComplete the query that also asks for completed tasks; today lies in the week.
QString TaskQuery(const QDate& monday, bool bShowComplete)
{
    return TaskWeekQuery(bShowComplete, Text(monday), Text(monday.addDays(6)), QStringLiteral("1/1/4501"));
}

// What the week load does with each appointment: Oid and Start.
void BM_WeekAppointments(benchmark::State& state)
{
    IPOutlookApp& app = Store();
    const QDate monday = QDate(int(state.range(0)), 6, 1).addDays(1 - QDate(int(state.range(0)), 6, 1).dayOfWeek());
    const QString query = ApptQuery(monday);
    int64_t nItems = 0;
    for (auto _ : state) {
        std::unique_ptr<IFolder> pFolder;
        std::unique_ptr<IPOutlookItemCollection> pItems;
        app.GetDefaultFolder(olFolderCalendar, &pFolder);
        pFolder->get_Items(&pItems);
        pItems->Sort(QStringLiteral("[Start]"), VARIANT_FALSE);
        pItems->put_IncludeRecurrences(VARIANT_TRUE);
        std::unique_ptr<IAppointment> p;
        int n = 0;
        for (HRESULT hr = pItems->Find(query, &p); SUCCEEDED(hr) && p; hr = pItems->FindNext(&p)) {
            int32_t nOid = 0;
            DATE dt = 0;
            p->get_Oid(&nOid);
            p->get_Start(&dt);
            ++n;
        }
        nItems = n;
    }
    state.counters["items"] = double(nItems);
}
BENCHMARK(BM_WeekAppointments)->Arg(2001)->Arg(2015)->Arg(2030)->Unit(benchmark::kMillisecond);

void BM_WeekTasks(benchmark::State& state)
{
    IPOutlookApp& app = Store();
    const QString query = TaskQuery(QDate(2015, 6, 1), state.range(0) != 0);
    int64_t nItems = 0;
    for (auto _ : state) {
        std::unique_ptr<IFolder> pFolder;
        std::unique_ptr<IPOutlookItemCollection> pItems;
        app.GetDefaultFolder(olFolderTasks, &pFolder);
        pFolder->get_Items(&pItems);
        std::unique_ptr<ITask> p;
        int n = 0;
        for (HRESULT hr = pItems->Find(query, &p); SUCCEEDED(hr) && p; hr = pItems->FindNext(&p)) {
            int32_t nOid = 0, nImportance = 0;
            VARIANT_BOOL bComplete = 0;
            DATE dt = 0;
            p->get_Oid(&nOid);
            p->get_Complete(&bComplete);
            p->get_Importance(&nImportance);
            p->get_DueDate(&dt);
            ++n;
        }
        nItems = n;
    }
    state.counters["items"] = double(nItems);
}
BENCHMARK(BM_WeekTasks)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_GetItemFromOid(benchmark::State& state)
{
    IPOutlookApp& app = Store();
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> oid(1, 100000);
    for (auto _ : state) {
        std::unique_ptr<IPOutlookItem> p;
        benchmark::DoNotOptimize(app.GetItemFromOid(oid(rng), &p));
    }
}
BENCHMARK(BM_GetItemFromOid)->Unit(benchmark::kMicrosecond);

void BM_NotesRead(benchmark::State& state)
{
    IPOutlookApp& app = Store();
    CPimDatabases dbs;
    dbs.OpenPimDatabases(&app);
    std::vector<std::unique_ptr<IAppointment>> items;
    for (int32_t nOid = 1; nOid <= 1000; ++nOid) {
        std::unique_ptr<IAppointment> p;
        if (SUCCEEDED(app.GetItemFromOid(nOid * 97, &p)))
            items.push_back(std::move(p));
    }
    size_t i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(dbs.ApptHasNotes(items[i++ % items.size()].get()));
}
BENCHMARK(BM_NotesRead)->Unit(benchmark::kMicrosecond);

void BM_Import(benchmark::State& state)
{
    const QString ics = CalendarFile();
    const QString path = BenchDir() + QStringLiteral("/import-run.sqlite");
    int64_t nItems = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* suffix : {"", "-wal", "-shm"})
            QFile::remove(path + QLatin1String(suffix));
        IPOutlookApp app;
        if (FAILED(app.Logon(path)))
            std::abort();
        state.ResumeTiming();
        CICalImporter importer(app.GetStore());
        QString error;
        if (!importer.ImportFile(ics, &error))
            std::abort();
        nItems += importer.Appointments() + importer.Tasks();
    }
    state.counters["items_per_second"] = benchmark::Counter(double(nItems), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Import)->Iterations(3)->UseRealTime()->Unit(benchmark::kSecond);

// The same file imported again into the store it filled: every item is found by its UID
// and compared, and nothing is written.
void BM_Reimport(benchmark::State& state)
{
    const QString ics = CalendarFile();
    const QString path = BenchDir() + QStringLiteral("/reimport-run.sqlite");
    for (const char* suffix : {"", "-wal", "-shm"})
        QFile::remove(path + QLatin1String(suffix));
    IPOutlookApp app;
    if (FAILED(app.Logon(path)))
        std::abort();
    QString error;
    if (!CICalImporter(app.GetStore()).ImportFile(ics, &error))
        std::abort();
    int64_t nItems = 0;
    for (auto _ : state) {
        CICalImporter importer(app.GetStore());
        if (!importer.ImportFile(ics, &error) || importer.Added() + importer.Updated() != 0)
            std::abort();
        nItems += importer.Unchanged();
    }
    state.counters["items_per_second"] = benchmark::Counter(double(nItems), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_Reimport)->Iterations(3)->UseRealTime()->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv)
{
    setenv("TZ", "EST5EDT,M3.2.0,M11.1.0", 1);
    tzset();
    setenv("QUILLDAY_SHORTDATE", kPattern, 1);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
