#include "pim/CSqlStatement.h"

CSqlStatement::CSqlStatement(sqlite3* pDb, const QByteArray& sql) : m_bOwned(true)
{
    if (pDb == nullptr || sqlite3_prepare_v2(pDb, sql.constData(), int(sql.size()), &m_pStmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_pStmt);
        m_pStmt = nullptr;
    }
}

CSqlStatement::CSqlStatement(sqlite3_stmt* pStmt) : m_pStmt(pStmt) {}

CSqlStatement::~CSqlStatement()
{
    if (m_pStmt == nullptr)
        return;
    if (m_bOwned) {
        sqlite3_finalize(m_pStmt);
        return;
    }
    sqlite3_reset(m_pStmt);
    sqlite3_clear_bindings(m_pStmt);
}

CSqlStatement& CSqlStatement::Bind(int nParam, int64_t nValue)
{
    if (m_pStmt && sqlite3_bind_int64(m_pStmt, nParam, nValue) != SQLITE_OK)
        m_bFailed = true;
    return *this;
}

CSqlStatement& CSqlStatement::Bind(int nParam, const QString& str)
{
    const QByteArray utf8 = str.toUtf8();
    if (m_pStmt && sqlite3_bind_text(m_pStmt, nParam, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        m_bFailed = true;
    return *this;
}

CSqlStatement& CSqlStatement::Bind(int nParam, const QByteArray& bytes)
{
    if (m_pStmt && sqlite3_bind_blob(m_pStmt, nParam, bytes.constData(), int(bytes.size()), SQLITE_TRANSIENT) != SQLITE_OK)
        m_bFailed = true;
    return *this;
}

CSqlStatement& CSqlStatement::BindNull(int nParam)
{
    if (m_pStmt && sqlite3_bind_null(m_pStmt, nParam) != SQLITE_OK)
        m_bFailed = true;
    return *this;
}

CSqlStatement& CSqlStatement::Bind(int nParam, const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::LongLong:
        return Bind(nParam, int64_t(value.toLongLong()));
    case QMetaType::Double:
        if (m_pStmt && sqlite3_bind_double(m_pStmt, nParam, value.toDouble()) != SQLITE_OK)
            m_bFailed = true;
        return *this;
    case QMetaType::QString:
        return Bind(nParam, value.toString());
    case QMetaType::QByteArray:
        return Bind(nParam, value.toByteArray());
    default:
        return BindNull(nParam);
    }
}

void CSqlStatement::Reset()
{
    if (m_pStmt == nullptr)
        return;
    sqlite3_reset(m_pStmt);
    sqlite3_clear_bindings(m_pStmt);
    m_bFailed = false;
}

int CSqlStatement::Step()
{
    if (m_pStmt == nullptr || m_bFailed)
        return SQLITE_MISUSE;
    return sqlite3_step(m_pStmt);
}

bool CSqlStatement::Exec()
{
    int rc = Step();
    while (rc == SQLITE_ROW)
        rc = Step();
    return rc == SQLITE_DONE;
}

int64_t CSqlStatement::Int(int nColumn) const
{
    return sqlite3_column_int64(m_pStmt, nColumn);
}

QString CSqlStatement::Text(int nColumn) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_pStmt, nColumn));
    return p ? QString::fromUtf8(p, sqlite3_column_bytes(m_pStmt, nColumn)) : QString();
}

QByteArray CSqlStatement::Blob(int nColumn) const
{
    const void* p = sqlite3_column_blob(m_pStmt, nColumn);
    return p ? QByteArray(static_cast<const char*>(p), sqlite3_column_bytes(m_pStmt, nColumn)) : QByteArray();
}

bool CSqlStatement::IsNull(int nColumn) const
{
    return sqlite3_column_type(m_pStmt, nColumn) == SQLITE_NULL;
}

int CSqlStatement::ColumnCount() const
{
    return m_pStmt ? sqlite3_column_count(m_pStmt) : 0;
}

QVariant CSqlStatement::Value(int nColumn) const
{
    switch (sqlite3_column_type(m_pStmt, nColumn)) {
    case SQLITE_INTEGER:
        return QVariant(qint64(Int(nColumn)));
    case SQLITE_FLOAT:
        return QVariant(sqlite3_column_double(m_pStmt, nColumn));
    case SQLITE_TEXT:
        return QVariant(Text(nColumn));
    case SQLITE_BLOB:
        return QVariant(Blob(nColumn));
    default:
        return QVariant();
    }
}
