#include "pim/CPimStore.h"

#include "pim/CPimNotifier.h"
#include "pim/CSqlStatement.h"
#include "pim/CStoreSchema.h"
#include "pim/PimTypes.h"
#include <QDateTime>
#include <QFileInfo>
#include <QUuid>
#include <map>

namespace {

// The stores open in this process, by canonical file path.
std::map<QString, std::weak_ptr<CPimStore>>& OpenStores()
{
    static std::map<QString, std::weak_ptr<CPimStore>> stores;
    return stores;
}

QString KeyOf(const QString& strPath)
{
    const QFileInfo info(strPath);
    const QString strCanonical = info.canonicalFilePath();
    return strCanonical.isEmpty() ? info.absoluteFilePath() : strCanonical;
}

}  // namespace

CPimStore::CPimStore(const QString& strPath, sqlite3* pDb) : m_strPath(strPath), m_pDb(pDb)
{
    m_pNotifier = std::make_unique<CPimNotifier>(strPath, [this] { return DataVersion(); });
}

CPimStore::~CPimStore()
{
    m_pNotifier.reset();
    for (sqlite3_stmt* p : std::as_const(m_cache))
        sqlite3_finalize(p);
    for (sqlite3_stmt* p : std::as_const(m_queries))
        sqlite3_finalize(p);
    sqlite3_close(m_pDb);
    auto& stores = OpenStores();
    for (auto it = stores.begin(); it != stores.end();) {
        it = it->second.expired() ? stores.erase(it) : std::next(it);
    }
}

HRESULT CPimStore::Open(const QString& strPath, std::shared_ptr<CPimStore>* ppStore, QString* pstrReason)
{
    if (ppStore == nullptr || strPath.isEmpty())
        return E_INVALIDARG;
    auto& stores = OpenStores();
    const auto it = stores.find(KeyOf(strPath));
    if (it != stores.end()) {
        if (auto pStore = it->second.lock()) {
            if (pstrReason != nullptr)
                *pstrReason = pStore->ReadOnlyReason();
            *ppStore = std::move(pStore);
            return (*ppStore)->IsReadOnly() ? S_PIM_READONLY : S_OK;
        }
    }
    sqlite3* pDb = nullptr;
    QString strReason;
    const HRESULT hr = CStoreSchema::Open(strPath, &pDb, &strReason);
    if (pstrReason != nullptr)
        *pstrReason = strReason;
    if (FAILED(hr))
        return hr;
    std::shared_ptr<CPimStore> pStore(new CPimStore(QFileInfo(strPath).absoluteFilePath(), pDb));
    if (hr == S_PIM_READONLY)
        pStore->m_strReadOnly = strReason;
    stores[KeyOf(strPath)] = pStore;
    *ppStore = std::move(pStore);
    return hr;
}

HRESULT CPimStore::OpenInMemory(std::shared_ptr<CPimStore>* ppStore)
{
    sqlite3* pDb = nullptr;
    const HRESULT hr = CStoreSchema::OpenInMemory(&pDb);
    if (FAILED(hr))
        return hr;
    ppStore->reset(new CPimStore(QStringLiteral(":memory:"), pDb));
    return S_OK;
}

sqlite3_stmt* CPimStore::Cached(const char* pszSql)
{
    const auto it = m_cache.constFind(pszSql);
    if (it != m_cache.constEnd())
        return it.value();
    sqlite3_stmt* pStmt = nullptr;
    if (sqlite3_prepare_v3(m_pDb, pszSql, -1, SQLITE_PREPARE_PERSISTENT, &pStmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(pStmt);
        return nullptr;
    }
    m_cache.insert(pszSql, pStmt);
    return pStmt;
}

std::unique_ptr<CSqlStatement> CPimStore::Query(const QByteArray& sql)
{
    if (sqlite3_stmt* pStmt = m_queries.value(sql))
        return std::make_unique<CSqlStatement>(pStmt);
    if (m_queries.size() >= kMaxQueries)
        return std::make_unique<CSqlStatement>(m_pDb, sql);
    sqlite3_stmt* pStmt = nullptr;
    if (sqlite3_prepare_v3(m_pDb, sql.constData(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &pStmt, nullptr)
        != SQLITE_OK) {
        sqlite3_finalize(pStmt);
        return std::make_unique<CSqlStatement>(nullptr);
    }
    m_queries.insert(sql, pStmt);
    return std::make_unique<CSqlStatement>(pStmt);
}

bool CPimStore::Begin()
{
    if (m_bInTransaction)
        return false;
    CSqlStatement st(Cached("BEGIN IMMEDIATE"));
    if (!st.Exec())
        return false;
    m_bInTransaction = true;
    m_changes.clear();
    return true;
}

bool CPimStore::Commit()
{
    if (!m_bInTransaction)
        return false;
    CSqlStatement st(Cached("COMMIT"));
    if (!st.Exec()) {
        NoteError();  // before the rollback clears it
        Rollback();
        return false;
    }
    m_bInTransaction = false;
    for (const Change& c : std::as_const(m_changes))
        m_pNotifier->PostChange(c.nType, c.nOid, c.nItemType);
    m_changes.clear();
    return true;
}

void CPimStore::Rollback()
{
    if (!m_bInTransaction)
        return;
    CSqlStatement st(Cached("ROLLBACK"));
    st.Exec();
    m_bInTransaction = false;
    m_changes.clear();
}

bool CPimStore::BeginRead()
{
    if (m_bInTransaction)
        return false;
    CSqlStatement st(Cached("BEGIN DEFERRED"));
    if (!st.Exec())
        return false;
    m_bInTransaction = true;
    m_changes.clear();
    return true;
}

bool CPimStore::MapForReading()
{
    // Larger than any store a person keeps; a larger file is read in part through the map.
    CSqlStatement st(m_pDb, "PRAGMA mmap_size=1073741824");
    return st.Step() == SQLITE_ROW;
}

void CPimStore::RecordChange(DWORD nType, int32_t nOid, int nItemType)
{
    if (m_bBulkChanges) {
        nType = DB_CEOID_CHANGED;
        nOid = 0;
        nItemType = 0;
    }
    for (const Change& c : std::as_const(m_changes)) {
        if (c.nType == nType && c.nOid == nOid)
            return;
    }
    m_changes.push_back({nType, nOid, nItemType});
}

void CPimStore::NoteError()
{
    m_strLastError = CStoreSchema::IsDiskFull(m_pDb) ? QStringLiteral("the disk is full")
                                                     : QString::fromUtf8(sqlite3_errmsg(m_pDb));
}

QString CPimStore::ReadFailureText() const
{
    return QStringLiteral("cannot read the store %1: %2").arg(m_strPath, m_strLastError);
}

int64_t CPimStore::DataVersion()
{
    CSqlStatement st(Cached("PRAGMA data_version"));
    return st.Step() == SQLITE_ROW ? st.Int(0) : -1;
}

HRESULT CPimStore::Display(IPOutlookItem* pItem)
{
    return m_fnForm ? m_fnForm(pItem) : E_PIM_NOFORM;
}

QString CPimStore::NewUid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral("@quillday");
}

QString CPimStore::NowStamp()
{
    return QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'"));
}
