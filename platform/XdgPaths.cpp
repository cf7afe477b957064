#include "platform/XdgPaths.h"

#include <QDir>

namespace {

QString XdgFolder(const char* variable, const char* fallbackUnderHome)
{
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return QDir::cleanPath(value);
    // QDir::homePath() would give "/" without HOME.
    const QString home = qEnvironmentVariable("HOME");
    if (home.isEmpty() || !QDir::isAbsolutePath(home))
        return QString();
    return QDir::cleanPath(home) + QLatin1Char('/') + QLatin1String(fallbackUnderHome);
}

}  // namespace

QString XdgConfigHome() { return XdgFolder("XDG_CONFIG_HOME", ".config"); }

QString XdgDataHome() { return XdgFolder("XDG_DATA_HOME", ".local/share"); }
