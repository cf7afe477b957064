#include "platform/RegistryFile.h"

#include "platform/CRegistryDocument.h"
#include "platform/XdgPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString g_strRegistryPath;  // from --registry; empty: the default

constexpr int kMaxBackups = 100;

// The registry file as read: its document and the bytes it was made from.
struct LoadedFile {
    CRegistryDocument doc;
    QByteArray original;
    bool bExists = false;
};

// False when the file exists but cannot be read: nothing may then be written over it.
bool LoadFile(const QString& path, LoadedFile* pFile)
{
    QFile file(path);
    if (!file.exists())
        return true;
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return false;
    pFile->original = file.readAll();
    pFile->bExists = true;
    pFile->doc.Parse(pFile->original);
    return true;
}

// A free backup name: registry.reg.bak, else registry.reg.bak.1 and on, so that no earlier
// backup is overwritten. Empty when an existing backup already holds these bytes.
QString BackupPath(const QString& path, const QByteArray& original, bool* pbAlreadyKept)
{
    *pbAlreadyKept = false;
    for (int n = 0; n <= kMaxBackups; ++n) {
        const QString candidate = path + QStringLiteral(".bak") + (n == 0 ? QString() : QStringLiteral(".%1").arg(n));
        QFile existing(candidate);
        if (!existing.exists())
            return candidate;
        if (existing.open(QIODevice::ReadOnly) && existing.readAll() == original) {
            *pbAlreadyKept = true;
            return candidate;
        }
    }
    return QString();
}

bool KeepOriginal(const QString& path, const QByteArray& original)
{
    bool bAlreadyKept = false;
    const QString backup = BackupPath(path, original, &bAlreadyKept);
    if (backup.isEmpty())
        return false;
    if (bAlreadyKept)
        return true;
    QSaveFile file(backup);
    return file.open(QIODevice::WriteOnly) && file.write(original) == original.size() && file.commit();
}

bool SaveFile(const QString& path, const LoadedFile& loaded)
{
    // Before the first write over a file with unreadable lines, its original stays beside it.
    if (loaded.bExists && loaded.doc.HasUnreadableLines() && !KeepOriginal(path, loaded.original))
        return false;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QByteArray text = loaded.doc.ToText();
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(text) == text.size() && file.commit();
}

}  // namespace

QString GetRegistryPath()
{
    if (!g_strRegistryPath.isEmpty())
        return g_strRegistryPath;
    const QString env = qEnvironmentVariable("QUILLDAY_REGISTRY");
    if (!env.isEmpty())
        return QDir::cleanPath(QDir(env).absolutePath());
    return XdgConfigHome() + QStringLiteral("/quillday/registry.reg");
}

void SetRegistryPath(const QString& path)
{
    g_strRegistryPath = path.isEmpty() ? QString() : QDir::cleanPath(QDir(path).absolutePath());
}

bool RegistryCreateKey(const QString& key)
{
    const QString path = GetRegistryPath();
    LoadedFile loaded;
    if (!LoadFile(path, &loaded))
        return false;
    if (loaded.doc.HasKey(key))
        return true;
    return loaded.doc.AddKey(key) && SaveFile(path, loaded);
}

bool RegistryQueryValue(const QString& key, const QString& name, RegValue* pValue)
{
    LoadedFile loaded;
    return LoadFile(GetRegistryPath(), &loaded) && loaded.doc.QueryValue(key, name, pValue);
}

bool RegistrySetValue(const QString& key, const QString& name, const RegValue& value)
{
    const QString path = GetRegistryPath();
    LoadedFile loaded;
    return LoadFile(path, &loaded) && loaded.doc.SetValue(key, name, value) && SaveFile(path, loaded);
}
