// quillday: parses the command line, applies the paths it names and runs one mode.
// No QGuiApplication is made here: the modes that need one make it themselves, so the
// command-line modes run without a display.
#include "app/CCommandLine.h"
#include "app/CQtMessageBoxHandler.h"
#include "app/CommandModes.h"
#include "platform/ProgramFolder.h"
#include "platform/RegistryFile.h"
#include "platform/StorePath.h"

#include <QByteArray>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>

namespace {

int UsageError(const QString& text)
{
    std::fprintf(stderr, "quillday: %s\nTry 'quillday --help' for the options.\n", text.toLocal8Bit().constData());
    return CCommandLine::kUsageExitStatus;
}

// False with a message when --home does not name a folder.
bool ApplyPaths(const CCommandLine& cmd)
{
    if (!cmd.m_strHome.isEmpty()) {
        if (!QFileInfo(cmd.m_strHome).isDir()) {
            UsageError(QStringLiteral("--home: '%1' is not a folder").arg(cmd.m_strHome));
            return false;
        }
        SetProgramFolder(cmd.m_strHome);
    }
    if (!cmd.m_strStore.isEmpty())
        SetStorePath(cmd.m_strStore);
    if (!cmd.m_strRegistry.isEmpty())
        SetRegistryPath(cmd.m_strRegistry);
    if (cmd.m_nScale > 0)
        qputenv("QT_SCALE_FACTOR", QByteArray::number(cmd.m_nScale));
    return true;
}

int RunMode(const CCommandLine& cmd, int argc, char** argv)
{
    switch (cmd.m_mode) {
    case QuilldayMode::PrintWeek:
        return RunPrintWeekMode(cmd);
    case QuilldayMode::Screenshot:
        return RunScreenshotMode(cmd);
    case QuilldayMode::Import:
        return RunImportMode(cmd);
    case QuilldayMode::Export:
        return RunExportMode(cmd);
    case QuilldayMode::LunarToSolar:
        return RunLunarToSolarMode(cmd);
    case QuilldayMode::Gui:
    case QuilldayMode::Help:
    case QuilldayMode::Version:
        break;
    }
    CQtMessageBoxHandler::Install();
    return RunGuiMode(cmd, argc, argv);
}

}  // namespace

int main(int argc, char** argv)
{
    CCommandLine cmd;
    if (!cmd.Parse(argc, argv))
        return UsageError(cmd.m_strError);
    if (cmd.m_mode == QuilldayMode::Help) {
        std::fputs(CCommandLine::HelpText().toLocal8Bit().constData(), stdout);
        return EXIT_SUCCESS;
    }
    if (cmd.m_mode == QuilldayMode::Version)
        return RunVersionMode();
    if (!ApplyPaths(cmd))
        return CCommandLine::kUsageExitStatus;
    return RunMode(cmd, argc, argv);
}
