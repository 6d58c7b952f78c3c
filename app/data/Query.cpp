#include "Query.h"

#include "RowReader.h"
#include "SqlError.h"
#include "SqlFailure.h"
#include "VectorState.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QSqlResult>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

Query::Query(const Connection& connection, const QString& sql)
    : m_sql(sql)
    , m_query(connection.database())
{
    if (!connection.isOpen())
        throw SqlError(u"데이터베이스가 열려 있지 않습니다."_s, QString(), sql);
    m_query.setForwardOnly(true);
    if (!m_query.prepare(sql))
        fail();
}

namespace {

// A change on an SQLite file runs on the statement SQLite prepared for it, without Qt's per-run
// bookkeeping: a save of a million games is mostly this loop. Statements that return rows stay with Qt,
// which keeps their rows' state. False when the statement is left to Qt.
bool runNative(QSqlQuery& query, const QVariantList& values, const QString& sql)
{
    if (!query.driver() || query.driver()->dbmsType() != QSqlDriver::SQLite)
        return false;
    const QVariant handle = query.result()->handle();
    const QVariant dbHandle = query.driver()->handle();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3_stmt*") != 0 || !dbHandle.isValid()
        || qstrcmp(dbHandle.typeName(), "sqlite3*") != 0)
        return false;
    auto* stmt = *static_cast<sqlite3_stmt* const*>(handle.constData());
    auto* db = *static_cast<sqlite3* const*>(dbHandle.constData());
    if (!stmt || !db || sqlite3_column_count(stmt) != 0)
        return false;
    // Qt would run the statement with the values of the run before in the places left over.
    if (values.size() != sqlite3_bind_parameter_count(stmt))
        throw SqlError::ValueCount(sqlite3_bind_parameter_count(stmt), values.size(), sql);
    sqlite3_reset(stmt);
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (!BindSqliteValue(stmt, int(i) + 1, values[i])) {
            sqlite3_clear_bindings(stmt);
            return false;
        }
    }
    const int result = sqlite3_step(stmt);
    if (result != SQLITE_DONE && result != SQLITE_ROW) {
        // Worded as Qt words a failed run, so that a failure reads the same whichever way it ran.
        const QString message = QString::fromUtf16(static_cast<const char16_t*>(sqlite3_errmsg16(db)));
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
        throw SqliteFailureOf(result, message + u" Unable to fetch row"_s, sql);
    }
    // Qt's count of the rows touched asks the connection, which still has this statement's.
    sqlite3_reset(stmt);
    // The texts were bound in place and are about to go.
    sqlite3_clear_bindings(stmt);
    return true;
}

} // namespace

Query& Query::run(const QVariantList& values)
{
    ClearVectorState();
    if (runNative(m_query, values, m_sql))
        return *this;
    for (qsizetype i = 0; i < values.size(); ++i)
        m_query.bindValue(int(i), values[i]);
    if (!m_query.exec())
        fail();
    return *this;
}

bool Query::next() { return m_query.next(); }

int Query::rowsAffected() const
{
    // A change run on SQLite's own statement leaves Qt's query inactive; the connection has the count,
    // which is where Qt's driver reads it from too.
    if (m_query.driver() && m_query.driver()->dbmsType() == QSqlDriver::SQLite) {
        const QVariant db = m_query.driver()->handle();
        if (db.isValid() && qstrcmp(db.typeName(), "sqlite3*") == 0)
            return sqlite3_changes(*static_cast<sqlite3* const*>(db.constData()));
    }
    return m_query.numRowsAffected();
}

QVariant Query::value(const QString& column) const
{
    const int index = m_query.record().indexOf(column);
    if (index < 0)
        throw SqlError(u"결과에 없는 열입니다: "_s + column, QString(), m_sql);
    return m_query.value(index);
}

QString Query::text(const QString& column) const
{
    const QVariant v = value(column);
    return v.isNull() ? QString(u""_s) : v.toString();
}

qint64 Query::integer(const QString& column) const { return value(column).toLongLong(); }

double Query::number(const QString& column) const { return value(column).toDouble(); }

void Query::fail() const { throw FailureOf(m_query.driver(), m_query.lastError(), m_sql); }

int Execute(const Connection& connection, const QString& sql, const QVariantList& values)
{
    if (values.isEmpty()) {
        // Nothing to bind: run it as it stands. PostgreSQL cannot prepare DDL, which the setup tool runs.
        if (!connection.isOpen())
            throw SqlError(u"데이터베이스가 열려 있지 않습니다."_s, QString(), sql);
        QSqlQuery direct(connection.database());
        ClearVectorState();
        if (!direct.exec(sql))
            throw FailureOf(direct.driver(), direct.lastError(), sql);
        return direct.numRowsAffected();
    }
    Query query(connection, sql);
    query.run(values);
    return query.rowsAffected();
}
