#include "RowReader.h"

#include "SqlError.h"
#include "SqlFailure.h"
#include "Transaction.h"
#include "VectorState.h"

#include <QSqlDriver>

#include <sqlite3.h>

using namespace Qt::StringLiterals;

sqlite3* SqliteHandle(const Connection& connection)
{
    if (connection.engine() != Connection::Engine::SQLite || !connection.isOpen())
        return nullptr;
    const QSqlDriver* driver = connection.database().driver();
    const QVariant handle = driver ? driver->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3* const*>(handle.constData());
}

bool BindSqliteValue(sqlite3_stmt* statement, int at, const QVariant& value)
{
    if (value.isNull())
        return sqlite3_bind_null(statement, at) == SQLITE_OK;
    switch (value.typeId()) {
    case QMetaType::QString: {
        const QString* text = static_cast<const QString*>(value.constData());
        if (text->isNull())
            return sqlite3_bind_null(statement, at) == SQLITE_OK;
        // Bound in place: the caller keeps the values until the statement has run.
        return sqlite3_bind_text16(statement, at, text->utf16(), int(text->size() * 2), SQLITE_STATIC) == SQLITE_OK;
    }
    case QMetaType::Int:
    case QMetaType::Bool:
        return sqlite3_bind_int(statement, at, value.toInt()) == SQLITE_OK;
    case QMetaType::UInt:
    case QMetaType::LongLong:
        return sqlite3_bind_int64(statement, at, value.toLongLong()) == SQLITE_OK;
    case QMetaType::Double:
        return sqlite3_bind_double(statement, at, value.toDouble()) == SQLITE_OK;
    default:
        return false;
    }
}

RowReader::RowReader(const Connection& connection, const QString& sql)
    : m_sql(sql)
    , m_connection(connection)
    , m_db(SqliteHandle(connection))
{
    if (!connection.isOpen())
        throw SqlError(u"데이터베이스가 열려 있지 않습니다."_s, QString(), sql);
    if (!m_db)
        throw SqlError(u"SQLite 화일에서만 읽을 수 있습니다."_s, QString(), sql);
    const int result = sqlite3_prepare16_v2(m_db, sql.utf16(), int(sql.size() * 2), &m_stmt, nullptr);
    if (result != SQLITE_OK)
        fail(result);
}

RowReader::~RowReader() { sqlite3_finalize(m_stmt); }

RowReader& RowReader::run(const QVariantList& values)
{
    ClearVectorState();
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
    if (values.size() != sqlite3_bind_parameter_count(m_stmt))
        throw SqlError::ValueCount(sqlite3_bind_parameter_count(m_stmt), values.size(), m_sql);
    // Kept for the texts bound in place, which the rows are read against.
    m_values = values;
    for (qsizetype i = 0; i < m_values.size(); ++i) {
        if (!BindSqliteValue(m_stmt, int(i) + 1, m_values[i])) {
            const QString text = m_values[i].toString();
            if (sqlite3_bind_text16(m_stmt, int(i) + 1, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT)
                != SQLITE_OK)
                fail(sqlite3_errcode(m_db));
        }
    }
    return *this;
}

bool RowReader::next()
{
    const int result = sqlite3_step(m_stmt);
    if (result == SQLITE_ROW)
        return true;
    if (result == SQLITE_DONE)
        return false;
    fail(result);
}

RowReader& RowReader::bind(int at, qint64 value)
{
    const int result = sqlite3_bind_int64(m_stmt, at + 1, value);
    if (result != SQLITE_OK)
        fail(result);
    return *this;
}

