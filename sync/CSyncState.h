#pragma once
#include <QList>
#include <QString>
#include <cstdint>
#include <memory>

class CPimStore;

struct SyncLink
{
    int64_t nOid = 0;
    QString strHref;   // path on the server
    QString strEtag;
    bool bDirty = false;
};

struct SyncTombstone
{
    QString strHref;
    QString strEtag;
};

// The store's record of one account's items on the server: links (href, ETag, change
// mark), tombstones of deleted items and the sync token. Each call is its own write.
class CSyncState
{
public:
    CSyncState(std::shared_ptr<CPimStore> pStore, const QString& strAccount)
        : m_pStore(std::move(pStore)), m_strAccount(strAccount) {}

    QString Token();
    bool SetToken(const QString& strToken);

    bool LinkByHref(const QString& strHref, SyncLink* pLink);
    QList<SyncLink> Links();
    QList<SyncLink> DirtyLinks();
    bool SetLink(int64_t nOid, const QString& strHref, const QString& strEtag, bool bDirty);
    bool Unlink(int64_t nOid);

    // Singles and series of the store that no account holds yet.
    QList<int64_t> Unlinked();
    int64_t OidOfUid(const QString& strUid);
    QString UidOf(int64_t nOid);

    QList<SyncTombstone> Tombstones();
    bool HasTombstone(const QString& strHref);
    bool DropTombstone(const QString& strHref);

    // Forgets everything of this account; its items stay, unlinked.
    bool Forget();

private:
    QList<SyncLink> ReadLinks(const char* pszWhere);
    bool Exec(const QByteArray& sql, const QList<QString>& args, int64_t nOid = -1);

    std::shared_ptr<CPimStore> m_pStore;
    QString m_strAccount;
};
