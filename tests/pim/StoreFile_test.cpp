// The store file: what Logon accepts, what it refuses without touching the file, OIDs
// across restarts, and a killed process.
#include "tests/support/PimTestStore.h"
#include "pim/CStoreSchema.h"
#include "tests/support/CSmallDisk.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>
#include <chrono>
#include <thread>

namespace {

QByteArray Hash(const QString& strPath)
{
    QFile f(strPath);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

void WriteFile(const QString& strPath, const QByteArray& bytes)
{
    QFile f(strPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

void ExecSql(const QString& strPath, const char* pszSql)
{
    sqlite3* pDb = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(strPath).constData(), &pDb), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(pDb, pszSql, nullptr, nullptr, nullptr), SQLITE_OK) << pszSql;
    sqlite3_close(pDb);
}

class StoreFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        SetTestZoneAndPattern("EST5EDT,M3.2.0,M11.1.0", "M/d/yy");
        ASSERT_TRUE(m_dir.isValid());
    }
    QString Path(const char* pszName) { return m_dir.filePath(QString::fromLatin1(pszName)); }
    QTemporaryDir m_dir;
};

}  // namespace

TEST_F(StoreFile, ForeignFilesAreRefusedAndLeftAlone)
{
    QByteArray random(8192, '\0');
    for (int i = 0; i < random.size(); ++i)
        random[i] = char((i * 7919 + 13) % 251);
    WriteFile(Path("random.sqlite"), random);
    WriteFile(Path("short.sqlite"), "SQLite format 3");
    ExecSql(Path("other.sqlite"), "CREATE TABLE contacts(name TEXT); INSERT INTO contacts VALUES('x');");
    for (const char* pszName : {"random.sqlite", "short.sqlite", "other.sqlite"}) {
        const QByteArray before = Hash(Path(pszName));
        IPOutlookApp app;
        EXPECT_TRUE(FAILED(app.Logon(Path(pszName)))) << pszName;
        EXPECT_FALSE(app.IsLoggedOn());
        EXPECT_EQ(Hash(Path(pszName)), before) << pszName;
        EXPECT_FALSE(QFile::exists(Path(pszName) + "-wal")) << pszName;
    }
    IPOutlookApp app;
    EXPECT_TRUE(FAILED(app.Logon(m_dir.path())));  // a folder
}

TEST_F(StoreFile, ANewerSchemaIsRefusedAndLeftAlone)
{
    {
        IPOutlookApp app;
        ASSERT_EQ(app.Logon(Path("newer.sqlite")), S_OK);
    }
    ExecSql(Path("newer.sqlite"), "PRAGMA user_version=99; PRAGMA wal_checkpoint(TRUNCATE);");
    const QByteArray before = Hash(Path("newer.sqlite"));
    IPOutlookApp app;
    EXPECT_EQ(app.Logon(Path("newer.sqlite")), E_FAIL);
    EXPECT_EQ(Hash(Path("newer.sqlite")), before);
    EXPECT_EQ(app.GetLogonFailure(), "a store of another version of this program");
    // Telling that needs no connection, so SQLite leaves no files of its own beside it.
    EXPECT_FALSE(QFile::exists(Path("newer.sqlite") + "-wal"));
    EXPECT_FALSE(QFile::exists(Path("newer.sqlite") + "-shm"));
}

