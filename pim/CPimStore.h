#pragma once
// One open store file, shared by everything in this process that opened the same path:
// the SQLite connection with its statement cache, transactions, the change notifier
// and the detail form. Items, collections, folders and CPimDatabases hold it through a
// std::shared_ptr; the file is closed when the last of them is gone.
#include "platform/WinTypes.h"
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVector>
#include <functional>
#include <memory>
#include <sqlite3.h>

class CPimNotifier;
class CSqlStatement;
class IPOutlookItem;

class CPimStore : public std::enable_shared_from_this<CPimStore> {
public:
    ~CPimStore();
    CPimStore(const CPimStore&) = delete;
    CPimStore& operator=(const CPimStore&) = delete;

    // The store of that file, opened (and created) when this process has not got it open.
    // On failure, and with S_PIM_READONLY, *pstrReason (may be null) says why
    // (CStoreSchema::Open).
    static HRESULT Open(const QString& strPath, std::shared_ptr<CPimStore>* ppStore, QString* pstrReason = nullptr);
    // A new store of its own in memory (CStoreSchema::OpenInMemory), shared with no Open.
    static HRESULT OpenInMemory(std::shared_ptr<CPimStore>* ppStore);

    const QString& Path() const { return m_strPath; }
    // Open for reading only (S_PIM_READONLY), and why; every write fails.
    bool IsReadOnly() const { return !m_strReadOnly.isEmpty(); }
    const QString& ReadOnlyReason() const { return m_strReadOnly; }
    sqlite3* Db() const { return m_pDb; }
    // A cached prepared statement for a constant SQL text (null when it cannot be
    // prepared). Use it through CSqlStatement, which resets it afterwards.
    sqlite3_stmt* Cached(const char* pszSql);
    // A statement for a query text built at run time, with its values as parameters so
    // that the same texts come again: borrowed from the store's cache, or prepared for
    // this use alone once the cache holds kMaxQueries texts. IsValid() tells whether the
    // text could be prepared. Finish with it before asking for the same text again.
    std::unique_ptr<CSqlStatement> Query(const QByteArray& sql);
    static constexpr int kMaxQueries = 32;

    // Write transactions. Changes recorded with RecordChange are handed to the notifier
    // only after a successful Commit; a failed Commit rolls back and notes its error
    // (LastError). Transactions do not nest: Begin fails inside one.
    bool Begin();
    bool Commit();
    void Rollback();
    bool InTransaction() const { return m_bInTransaction; }
    void RecordChange(DWORD nType, int32_t nOid, int nItemType);
    // While set, the changes of a transaction are reported as one change (OID 0), so
    // that a bulk write does not flood the receivers.
    void SetBulkChanges(bool bBulk) { m_bBulkChanges = bBulk; }
    // A read transaction, for a consistent view over several statements (export).
    bool BeginRead();
    // Reads the file through a memory map from now on: no copy of each page into SQLite's
    // cache. Meant for a process that shows a few weeks rather than one that reads the
    // whole store (mapped pages count in its resident memory). False when SQLite refuses.
    bool MapForReading();

    // SQLite's own text for the failure of the last call on the connection ("the disk is
    // full" for a full disk), kept until the next NoteError: call it where a failure is
    // found, before other calls replace it.
    void NoteError();
    const QString& LastError() const { return m_strLastError; }
    // Why the store could not be read: "cannot read the store PATH: SQLite's text".
    QString ReadFailureText() const;

    CPimNotifier* Notifier() const { return m_pNotifier.get(); }
    int64_t DataVersion();

    void SetDisplayForm(std::function<HRESULT(IPOutlookItem*)> fnForm) { m_fnForm = std::move(fnForm); }
    HRESULT Display(IPOutlookItem* pItem);

    // A fresh iCalendar UID and the current UTC time stamp for a new or changed item.
    static QString NewUid();
    static QString NowStamp();

private:
    CPimStore(const QString& strPath, sqlite3* pDb);
    struct Change {
        DWORD nType;
        int32_t nOid;
        int nItemType;
    };
    QString m_strPath;
    sqlite3* m_pDb = nullptr;
    QHash<const char*, sqlite3_stmt*> m_cache;
    QHash<QByteArray, sqlite3_stmt*> m_queries;
    bool m_bInTransaction = false;
    bool m_bBulkChanges = false;
    QVector<Change> m_changes;
    QString m_strLastError;
    QString m_strReadOnly;
    std::unique_ptr<CPimNotifier> m_pNotifier;
    std::function<HRESULT(IPOutlookItem*)> m_fnForm;
};
