#include "BenchStore.h"
#include "app/CAgendaApp.h"
#include <benchmark/benchmark.h>
#include "platform/ProgramFolder.h"
#include "platform/RegistryFile.h"
#include "platform/StorePath.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {

QString BinFolder(const char* pszArgv0)
{
    const QString exe = QFileInfo(QString::fromLocal8Bit(pszArgv0)).absolutePath();
    return QDir(exe + QStringLiteral("/../bin")).absolutePath();
}

// Whether the program starts on the store (an older store format is refused).
bool StoreOpens(const BenchSetup& setup)
{
    QProcess process;
    process.start(setup.strBin + QStringLiteral("/quillday"),
                  {"--print-week", "2015-06-01", "--home", setup.strBin, "--store", setup.strStore, "--registry",
                   setup.strRegistry});
    return process.waitForFinished(60000) && process.exitStatus() == QProcess::NormalExit
           && process.exitCode() == 0;
}

// Generates and imports the store unless a finished one that the program still opens is
// there from an earlier run.
bool PrepareStore(BenchSetup* pSetup)
{
    const QString dir = qEnvironmentVariable("QUILLDAY_BENCH_DIR", QStringLiteral("/tmp/quillday-bench-week"));
    QDir().mkpath(dir);
    pSetup->strStore = dir + QStringLiteral("/pim.sqlite");
    pSetup->strRegistry = dir + QStringLiteral("/registry.reg");
    const QString done = dir + QStringLiteral("/imported");
    if (QFileInfo::exists(done) && QFileInfo::exists(pSetup->strStore) && StoreOpens(*pSetup))
        return true;
    QFile::remove(done);
    for (const char* pszSuffix : {"", "-wal", "-shm"})
        QFile::remove(pSetup->strStore + QLatin1String(pszSuffix));
    const QString ics = dir + QStringLiteral("/bench.ics");
    if (QProcess::execute(QStringLiteral("python3"), {CalendarGenerator(), "--events", "100000", "--todos", "10000", "--seed", "1",
                                                      "--out", ics}) != 0)
        return false;
    if (QProcess::execute(pSetup->strBin + QStringLiteral("/quillday"),
                          {"--import", ics, "--home", pSetup->strBin, "--store", pSetup->strStore, "--registry",
                           pSetup->strRegistry}) != 0)
        return false;
    QFile marker(done);
    return marker.open(QIODevice::WriteOnly);
}

}  // namespace

BenchSetup PrepareBenchStore(const char* pszArgv0)
{
    BenchSetup setup;
    setup.strBin = BinFolder(pszArgv0);
    setup.bReady = PrepareStore(&setup);
    return setup;
}

void UseBenchStore(const BenchSetup& setup)
{
    SetProgramFolder(setup.strBin);
    SetStorePath(setup.strStore);
    SetRegistryPath(setup.strRegistry);
}

QString CalendarGenerator()
{
    return qEnvironmentVariable("QUILLDAY_GEN_ICS", QStringLiteral(QUILLDAY_SOURCE_DIR "/bench/gen_calendar.py"));
}

int RunWindowBenchmarks(int argc, char** argv, BenchSetup* pSetup)
{
    if (qEnvironmentVariableIsEmpty("QUILLDAY_SHORTDATE"))
        qputenv("QUILLDAY_SHORTDATE", "M/d/yy");
    CAgendaApp::ChooseOffscreenPlatform();
    CAgendaApp app(argc, argv);
    *pSetup = PrepareBenchStore(argv[0]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
