#include "app/CommandModes.h"

#include "app/CCommandLine.h"

#include <cstdio>

int RunScreenshotMode(const CCommandLine& /*commandLine*/)
{
    std::fprintf(stderr, "quillday: screenshot is not built yet\n");
    return CCommandLine::kUsageExitStatus;
}
