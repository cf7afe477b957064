#pragma once
#include "sync/CSyncState.h"

#include <QByteArray>
#include <QHash>
#include <QStringList>
#include <QUrl>
#include <memory>

class CDavClient;
class CPimStore;

// What one sync of one calendar did.
struct SyncReport
{
    int nSent = 0;          // new or changed items written to the server
    int nReceived = 0;      // new or changed items taken from the server
    int nDeletedHere = 0;   // deleted in the store because the server had deleted them
    int nDeletedThere = 0;  // deleted on the server because the store had
    int nConflicts = 0;     // both sides changed: the server's kept, ours kept as a copy
    QStringList skipped;    // "<href>: <reason>", left on the server untouched
    QStringList errors;     // what stopped a step; the next sync does it again
    bool Complete() const { return errors.isEmpty(); }
};

// Two-way sync of the store with one calendar collection: first what the server changed
// (sync-collection with the stored token, else a listing of hrefs and ETags), then what
// the store changed (PUT guarded by If-Match or If-None-Match, DELETE by If-Match).
// Every server answer is written to the store as its own step, so an interruption leaves
// the store as it was before the step that failed and the next sync does the rest.
class CSyncEngine
{
public:
    CSyncEngine(CDavClient& client, std::shared_ptr<CPimStore> pStore, const QUrl& calendar);

    SyncReport Sync();

    // The subject mark of a conflict copy made on that day ("yyyy-MM-dd").
    static QString ConflictSuffix(const QString& strDay);

private:
    struct Remote { QString strHref; QString strEtag; };
    bool ListChanges(QList<Remote>* pChanged, QStringList* pGone, QString* pstrToken);
    bool ListAll(QList<Remote>* pChanged, QStringList* pGone);
    void Receive(const QList<Remote>& changed);
    void Take(const QString& strHref, const QString& strEtag, const QByteArray& text);
    void Gone(const QString& strHref);
    void SendDeletes();
    void SendChanges();
    bool SendChange(const SyncLink& link);
    // The server's copy of an item as a change or delete made here finds it: gone, free to
    // replace or delete, kept (the store cannot hold all of it), or not read (failed, or
    // the server unreachable: nothing more is sent this time).
    enum class EServerCopy { Gone, Free, Kept, Failed, Unreachable };
    EServerCopy ServerCopy(const QString& strHref, const QString& strNotDone);
    static bool ReadsAlone(const QByteArray& text, QString* pstrError, QStringList* pNotHeld = nullptr);
    void SendNew();
    // false when the server cannot be reached: nothing more is sent this time.
    bool Put(int64_t nOid, const QString& strHref, const QString& strEtag, bool bNew);
    static bool Unreachable(int nStatus);
    bool Fetch(const QString& strHref, QString* pstrEtag, QByteArray* pText);
    bool ImportOne(const QByteArray& text, const QString& strHref, int64_t* pnOid);
    bool KeepConflictCopy(int64_t nOid);
    bool DeleteLocal(int64_t nOid);
    QByteArray ExportOne(int64_t nOid);
    // Hrefs are kept as decoded paths; UrlOf makes the address of one.
    QUrl UrlOf(const QString& strHref) const;
    static QString Canonical(const QString& strHref);
    QString HrefFor(const QString& strUid) const;
    void Fail(const QString& strWhat);

    CDavClient& m_client;
    std::shared_ptr<CPimStore> m_pStore;
    QUrl m_calendar;
    CSyncState m_state;
    SyncReport m_report;
};
