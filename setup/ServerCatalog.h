#pragma once

#include "Connection.h"

#include <QDate>
#include <QString>

#include <optional>

// The server catalog: its tables, the account the programs log in with, and the rows they need.
namespace ServerCatalog {

struct PostgresAdmin
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 2707;
    QString user = QStringLiteral("postgres");
    QString password;

    // The install's server setting for this server: "host", or "host,port" off the usual port.
    QString serverSetting() const;
    // A login to one of its databases as this administrator.
    Connection::PostgresTarget target(const QString& database) const;
};

// The private server of the tests and benchmarks, as scripts/test-postgres.sh exports it
// (SURIBALL_TEST_PG host, SURIBALL_TEST_PG_PORT, _ADMIN, _PASSWORD); nothing when none is set up.
std::optional<PostgresAdmin> TestServerFromEnvironment();

// Tables and rows on an open connection. An existing catalog is refused unless force is set, which
// drops its tables first. today gives the change stamps of a fresh (not demo) catalog.
void fill(const Connection& connection, bool demo, bool force, const QDate& today);

// An SQLite file standing in for the server.
void createSqlite(const QString& file, bool demo, bool force, const QDate& today);

// The database VELTRA1 and the login user1 on a PostgreSQL server, as its administrator. user1 may read
// and change rows but cannot create, alter or drop anything.
void createPostgres(const PostgresAdmin& admin, bool demo, bool force, const QDate& today);

// The signed releases' table (Release1) on a catalog made before releases were signed, when it lacks it.
// The shared account may read it and nothing more: only the publisher writes releases. Safe to run again.
void addReleaseTable(const Connection& connection);

// Keeps the members' passwords and resident numbers from the shared account (see MemberCheck): clear
// passwords become hashes (once; hashed ones stay), and on PostgreSQL the check function is made and the
// shared account loses the Pwd and JuminNo1 columns of Member. Safe to run again.
void secureMembers(const Connection& connection);

// The same on an existing catalog, as its administrator or on the stand-in's file.
void secureMembersPostgres(const PostgresAdmin& admin);
void secureMembersSqlite(const QString& file);

} // namespace ServerCatalog
