#include "ProtocolStatement.h"

#include "SqlError.h"

#include <QSqlDriver>

#include <libpq-fe.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

PGconn* handleOf(const Connection& connection)
{
    if (!connection.isOpen() || connection.engine() != Connection::Engine::PostgreSQL)
        return nullptr;
    const QVariant handle = connection.database().driver()->handle();
    // Qt names the type by libpq's struct, "pg_conn*", or by its typedef.
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "pg_conn*") != 0 && qstrcmp(handle.typeName(), "PGconn*") != 0))
        return nullptr;
    return *static_cast<PGconn* const*>(handle.constData());
}

} // namespace

ProtocolStatement::ProtocolStatement(const Connection& connection,
                                     const QString& sql,
                                     const QStringList& values,
                                     Results results)
{
    PGconn* conn = handleOf(connection);
    if (!conn)
        throw SqlError(u"서버 연결이 열려 있지 않습니다."_s, QString(), sql);
    // A statement of Qt's still delivering its rows owns the connection until it is done.
    if (PQtransactionStatus(conn) == PQTRANS_ACTIVE)
        throw SqlError(u"서버 연결에서 다른 질의가 아직 끝나지 않았습니다."_s, QString(), sql);

    std::vector<QByteArray> utf8;
    std::vector<const char*> pointers;
    utf8.reserve(size_t(values.size()));
    for (const QString& value : values) {
        utf8.push_back(value.toUtf8());
        pointers.push_back(utf8.back().constData());
    }
    const QByteArray text = sql.toUtf8();
    const std::unique_ptr<PGresult, decltype(&PQclear)> result(PQexecParams(conn,
                                                                            text.constData(),
                                                                            int(values.size()),
                                                                            nullptr,
                                                                            pointers.data(),
                                                                            nullptr,
                                                                            nullptr,
                                                                            results == Results::Binary ? 1 : 0),
                                                               &PQclear);
    const ExecStatusType status = result ? PQresultStatus(result.get()) : PGRES_FATAL_ERROR;
    if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
        const QString code
            = result ? QString::fromLatin1(PQresultErrorField(result.get(), PG_DIAG_SQLSTATE)) : QString();
        // The server's own words, without the values: they never reach its messages either.
        throw SqlError(QString::fromUtf8(PQerrorMessage(conn)).trimmed(), code, sql);
    }
    const int columns = PQnfields(result.get());
    for (int c = 0; c < columns; ++c)
        m_columns.append(QString::fromUtf8(PQfname(result.get(), c)).toLower());
    const int rows = PQntuples(result.get());
    m_rows.reserve(size_t(rows));
    for (int r = 0; r < rows; ++r) {
        QVariantList row;
        for (int c = 0; c < columns; ++c) {
            if (PQgetisnull(result.get(), r, c))
                row.append(QVariant());
            else if (results == Results::Binary)
                row.append(QByteArray(PQgetvalue(result.get(), r, c), PQgetlength(result.get(), r, c)));
            else
                row.append(QString::fromUtf8(PQgetvalue(result.get(), r, c)));
        }
        m_rows.push_back(std::move(row));
    }
}

QVariant ProtocolStatement::value(int row, const QString& column) const
{
    const qsizetype index = m_columns.indexOf(column.toLower());
    if (index < 0 || row < 0 || row >= rows())
        throw SqlError(u"결과에 없는 열입니다: "_s + column, QString(), QString());
    return m_rows[size_t(row)][index];
}

QString ScramVerifier(const Connection& connection, const QString& role, const QString& password)
{
    PGconn* conn = handleOf(connection);
    if (!conn)
        throw SqlError(u"서버 연결이 열려 있지 않습니다."_s, QString(), QString());
    char* verifier
        = PQencryptPasswordConn(conn, password.toUtf8().constData(), role.toUtf8().constData(), "scram-sha-256");
    if (!verifier)
        throw SqlError(QString::fromUtf8(PQerrorMessage(conn)).trimmed(), QString(), QString());
    const QString text = QString::fromLatin1(verifier);
    PQfreemem(verifier);
    return text;
}
