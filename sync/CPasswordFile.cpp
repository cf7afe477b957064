#include "sync/CPasswordFile.h"

#include <QFile>
#include <QFileInfo>

namespace {
// Larger files are not password files.
constexpr qint64 kMaxPasswordFileBytes = 4096;
}

bool CPasswordFile::Read(const QString& strPath, QString& strPassword, QString& strReason)
{
    const QFileInfo info(strPath);
    if (!info.exists()) {
        strReason = QStringLiteral("password file %1 does not exist").arg(strPath);
        return false;
    }
    if (!info.isFile()) {
        strReason = QStringLiteral("password file %1 is not a regular file").arg(strPath);
        return false;
    }
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                      | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    if (info.permissions() & others) {
        strReason = QStringLiteral("password file %1 may be read by others than its owner "
                                   "(chmod 600 it)").arg(strPath);
        return false;
    }
    if (info.size() > kMaxPasswordFileBytes) {
        strReason = QStringLiteral("password file %1 is too large").arg(strPath);
        return false;
    }
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly)) {
        strReason = QStringLiteral("password file %1 cannot be read: %2").arg(strPath, file.errorString());
        return false;
    }
    const QByteArray text = file.readAll();
    const qsizetype nEnd = text.indexOf('\n');
    QByteArray line = nEnd < 0 ? text : text.left(nEnd);
    if (line.endsWith('\r'))
        line.chop(1);
    if (line.isEmpty()) {
        strReason = QStringLiteral("password file %1 is empty").arg(strPath);
        return false;
    }
    strPassword = QString::fromUtf8(line);
    return true;
}
