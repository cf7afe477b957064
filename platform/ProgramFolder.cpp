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
    return ExecutableFolder();
}

void SetProgramFolder(const QString& folder)
{
    g_strProgramFolder = folder.isEmpty() ? QString() : QDir::cleanPath(QDir(folder).absolutePath());
}

QString ProgramFilePath(const QString& fileName)
{
    return GetProgramFolder() + QLatin1Char('/') + fileName;
}