RowReader& RowReader::bind(int at, QStringView text)
{
    // The file keeps UTF-8: a short text of plain characters (a game's numbers) is handed over as such
    // rather than converted inside SQLite.
    char ascii[64];
    bool plain = text.size() <= qsizetype(sizeof ascii);
    for (qsizetype i = 0; plain && i < text.size(); ++i) {
        plain = text[i].unicode() < 0x80;
        ascii[i] = char(text[i].unicode());
    }
    const int result = plain
        ? sqlite3_bind_text(m_stmt, at + 1, ascii, int(text.size()), SQLITE_TRANSIENT)
        : sqlite3_bind_text16(m_stmt, at + 1, text.utf16(), int(text.size() * 2), SQLITE_TRANSIENT);
    if (result != SQLITE_OK)
        fail(result);
    return *this;
}

void RowReader::execute()
{
    ClearVectorState();
    const int result = sqlite3_step(m_stmt);
    if (result != SQLITE_DONE && result != SQLITE_ROW)
        fail(result);
    sqlite3_reset(m_stmt);
}

bool RowReader::isNull(int column) const { return sqlite3_column_type(m_stmt, column) == SQLITE_NULL; }

bool RowReader::isInteger(int column) const { return sqlite3_column_type(m_stmt, column) == SQLITE_INTEGER; }

qint64 RowReader::integer(int column) const { return sqlite3_column_int64(m_stmt, column); }

QByteArrayView RowReader::utf8(int column) const
{
    const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return bytes ? QByteArrayView(bytes, sqlite3_column_bytes(m_stmt, column)) : QByteArrayView();
}

QString RowReader::text(int column) const { return QString::fromUtf8(utf8(column)); }

void RowReader::fail(int code) const
{
    const QString message = QString::fromUtf16(static_cast<const char16_t*>(sqlite3_errmsg16(m_db)));
    sqlite3_reset(m_stmt);
    throw SqliteFailureOf(code, message, m_sql);
}

SqlFunction::SqlFunction(const Connection& connection, const QByteArray& name, Body body)
    : m_connection(connection)
    , m_db(SqliteHandle(connection))
    , m_name(name)
    , m_body(std::move(body))
{
    if (!m_db)
        throw SqlError(u"SQLite 화일에서만 쓸 수 있습니다."_s, QString(), QString::fromLatin1(name));
    const auto call = [](sqlite3_context* context, int, sqlite3_value** values) {
        const auto* self = static_cast<const SqlFunction*>(sqlite3_user_data(context));
        const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(values[0]));
        try {
            sqlite3_result_int64(
                context,
                self->m_body(text ? QByteArrayView(text, sqlite3_value_bytes(values[0])) : QByteArrayView()));
        } catch (...) {
            // Nothing may unwind through SQLite: the statement fails instead, and its transaction with it.
            sqlite3_result_error(context, "function failed", -1);
        }
    };
    const int result = sqlite3_create_function_v2(m_db,
                                                  m_name.constData(),
                                                  1,
                                                  SQLITE_UTF8 | SQLITE_DETERMINISTIC | SQLITE_DIRECTONLY,
                                                  this,
                                                  call,
                                                  nullptr,
                                                  nullptr,
                                                  nullptr);
    if (result != SQLITE_OK)
        throw SqliteFailureOf(result,
                              QString::fromUtf16(static_cast<const char16_t*>(sqlite3_errmsg16(m_db))),
                              QString::fromLatin1(name));
}

SqlFunction::~SqlFunction()
{
    sqlite3_create_function_v2(m_db, m_name.constData(), 1, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr, nullptr);
}

QString ContentStamp(const Connection& connection)
{
    sqlite3* db = SqliteHandle(connection);
    if (!db)
        return QString();
    const auto pragma = [&connection](const QString& sql) {
        RowReader q(connection, sql);
        q.run();
        return q.next() ? q.integer(0) : -1;
    };
    return connection.database().connectionName() + u':' + QString::number(sqlite3_total_changes64(db)) + u':'
        + QString::number(pragma(u"PRAGMA data_version"_s)) + u':' + QString::number(pragma(u"PRAGMA schema_version"_s))
        + u':' + QString::number(RolledBackTransactions());
}
