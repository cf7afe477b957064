// Sync with a Radicale and a Xandikos on 127.0.0.1, 10,000 items each: the first sync into
// an empty store, and a whole `quillday --sync` process when nothing changed (one request
// with the token), with the server's share of it (server_ms: the same request alone) and
// the process's CPU time (cpu_ms) beside it. Our own share of that process: the same
// process and store, with the server's answer made at once by the tests' proxy
// (requests: how many requests the process made).
#include "tests/support/CFaultProxy.h"
#include "tests/support/CTestDavServer.h"

#include "pim/CPimStore.h"
#include "pim/CSqlStatement.h"
#include "platform/RegistryFile.h"
#include "sync/CDavClient.h"
#include "sync/CDavXml.h"
#include "sync/CSyncAccounts.h"
#include "sync/CSyncEngine.h"
#include "sync/CSyncState.h"

#include <QCoreApplication>
#include <QDate>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

namespace {

using Kind = CTestDavServer::Kind;
constexpr int kItems = 10000;

struct BenchServer
{
    CTestDavServer server;
    QUrl calendar;
    QTemporaryDir dir;
    QString strSyncedStore;

    explicit BenchServer(Kind kind) : server(kind)
    {
        if (!server.Start() || !(calendar = server.NewCalendar("bench")).isValid())
            qFatal("server: %s", qPrintable(server.Error()));
        QList<std::pair<QString, QByteArray>> resources;
        for (int i = 0; i < kItems; ++i) {
            const QByteArray day = QDate(2026, 1, 1).addDays(i % 700).toString("yyyyMMdd").toLatin1();
            const QByteArray uid = "bench-" + QByteArray::number(i);
            resources.append({QString::fromLatin1(uid + ".ics"),
                              "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nBEGIN:VEVENT\r\nUID:" + uid
                                  + "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:" + day + "T090000\r\nDTEND:" + day
                                  + "T100000\r\nSUMMARY:Item " + QByteArray::number(i)
                                  + " 회의\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"});
        }
        if (!server.WriteResources("bench", resources))
            qFatal("server: %s", qPrintable(server.Error()));
    }

    SyncReport SyncInto(const QString& strStore)
    {
        std::shared_ptr<CPimStore> pStore;
        CPimStore::Open(strStore, &pStore);
        CDavClient client(CTestDavServer::kUser, QString::fromUtf8(CTestDavServer::kPassword));
        client.SetTimeoutMs(120000);
        return CSyncEngine(client, pStore, calendar).Sync();
    }

    // A store that holds the whole calendar, synced once.
    const QString& SyncedStore()
    {
        if (strSyncedStore.isEmpty()) {
            strSyncedStore = dir.filePath("synced.db");
            if (SyncInto(strSyncedStore).nReceived != kItems)
                qFatal("the first sync did not receive every item");
        }
        return strSyncedStore;
    }

    // A copy of the synced store whose sync state is that of the same calendar at another
    // address (through a proxy).
    QString StoreFor(const QUrl& address)
    {
        const QString strCopy = dir.filePath("through.db");
        QFile::remove(strCopy);
        QFile::copy(SyncedStore(), strCopy);
        std::shared_ptr<CPimStore> pStore;
        CPimStore::Open(strCopy, &pStore);
        for (const char* pszSql : {"UPDATE sync_link SET account=?", "UPDATE sync_token SET account=?"})
            CSqlStatement(pStore->Db(), pszSql).Bind(1, CDavClient::Shown(address)).Exec();
        return strCopy;
    }

    // Settings with one account, that calendar at that address; their file.
    QString Settings(const QUrl& address, const QString& strName)
    {
        const QString strPasswordFile = dir.filePath("pw");
        QFile pw(strPasswordFile);
        pw.open(QIODevice::WriteOnly);
        pw.write(CTestDavServer::kPassword);
        pw.close();
        pw.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        const QString strRegistry = dir.filePath(strName);
        SetRegistryPath(strRegistry);
        CSyncAccounts::Save({{address.toString(), CTestDavServer::kUser, strPasswordFile, address.toString(), {}}});
        return strRegistry;
    }

