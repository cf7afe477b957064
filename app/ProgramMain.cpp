#include "app/ProgramMain.h"
#include "app/CCommandLine.h"
#include "resources/UiLanguage.h"
#include "app/CommandModes.h"
#include "app/CommandPaths.h"

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int kMissingStoreStatus = 1;

int RunMode(const CCommandLine& cmd, int argc, char** argv, ModuleModeRunner fnModuleMode)
{
    switch (cmd.m_mode) {
    case QuilldayMode::PrintWeek:
        return RunPrintWeekMode(cmd);
    case QuilldayMode::Import:
        return RunImportMode(cmd);
    case QuilldayMode::Export:
        return RunExportMode(cmd);
    case QuilldayMode::ExportSpecialDays:
        return RunExportSpecialDaysMode(cmd);
    case QuilldayMode::LunarToSolar:
        return RunLunarToSolarMode(cmd);
    default:
        break;
    }
    return fnModuleMode(cmd, argc, argv);
}

}  // namespace

int RunProgram(int argc, char** argv, ModuleModeRunner fnModuleMode)
{
    CCommandLine cmd;
    if (!cmd.Parse(argc, argv))
        return UsageError(cmd.m_strError);
    SetUiLanguageOption(cmd.m_strLanguage);
    if (cmd.m_mode == QuilldayMode::Help) {
        // The settings are not read for the usage text: the option, else the locale.
        std::fputs(CCommandLine::HelpText(ChooseUiLanguage(cmd.m_strLanguage, QString())).toLocal8Bit().constData(),
                   stdout);
        return EXIT_SUCCESS;
    }
    if (cmd.m_mode == QuilldayMode::Version)
        return RunVersionMode();
    if (!ApplyPaths(cmd))
        return CCommandLine::kUsageExitStatus;
    if (OnlyReads(cmd.m_mode) && !OpenForReading(cmd.m_mode))
        return kMissingStoreStatus;
    return RunMode(cmd, argc, argv, fnModuleMode);
}
