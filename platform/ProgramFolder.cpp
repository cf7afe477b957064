#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString g_strProgramFolder;  // from --home; empty: not set

QString ExecutableFolder()
{
    const QString target = GetModuleFilePath();
    if (target.isEmpty())
        return QDir::currentPath();
    return QFileInfo(target).absolutePath();
}

// An installed program (PREFIX/bin/quillday) keeps its data files in PREFIX/share/quillday;
// one run from its build folder has them beside it.
QString DefaultProgramFolder()
{
    const QString exeFolder = ExecutableFolder();
    const QString installed = QDir::cleanPath(exeFolder + QStringLiteral("/../share/quillday"));
    return QFileInfo(installed).isDir() ? installed : exeFolder;
}

}  // namespace

QString GetModuleFilePath()
{
    // /proc/self/exe names the running executable without needing a QCoreApplication.
    return QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
}

QString GetProgramFolder()
{
    if (!g_strProgramFolder.isEmpty())
        return g_strProgramFolder;
    const QString home = qEnvironmentVariable("QUILLDAY_HOME");
    if (!home.isEmpty())
        return QDir::cleanPath(QDir(home).absolutePath());
    return DefaultProgramFolder();
}

bool IsProgramFolderChosen()
{
    return !g_strProgramFolder.isEmpty() || !qEnvironmentVariable("QUILLDAY_HOME").isEmpty();
}

void SetProgramFolder(const QString& folder)
{
    g_strProgramFolder = folder.isEmpty() ? QString() : QDir::cleanPath(QDir(folder).absolutePath());
}

QString ProgramFilePath(const QString& fileName)
{
    return GetProgramFolder() + QLatin1Char('/') + fileName;
}
