#include "TestEnvironment.h"

#include "Clock.h"
#include "Database.h"
#include "Globals.h"
#include "Installer.h"
#include "MemberCheck.h"
#include "Paths.h"
#include "ProgramEnd.h"
#include "Query.h"
#include "ServerCatalog.h"
#include "ServerTrust.h"
#include "Settings.h"

#include <QDir>
#include <QFile>

using namespace Qt::StringLiterals;

MsgAnswer ScriptedMessages::show(const QString& text, MsgIcon icon, MsgButtons buttons, const QString& caption)
{
    m_shown.append({text, icon, buttons, caption});
    if (!m_answers.empty()) {
        const MsgAnswer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }
    return buttons == MsgButtons::YesNo || buttons == MsgButtons::YesNoCancel ? MsgAnswer::Yes : MsgAnswer::Ok;
}

WhenBusy::WhenBusy(QString caption, std::function<void()> act)
    : m_caption(std::move(caption))
    , m_act(std::move(act))
{
    SetBusyIndicator(this);
}

WhenBusy::~WhenBusy() { SetBusyIndicator(nullptr); }

void WhenBusy::showBusy(bool busy, const QString& caption)
{
    if (busy && m_act && caption.trimmed() == m_caption) {
        auto act = std::exchange(m_act, nullptr);
        act();
    }
}

TableAway::TableAway(Connection owner, QString table)
    : m_owner(std::move(owner))
    , m_table(std::move(table))
{
}

TableAway::~TableAway()
{
    if (m_away)
        Execute(m_owner, u"ALTER TABLE "_s + m_table + u"Away RENAME TO "_s + m_table);
}

void TableAway::away()
{
    Execute(m_owner, u"ALTER TABLE "_s + m_table + u" RENAME TO "_s + m_table + u"Away"_s);
    m_away = true;
}

std::optional<QString> ScriptedMessages::askPassword(const QString& text, const QString&)
{
    m_prompts.append(text);
    if (m_passwords.empty())
        return std::nullopt;
    const std::optional<QString> password = m_passwords.front();
    m_passwords.pop_front();
    return password;
}

bool RecordingLauncher::openUrl(const QString& address)
{
    urls.append(address);
    return true;
}

bool RecordingLauncher::openTextFile(const QString& path)
{
    textFiles.append(path);
    return true;
}

bool RecordingLauncher::startProgram(const QString& program, const QStringList& arguments)
{
    programs.append((QStringList {program} + arguments).join(u' '));
    return programsStart;
}

int RecordingLauncher::runProgram(const QString& program, const QStringList& arguments)
{
    programs.append((QStringList {program} + arguments).join(u' '));
    if (!programsStart)
        return -1;
    return runs ? runs(arguments) : 0;
}

namespace {
void resetProcessValues()
{
    gSystemConn.close();
    gUserConn.close();
    gServerConn.close();
    gUserID.clear();
    gUserPwd.clear();
    gUserName.clear();
    gUserEmail.clear();
    gUserJuminNo.clear();
    gUserLevel.clear();
    gLoginTime.clear();
    gSessionSecret.clear();
    gUserDbPath.clear();
    gLastDrawNo = gCurrentDrawNo = 0;
    gDialogResult.clear();
    gDialogText = {};
    gDialogNumber = {};
    gFormOpen.clear();
}
} // namespace

TestInstall::TestInstall(Kind kind)
{
    resetProcessValues();
    Clock::setFixed(QDateTime(QDate(2025, 12, 8), QTime(10, 0)));
    SetEndProgramHandler([](int code) { throw ProgramEnded {code}; });
    if (kind == Kind::Demo) {
        Installer::demo(m_dir.path(), false, Clock::today());
    } else {
        Installer::Options options;
        options.root = m_dir.path();
        // A server that is not there yet (PrepareServer makes it), so that no install reaches out to a
        // PostgreSQL server that happens to listen on this machine.
        options.server = QString::fromUtf16(Installer::kDemoServer);
        Installer::install(options);
    }
}

TestInstall::~TestInstall()
{
    resetProcessValues();
    SetEndProgramHandler({});
    Clock::reset();
}

QString TestInstall::path(const QString& relative) const { return QDir(m_dir.path()).filePath(relative); }

std::string BackendName(const ::testing::TestParamInfo<Backend>& info)
{
    return info.param == Backend::SQLite ? "SQLite" : "PostgreSQL";
}

Connection PostgresAdminConnection(const QString& database)
{
    return ServerCatalog::TestServerFromEnvironment().value_or(ServerCatalog::PostgresAdmin {}).connect(database);
}

void LogInOnServer(const QString& id)
{
    gSessionSecret.clear();
    gUserID = id;
    OpenServerConn();
    if (gServerConn.engine() != Connection::Engine::PostgreSQL)
        return;
    const MemberCheck::Result check = MemberCheck::Check(gServerConn, id, id);
    ASSERT_TRUE(check.passwordMatches) << id.toStdString();
    gSessionSecret = check.secret;
}

Connection ServerOwnerConnection(Backend backend)
{
    if (backend == Backend::PostgreSQL)
        return PostgresAdminConnection(QString::fromUtf16(kServerCatalog));
    return ConnectServer(ServerLocation::ofInstall());
}

Connection PublisherConnection(Backend backend)
{
    if (backend == Backend::SQLite)
        return ConnectServer(ServerLocation::ofInstall());
    return ServerTrust::ConnectAsPublisher(ServerLocation::ofInstall(), QString::fromUtf16(kTestPublisherPassword));
}

Connection SharedAccountConnection(const QString& host)
{
    ServerLocation where = ServerLocation::ofInstall();
    where.host = host;
    where.standbyHost.clear();
    return Connection::openPostgres(where.target(QString::fromUtf16(kServerUser), QString::fromUtf16(kServerPassword)));
}

bool PrepareServer(Backend backend, bool demo)
{
    const QDate today = Clock::today();
    if (backend == Backend::SQLite) {
        const QString file = InstallPaths::resolve(u"SERVER/VELTRA1.db"_s);
        QDir().mkpath(QFileInfo(file).absolutePath());
        ServerCatalog::createSqlite(file, demo, true, today);
        WriteIfo(QString(),
                 QString::fromUtf16(kInstallSection),
                 QString::fromUtf16(kServerKey),
                 u"sqlite:SERVER/VELTRA1.db"_s);
        return true;
    }
    const std::optional<ServerCatalog::PostgresAdmin> admin = ServerCatalog::TestServerFromEnvironment();
    if (!admin)
        return false;
    ServerCatalog::createPostgres(*admin, demo, true, today, QString::fromUtf16(kTestPublisherPassword));
    Installer::UseServer(admin->serverSetting(), admin->caFile);
    return true;
}

QString SqlValue(const Connection& connection, const QString& sql, const QVariantList& values)
{
    Query q(connection, sql);
    q.run(values);
    return q.next() ? q.raw().value(0).toString() : QString();
}

void WriteBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
}

QByteArray ReadBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
