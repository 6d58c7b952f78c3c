#include "Transaction.h"

#include "SqlError.h"

#include <QSqlError>

using namespace Qt::StringLiterals;

Transaction::Transaction(const Connection& connection)
    : m_connection(connection)
{
    QSqlDatabase db = m_connection.database();
    if (!db.isOpen() || !db.transaction()) {
        const QSqlError error = db.lastError();
        throw SqlError(u"트랜잭션을 시작할 수 없습니다. "_s + error.text(), error.nativeErrorCode(), u"BEGIN"_s);
    }
    m_open = true;
}

Transaction::~Transaction()
{
    if (m_open)
        m_connection.database().rollback();
}

void Transaction::commit()
{
    if (!m_open)
        return;
    QSqlDatabase db = m_connection.database();
    if (!db.commit()) {
        const QSqlError error = db.lastError();
        throw SqlError(u"변경 내용을 저장하지 못했습니다. "_s + error.text(), error.nativeErrorCode(), u"COMMIT"_s);
    }
    m_open = false;
}
