#include "Database.h"

#include "Globals.h"
#include "IfoFiles.h"
#include "MessageService.h"
#include "Paths.h"
#include "ProgramEnd.h"
#include "Schema.h"
#include "ServerSession.h"
#include "UserDbUpgrade.h"

#include <QCoreApplication>

using namespace Qt::StringLiterals;

ServerLocation ServerLocation::parse(const QString& setting)
{
    ServerLocation location;
    const QString value = setting.trimmed();
    if (value.startsWith(u"sqlite:"_s, Qt::CaseInsensitive)) {
        location.standIn = true;
        location.file = InstallPaths::resolve(value.mid(7).trimmed());
        return location;
    }
    const qsizetype comma = value.lastIndexOf(u',');
    location.host = (comma < 0 ? value : value.left(comma)).trimmed();
    if (comma >= 0) {
        bool ok = false;
        const int port = value.mid(comma + 1).trimmed().toInt(&ok);
        if (ok && port > 0 && port < 65536)
            location.port = port;
    }
    if (location.host.isEmpty())
        location.host = u"127.0.0.1"_s;
    return location;
}

Connection::PostgresTarget ServerLocation::target(const QString& user, const QString& password) const
{
    Connection::PostgresTarget t;
    t.host = host;
    t.port = port;
    t.standbyHost = standbyHost;
    t.standbyPort = standbyPort;
    t.caFile = caFile;
    t.connectTimeoutSeconds = connectTimeoutSeconds;
    t.database = QString::fromUtf16(kServerCatalog);
    t.user = user;
    t.password = password;
    return t;
}

ServerLocation ServerLocation::ofInstall()
{
    ServerLocation location = parse(ServerSetting());
    if (location.standIn)
        return location;
    const QString standby = StandbySetting().trimmed();
    if (!standby.isEmpty() && !standby.startsWith(u"sqlite:"_s, Qt::CaseInsensitive)) {
        const ServerLocation second = parse(standby);
        location.standbyHost = second.host;
        location.standbyPort = second.port;
    }
    const QString ca = ServerCaSetting().trimmed();
    if (!ca.isEmpty())
        location.caFile = InstallPaths::resolve(ca);
    location.connectTimeoutSeconds = ConnectTimeoutSetting();
    return location;
}

namespace {

void checkTables(const Connection& connection, const QString& path, const std::vector<TableDef>& tables)
{
    const QString missing = Schema::missingTable(connection, tables);
    if (!missing.isEmpty())
        throw SqlError(u"데이터베이스 화일에 필요한 테이블("_s + missing + u")이 없습니다: "_s + path,
                       u"1"_s,
                       QString());
}

Connection openChecked(const QString& path, const std::vector<TableDef>& tables)
{
    Connection connection = Connection::openSqlite(path);
    checkTables(connection, path, tables);
    return connection;
}

// The three connections are process-wide values that outlive main(); they must let go of their
// databases while Qt SQL still exists, which is up to the end of the application object.
void closeAtExit()
{
    static const bool registered = [] {
        qAddPostRoutine([] {
            gServerConn.close();
            gUserConn.close();
            gSystemConn.close();
        });
        return true;
    }();
    (void)registered;
}

// Where gServerConn was opened to, to tell whether the install's settings still name that server.
QString& serverConnOpenedFor()
{
    static QString where;
    return where;
}

QString placeOf(const ServerLocation& l)
{
    return l.standIn ? l.file
                     : l.host + u',' + QString::number(l.port) + u',' + l.standbyHost + u','
            + QString::number(l.standbyPort) + u',' + l.caFile;
}

// A PostgreSQL connection that still answers, to the server the settings name, acting for whom it should
// (the member of the session, or nobody before the login) serves again as it is. A new one costs a TLS
// handshake and a login on the server, and a start opens the server connection several times over.
bool stillServes(const Connection& c, const ServerLocation& location)
{
    if (!c.isOpen() || c.engine() != Connection::Engine::PostgreSQL || location.standIn
        || serverConnOpenedFor() != placeOf(location))
        return false;
    try {
        const QString member = ServerSession::MemberOf(c);
        return gSessionSecret.isEmpty() ? member.isEmpty() : member.compare(gUserID, Qt::CaseInsensitive) == 0;
    } catch (const SqlError&) {
        return false; // dropped by the server: a new one is opened
    }
}

[[noreturn]] void endWithLocalError(const SqlError& error)
{
    ShowMessage(LocalDbErrorText(error));
    EndProgram();
}

} // namespace

QString LocalDbErrorText(const SqlError& error)
{
    const QString number = error.nativeCode().isEmpty() ? u"-1"_s : error.nativeCode();
    return u"(오류: "_s + number + u") "_s + error.message();
}

QString ServerErrorText()
{
    return u"(오류) [벨트라서버]와 연결에 실패하였습니다. 인터넷 연결을 확인하고 다시 시도하여 주십시오."_s;
}

QString ServerConnectErrorText(const SqlError& error)
{
    if (error.nativeCode() == QString::fromUtf16(Connection::kTlsFailure)) {
        return u"(오류) [벨트라서버]가 안전한 연결(TLS)과 서비스의 인증서로 자신을 증명하지 못하여 연결하지 "
               "않았습니다. 암호는 보내지 않았습니다. 서버 주소와 설치된 인증서(BIN)를 확인하여 주십시오."_s;
    }
    return ServerErrorText();
}

Connection OpenSystemDatabase(const QString& path) { return openChecked(path, Schema::systemTables()); }

Connection OpenUserDatabase(const QString& path)
{
    Connection connection = Connection::openSqlite(path);
    // A member's file made by an older version is brought up to date before it is checked.
    UpgradeUserDatabase(connection);
    checkTables(connection, path, Schema::userTables());
    return connection;
}

Connection ConnectServer(const ServerLocation& location)
{
    if (location.standIn)
        return openChecked(location.file, Schema::serverTables());
    Connection connection = Connection::openPostgres(
        location.target(QString::fromUtf16(kServerUser), QString::fromUtf16(kServerPassword)));
    // Whether the server still honours the secret is asked where a write needs it (ServerSession::Require).
    if (!gSessionSecret.isEmpty())
        ServerSession::Present(connection);
    return connection;
}

void OpenSystemDb()
{
    closeAtExit();
    try {
        gSystemConn = OpenSystemDatabase(InstallPaths::systemDb());
    } catch (const SqlError& error) {
        endWithLocalError(error);
    }
}

void OpenUserDb()
{
    closeAtExit();
    try {
        gUserConn = OpenUserDatabase(gUserDbPath);
    } catch (const SqlError& error) {
        endWithLocalError(error);
    }
}

void CloseUserDb() { gUserConn.close(); }

void OpenServerConn()
{
    closeAtExit();
    const ServerLocation location = ServerLocation::ofInstall();
    if (stillServes(gServerConn, location))
        return;
    // The old connection goes first, so that at no time two of them are open.
    gServerConn.close();
    try {
        gServerConn = ConnectServer(location);
        serverConnOpenedFor() = placeOf(location);
    } catch (const SqlError& error) {
        ShowMessage(ServerConnectErrorText(error));
        EndProgram();
    }
}
