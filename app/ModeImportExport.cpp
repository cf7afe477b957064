#include "app/CommandModes.h"

#include "app/CCommandLine.h"

#include <cstdio>

int RunImportMode(const CCommandLine& /*commandLine*/)
{
    std::fprintf(stderr, "quillday: import is not built yet\n");
    return CCommandLine::kUsageExitStatus;
}

int RunExportMode(const CCommandLine& /*commandLine*/)
{
    std::fprintf(stderr, "quillday: export is not built yet\n");
    return CCommandLine::kUsageExitStatus;
}
