#pragma once
// What every executable of the program does with the command line before a mode runs:
// the usage error on standard error, and the paths of the data files, the store and the
// registry applied and checked.
#include <QString>

class CCommandLine;
enum class QuilldayMode;

// Writes "quillday: TEXT" and the hint to --help on standard error; the usage exit status.
int UsageError(const QString& text);
// False with a message when --home does not name a folder, or a file the mode needs has
// no usable place.
bool ApplyPaths(const CCommandLine& cmd);
// Modes that only read: they create no store and no settings file, and a file they would
// create in a folder that is not there is a typing error, not a wish for an empty store.
bool OnlyReads(QuilldayMode mode);
// For a mode that only reads: the settings stay in memory; false with a message naming
// the store when the mode reads one and there is none.
bool OpenForReading(QuilldayMode mode);