    // How long the server takes to answer the no-change request of the synced store.
    double ServerAnswerMs()
    {
        std::shared_ptr<CPimStore> pStore;
        CPimStore::Open(SyncedStore(), &pStore);
        const QString strToken = CSyncState(pStore, CDavClient::Shown(calendar)).Token();
        CDavClient client(CTestDavServer::kUser, QString::fromUtf8(CTestDavServer::kPassword));
        QElapsedTimer timer;
        timer.start();
        client.Send("REPORT", calendar, CDavXml::SyncCollection(strToken), {{"Depth", "1"}});
        return double(timer.nsecsElapsed()) / 1e6;
    }
};

BenchServer& Server(Kind kind)
{
    if (kind == Kind::Radicale) {
        static BenchServer radicale(Kind::Radicale);
        return radicale;
    }
    static BenchServer xandikos(Kind::Xandikos);
    return xandikos;
}

double ChildrenCpuMs()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
           + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// One whole `quillday --sync` process; false unless it found nothing to do. Its CPU time
// (user and system) is added to *pfCpuMs.
bool RunNoChangeSync(const QString& strStore, const QString& strRegistry, double* pfCpuMs)
{
    const double fBefore = ChildrenCpuMs();
    QProcess process;
    process.start(QUILLDAY_BIN_PATH, {"--store", strStore, "--registry", strRegistry, "--sync"});
    process.waitForFinished(60000);
    *pfCpuMs += ChildrenCpuMs() - fBefore;
    return process.exitCode() == 0 && process.readAllStandardOutput().contains("sent 0, received 0,");
}

void BM_FirstSync10000(benchmark::State& state, Kind kind)
{
    BenchServer& s = Server(kind);
    int nRun = 0;
    for (auto _ : state) {
        const QString strStore = s.dir.filePath(QString("first%1.db").arg(nRun++));
        const SyncReport report = s.SyncInto(strStore);
        if (report.nReceived != kItems || !report.Complete())
            state.SkipWithError("the first sync did not receive every item");
        s.strSyncedStore = strStore;
    }
}
BENCHMARK_CAPTURE(BM_FirstSync10000, radicale, Kind::Radicale)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_FirstSync10000, xandikos, Kind::Xandikos)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NoChangeSyncProcess(benchmark::State& state, Kind kind)
{
    BenchServer& s = Server(kind);
    const QString strRegistry = s.Settings(s.calendar, "registry.reg");
    double fServerMs = 0;
    double fCpuMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fServerMs += s.ServerAnswerMs();
        state.ResumeTiming();
        if (!RunNoChangeSync(s.SyncedStore(), strRegistry, &fCpuMs))
            state.SkipWithError("the sync was not a no-change sync");
    }
    state.counters["server_ms"] = benchmark::Counter(fServerMs, benchmark::Counter::kAvgIterations);
    state.counters["cpu_ms"] = benchmark::Counter(fCpuMs, benchmark::Counter::kAvgIterations);
}
// Each a median of ten runs of a few processes.
BENCHMARK_CAPTURE(BM_NoChangeSyncProcess, radicale, Kind::Radicale)
    ->Iterations(3)->Repetitions(10)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK_CAPTURE(BM_NoChangeSyncProcess, xandikos, Kind::Xandikos)
    ->Iterations(3)->Repetitions(10)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond)->UseRealTime();

// The same process and store (10,000 items, synced from the Radicale), the server's
// answer made at once: what the process itself takes.
void BM_NoChangeSyncProcessOwnShare(benchmark::State& state)
{
    BenchServer& s = Server(Kind::Radicale);
    CFaultProxy proxy(s.server.Root());
    if (!proxy.Begin())
        state.SkipWithError("the proxy does not listen");
    const QUrl through = proxy.Through(s.calendar);
    const QString strStore = s.StoreFor(through);
    const QString strRegistry = s.Settings(through, "through.reg");
    proxy.Inject(CFaultProxy::EFault::NoChange, "sync-collection");
    double fCpuMs = 0;
    for (auto _ : state) {
        if (!RunNoChangeSync(strStore, strRegistry, &fCpuMs))
            state.SkipWithError("the sync was not a no-change sync");
    }
    state.counters["cpu_ms"] = benchmark::Counter(fCpuMs, benchmark::Counter::kAvgIterations);
    state.counters["requests"] = benchmark::Counter(double(proxy.Requests().size()), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_NoChangeSyncProcessOwnShare)
    ->Iterations(10)->Repetitions(10)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
