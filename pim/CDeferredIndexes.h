#pragma once
// Indexes of one table dropped for a bulk write into it and made again after it, inside
// the writer's transaction: an index made from the rows in place is sorted once, where
// one kept up to date row by row in random order has its pages written over and over.
// A rollback of the transaction brings the dropped indexes back by itself.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <sqlite3.h>

class CDeferredIndexes {
public:
    // Drops the named indexes of the table (those it has). false when the store fails;
    // what was dropped is kept.
    bool Drop(sqlite3* pDb, const char* pszTable, const QList<QByteArray>& names);
    // Makes every index still dropped again.
    bool RestoreAll(sqlite3* pDb);
    // Forgets the dropped indexes (after a rollback, which restored them).
    void Forget() { m_dropped.clear(); }

private:
    QList<QPair<QByteArray, QByteArray>> m_dropped;  // name, CREATE INDEX statement
};
