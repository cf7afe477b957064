#pragma once
// What every executable of the program does with the command line before a mode runs:
// the usage error on standard error, and the paths of the data files, the store and the
// registry applied and checked.
#include <QString>

class CCommandLine;

// Writes "quillday: TEXT" and the hint to --help on standard error; the usage exit status.
int UsageError(const QString& text);
// False with a message when --home does not name a folder, or a file the mode needs has
// no usable place.
bool ApplyPaths(const CCommandLine& cmd);