// A store on a file system mounted read-only: its items can be read, every save fails,
// and the store says why. One that would need a schema step is refused as before.
TEST_F(StoreFile, AStoreThatCannotBeWrittenOpensForReadingOnly)
{
    CSmallDisk disk(1024);
    if (!disk.IsMounted())
        GTEST_SKIP() << "no file system of its own can be mounted here";
    const QString strStore = disk.FilePath(QStringLiteral("pim.sqlite"));
    const QString strOlder = disk.FilePath(QStringLiteral("older.sqlite"));
    {
        IPOutlookApp app;
        ASSERT_EQ(app.Logon(strStore), S_OK);
        std::unique_ptr<ITask> pTask;
        ASSERT_EQ(app.CreateItem(olTaskItem, &pTask), S_OK);
        pTask->put_Subject(QStringLiteral("kept"));
        ASSERT_EQ(pTask->Save(), S_OK);
        IPOutlookApp older;
        ASSERT_EQ(older.Logon(strOlder), S_OK);
    }
    ExecSql(strOlder, "PRAGMA user_version=2; PRAGMA wal_checkpoint(TRUNCATE);");
    ASSERT_TRUE(disk.SetReadOnly(true));
    const QByteArray before = Hash(strStore);

    IPOutlookApp app;
    ASSERT_EQ(app.Logon(strStore), S_PIM_READONLY);
    EXPECT_TRUE(app.IsReadOnly());
    EXPECT_EQ(app.GetReadOnlyReason(), "on a read-only file system");
    std::unique_ptr<ITask> pTask;
    ASSERT_EQ(app.GetItemFromOid(1, &pTask), S_OK);
    QString strSubject;
    pTask->get_Subject(&strSubject);
    EXPECT_EQ(strSubject, "kept");
    pTask->put_Subject(QStringLiteral("changed"));
    EXPECT_TRUE(FAILED(pTask->Save()));
    EXPECT_EQ(Hash(strStore), before);

    IPOutlookApp older;
    EXPECT_EQ(older.Logon(strOlder), E_FAIL);
    EXPECT_EQ(older.GetLogonFailure(), "on a read-only file system");
    ASSERT_TRUE(disk.SetReadOnly(false));
}

// A store the user may not read is named as such, with its path, not as a file of another
// program. The check runs as an unprivileged user, since root reads every file.
TEST_F(StoreFile, AStoreThatCannotBeReadSaysPermissionDenied)
{
    {
        IPOutlookApp app;
        ASSERT_EQ(app.Logon(Path("private.sqlite")), S_OK);
    }
    ASSERT_TRUE(QFile::setPermissions(Path("private.sqlite"), QFile::ReadOwner | QFile::WriteOwner));
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                        | QFile::ReadOther | QFile::ExeOther));
    const bool bRoot = ::geteuid() == 0;
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        // 77: cannot become another user; 0: the expected refusal; 1: anything else.
        if (bRoot && (::setgid(65534) != 0 || ::setuid(65534) != 0))
            _exit(77);
        IPOutlookApp app;
        const HRESULT hr = app.Logon(Path("private.sqlite"));
        _exit(hr == E_FAIL && app.GetLogonFailure() == QStringLiteral("permission denied to read ") + Path("private.sqlite")
                  ? 0
                  : 1);
    }
    int nStatus = 0;
    ASSERT_EQ(waitpid(pid, &nStatus, 0), pid);
    ASSERT_TRUE(WIFEXITED(nStatus));
    if (WEXITSTATUS(nStatus) == 77 || (!bRoot && QFile(Path("private.sqlite")).open(QIODevice::ReadOnly)))
        GTEST_SKIP() << "no user without the right to read the file";
    EXPECT_EQ(WEXITSTATUS(nStatus), 0);
}

TEST_F(StoreFile, MissingFoldersAndEmptyFilesBecomeStores)
{
    IPOutlookApp a;
    EXPECT_EQ(a.Logon(Path("deep/er/pim.sqlite")), S_OK);
    WriteFile(Path("empty.sqlite"), QByteArray());
    IPOutlookApp b;
    EXPECT_EQ(b.Logon(Path("empty.sqlite")), S_OK);
    std::unique_ptr<ITask> p;
    ASSERT_EQ(b.CreateItem(olTaskItem, &p), S_OK);
    EXPECT_EQ(p->Save(), S_OK);
}

