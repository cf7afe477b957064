#include "pim/CStoreSchema.h"

#include "pim/CItemTable.h"
#include "pim/CSqlStatement.h"
#include "pim/PimTypes.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <QtEndian>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>
#include <cstring>

namespace {

// How long a connection waits for another process's write lock.
constexpr int kBusyMilliseconds = 5000;

constexpr char kSqliteMagic[] = "SQLite format 3";
constexpr int kHeaderSize = 100;
constexpr int kUserVersionOffset = 60;
constexpr int kApplicationIdOffset = 68;

// Schema steps; step i brings version i to version i + 1.
const char* const kMigrations[] = {
    // 0 -> 1
    "CREATE TABLE items("
    " oid INTEGER PRIMARY KEY AUTOINCREMENT,"
    " kind INTEGER NOT NULL,"
    " series INTEGER, orig_start INTEGER, deleted INTEGER NOT NULL DEFAULT 0,"
    " uid TEXT NOT NULL, stamp TEXT NOT NULL,"
    " subject TEXT NOT NULL, location TEXT NOT NULL,"
    " t_start INTEGER NOT NULL, t_end INTEGER NOT NULL,"
    " all_day INTEGER NOT NULL, reminder INTEGER NOT NULL, reminder_minutes INTEGER NOT NULL,"
    " importance INTEGER NOT NULL, complete INTEGER NOT NULL, t_completed INTEGER NOT NULL,"
    " rec_type INTEGER NOT NULL, rec_interval INTEGER NOT NULL, rec_mask INTEGER NOT NULL,"
    " rec_dom INTEGER NOT NULL, rec_instance INTEGER NOT NULL, rec_moy INTEGER NOT NULL,"
    " rec_count INTEGER NOT NULL, rec_until INTEGER NOT NULL,"
    " rec_start INTEGER NOT NULL, rec_last INTEGER NOT NULL);"
    "CREATE INDEX items_series ON items(series, orig_start) WHERE series IS NOT NULL;"
    "CREATE INDEX items_exception_start ON items(orig_start) WHERE series IS NOT NULL;"
    "CREATE INDEX items_kind_start ON items(kind, t_start);"
    "CREATE INDEX items_task ON items(kind, complete, t_start, t_end, importance, t_completed, reminder,"
    " rec_type, series);"
    "CREATE TABLE notes(oid INTEGER PRIMARY KEY, data BLOB NOT NULL);"
    "CREATE VIRTUAL TABLE appt_span USING rtree_i32(id, lo, hi);"
    "CREATE VIRTUAL TABLE series_span USING rtree_i32(id, lo, hi);",
    // 1 -> 2: a series' zone, the iCalendar SEQUENCE, and items found by UID
    "ALTER TABLE items ADD COLUMN tzid TEXT NOT NULL DEFAULT '';"
    "ALTER TABLE items ADD COLUMN seq INTEGER NOT NULL DEFAULT 0;"
    "CREATE INDEX items_uid ON items(uid) WHERE series IS NULL;",
    // 2 -> 3: where items live on calendar servers, what has changed since, what was deleted
    "CREATE TABLE sync_link(oid INTEGER PRIMARY KEY, account TEXT NOT NULL, href TEXT NOT NULL,"
    " etag TEXT NOT NULL, dirty INTEGER NOT NULL DEFAULT 0);"
    "CREATE UNIQUE INDEX sync_link_href ON sync_link(account, href);"
    "CREATE TABLE sync_token(account TEXT PRIMARY KEY, token TEXT NOT NULL);"
    "CREATE TABLE sync_tombstone(account TEXT NOT NULL, href TEXT NOT NULL, etag TEXT NOT NULL,"
    " PRIMARY KEY(account, href));"
    "CREATE TRIGGER sync_item_changed AFTER UPDATE ON items BEGIN"
    " UPDATE sync_link SET dirty=1 WHERE oid=coalesce(new.series, new.oid); END;"
    "CREATE TRIGGER sync_exception_added AFTER INSERT ON items WHEN new.series IS NOT NULL BEGIN"
    " UPDATE sync_link SET dirty=1 WHERE oid=new.series; END;"
    "CREATE TRIGGER sync_exception_deleted AFTER DELETE ON items WHEN old.series IS NOT NULL BEGIN"
    " UPDATE sync_link SET dirty=1 WHERE oid=old.series; END;"
    "CREATE TRIGGER sync_item_deleted AFTER DELETE ON items WHEN old.series IS NULL BEGIN"
    " INSERT OR REPLACE INTO sync_tombstone SELECT account, href, etag FROM sync_link WHERE oid=old.oid;"
    " DELETE FROM sync_link WHERE oid=old.oid; END;"
    "CREATE TRIGGER sync_notes_changed AFTER UPDATE ON notes BEGIN"
    " UPDATE sync_link SET dirty=1 WHERE oid=new.oid; END;"
    "CREATE TRIGGER sync_notes_added AFTER INSERT ON notes BEGIN"
    " UPDATE sync_link SET dirty=1 WHERE oid=new.oid; END;",
    // 3 -> 4: the reminders rung (or snoozed), how far ringing has got, and the reminders
    // of appointments and open tasks in the order they fall due
    "CREATE TABLE reminder_rung(due INTEGER NOT NULL, oid INTEGER NOT NULL, occurrence INTEGER NOT NULL,"
    " snooze INTEGER NOT NULL DEFAULT 0, PRIMARY KEY(due, oid, occurrence)) WITHOUT ROWID;"
    "CREATE TABLE reminder_mark(id INTEGER PRIMARY KEY CHECK(id=1), checked INTEGER NOT NULL);"
    "CREATE INDEX items_appt_reminder ON items(t_start-reminder_minutes)"
    " WHERE kind=1 AND reminder=1 AND rec_type<0 AND deleted=0;"
    "CREATE INDEX items_task_reminder ON items(t_end) WHERE kind=3 AND reminder=1 AND complete=0;",
    // 4 -> 5: what a sync looks for each time, found without reading every item and link:
    // the changes not yet sent, and the singles and series that no account holds
    "CREATE INDEX sync_link_dirty ON sync_link(account) WHERE dirty=1;"
    "CREATE INDEX sync_link_oid ON sync_link(oid);"
    "CREATE INDEX items_single ON items(oid) WHERE series IS NULL;",
    // 5 -> 6: appointments of a day or less are found by their start, not their span
    "DELETE FROM appt_span WHERE id IN (SELECT oid FROM items WHERE t_end-t_start<=1440);",
    // 6 -> 7: what a week reads of its tasks and of the series it may show, each packed in
    // an index of its own rather than spread over the whole table. The tasks' index holds
    // tasks alone and their subjects; the OID before the subject keeps it in the order it
    // had. (SQLite reads a partial index as covering only when it holds the columns of its
    // WHERE clause too.)
    "DROP INDEX items_task;"
    "CREATE INDEX items_task ON items(kind, complete, t_start, t_end, importance, t_completed, reminder,"
    " rec_type, series, oid, subject) WHERE kind=3;"
    "CREATE INDEX items_series_rows ON items(oid, kind, series, orig_start, deleted, subject, location, t_start,"
    " t_end, all_day, reminder, reminder_minutes, importance, complete, t_completed, rec_type, rec_interval,"
    " rec_mask, rec_dom, rec_instance, rec_moy, rec_count, rec_until, rec_start, rec_last, tzid, seq)"
    " WHERE kind=1 AND rec_type>=0 AND series IS NULL;",
};
static_assert(CItemTable::kShortItemMinutes == 1440, "schema step 5 -> 6 drops the spans of short items");
static_assert(sizeof(kMigrations) / sizeof(kMigrations[0]) == CStoreSchema::kVersion);

bool Exec(sqlite3* pDb, const char* pszSql)
{
    return sqlite3_exec(pDb, pszSql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

int64_t Pragma(sqlite3* pDb, const char* pszSql)
{
    CSqlStatement st(pDb, pszSql);
    return st.Step() == SQLITE_ROW ? st.Int(0) : -1;
}

}  // namespace

// The header's version and application id are those of the last checkpoint: without a
// -wal file beside it they are the store's own, and reading them creates no file.
CStoreSchema::FileState CStoreSchema::Inspect(const QString& strPath, int* pnVersion)
{
    struct stat st {};
    if (::stat(QFile::encodeName(strPath).constData(), &st) != 0)
        return errno == EACCES ? FileState::Unreadable : FileState::Missing;
    if (!S_ISREG(st.st_mode))
        return FileState::Foreign;
    QFile file(strPath);
    if (!file.open(QIODevice::ReadOnly))
        return errno == EACCES || errno == EPERM ? FileState::Unreadable : FileState::Foreign;
    if (file.size() == 0)
        return FileState::Empty;
    const QByteArray header = file.read(kHeaderSize);
    if (header.size() < kHeaderSize || std::memcmp(header.constData(), kSqliteMagic, sizeof(kSqliteMagic)) != 0)
        return FileState::Foreign;
    const uint32_t nAppId = qFromBigEndian<uint32_t>(header.constData() + kApplicationIdOffset);
    *pnVersion = static_cast<int>(qFromBigEndian<int32_t>(header.constData() + kUserVersionOffset));
    return nAppId == kApplicationId ? FileState::Ours : FileState::Foreign;
}

// Reads the version through a read-only connection, which never writes the file (not even
// a checkpoint when it closes). Used only while a -wal file exists, which may hold a newer
// header than the file; then the -shm file exists too, and the probe creates neither.
bool CStoreSchema::CheckReadOnly(const QString& strPath, int* pnVersion)
{
    sqlite3* pDb = nullptr;
    const QByteArray path = QFile::encodeName(strPath);
    bool bOk = sqlite3_open_v2(path.constData(), &pDb, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
    if (bOk) {
        sqlite3_busy_timeout(pDb, kBusyMilliseconds);
        const int64_t nAppId = Pragma(pDb, "PRAGMA application_id");
        const int64_t nVersion = Pragma(pDb, "PRAGMA user_version");
        bOk = nAppId == kApplicationId && nVersion >= 1 && nVersion <= kVersion && HasTables(pDb);
        *pnVersion = static_cast<int>(nVersion);
    }
    sqlite3_close(pDb);
    return bOk;
}

bool CStoreSchema::HasTables(sqlite3* pDb)
{
    CSqlStatement st(pDb, "SELECT count(*) FROM sqlite_master WHERE name IN ('items','notes','appt_span','series_span')");
    return st.Step() == SQLITE_ROW && st.Int(0) == 4;
}

bool CStoreSchema::Configure(sqlite3* pDb)
{
    sqlite3_busy_timeout(pDb, kBusyMilliseconds);
    // WAL: readers never block the writer; NORMAL sync keeps every commit across a killed
    // process (only a power loss can lose the last commits).
    CSqlStatement wal(pDb, "PRAGMA journal_mode=WAL");
    return wal.Step() == SQLITE_ROW && wal.Text(0) == QLatin1String("wal")
        && Exec(pDb, "PRAGMA synchronous=NORMAL") && Exec(pDb, "PRAGMA cache_size=-8192");
}

bool CStoreSchema::Migrate(sqlite3* pDb, int nFrom, bool* pbDiskFull)
{
    if (!Exec(pDb, "BEGIN IMMEDIATE"))
        return false;
    // Read again inside the write lock: another process may have migrated meanwhile.
    int nVersion = static_cast<int>(Pragma(pDb, "PRAGMA user_version"));
    bool bOk = nVersion >= nFrom;
    for (; bOk && nVersion < kVersion; ++nVersion)
        bOk = Exec(pDb, kMigrations[nVersion]);
    if (bOk) {
        const QByteArray sql = QByteArray("PRAGMA application_id=") + QByteArray::number(kApplicationId)
                             + ";PRAGMA user_version=" + QByteArray::number(kVersion);
        bOk = Exec(pDb, sql.constData());
    }
    if (bOk && Exec(pDb, "COMMIT"))
        return true;
    *pbDiskFull = IsDiskFull(pDb);  // before the rollback clears the error
    Exec(pDb, "ROLLBACK");
    return false;
}

namespace {

HRESULT Refuse(HRESULT hr, const QString& strReason, QString* pstrReason)
{
    if (pstrReason != nullptr)
        *pstrReason = strReason;
    return hr;
}

}  // namespace

// Why the process cannot write the file, in a few words.
QString CStoreSchema::WriteRefusal(const QString& strPath)
{
    if (::access(QFile::encodeName(strPath).constData(), W_OK) == 0)
        return QStringLiteral("not writable");
    return errno == EROFS ? QStringLiteral("on a read-only file system")
         : errno == EACCES || errno == EPERM ? QStringLiteral("permission denied to write %1").arg(strPath)
         : QStringLiteral("not writable");
}

// A store of ours at kVersion opened for reading only. Reading a store in WAL mode needs
// its -shm file, which a read-only file system or a full disk may not let SQLite create;
// without a -wal file of committed pages the main file is the whole store, and SQLite can
// read it as a file that does not change (nothing can write there now).
sqlite3* CStoreSchema::OpenReadOnly(const QString& strPath)
{
    const QFileInfo wal(strPath + QStringLiteral("-wal"));
    const QByteArray immutable = QUrl::fromLocalFile(QFileInfo(strPath).absoluteFilePath()).toEncoded() + "?immutable=1";
    for (const bool bImmutable : {false, true}) {
        if (bImmutable && wal.exists() && wal.size() > 0)
            break;
        sqlite3* pDb = nullptr;
        const int nFlags = SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX | (bImmutable ? SQLITE_OPEN_URI : 0);
        const QByteArray name = bImmutable ? immutable : QFile::encodeName(strPath);
        if (sqlite3_open_v2(name.constData(), &pDb, nFlags, nullptr) == SQLITE_OK) {
            sqlite3_busy_timeout(pDb, kBusyMilliseconds);
            if (Pragma(pDb, "PRAGMA application_id") == kApplicationId && Pragma(pDb, "PRAGMA user_version") == kVersion
                && HasTables(pDb))
                return pDb;
        }
        sqlite3_close(pDb);
    }
    return nullptr;
}

HRESULT CStoreSchema::Open(const QString& strPath, sqlite3** ppDb, QString* pstrReason)
{
    *ppDb = nullptr;
    int nVersion = 0;
    const FileState state = Inspect(strPath, &nVersion);
    if (state == FileState::Unreadable)
        return Refuse(E_FAIL, QStringLiteral("permission denied to read %1").arg(strPath), pstrReason);
    const bool bProbe = state == FileState::Ours && QFileInfo::exists(strPath + QStringLiteral("-wal"));
    if (state == FileState::Foreign || (bProbe && !CheckReadOnly(strPath, &nVersion)))
        return Refuse(E_FAIL, QStringLiteral("not a store of this program"), pstrReason);
    if (state == FileState::Ours && (nVersion < 1 || nVersion > kVersion))
        return Refuse(E_FAIL, QStringLiteral("a store of another version of this program"), pstrReason);
    if (state != FileState::Ours)
        nVersion = 0;
    if (state == FileState::Missing && !QDir().mkpath(QFileInfo(strPath).absolutePath())) {
        const bool bFull = errno == ENOSPC;
        return Refuse(bFull ? E_PIM_DISKFULL : E_FAIL,
                      bFull ? QStringLiteral("the disk is full") : QStringLiteral("its folder cannot be created"),
                      pstrReason);
    }
    // SQLite's count of its memory takes a global lock on every allocation; nothing here
    // reads it. The setting is taken only before SQLite's first use in the process.
    static const int s_nNoMemoryCount = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    Q_UNUSED(s_nNoMemoryCount);
    sqlite3* pDb = nullptr;
    const QByteArray path = QFile::encodeName(strPath);
    // One connection per store, used from the UI thread only: no SQLite mutexes needed.
    const int nFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (state == FileState::Ours ? 0 : SQLITE_OPEN_CREATE);
    bool bOk = sqlite3_open_v2(path.constData(), &pDb, nFlags, nullptr) == SQLITE_OK;
    // Before the schema step's write lock: two processes creating one store wait for each
    // other instead of one failing with "database is locked".
    if (bOk)
        sqlite3_busy_timeout(pDb, kBusyMilliseconds);
    // A new store is created in rollback mode, so that its header (application id and
    // version) is in the main file before it switches to WAL.
    bool bFull = false;
    if (bOk && nVersion < kVersion)
        bOk = Migrate(pDb, nVersion, &bFull);
    // A store the process may not write (or not now: a full disk) is opened for reading
    // only, when it needs no schema step.
    const bool bReadOnly = bOk && sqlite3_db_readonly(pDb, "main") != 0;
    bOk = bOk && !bReadOnly && Configure(pDb) && HasTables(pDb);
    if (!bOk) {
        bFull = bFull || IsDiskFull(pDb);
        const int nCode = sqlite3_errcode(pDb);
        const bool bWriteFailed = bFull || bReadOnly || nCode == SQLITE_READONLY || nCode == SQLITE_IOERR
                               || nCode == SQLITE_CANTOPEN || nCode == SQLITE_PERM;
        const QString strReason = bFull ? QStringLiteral("the disk is full")
                                : state == FileState::Ours && bWriteFailed ? WriteRefusal(strPath)
                                : state == FileState::Ours && nCode == SQLITE_OK
                                    ? QStringLiteral("not a store of this program")
                                    : QString::fromUtf8(sqlite3_errmsg(pDb));
        sqlite3_close(pDb);
        if (state == FileState::Ours && nVersion == kVersion && bWriteFailed) {
            pDb = OpenReadOnly(strPath);
            if (pDb != nullptr) {
                *ppDb = pDb;
                if (pstrReason != nullptr)
                    *pstrReason = strReason;
                return S_PIM_READONLY;
            }
        }
        return Refuse(bFull ? E_PIM_DISKFULL : E_FAIL, strReason, pstrReason);
    }
    *ppDb = pDb;
    return S_OK;
}

bool CStoreSchema::IsDiskFull(sqlite3* pDb)
{
    if (pDb == nullptr)
        return false;
    const int nCode = sqlite3_extended_errcode(pDb) & 0xFF;
    // The system's code is that of the last failed file call, which may be older than the
    // last failure: it counts only for a failure of a file call.
    return nCode == SQLITE_FULL || ((nCode == SQLITE_IOERR || nCode == SQLITE_CANTOPEN) && sqlite3_system_errno(pDb) == ENOSPC);
}

HRESULT CStoreSchema::OpenInMemory(sqlite3** ppDb)
{
    *ppDb = nullptr;
    sqlite3* pDb = nullptr;
    bool bFull = false;
    const bool bOk = sqlite3_open_v2(":memory:", &pDb, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                                     nullptr)
                         == SQLITE_OK
                  && Migrate(pDb, 0, &bFull);
    if (!bOk) {
        sqlite3_close(pDb);
        return E_FAIL;
    }
    *ppDb = pDb;
    return S_OK;
}
