// A store opened on a full disk: refused with that reason, and left as it was.
#include "tests/support/PimTestStore.h"

#include <QCryptographicHash>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// A VFS over the default one whose writes find the disk full, as ENOSPC would: every
// write and every growth of the shared-memory file fails.
class CFullDiskVfs {
public:
    CFullDiskVfs()
    {
        m_pReal = sqlite3_vfs_find(nullptr);
        m_vfs = *m_pReal;
        m_vfs.zName = "quillday-full-disk";
        m_vfs.szOsFile = static_cast<int>(sizeof(File)) + m_pReal->szOsFile;
        m_vfs.pAppData = this;
        m_vfs.xOpen = &Open;
        m_vfs.xGetLastError = [](sqlite3_vfs*, int, char*) { return ENOSPC; };
        sqlite3_vfs_register(&m_vfs, 1);
    }
    ~CFullDiskVfs()
    {
        sqlite3_vfs_unregister(&m_vfs);
        sqlite3_vfs_register(m_pReal, 1);
    }

private:
    struct File {
        sqlite3_file base;
        sqlite3_io_methods methods;
        sqlite3_file* pReal;
    };
    static sqlite3_file* Real(sqlite3_file* p) { return reinterpret_cast<File*>(p)->pReal; }

    static int Open(sqlite3_vfs* pVfs, sqlite3_filename zName, sqlite3_file* pFile, int nFlags, int* pnOutFlags)
    {
        auto* pSelf = static_cast<CFullDiskVfs*>(pVfs->pAppData);
        auto* f = reinterpret_cast<File*>(pFile);
        f->pReal = reinterpret_cast<sqlite3_file*>(f + 1);
        const int rc = pSelf->m_pReal->xOpen(pSelf->m_pReal, zName, f->pReal, nFlags, pnOutFlags);
        if (f->pReal->pMethods == nullptr) {
            f->base.pMethods = nullptr;
            return rc;
        }
        f->methods = *f->pReal->pMethods;
        sqlite3_io_methods& m = f->methods;
        m.xClose = [](sqlite3_file* p) { return Real(p)->pMethods->xClose(Real(p)); };
        m.xRead = [](sqlite3_file* p, void* b, int n, sqlite3_int64 o) { return Real(p)->pMethods->xRead(Real(p), b, n, o); };
        m.xWrite = [](sqlite3_file*, const void*, int, sqlite3_int64) {
            errno = ENOSPC;
            return SQLITE_FULL;
        };
        m.xTruncate = [](sqlite3_file* p, sqlite3_int64 n) { return Real(p)->pMethods->xTruncate(Real(p), n); };
        m.xSync = [](sqlite3_file* p, int n) { return Real(p)->pMethods->xSync(Real(p), n); };
        m.xFileSize = [](sqlite3_file* p, sqlite3_int64* pn) { return Real(p)->pMethods->xFileSize(Real(p), pn); };
        m.xLock = [](sqlite3_file* p, int n) { return Real(p)->pMethods->xLock(Real(p), n); };
        m.xUnlock = [](sqlite3_file* p, int n) { return Real(p)->pMethods->xUnlock(Real(p), n); };
        m.xCheckReservedLock = [](sqlite3_file* p, int* pn) { return Real(p)->pMethods->xCheckReservedLock(Real(p), pn); };
        m.xFileControl = [](sqlite3_file* p, int op, void* a) { return Real(p)->pMethods->xFileControl(Real(p), op, a); };
        m.xSectorSize = [](sqlite3_file* p) { return Real(p)->pMethods->xSectorSize(Real(p)); };
        m.xDeviceCharacteristics = [](sqlite3_file* p) { return Real(p)->pMethods->xDeviceCharacteristics(Real(p)); };
        m.xShmMap = [](sqlite3_file* p, int i, int n, int bExtend, void volatile** pp) {
            if (bExtend) {
                errno = ENOSPC;
                return SQLITE_IOERR_SHMSIZE;
            }
            return Real(p)->pMethods->xShmMap(Real(p), i, n, bExtend, pp);
        };
        m.xShmLock = [](sqlite3_file* p, int o, int n, int f) { return Real(p)->pMethods->xShmLock(Real(p), o, n, f); };
        m.xShmBarrier = [](sqlite3_file* p) { Real(p)->pMethods->xShmBarrier(Real(p)); };
        m.xShmUnmap = [](sqlite3_file* p, int d) { return Real(p)->pMethods->xShmUnmap(Real(p), d); };
        m.xFetch = [](sqlite3_file* p, sqlite3_int64 o, int n, void** pp) { return Real(p)->pMethods->xFetch(Real(p), o, n, pp); };
        m.xUnfetch = [](sqlite3_file* p, sqlite3_int64 o, void* b) { return Real(p)->pMethods->xUnfetch(Real(p), o, b); };
        f->base.pMethods = &f->methods;
        return rc;
    }

    sqlite3_vfs* m_pReal = nullptr;
    sqlite3_vfs m_vfs{};
};

QByteArray Hash(const QString& strPath)
{
    QFile f(strPath);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

TEST(StoreDiskFull, AnIntactStoreOpensForReadingOnlyOnAFullDiskAndIsLeftAlone)
{
    SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString strStore = dir.filePath(QStringLiteral("pim.sqlite"));
    int32_t nOid = 0;
    {
        IPOutlookApp app;
        ASSERT_EQ(app.Logon(strStore), S_OK);
        std::unique_ptr<ITask> pTask;
        ASSERT_EQ(app.CreateItem(olTaskItem, &pTask), S_OK);
        pTask->put_Subject(QStringLiteral("kept"));
        ASSERT_EQ(pTask->Save(), S_OK);
        pTask->get_Oid(&nOid);
    }
    const QByteArray before = Hash(strStore);
    {
        CFullDiskVfs full;
        IPOutlookApp app;
        EXPECT_EQ(app.Logon(strStore), S_PIM_READONLY);
        EXPECT_EQ(app.GetReadOnlyReason(), "the disk is full");
        std::unique_ptr<ITask> pTask;
        ASSERT_EQ(app.GetItemFromOid(nOid, &pTask), S_OK);
        QString strSubject;
        pTask->get_Subject(&strSubject);
        EXPECT_EQ(strSubject, "kept");
        IPOutlookApp fresh;
        EXPECT_EQ(fresh.Logon(dir.filePath(QStringLiteral("new.sqlite"))), E_PIM_DISKFULL);
        EXPECT_EQ(fresh.GetLogonFailure(), "the disk is full");
    }
    EXPECT_EQ(Hash(strStore), before);
    IPOutlookApp app;
    EXPECT_EQ(app.Logon(strStore), S_OK);
}

}  // namespace
