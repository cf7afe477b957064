#pragma once
// The program from its command line: parses it, applies the paths it names and runs one
// mode. The modes of the executable itself (--print-week, --import, --export,
// --lunar-to-solar) run here; the others, which need libraries those do not load, are
// run by fnModuleMode: main() hands them to the module that holds them, which runs the
// whole command line again as its own program.
class CCommandLine;

using ModuleModeRunner = int (*)(const CCommandLine& commandLine, int argc, char** argv);

// The process exit status.
int RunProgram(int argc, char** argv, ModuleModeRunner fnModuleMode);
