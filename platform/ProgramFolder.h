#pragma once
// The folder of the data files: --home, else QUILLDAY_HOME, else the executable's folder.
#include <QString>

QString GetProgramFolder();
void SetProgramFolder(const QString& folder);  // from --home; empty restores the default
QString ProgramFilePath(const QString& fileName);
// The full path of the running executable (GetModuleFileNameW); empty when unknown.
QString GetModuleFilePath();
