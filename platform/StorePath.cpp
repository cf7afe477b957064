#include "platform/StorePath.h"

#include "platform/XdgPaths.h"

#include <QDir>

namespace {

QString g_strStorePath;  // from --store; empty: the default

}  // namespace

QString GetStorePath()
{
    if (!g_strStorePath.isEmpty())
        return g_strStorePath;
    const QString strData = XdgDataHome();
    return strData.isEmpty() ? QString() : strData + QStringLiteral("/quillday/pim.sqlite");
}

void SetStorePath(const QString& path)
{
    g_strStorePath = path.isEmpty() ? QString() : QDir::cleanPath(QDir(path).absolutePath());
}
