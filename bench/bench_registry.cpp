// Start-up's settings read from a registry file that holds one binary value of 1 MB,
// wrapped as regedit wraps long values (about 25 bytes a line, a backslash at each line's
// end). Each iteration is one start-up: a settings file not read before (two files take
// turns), then the twenty reads of AgendaSettings::Load.
#include "week/AgendaSettings.h"
#include "platform/CRegistryDocument.h"
#include "platform/RegistryFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

QByteArray WrappedRegistry(int nBytes, char cFirst)
{
    QByteArray text("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\r\n"
                     "\"FontSize\"=dword:0000000c\r\n\"Blob\"=hex:");
    text.reserve(nBytes * 4);
    for (int i = 0; i < nBytes; ++i) {
        const char byte = i == 0 ? cFirst : char(i & 0xFF);
        text += QByteArray(1, byte).toHex();
        if (i + 1 < nBytes)
            text += (i % 25 == 24) ? ",\\\r\n  " : ",";
    }
    text += "\r\n\"24hour\"=dword:00000001\r\n";
    return text;
}

void BM_StartupSettingsWithWrappedValue(benchmark::State& state)
{
    QTemporaryDir dir;
    const QString paths[2] = {dir.filePath(QStringLiteral("a.reg")), dir.filePath(QStringLiteral("b.reg"))};
    for (int i = 0; i < 2; ++i) {
        QFile file(paths[i]);
        if (!file.open(QIODevice::WriteOnly))
            std::abort();
        file.write(WrappedRegistry(static_cast<int>(state.range(0)), char('a' + i)));
    }
    int nTurn = 0;
    for (auto _ : state) {
        SetRegistryPath(paths[nTurn++ % 2]);
        AgendaSettings settings;
        settings.Load();
        if (settings.FontSize != 12 || settings.Use24Hour != 1)
            std::abort();
        benchmark::DoNotOptimize(settings);
    }
    SetRegistryPath(QString());
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_StartupSettingsWithWrappedValue)->Arg(1 << 20)->Arg(64 << 10)->Unit(benchmark::kMillisecond);

// Reading a settings file of many values (each a name of its own): linear in their number.
void BM_ReadSettingsOfManyValues(benchmark::State& state)
{
    QByteArray text("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday]\r\n");
    for (int i = 0; i < state.range(0); ++i)
        text += "\"Value" + QByteArray::number(i) + "\"=dword:00000001\r\n";
    for (auto _ : state) {
        CRegistryDocument document;
        document.Parse(text);
        benchmark::DoNotOptimize(document.HasKey(QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillday")));
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ReadSettingsOfManyValues)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond)->Complexity();

}  // namespace

BENCHMARK_MAIN();
