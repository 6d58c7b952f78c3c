#include "Query.h"

#include "SqlError.h"
#include "SqlFailure.h"

#include <QSqlError>
#include <QSqlRecord>

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

Query& Query::run(const QVariantList& values)
{
    for (qsizetype i = 0; i < values.size(); ++i)
        m_query.bindValue(int(i), values[i]);
    if (!m_query.exec())
        fail();
    return *this;
}

bool Query::next() { return m_query.next(); }

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
        if (!direct.exec(sql))
            throw FailureOf(direct.driver(), direct.lastError(), sql);
        return direct.numRowsAffected();
    }
    Query query(connection, sql);
    query.run(values);
    return query.rowsAffected();
}
