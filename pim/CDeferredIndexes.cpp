#include "pim/CDeferredIndexes.h"

#include "pim/CSqlStatement.h"

namespace {

bool Exec(sqlite3* pDb, const QByteArray& sql)
{
    return sqlite3_exec(pDb, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

}  // namespace

bool CDeferredIndexes::Drop(sqlite3* pDb, const char* pszTable, const QList<QByteArray>& names)
{
    CSqlStatement st(pDb, "SELECT name, sql FROM sqlite_master WHERE type='index' AND tbl_name=?1 AND sql IS NOT NULL");
    st.Bind(1, QString::fromUtf8(pszTable));
    QList<QPair<QByteArray, QByteArray>> indexes;
    int rc = SQLITE_ROW;
    while ((rc = st.Step()) == SQLITE_ROW) {
        const QByteArray name = st.Text(0).toUtf8();
        if (names.contains(name))
            indexes.append({name, st.Text(1).toUtf8()});
    }
    if (rc != SQLITE_DONE)
        return false;
    for (const auto& index : indexes) {
        if (!Exec(pDb, "DROP INDEX \"" + index.first + '"'))
            return false;
        m_dropped.append(index);
    }
    return true;
}

bool CDeferredIndexes::RestoreAll(sqlite3* pDb)
{
    while (!m_dropped.isEmpty()) {
        if (!Exec(pDb, m_dropped.front().second))
            return false;
        m_dropped.removeFirst();
    }
    return true;
}
