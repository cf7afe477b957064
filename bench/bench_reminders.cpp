// What the reminders cost at rest: finding the next reminder on the generated calendar of
// 100,000 events (3% recurring with an end, plus 500 series without one) and 10,000 to-dos,
// with a reminder on every fourth item. The store is built once into $QUILLDAY_BENCH_DIR
// (default /tmp/quillday-bench-reminders) and kept between runs. The idle process
// (wake-ups, memory) is measured by reminders_idle.sh beside this file.
#include "BenchStore.h"
#include "calendar/CScopedTestTime.h"
#include "ical/CICalImporter.h"
#include "pim/CPimStore.h"
#include "pim/IPOutlookApp.h"
#include "reminders/CReminderSchedule.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <benchmark/benchmark.h>
#include <cstdlib>
#include <sqlite3.h>

namespace {

// One item in kReminderEvery carries a 15-minute reminder.
constexpr int kReminderEvery = 4;

QString BenchDir()
{
    const QString dir = qEnvironmentVariable("QUILLDAY_BENCH_DIR", QStringLiteral("/tmp/quillday-bench-reminders"));
    QDir().mkpath(dir);
    return dir;
}

bool MakeCalendar(const QString& path)
{
    const QString cmd = QStringLiteral("python3 '%1' --events 100000 --todos 10000 --seed 1 --endless 500 --out '%2'")
                            .arg(CalendarGenerator(), path);
    return std::system(cmd.toLocal8Bit().constData()) == 0;
}

// The generated calendar has no reminders: every fourth appointment and task gets one.
bool SetReminders(CPimStore& store)
{
    const QByteArray sql = "UPDATE items SET reminder=1, reminder_minutes=15 WHERE kind IN (1,3) AND oid % "
                           + QByteArray::number(kReminderEvery) + " = 0";
    return sqlite3_exec(store.Db(), sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

// The store of the run: made in main() so that it closes before the program's statics go.
IPOutlookApp* g_pApp = nullptr;

IPOutlookApp& Store()
{
    IPOutlookApp& app = *g_pApp;
    if (app.IsLoggedOn())
        return app;
    const QString dir = BenchDir();
    const QString path = dir + QStringLiteral("/store.sqlite");
    const QString done = dir + QStringLiteral("/ready");
    if (!QFileInfo::exists(done))
        QFile::remove(path);
    if (FAILED(app.Logon(path)))
        std::abort();
    if (!QFileInfo::exists(done)) {
        const QString ics = dir + QStringLiteral("/calendar.ics");
        CICalImporter importer(app.GetStore());
        QString error;
        if (!MakeCalendar(ics) || !importer.ImportFile(ics, &error) || !SetReminders(*app.GetStore()))
            std::abort();
        QFile marker(done);
        marker.open(QIODevice::WriteOnly);
    }
    return app;
}

int64_t Noon(int nYear)
{
    return QDateTime(QDate(nYear, 6, 1), QTime(12, 0)).toSecsSinceEpoch();
}

// The next reminder (or the next ten) from 1 June of the year: among single items (2015),
// near the end of the calendar (2030), and past every item with an end (2040: only the
// series without an end ring).
void BM_NextReminder(benchmark::State& state)
{
    CReminderSchedule schedule(Store().GetStore());
    const int64_t nNow = Noon(int(state.range(0)));
    const int nCount = int(state.range(1));
    qsizetype nFound = 0;
    for (auto _ : state) {
        QVector<CReminder> next;
        if (!schedule.Next(nNow, nCount, &next))
            state.SkipWithError("the store could not be read");
        nFound = next.size();
    }
    state.counters["found"] = double(nFound);
}
BENCHMARK(BM_NextReminder)
    ->Args({2015, 1})
    ->Args({2030, 1})
    ->Args({2040, 1})
    ->Args({2015, 10})
    ->Unit(benchmark::kMillisecond);

// The reminders that fell due in a day: what a ringing pass after a day asleep reads.
void BM_DueInADay(benchmark::State& state)
{
    CReminderSchedule schedule(Store().GetStore());
    const int64_t nNow = Noon(int(state.range(0)));
    qsizetype nFound = 0;
    for (auto _ : state) {
        QVector<CReminder> due;
        schedule.DueBetween(nNow - 86400, nNow, &due);
        nFound = due.size();
    }
    state.counters["found"] = double(nFound);
}
BENCHMARK(BM_DueInADay)->Arg(2015)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv)
{
    // Local wall time as the calendar's floating times are read.
    CScopedTestTime zone("Europe/Berlin");
    IPOutlookApp app;
    g_pApp = &app;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
