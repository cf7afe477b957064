#pragma once
// The folder of the data files: --home, else QUILLDAY_HOME, else PREFIX/share/quillday
// for an executable installed in PREFIX/bin (when that folder exists), else the
// executable's own folder.
#include <QString>

QString GetProgramFolder();
void SetProgramFolder(const QString& folder);  // from --home; empty restores the default
QString ProgramFilePath(const QString& fileName);
// Whether --home or QUILLDAY_HOME chose the folder (rather than the executable's place).
bool IsProgramFolderChosen();
// The full path of the running executable (GetModuleFileNameW); empty when unknown.
QString GetModuleFilePath();
