// The window module: the modes with a window (the window, --screenshot), loaded by
// quillday for them.
#include "app/CCommandLine.h"
#include "app/CQtMessageBoxHandler.h"
#include "app/CommandModes.h"
#include "app/ProgramMain.h"

namespace {

int RunWindowMode(const CCommandLine& commandLine, int argc, char** argv)
{
    if (commandLine.m_mode == QuilldayMode::Screenshot)
        return RunScreenshotMode(commandLine);
    CQtMessageBoxHandler::Install();
    return RunGuiMode(commandLine, argc, argv);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) int QuilldayModuleMain(int argc, char** argv)
{
    return RunProgram(argc, argv, &RunWindowMode);
}
