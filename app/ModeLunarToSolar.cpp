#include "app/CommandModes.h"

#include "app/CCommandLine.h"

#include <cstdio>

int RunLunarToSolarMode(const CCommandLine& /*commandLine*/)
{
    std::fprintf(stderr, "quillday: lunar-to-solar is not built yet\n");
    return CCommandLine::kUsageExitStatus;
}
