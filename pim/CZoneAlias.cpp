#include "pim/CZoneAlias.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QStringList>
#include <QTimeZone>

namespace {

// A zone id as the database spells them: letters, digits and "/_-+", no "..".
bool IsZoneName(const QString& strId)
{
    if (strId.isEmpty() || strId.size() > 64 || strId.startsWith(u'/') || strId.contains(QLatin1String("..")))
        return false;
    // Files of the folder that are no zone of their own, or copies of all zones.
    static const QStringList notZones = {QStringLiteral("localtime"), QStringLiteral("posixrules"),
                                         QStringLiteral("Factory")};
    if (notZones.contains(strId) || strId.startsWith(QLatin1String("posix/")) || strId.startsWith(QLatin1String("right/")))
        return false;
    for (QChar c : strId) {
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != u'/' && c != u'_' && c != u'-' && c != u'+')
            return false;
    }
    return true;
}

bool IsCanonical(const QString& strId)
{
    return QTimeZone::isTimeZoneIdAvailable(strId.toUtf8());
}

// The "L TARGET LINK" lines of tzdata.zi, read once: link name to target.
QHash<QString, QString> ReadLinks(const QString& strPath)
{
    QHash<QString, QString> links;
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return links;
    while (!file.atEnd()) {
        const QByteArray line = file.readLine().trimmed();
        if (!line.startsWith("L "))
            continue;
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 3)
            links.insert(QString::fromLatin1(parts[2]), QString::fromLatin1(parts[1]));
    }
    return links;
}

}  // namespace

QString CZoneAlias::ZoneInfoDir()
{
    const QByteArray dir = qgetenv("TZDIR");
    return dir.isEmpty() ? QStringLiteral("/usr/share/zoneinfo") : QString::fromLocal8Bit(dir);
}

// Where a link of the zoneinfo folder leads, as a zone id; empty for a zone of its own.
QString CZoneAlias::LinkTarget(const QString& strId)
{
    const QString strDir = QFileInfo(ZoneInfoDir()).canonicalFilePath();
    const QString strFile = QFileInfo(ZoneInfoDir() + u'/' + strId).canonicalFilePath();
    if (!strDir.isEmpty() && strFile.startsWith(strDir + u'/')) {
        const QString strTarget = strFile.mid(strDir.size() + 1);
        if (strTarget != strId)
            return strTarget;
    }
    static const QHash<QString, QString> links = ReadLinks(ZoneInfoDir() + QStringLiteral("/tzdata.zi"));
    return links.value(strId);
}

// Looked up once per name and process: a lookup reads the zoneinfo folder. An import reads
// times in two threads.
QString CZoneAlias::Resolve(const QString& strId)
{
    static QMutex mutex;
    static QHash<QString, QString> resolved;
    const QMutexLocker lock(&mutex);
    auto it = resolved.constFind(strId);
    if (it == resolved.constEnd())
        it = resolved.insert(strId, Lookup(strId));
    return *it;
}

QString CZoneAlias::Lookup(const QString& strId)
{
    if (!IsZoneName(strId))
        return QString();
    if (IsCanonical(strId))
        return strId;
    if (!QFileInfo(ZoneInfoDir() + u'/' + strId).isFile())
        return QString();
    const QString strTarget = LinkTarget(strId);
    if (!strTarget.isEmpty() && IsCanonical(strTarget))
        return strTarget;
    return QTimeZone(strId.toUtf8()).isValid() ? strId : QString();
}
