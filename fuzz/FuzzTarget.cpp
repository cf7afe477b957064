#include "fuzz/FuzzTarget.h"

#include "pim/CPimStore.h"
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <memory>

void FuzzFailure(const char* pszWhat)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", pszWhat);
    std::abort();
}

QString FuzzFolder()
{
    static const std::unique_ptr<QTemporaryDir> pDir = [] {
        const QString strBase = QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        return std::make_unique<QTemporaryDir>(strBase + QStringLiteral("/quillday-fuzz-XXXXXX"));
    }();
    return pDir->path();
}

QString FuzzWriteFile(const char* pszName, const QByteArray& bytes)
{
    const QString strPath = FuzzFolder() + QLatin1Char('/') + QLatin1String(pszName);
    QFile file(strPath);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        FuzzFailure("cannot write the input file");
    return strPath;
}

std::shared_ptr<CPimStore> FuzzEmptyStore(int nWhich)
{
    // Kept to the end of the process: the store's own bookkeeping may be gone before
    // static objects are destroyed.
    static std::shared_ptr<CPimStore>* const stores = new std::shared_ptr<CPimStore>[2];
    std::shared_ptr<CPimStore>& pStore = stores[nWhich];
    if (!pStore && FAILED(CPimStore::OpenInMemory(&pStore)))
        FuzzFailure("a store opens in memory");
    FuzzCheck(sqlite3_exec(pStore->Db(),
                           "DELETE FROM items; DELETE FROM notes; DELETE FROM appt_span; DELETE FROM series_span;",
                           nullptr, nullptr, nullptr)
                  == SQLITE_OK,
              "a store empties");
    return pStore;
}
