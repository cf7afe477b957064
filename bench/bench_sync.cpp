// Sync with a Radicale on 127.0.0.1: the first sync of 10,000 items into an empty store,
// and a whole `quillday --sync` process when nothing changed (one request with the token),
// with the server's share of it (server_ms: the same request alone) beside it.
#include "tests/support/CTestDavServer.h"

#include "pim/CPimStore.h"
#include "platform/RegistryFile.h"
#include "sync/CDavClient.h"
#include "sync/CSyncAccounts.h"
#include "sync/CSyncEngine.h"
#include "sync/CSyncState.h"
#include "sync/CDavXml.h"

#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kItems = 10000;

struct BenchServer
{
    CTestDavServer server{CTestDavServer::Kind::Radicale};
    QUrl calendar;
    QTemporaryDir dir;
    QString strSyncedStore;

    BenchServer()
    {
        if (!server.Start() || !(calendar = server.NewCalendar("bench")).isValid())
            qFatal("Radicale: %s", qPrintable(server.Error()));
        const QString strFolder = server.RadicaleFolder("bench");
        for (int i = 0; i < kItems; ++i) {
            const QByteArray day = QDate(2026, 1, 1).addDays(i % 700).toString("yyyyMMdd").toLatin1();
            const QByteArray uid = "bench-" + QByteArray::number(i);
            QFile file(strFolder + "/" + uid + ".ics");
            file.open(QIODevice::WriteOnly);
            file.write("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//bench//EN\r\nBEGIN:VEVENT\r\nUID:" + uid
                       + "\r\nDTSTAMP:20260101T000000Z\r\nDTSTART:" + day + "T090000\r\nDTEND:" + day
                       + "T100000\r\nSUMMARY:Item " + QByteArray::number(i) + " 회의\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
        }
    }

    // How long the server takes to answer the no-change request of the synced store.
    double ServerAnswerMs()
    {
        std::shared_ptr<CPimStore> pStore;
        CPimStore::Open(strSyncedStore, &pStore);
        const QString strToken = CSyncState(pStore, CDavClient::Shown(calendar)).Token();
        CDavClient client(CTestDavServer::kUser, QString::fromUtf8(CTestDavServer::kPassword));
        QElapsedTimer timer;
        timer.start();
        client.Send("REPORT", calendar, CDavXml::SyncCollection(strToken), {{"Depth", "1"}});
        return double(timer.nsecsElapsed()) / 1e6;
    }

    SyncReport SyncInto(const QString& strStore)
    {
        std::shared_ptr<CPimStore> pStore;
        CPimStore::Open(strStore, &pStore);
        CDavClient client(CTestDavServer::kUser, QString::fromUtf8(CTestDavServer::kPassword));
        client.SetTimeoutMs(120000);
        return CSyncEngine(client, pStore, calendar).Sync();
    }
};

BenchServer& Server()
{
    static BenchServer server;
    return server;
}

void BM_FirstSync10000(benchmark::State& state)
{
    int nRun = 0;
    for (auto _ : state) {
        const QString strStore = Server().dir.filePath(QString("first%1.db").arg(nRun++));
        const SyncReport report = Server().SyncInto(strStore);
        if (report.nReceived != kItems || !report.Complete())
            state.SkipWithError("the first sync did not receive every item");
        Server().strSyncedStore = strStore;
    }
}
BENCHMARK(BM_FirstSync10000)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_NoChangeSyncProcess(benchmark::State& state)
{
    BenchServer& s = Server();
    if (s.strSyncedStore.isEmpty()) {
        s.strSyncedStore = s.dir.filePath("synced.db");
        s.SyncInto(s.strSyncedStore);
    }
    const QString strRegistry = s.dir.filePath("registry.reg");
    const QString strPasswordFile = s.dir.filePath("pw");
    QFile pw(strPasswordFile);
    pw.open(QIODevice::WriteOnly);
    pw.write(CTestDavServer::kPassword);
    pw.close();
    pw.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    SetRegistryPath(strRegistry);
    CSyncAccounts::Save({{s.calendar.toString(), CTestDavServer::kUser, strPasswordFile, s.calendar.toString(), {}}});
    double fServerMs = 0;
    for (auto _ : state) {
        state.PauseTiming();
        fServerMs += s.ServerAnswerMs();
        state.ResumeTiming();
        QProcess process;
        process.start(QUILLDAY_BIN_PATH, {"--store", s.strSyncedStore, "--registry", strRegistry, "--sync"});
        process.waitForFinished(60000);
        if (process.exitCode() != 0 || !process.readAllStandardOutput().contains("sent 0, received 0"))
            state.SkipWithError("the sync was not a no-change sync");
    }
    // The server's share of the whole: the same request with the same token, alone.
    state.counters["server_ms"] = benchmark::Counter(fServerMs, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_NoChangeSyncProcess)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