TEST_F(StoreFile, OidsAreStableAndNeverReused)
{
    int32_t nFirst = 0, nSecond = 0, nThird = 0;
    {
        IPOutlookApp app;
        ASSERT_EQ(app.Logon(Path("oids.sqlite")), S_OK);
        std::unique_ptr<IAppointment> p;
        app.CreateItem(olAppointmentItem, &p);
        p->put_Subject("first");
        p->put_Start(Dt(2008, 1, 1, 9));
        p->put_End(Dt(2008, 1, 1, 10));
        ASSERT_EQ(p->Save(), S_OK);
        p->get_Oid(&nFirst);
        std::unique_ptr<IAppointment> q;
        app.CreateItem(olAppointmentItem, &q);
        q->put_Subject("second");
        ASSERT_EQ(q->Save(), S_OK);
        q->get_Oid(&nSecond);
        ASSERT_EQ(q->Delete(), S_OK);
    }
    IPOutlookApp app;
    ASSERT_EQ(app.Logon(Path("oids.sqlite")), S_OK);
    std::unique_ptr<IAppointment> p;
    ASSERT_EQ(app.GetItemFromOid(nFirst, &p), S_OK);
    QString strSubject;
    p->get_Subject(&strSubject);
    EXPECT_EQ(strSubject, "first");
    std::unique_ptr<ITask> pWrongType;
    EXPECT_EQ(app.GetItemFromOid(nFirst, &pWrongType), E_INVALIDARG);
    std::unique_ptr<IAppointment> r;
    app.CreateItem(olAppointmentItem, &r);
    ASSERT_EQ(r->Save(), S_OK);
    r->get_Oid(&nThird);
    EXPECT_GT(nThird, nSecond);
    std::unique_ptr<IPOutlookItem> pGone;
    EXPECT_EQ(app.GetItemFromOid(nSecond, &pGone), E_PIM_NOTFOUND);
}

TEST_F(StoreFile, AKilledProcessLosesNoCommittedItem)
{
    const QString strPath = Path("killed.sqlite");
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        IPOutlookApp app;
        std::unique_ptr<ITask> p;
        int32_t nOid = 0;
        if (SUCCEEDED(app.Logon(strPath)) && SUCCEEDED(app.CreateItem(olTaskItem, &p))) {
            p->put_Subject("survivor");
            if (SUCCEEDED(p->Save()))
                p->get_Oid(&nOid);
        }
        ssize_t n = write(fds[1], &nOid, sizeof nOid);
        (void)n;
        raise(SIGKILL);
    }
    close(fds[1]);
    int32_t nOid = 0;
    ASSERT_EQ(read(fds[0], &nOid, sizeof nOid), ssize_t(sizeof nOid));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status));
    ASSERT_GT(nOid, 0);
    IPOutlookApp app;
    ASSERT_EQ(app.Logon(strPath), S_OK);
    std::unique_ptr<ITask> p;
    ASSERT_EQ(app.GetItemFromOid(nOid, &p), S_OK);
    QString strSubject;
    p->get_Subject(&strSubject);
    EXPECT_EQ(strSubject, "survivor");
}

TEST_F(StoreFile, DisplayReportsThatNoFormIsAvailable)
{
    IPOutlookApp app;
    ASSERT_EQ(app.Logon(Path("form.sqlite")), S_OK);
    std::unique_ptr<ITask> p;
    app.CreateItem(olTaskItem, &p);
    EXPECT_EQ(p->Display(), E_PIM_NOFORM);
    IPOutlookItem* pShown = nullptr;
    app.SetDisplayForm([&](IPOutlookItem* pItem) { pShown = pItem; return S_OK; });
    EXPECT_EQ(p->Display(), S_OK);
    EXPECT_EQ(pShown, p.get());
}

TEST_F(StoreFile, ItemsOutliveLogoff)
{
    IPOutlookApp app;
    ASSERT_EQ(app.Logon(Path("outlive.sqlite")), S_OK);
    std::unique_ptr<ITask> p;
    app.CreateItem(olTaskItem, &p);
    ASSERT_EQ(app.Logoff(), S_OK);
    p->put_Subject("late");
    EXPECT_EQ(p->Save(), S_OK);
    std::unique_ptr<IFolder> pFolder;
    EXPECT_EQ(app.GetDefaultFolder(olFolderTasks, &pFolder), E_FAIL);
}

TEST_F(StoreFile, ANewStoreWaitsForAnotherWriterInsteadOfFailing)
{
    // Another process is writing the new, still empty file while this one creates the
    // store: creation waits for its lock.
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("pim.sqlite")));
    sqlite3* pOther = nullptr;
    ASSERT_EQ(sqlite3_open(path.constData(), &pOther), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(pOther, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), SQLITE_OK);
    std::thread release([pOther]() {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        sqlite3_exec(pOther, "COMMIT", nullptr, nullptr, nullptr);
    });
    sqlite3* pDb = nullptr;
    QString strReason;
    const HRESULT hr = CStoreSchema::Open(QFile::decodeName(path), &pDb, &strReason);
    release.join();
    sqlite3_close(pOther);
    EXPECT_EQ(hr, S_OK) << strReason.toStdString();
    sqlite3_close(pDb);
}
