#include "pim/CStoreSchema.h"

#include "pim/CSqlStatement.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cstring>

namespace {

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
};
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

CStoreSchema::FileState CStoreSchema::Inspect(const QString& strPath)
{
    QFileInfo info(strPath);
    if (!info.exists())
        return FileState::Missing;
    QFile file(strPath);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly))
        return FileState::Foreign;
    if (file.size() == 0)
        return FileState::Empty;
    const QByteArray header = file.read(kHeaderSize);
    if (header.size() < kHeaderSize || std::memcmp(header.constData(), kSqliteMagic, sizeof(kSqliteMagic)) != 0)
        return FileState::Foreign;
    const uint32_t nAppId = qFromBigEndian<uint32_t>(header.constData() + kApplicationIdOffset);
    return nAppId == kApplicationId ? FileState::Ours : FileState::Foreign;
}

// Reads the version through a read-only connection, which never writes the file (not even
// a checkpoint when it closes).
bool CStoreSchema::CheckReadOnly(const QString& strPath, int* pnVersion)
{
    sqlite3* pDb = nullptr;
    const QByteArray path = QFile::encodeName(strPath);
    bool bOk = sqlite3_open_v2(path.constData(), &pDb, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK;
    if (bOk) {
        sqlite3_busy_timeout(pDb, 5000);
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
    sqlite3_busy_timeout(pDb, 5000);
    // WAL: readers never block the writer; NORMAL sync keeps every commit across a killed
    // process (only a power loss can lose the last commits).
    CSqlStatement wal(pDb, "PRAGMA journal_mode=WAL");
    return wal.Step() == SQLITE_ROW && wal.Text(0) == QLatin1String("wal")
        && Exec(pDb, "PRAGMA synchronous=NORMAL") && Exec(pDb, "PRAGMA cache_size=-8192");
}

bool CStoreSchema::Migrate(sqlite3* pDb, int nFrom)
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
    Exec(pDb, "ROLLBACK");
    return false;
}

HRESULT CStoreSchema::Open(const QString& strPath, sqlite3** ppDb)
{
    *ppDb = nullptr;
    const FileState state = Inspect(strPath);
    int nVersion = 0;
    if (state == FileState::Foreign || (state == FileState::Ours && !CheckReadOnly(strPath, &nVersion)))
        return E_FAIL;
    if (state == FileState::Missing && !QDir().mkpath(QFileInfo(strPath).absolutePath()))
        return E_FAIL;
    sqlite3* pDb = nullptr;
    const QByteArray path = QFile::encodeName(strPath);
    // One connection per store, used from the UI thread only: no SQLite mutexes needed.
    const int nFlags = SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX | (state == FileState::Ours ? 0 : SQLITE_OPEN_CREATE);
    bool bOk = sqlite3_open_v2(path.constData(), &pDb, nFlags, nullptr) == SQLITE_OK;
    // A new store is created in rollback mode, so that its header (application id and
    // version) is in the main file before it switches to WAL.
    if (bOk && nVersion < kVersion)
        bOk = Migrate(pDb, nVersion);
    // A file the process may not write is refused too: every save would fail.
    bOk = bOk && sqlite3_db_readonly(pDb, "main") == 0 && Configure(pDb) && HasTables(pDb);
    if (!bOk) {
        sqlite3_close(pDb);
        return E_FAIL;
    }
    *ppDb = pDb;
    return S_OK;
}
