#include "platform/BitmapResource.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <vector>

namespace {

// Where the resource system keeps data/bitmaps/<id>_<subject>.xpm.
const QLatin1String kBitmapFolder(":/bitmaps");

// The pictures by id, from one listing of the folder; the first name in order wins.
const QHash<int, QString>& BitmapPaths()
{
    static const QHash<int, QString> paths = [] {
        QHash<int, QString> byId;
        const QDir folder(kBitmapFolder);
        for (const QString& name : folder.entryList({QStringLiteral("*_*.xpm")}, QDir::Files, QDir::Name)) {
            bool bNumber = false;
            const int nId = name.section(QLatin1Char('_'), 0, 0).toInt(&bNumber);
            if (bNumber && nId > 0 && !byId.contains(nId))
                byId.insert(nId, folder.filePath(name));
        }
        return byId;
    }();
    return paths;
}

// The quoted strings of an XPM file, in order: the picture as QImage's XPM array takes it.
std::vector<QByteArray> XpmStrings(const QByteArray& text)
{
    std::vector<QByteArray> strings;
    qsizetype nPos = 0;
    while ((nPos = text.indexOf('"', nPos)) >= 0) {
        const qsizetype nEnd = text.indexOf('"', nPos + 1);
        if (nEnd < 0)
            break;
        strings.push_back(text.mid(nPos + 1, nEnd - nPos - 1));
        nPos = nEnd + 1;
    }
    return strings;
}

// Whether the strings hold the header's colour and pixel lines: QImage reads as many as
// the header announces.
bool IsCompleteXpm(const std::vector<QByteArray>& strings)
{
    if (strings.empty())
        return false;
    const QList<QByteArray> header = strings.front().simplified().split(' ');
    if (header.size() < 4)
        return false;
    const qsizetype nRows = header[1].toInt();
    const qsizetype nColours = header[2].toInt();
    return nRows > 0 && nColours > 0 && static_cast<qsizetype>(strings.size()) >= 1 + nColours + nRows;
}

}  // namespace

QString BitmapResourcePath(int nId)
{
    return BitmapPaths().value(nId);
}

// The XPM text is read by QImage's own XPM reader, without asking the image plug-ins.
bool LoadBitmapResource(int nId, QImage* pImage)
{
    if (!pImage)
        return false;
    const QString path = BitmapResourcePath(nId);
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly))
        return false;
    const std::vector<QByteArray> strings = XpmStrings(file.readAll());
    if (!IsCompleteXpm(strings))
        return false;
    std::vector<const char*> lines;
    lines.reserve(strings.size() + 1);
    for (const QByteArray& line : strings)
        lines.push_back(line.constData());
    lines.push_back(nullptr);
    const QImage image(lines.data());
    if (image.isNull())
        return false;
    *pImage = image;
    return true;
}
