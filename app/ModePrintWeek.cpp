#include "app/CommandModes.h"

#include "app/CCommandLine.h"

#include <cstdio>

int RunPrintWeekMode(const CCommandLine& /*commandLine*/)
{
    std::fprintf(stderr, "quillday: print-week is not built yet\n");
    return CCommandLine::kUsageExitStatus;
}
