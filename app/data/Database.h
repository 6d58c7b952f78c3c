#pragma once

#include "Connection.h"
#include "SqlError.h"

#include <QString>

// The server account. The Jet files' password has no counterpart: the local files are plain SQLite.
inline constexpr int kServerPort = 2707;
inline constexpr char16_t kServerCatalog[] = u"VELTRA1";
inline constexpr char16_t kServerUser[] = u"user1";
inline constexpr char16_t kServerPassword[] = u"kelp7wav";

// Where the server is, as the install's setting says: a host name (PostgreSQL on port 2707, or
// "host,port"), or "sqlite:" and a file (relative to the install root) standing in for the server.
// PostgreSQL may have a standby in a second setting of the same form, and its certificate authority in a
// third.
struct ServerLocation
{
    bool standIn = false;
    QString file; // absolute, for the stand-in
    QString host;
    int port = kServerPort;
    QString standbyHost; // empty: none
    int standbyPort = kServerPort;
    QString caFile; // absolute
    int connectTimeoutSeconds = 10;

    static ServerLocation parse(const QString& setting);
    // The install's settings: DATABASE, DATABASE2, SERVERCA and TIMEOUT of BIN/SYSTEM.IFO.
    static ServerLocation ofInstall();
    // The catalog on this PostgreSQL server (and its standby) for a login.
    Connection::PostgresTarget target(const QString& user, const QString& password) const;
};

// The three connections of the main program, gSystemConn, gUserConn and gServerConn. Each opening puts
// a new connection in place of the old one. A local file that cannot be opened, or a server out of
// reach, is reported and ends the program. A PostgreSQL connection that still answers and acts for the
// member of the session (or for nobody before the login) is kept rather than opened anew: each new one
// costs a TLS handshake and a login on the server.
void OpenSystemDb();
void OpenUserDb();
void CloseUserDb();
void OpenServerConn();

// The same without the message and the end, for the setup tool, the updater and tests: they throw
// SqlError. A local file must hold every table the kind of database needs.
Connection OpenSystemDatabase(const QString& path);
Connection OpenUserDatabase(const QString& path);
// On PostgreSQL, a connection opened after the login presents the member's session (ServerSession), so
// that every connection of the program acts for the member.
Connection ConnectServer(const ServerLocation& location);

// "(오류: " + number + ") " + description, as a local database failure is shown.
QString LocalDbErrorText(const SqlError& error);
QString ServerErrorText();
// Why a connection to the server failed, as the member is told: the server message, or that the server
// did not prove itself (no TLS offered, a certificate not from the service or for another host).
QString ServerConnectErrorText(const SqlError& error);
