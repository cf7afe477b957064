#include "app/CommandModes.h"

#include "app/CCommandLine.h"

#include <cstdio>

int RunGuiMode(const CCommandLine& /*commandLine*/, int /*argc*/, char** /*argv*/)
{
    std::fprintf(stderr, "quillday: the main window is not built yet\n");
    return CCommandLine::kUsageExitStatus;
}
