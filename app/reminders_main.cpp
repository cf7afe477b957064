// quillday-reminders: what quillday --reminders runs as (it hands over with exec). The same
// command line and mode, linked without the window's libraries, so that the process that
// sleeps through the session between reminders keeps little memory.
#include "app/CCommandLine.h"
#include "app/CommandModes.h"
#include "app/CommandPaths.h"
#include "resources/UiLanguage.h"

int main(int argc, char** argv)
{
    CCommandLine cmd;
    if (!cmd.Parse(argc, argv))
        return UsageError(cmd.m_strError);
    if (cmd.m_mode != QuilldayMode::Reminders)
        return UsageError(QStringLiteral("quillday-reminders runs only --reminders"));
    SetUiLanguageOption(cmd.m_strLanguage);
    if (!ApplyPaths(cmd))
        return CCommandLine::kUsageExitStatus;
    return RunRemindersMode(cmd, argc, argv);
}
