// quillday-reminders: what quillday --reminders and --next-reminders run as (quillday hands
// over with exec). The same command line and modes, linked without the window's libraries,
// so that the process that sleeps through the session between reminders keeps little memory.
#include "app/CCommandLine.h"
#include "app/CommandModes.h"
#include "app/CommandPaths.h"
#include "resources/UiLanguage.h"

int main(int argc, char** argv)
{
    CCommandLine cmd;
    if (!cmd.Parse(argc, argv))
        return UsageError(cmd.m_strError);
    if (cmd.m_mode != QuilldayMode::Reminders && cmd.m_mode != QuilldayMode::NextReminders)
        return UsageError(QStringLiteral("quillday-reminders runs only --reminders and --next-reminders"));
    SetUiLanguageOption(cmd.m_strLanguage);
    if (!ApplyPaths(cmd))
        return CCommandLine::kUsageExitStatus;
    if (cmd.m_mode == QuilldayMode::NextReminders)
        return OpenForReading(cmd.m_mode) ? RunNextRemindersMode(cmd) : 1;
    return RunRemindersMode(cmd, argc, argv);
}
