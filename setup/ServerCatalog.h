#pragma once

#include "Connection.h"

#include <QDate>
#include <QString>

// The server catalog: its tables, the account the programs log in with, and the rows they need.
namespace ServerCatalog {

struct PostgresAdmin
{
    QString host = QStringLiteral("127.0.0.1");
    int port = 2707;
    QString user = QStringLiteral("postgres");
    QString password;
};

// Tables and rows on an open connection. An existing catalog is refused unless force is set, which
// drops its tables first. today gives the change stamps of a fresh (not demo) catalog.
void fill(const Connection& connection, bool demo, bool force, const QDate& today);

// An SQLite file standing in for the server.
void createSqlite(const QString& file, bool demo, bool force, const QDate& today);

// The database VELTRA1 and the login user1 on a PostgreSQL server, as its administrator. user1 may read
// and change rows but cannot create, alter or drop anything.
void createPostgres(const PostgresAdmin& admin, bool demo, bool force, const QDate& today);

} // namespace ServerCatalog
