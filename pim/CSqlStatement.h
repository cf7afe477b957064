#pragma once
// A prepared SQLite statement: binding, stepping and reading columns. Either owned
// (finalized on destruction) or borrowed from the store's cache (reset and its bindings
// cleared on destruction, so it is ready for the next use).
#include <QByteArray>
#include <QString>
#include <QVariant>
#include <cstdint>
#include <sqlite3.h>

class CSqlStatement {
public:
    // Prepares an owned statement; IsValid() tells whether that worked.
    CSqlStatement(sqlite3* pDb, const QByteArray& sql);
    // Borrows a cached statement (may be null).
    explicit CSqlStatement(sqlite3_stmt* pStmt);
    ~CSqlStatement();
    CSqlStatement(const CSqlStatement&) = delete;
    CSqlStatement& operator=(const CSqlStatement&) = delete;

    bool IsValid() const { return m_pStmt != nullptr; }
    // Parameters count from 1.
    CSqlStatement& Bind(int nParam, int64_t nValue);
    CSqlStatement& Bind(int nParam, const QString& str);
    CSqlStatement& Bind(int nParam, const QByteArray& bytes);
    CSqlStatement& BindNull(int nParam);
    // A value as Value() reads it, bound with its own SQLite type.
    CSqlStatement& Bind(int nParam, const QVariant& value);
    // Ends the current run and clears the bindings, for the next run.
    void Reset();
    // SQLITE_ROW, SQLITE_DONE or an error code.
    int Step();
    // Runs the statement to its end; true when it finished without error.
    bool Exec();

    int64_t Int(int nColumn) const;
    QString Text(int nColumn) const;
    QByteArray Blob(int nColumn) const;
    bool IsNull(int nColumn) const;
    int ColumnCount() const;
    // A column as it is stored: qint64, double, QString (text), QByteArray (blob), or
    // a null QVariant.
    QVariant Value(int nColumn) const;

private:
    sqlite3_stmt* m_pStmt = nullptr;
    bool m_bOwned = false;
    bool m_bFailed = false;  // a Bind failed: Step reports an error
};
