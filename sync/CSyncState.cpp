#include "sync/CSyncState.h"

#include "pim/CPimStore.h"
#include "pim/CSqlStatement.h"

QString CSyncState::Token()
{
    CSqlStatement st(m_pStore->Db(), "SELECT token FROM sync_token WHERE account=?");
    st.Bind(1, m_strAccount);
    return st.Step() == SQLITE_ROW ? st.Text(0) : QString();
}

bool CSyncState::SetToken(const QString& strToken)
{
    return Exec("INSERT OR REPLACE INTO sync_token(account, token) VALUES(?1, ?2)", {m_strAccount, strToken});
}

bool CSyncState::LinkByHref(const QString& strHref, SyncLink* pLink)
{
    CSqlStatement st(m_pStore->Db(), "SELECT oid, href, etag, dirty FROM sync_link WHERE account=? AND href=?");
    st.Bind(1, m_strAccount).Bind(2, strHref);
    if (st.Step() != SQLITE_ROW)
        return false;
    *pLink = {st.Int(0), st.Text(1), st.Text(2), st.Int(3) != 0};
    return true;
}

QList<SyncLink> CSyncState::ReadLinks(const char* pszWhere)
{
    CSqlStatement st(m_pStore->Db(), QByteArray("SELECT oid, href, etag, dirty FROM sync_link WHERE account=?")
                                         + pszWhere + " ORDER BY oid");
    st.Bind(1, m_strAccount);
    QList<SyncLink> links;
    while (st.Step() == SQLITE_ROW)
        links.append({st.Int(0), st.Text(1), st.Text(2), st.Int(3) != 0});
    return links;
}

QList<SyncLink> CSyncState::Links()
{
    return ReadLinks("");
}

QList<SyncLink> CSyncState::DirtyLinks()
{
    return ReadLinks(" AND dirty=1");
}

bool CSyncState::SetLink(int64_t nOid, const QString& strHref, const QString& strEtag, bool bDirty)
{
    return Exec(QByteArray("INSERT OR REPLACE INTO sync_link(oid, account, href, etag, dirty) VALUES(?9, ?1, ?2, ?3, ")
                    + (bDirty ? "1" : "0") + ")",
                {m_strAccount, strHref, strEtag}, nOid);
}

bool CSyncState::Unlink(int64_t nOid)
{
    return Exec("DELETE FROM sync_link WHERE oid=?9", {}, nOid);
}

QList<int64_t> CSyncState::Unlinked()
{
    // Two index scans merged (items_single, sync_link_oid), no lookup per item.
    CSqlStatement st(m_pStore->Db(), "SELECT oid FROM items WHERE series IS NULL"
                                     " EXCEPT SELECT oid FROM sync_link ORDER BY 1");
    QList<int64_t> oids;
    while (st.Step() == SQLITE_ROW)
        oids << st.Int(0);
    return oids;
}

int64_t CSyncState::OidOfUid(const QString& strUid)
{
    CSqlStatement st(m_pStore->Db(), "SELECT oid FROM items WHERE uid=? AND series IS NULL ORDER BY oid");
    st.Bind(1, strUid);
    return st.Step() == SQLITE_ROW ? st.Int(0) : 0;
}

QString CSyncState::UidOf(int64_t nOid)
{
    CSqlStatement st(m_pStore->Db(), "SELECT uid FROM items WHERE oid=?");
    st.Bind(1, nOid);
    return st.Step() == SQLITE_ROW ? st.Text(0) : QString();
}

QList<SyncTombstone> CSyncState::Tombstones()
{
    CSqlStatement st(m_pStore->Db(), "SELECT href, etag FROM sync_tombstone WHERE account=? ORDER BY href");
    st.Bind(1, m_strAccount);
    QList<SyncTombstone> stones;
    while (st.Step() == SQLITE_ROW)
        stones.append({st.Text(0), st.Text(1)});
    return stones;
}

bool CSyncState::HasTombstone(const QString& strHref)
{
    CSqlStatement st(m_pStore->Db(), "SELECT 1 FROM sync_tombstone WHERE account=? AND href=?");
    st.Bind(1, m_strAccount).Bind(2, strHref);
    return st.Step() == SQLITE_ROW;
}

bool CSyncState::DropTombstone(const QString& strHref)
{
    return Exec("DELETE FROM sync_tombstone WHERE account=?1 AND href=?2", {m_strAccount, strHref});
}

bool CSyncState::Forget()
{
    return Exec("DELETE FROM sync_link WHERE account=?1", {m_strAccount})
           && Exec("DELETE FROM sync_tombstone WHERE account=?1", {m_strAccount})
           && Exec("DELETE FROM sync_token WHERE account=?1", {m_strAccount});
}

// Parameters ?1.. take args in order; ?9 takes nOid.
bool CSyncState::Exec(const QByteArray& sql, const QList<QString>& args, int64_t nOid)
{
    CSqlStatement st(m_pStore->Db(), sql);
    for (int i = 0; i < args.size(); ++i)
        st.Bind(i + 1, args[i]);
    if (nOid >= 0)
        st.Bind(9, nOid);
    return st.IsValid() && st.Exec();
}
