#include "Transaction.h"

#include "SqlError.h"
#include "SqlFailure.h"
#include "VectorState.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QSqlQuery>

#include <atomic>

using namespace Qt::StringLiterals;

namespace {

// Qt's SQLite driver reports a failed BEGIN or COMMIT without SQLite's result code, and the code is what
// tells a full disk from a locked or read-only file: on SQLite the statement is run as a query instead.
bool runControl(QSqlDatabase& db, const QString& statement, QSqlError& error)
{
    if (!db.isOpen()) {
        error = QSqlError(u"데이터베이스가 열려 있지 않습니다."_s);
        return false;
    }
    if (db.driver()->dbmsType() == QSqlDriver::SQLite) {
        QSqlQuery query(db);
        ClearVectorState(); // the commit copies every page the transaction wrote
        if (query.exec(statement))
            return true;
        error = query.lastError();
        return false;
    }
    const bool done = statement.startsWith(u"BEGIN"_s) ? db.transaction() : db.commit();
    if (!done)
        error = db.lastError();
    return done;
}

} // namespace

Transaction::Transaction(const Connection& connection, Start start)
    : m_connection(connection)
{
    QSqlDatabase db = m_connection.database();
    QSqlError error;
    const bool immediate = start == Start::Immediate && connection.engine() == Connection::Engine::SQLite;
    if (!runControl(db, immediate ? u"BEGIN IMMEDIATE"_s : u"BEGIN"_s, error))
        throw FailureOf(db.driver(), error, u"BEGIN"_s, u"트랜잭션을 시작할 수 없습니다. "_s);
    m_open = true;
}

namespace {
std::atomic<quint64> rolledBack {0};
} // namespace

quint64 RolledBackTransactions() { return rolledBack.load(); }

Transaction::~Transaction()
{
    if (m_open) {
        ++rolledBack;
        m_connection.database().rollback();
    }
}

void Transaction::commit()
{
    if (!m_open)
        return;
    QSqlDatabase db = m_connection.database();
    QSqlError error;
    if (!runControl(db, u"COMMIT"_s, error))
        throw FailureOf(db.driver(), error, u"COMMIT"_s, u"변경 내용을 저장하지 못했습니다. "_s);
    m_open = false;
}
