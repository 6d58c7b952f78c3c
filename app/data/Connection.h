#pragma once

#include <QSqlDatabase>
#include <QString>

#include <memory>

class SqlError;

// One open database: a local SQLite file, or the server (PostgreSQL, or an SQLite file standing in
// for it). Copies share the same connection; it is closed when the last copy lets go. What differs
// between the two engines lives here and nowhere else.
class Connection
{
public:
    enum class Engine { SQLite, PostgreSQL };

    Connection() = default;

    // Connections to PostgreSQL are encrypted and the server proven: its certificate must come from the
    // authority in caFile and name the host asked for (libpq's verify-full), or nothing is sent, the
    // password least of all. With a standby, whichever of the two accepts writes is taken.
    struct PostgresTarget
    {
        QString host;
        int port = 0;
        QString standbyHost; // empty: none
        int standbyPort = 0;
        QString database;
        QString user;
        QString password;
        QString caFile; // empty: libpq's own default (~/.postgresql/root.crt)
        int connectTimeoutSeconds = 10;
    };
    // The nativeCode of an SqlError for a server that offered no TLS or could not prove itself.
    static constexpr char16_t kTlsFailure[] = u"tls";

    // Both throw SqlError when the database cannot be opened. An SQLite file must already exist.
    static Connection openSqlite(const QString& path);
    static Connection openPostgres(const PostgresTarget& target);

    bool isOpen() const;
    void close();
    Engine engine() const { return m_engine; }
    QSqlDatabase database() const;
    QString path() const; // the SQLite file, or empty

    // The server clock as a "YYYY-MM-DD HH:mm:ss" text column.
    QString nowExpression() const;
    // "SELECT … " + limitClause(n) for the first n rows.
    static QString limitClause(int rows) { return QStringLiteral(" LIMIT ") + QString::number(rows); }

    bool hasTable(const QString& table) const;
    // Whether a statement on table failed because the database has no such table. Asked after the
    // failure rather than before every read: a catalog question costs a fresh server connection
    // milliseconds. PostgreSQL says so in its error; an SQLite file is looked at.
    bool failedForMissingTable(const SqlError& error, const QString& table) const;

private:
    struct Handle;
    Connection(std::shared_ptr<Handle> handle, Engine engine);

    std::shared_ptr<Handle> m_handle;
    Engine m_engine = Engine::SQLite;
};
