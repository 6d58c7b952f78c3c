#include "Connection.h"

#include "SqlError.h"

#include <QAtomicInt>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>

using namespace Qt::StringLiterals;

struct Connection::Handle
{
    QString name;
    QString path;

    ~Handle()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(name, false);
            if (db.isValid())
                db.close();
        }
        QSqlDatabase::removeDatabase(name);
    }
};

namespace {
QString nextConnectionName(const QString& kind)
{
    static QAtomicInt counter;
    return kind + u'#' + QString::number(counter.fetchAndAddRelaxed(1) + 1);
}

[[noreturn]] void throwOpenError(const QSqlDatabase& db, const QString& what)
{
    const QSqlError error = db.lastError();
    throw SqlError(error.text().isEmpty() ? what : error.text(), error.nativeErrorCode(), QString());
}
} // namespace

Connection::Connection(std::shared_ptr<Handle> handle, Engine engine)
    : m_handle(std::move(handle))
    , m_engine(engine)
{
}

Connection Connection::openSqlite(const QString& path)
{
    const QFileInfo info(path);
    // SQLite would quietly make a new empty file; a missing database is a failure here.
    if (!info.exists() || info.isDir())
        throw SqlError(u"데이터베이스 화일을 찾을 수 없습니다: "_s + path, u"14"_s, QString());
    auto handle = std::make_shared<Handle>();
    handle->name = nextConnectionName(u"sqlite"_s);
    handle->path = info.absoluteFilePath();
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QSQLITE"_s, handle->name);
    db.setDatabaseName(handle->path);
    db.setConnectOptions(u"QSQLITE_BUSY_TIMEOUT=5000"_s);
    if (!db.open())
        throwOpenError(db, u"데이터베이스 화일을 열 수 없습니다: "_s + path);

    // Opening an SQLite file reads nothing yet: look at it now, so that a foreign or damaged file is
    // refused here and not half-way through a user's action.
    QSqlQuery probe(db);
    if (!probe.exec(u"PRAGMA page_count"_s) || !probe.next()) {
        const QSqlError error = probe.lastError();
        throw SqlError(u"데이터베이스 화일이 아니거나 손상되었습니다: "_s + path + u" ("_s + error.databaseText()
                           + u')',
                       error.nativeErrorCode().isEmpty() ? u"26"_s : error.nativeErrorCode(),
                       QString());
    }
    const qint64 pages = probe.value(0).toLongLong();
    if (!probe.exec(u"PRAGMA page_size"_s) || !probe.next())
        throwOpenError(db, path);
    const qint64 pageSize = probe.value(0).toLongLong();
    if (pages * pageSize > info.size())
        throw SqlError(u"데이터베이스 화일이 잘려 손상되었습니다: "_s + path, u"11"_s, QString());
    probe.exec(u"PRAGMA foreign_keys = OFF"_s);
    // A member may keep a million games for a draw: give big reads and deletions room in memory instead
    // of letting them spill page by page to the disk (the cache only grows as far as it is used).
    probe.exec(u"PRAGMA cache_size = -262144"_s);
    probe.exec(u"PRAGMA temp_store = MEMORY"_s);
    return Connection(std::move(handle), Engine::SQLite);
}

namespace {

// A value of libpq's connection text. Qt's driver turns every ";" of the options into a blank, so a
// value holding one cannot be passed at all.
QString optionValue(const QString& value)
{
    if (value.contains(u';'))
        throw SqlError(u"서버 연결 설정에 ';'가 들어 있어 쓸 수 없습니다: "_s + value, QString(), QString());
    return u'\'' + QString(value).replace(u'\\', u"\\\\"_s).replace(u'\'', u"\\'"_s) + u'\'';
}

// libpq's words for a TLS that did not come about or a certificate that did not prove the server.
bool isTlsFailure(const QString& text)
{
    static const char* const marks[] = {"SSL", "certificate", "root cert", "TLS"};
    for (const char* mark : marks) {
        if (text.contains(QLatin1String(mark), Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

Connection Connection::openPostgres(const PostgresTarget& target)
{
    auto handle = std::make_shared<Handle>();
    handle->name = nextConnectionName(u"server"_s);
    QSqlDatabase db = QSqlDatabase::addDatabase(u"QPSQL"_s, handle->name);
    QStringList options;
    if (target.standbyHost.isEmpty()) {
        db.setHostName(target.host);
        db.setPort(target.port);
    } else {
        db.setHostName(target.host + u',' + target.standbyHost);
        options << u"port="_s + QString::number(target.port) + u',' + QString::number(target.standbyPort)
                << u"target_session_attrs=read-write"_s;
    }
    db.setDatabaseName(target.database);
    db.setUserName(target.user);
    db.setPassword(target.password);
    // The server may be out of reach: never wait longer than this for it. The texts are UTF-8 from the
    // first message on, asked for in the start-up packet rather than by a statement of its own (one
    // round trip less on every connection).
    options << u"connect_timeout="_s + QString::number(target.connectTimeoutSeconds) << u"sslmode=verify-full"_s
            << u"gssencmode=disable"_s << u"client_encoding=UTF8"_s;
    if (!target.caFile.isEmpty())
        options << u"sslrootcert="_s + optionValue(target.caFile);
    db.setConnectOptions(options.join(u';'));
    if (!db.open()) {
        const QSqlError error = db.lastError();
        if (isTlsFailure(error.text()))
            throw SqlError(error.text(), QString::fromUtf16(kTlsFailure), QString());
        throwOpenError(db, u"서버에 연결할 수 없습니다"_s);
    }
    return Connection(std::move(handle), Engine::PostgreSQL);
}

bool Connection::isOpen() const { return m_handle && database().isOpen(); }

void Connection::close() { m_handle.reset(); }

QSqlDatabase Connection::database() const
{
    return m_handle ? QSqlDatabase::database(m_handle->name, false) : QSqlDatabase();
}

QString Connection::path() const { return m_handle ? m_handle->path : QString(); }

QString Connection::nowExpression() const
{
    return m_engine == Engine::PostgreSQL ? u"to_char(LOCALTIMESTAMP, 'YYYY-MM-DD HH24:MI:SS')"_s
                                          : u"strftime('%Y-%m-%d %H:%M:%S', 'now', 'localtime')"_s;
}

bool Connection::hasTable(const QString& table) const
{
    QSqlQuery query(database());
    if (m_engine == Engine::PostgreSQL) {
        // The catalog itself, not information_schema, whose views take milliseconds to plan on a fresh
        // connection.
        query.prepare(u"SELECT 1 FROM pg_catalog.pg_class c WHERE c.relnamespace = current_schema()::regnamespace "
                      "AND c.relkind IN ('r', 'p', 'v', 'f') AND lower(c.relname) = lower(?)"_s);
    } else {
        query.prepare(u"SELECT 1 FROM sqlite_master WHERE type = 'table' AND lower(name) = lower(?)"_s);
    }
    query.addBindValue(table);
    return query.exec() && query.next();
}

bool Connection::failedForMissingTable(const SqlError& error, const QString& table) const
{
    static const QString undefinedTable = u"42P01"_s; // PostgreSQL's SQLSTATE for it
    return m_engine == Engine::PostgreSQL ? error.nativeCode() == undefinedTable : !hasTable(table);
}
