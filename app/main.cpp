// quillday: parses the command line, applies the paths it names and runs one mode.
// No QGuiApplication is made here: the modes that need one make it themselves, so the
// command-line modes run without a display.
#include "app/CCommandLine.h"
#include "resources/UiLanguage.h"
#include "app/CQtMessageBoxHandler.h"
#include "app/CommandModes.h"
#include "app/CommandPaths.h"

#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace {

// quillday --reminders becomes quillday-reminders beside this executable when it is there:
// the same mode in a process without the libraries of the window, which keeps less memory
// while it sleeps. Returns only when that cannot start; the mode then runs here.
void ExecRemindersProgram(char** argv)
{
    const QString strSelf = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    const QByteArray program = QFile::encodeName(QFileInfo(strSelf).absolutePath() + QStringLiteral("/quillday-reminders"));
    execv(program.constData(), argv);
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
    case QuilldayMode::ExportSpecialDays:
        return RunExportSpecialDaysMode(cmd);
    case QuilldayMode::LunarToSolar:
        return RunLunarToSolarMode(cmd);
    case QuilldayMode::AddAccount:
        return RunAddAccountMode(cmd);
    case QuilldayMode::ListAccounts:
        return RunListAccountsMode();
    case QuilldayMode::RemoveAccount:
        return RunRemoveAccountMode(cmd);
    case QuilldayMode::Sync:
        return RunSyncMode();
    case QuilldayMode::Reminders:
        ExecRemindersProgram(argv);
        return RunRemindersMode(cmd, argc, argv);
    case QuilldayMode::NextReminders:
        return RunNextRemindersMode(cmd);
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
    return RunMode(cmd, argc, argv);
}
