#include "platform/RegistryFile.h"

#include "platform/CRegistryDocument.h"
#include "platform/XdgPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

QString g_strRegistryPath;  // from --registry; empty: the default
bool g_bRegistryReadOnly = false;

constexpr int kMaxBackups = 100;

// The registry file as read: its document and the bytes it was made from. A file that
// does not start as a registry file (the store, named by a swapped argument) is refused:
// its document stays empty and lives in memory only.
struct LoadedFile {
    QString strPath;
    CRegistryDocument doc;
    QByteArray original;
    bool bExists = false;
    bool bRefused = false;
    bool bValid = false;  // holds the file of strPath as last read or written
};

// The one document of the run. Every setting read comes here; the file is read again each
// time (another process may have changed it) but parsed again only when its bytes changed.
LoadedFile& Cache()
{
    static LoadedFile cache;
    return cache;
}

// False when the file exists but cannot be read: nothing may then be written over it.
bool LoadFile(const QString& path, LoadedFile** ppFile)
{
    LoadedFile& cache = Cache();
    *ppFile = &cache;
    QFile file(path);
    if (!file.exists()) {
        if (!(cache.bValid && cache.strPath == path && !cache.bExists)) {
            cache = LoadedFile();
            cache.strPath = path;
            cache.bValid = true;
        }
        return true;
    }
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        cache = LoadedFile();
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (cache.bValid && cache.strPath == path && cache.bExists && cache.original == bytes)
        return true;
    cache = LoadedFile();
    cache.strPath = path;
    cache.original = bytes;
    cache.bExists = true;
    cache.bValid = true;
    cache.bRefused = !CRegistryDocument::StartsAsRegistryFile(bytes);
    if (!cache.bRefused)
        cache.doc.Parse(bytes);
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

bool SaveFile(const QString& path, LoadedFile& loaded)
{
    if (loaded.bRefused || g_bRegistryReadOnly)
        return true;  // the settings of this run stay in memory
    // Before the first write over a file with unreadable lines, its original stays beside it.
    if (loaded.bExists && loaded.doc.HasUnreadableLines() && !KeepOriginal(path, loaded.original))
        return false;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    const QByteArray text = loaded.doc.ToText();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        loaded = LoadedFile();  // read again next time
        return false;
    }
    loaded.original = text;
    loaded.bExists = true;
    loaded.doc.Parse(text);  // a clean file has nothing left to back up
    return true;
}

}  // namespace

QString GetRegistryPath()
{
    if (!g_strRegistryPath.isEmpty())
        return g_strRegistryPath;
    const QString env = qEnvironmentVariable("QUILLDAY_REGISTRY");
    if (!env.isEmpty())
        return QDir::cleanPath(QDir(env).absolutePath());
    const QString strConfig = XdgConfigHome();
    return strConfig.isEmpty() ? QString() : strConfig + QStringLiteral("/quillday/registry.reg");
}

void SetRegistryPath(const QString& path)
{
    g_strRegistryPath = path.isEmpty() ? QString() : QDir::cleanPath(QDir(path).absolutePath());
}

void SetRegistryReadOnly(bool bReadOnly)
{
    g_bRegistryReadOnly = bReadOnly;
}

bool RegistryCreateKey(const QString& key)
{
    const QString path = GetRegistryPath();
    LoadedFile* pLoaded = nullptr;
    if (!LoadFile(path, &pLoaded))
        return false;
    if (pLoaded->doc.HasKey(key))
        return true;
    return pLoaded->doc.AddKey(key) && SaveFile(path, *pLoaded);
}

bool RegistryQueryValue(const QString& key, const QString& name, RegValue* pValue)
{
    LoadedFile* pLoaded = nullptr;
    return LoadFile(GetRegistryPath(), &pLoaded) && pLoaded->doc.QueryValue(key, name, pValue);
}

bool RegistrySetValue(const QString& key, const QString& name, const RegValue& value)
{
    const QString path = GetRegistryPath();
    LoadedFile* pLoaded = nullptr;
    return LoadFile(path, &pLoaded) && pLoaded->doc.SetValue(key, name, value) && SaveFile(path, *pLoaded);
}

QString RegistryRefusal()
{
    const QString path = GetRegistryPath();
    LoadedFile* pLoaded = nullptr;
    if (!LoadFile(path, &pLoaded) || !pLoaded->bRefused)
        return QString();
    return QStringLiteral("%1 is not a settings file: it is left as it is, and the settings of this run "
                          "are the defaults and are not saved.")
        .arg(path);
}
