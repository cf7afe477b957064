#include "platform/BitmapResource.h"

#include <QDir>

namespace {

// Where the resource system keeps data/bitmaps/<id>_<subject>.xpm.
const QLatin1String kBitmapFolder(":/bitmaps");

}  // namespace

QString BitmapResourcePath(int nId)
{
    if (nId <= 0)
        return QString();
    const QDir folder(kBitmapFolder);
    const QStringList matches = folder.entryList({QStringLiteral("%1_*.xpm").arg(nId)}, QDir::Files, QDir::Name);
    return matches.isEmpty() ? QString() : folder.filePath(matches.first());
}

bool LoadBitmapResource(int nId, QImage* pImage)
{
    if (!pImage)
        return false;
    const QString path = BitmapResourcePath(nId);
    QImage image;
    if (path.isEmpty() || !image.load(path, "XPM"))
        return false;
    *pImage = image;
    return true;
}
