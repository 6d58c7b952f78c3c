#pragma once

#include "Connection.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// The server catalog: its tables, the account the programs log in with, and the rows they need.
namespace ServerCatalog {

// A login to a PostgreSQL server with the rights to make catalogs and roles (a superuser), over TLS
// verified against caFile as every connection is.
struct PostgresAdmin
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 2707;
    QString user = QStringLiteral("postgres");
    QString password;
    QString caFile;

    // The install's server setting for this server: "host", or "host,port" off the usual port.
    QString serverSetting() const;
    // A login to one of its databases as this administrator.
    Connection::PostgresTarget target(const QString& database) const;
    // Throws SqlError.
    Connection connect(const QString& database) const;
};

// The private server of the tests and benchmarks, as scripts/test-postgres.sh exports it
// (SURIBALL_TEST_PG host, SURIBALL_TEST_PG_PORT, _ADMIN, _PASSWORD, _CA); nothing when none is set up.
std::optional<PostgresAdmin> TestServerFromEnvironment();

// Tables and rows on an open connection. An existing catalog is refused unless force is set, which
// drops its tables first. today gives the change stamps of a fresh (not demo) catalog. On PostgreSQL the
// catalog is then secured (ServerTrust::Apply) with the publisher's password, if one is given.
void fill(const Connection& connection,
          bool demo,
          bool force,
          const QDate& today,
          const QString& publisherPassword = QString());

// An SQLite file standing in for the server.
void createSqlite(const QString& file, bool demo, bool force, const QDate& today);

// The database VELTRA1 on a PostgreSQL server, as its administrator: the shared login user1, the
// catalog's owner role, the publisher's login (publisherPassword; empty keeps an existing one) and the
// rules of ServerTrust. user1 cannot create, alter or drop anything, and reads and writes only what the
// rules give the session it proved. Answers the libraries the server should load when it starts and does
// not (ServerTrust::LibrariesNotPreloaded).
QStringList createPostgres(const PostgresAdmin& admin,
                           bool demo,
                           bool force,
                           const QDate& today,
                           const QString& publisherPassword = QString());

// The signed releases' table (Release1) on a catalog made before releases were signed, when it lacks it;
// on PostgreSQL its rules come with secureMembers (the shared account reads it, the publisher writes it).
// Safe to run again.
void addReleaseTable(const Connection& connection);

// Keeps the members' passwords and resident numbers from the shared account (see MemberCheck): clear
// passwords become hashes (once; hashed ones stay). On PostgreSQL this is the whole of ServerTrust: the
// check function, the sessions and the row rules. Safe to run again, on a catalog made by an earlier
// version too.
void secureMembers(const Connection& connection, const QString& publisherPassword = QString());

// The same on an existing catalog, as its administrator or on the stand-in's file; the PostgreSQL one
// answers as createPostgres does.
QStringList secureMembersPostgres(const PostgresAdmin& admin, const QString& publisherPassword = QString());
void secureMembersSqlite(const QString& file);

} // namespace ServerCatalog
