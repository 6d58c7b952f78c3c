#include "Database.h"

#include "Globals.h"
#include "Paths.h"
#include "Query.h"
#include "Settings.h"
#include "TestEnvironment.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QTcpServer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

int openConnections()
{
    int open = 0;
    for (const QString& name : QSqlDatabase::connectionNames()) {
        if (QSqlDatabase::database(name, false).isOpen())
            ++open;
    }
    return open;
}

} // namespace

class LocalDatabases : public ::testing::Test
{
protected:
    // Opens the system database and expects the local-database message and the end of the program.
    QString failingOpen()
    {
        install.messages.clear();
        EXPECT_THROW(OpenSystemDb(), ProgramEnded);
        EXPECT_EQ(install.messages.shown().size(), 1);
        if (install.messages.shown().isEmpty())
            return QString();
        EXPECT_EQ(install.messages.shown()[0].icon, MsgIcon::None);
        EXPECT_EQ(install.messages.shown()[0].buttons, MsgButtons::Ok);
        return install.messages.last();
    }

    TestInstall install;
};

TEST_F(LocalDatabases, OpensTheInstalledFiles)
{
    OpenSystemDb();
    EXPECT_TRUE(gSystemConn.isOpen());
    gUserDbPath = InstallPaths::userDbTemplate();
    OpenUserDb();
    EXPECT_TRUE(gUserConn.isOpen());
    CloseUserDb();
    EXPECT_FALSE(gUserConn.isOpen());
    EXPECT_TRUE(install.messages.shown().isEmpty());
}

TEST_F(LocalDatabases, MissingFileEndsTheProgramWithoutCreatingOne)
{
    QFile::remove(InstallPaths::systemDb());
    EXPECT_TRUE(failingOpen().startsWith(u"(오류: 14) "_s));
    EXPECT_FALSE(QFile::exists(InstallPaths::systemDb()));

    gUserDbPath = InstallPaths::userDb(u"nobody"_s);
    EXPECT_THROW(OpenUserDb(), ProgramEnded);
    EXPECT_TRUE(install.messages.last().startsWith(u"(오류: 14) "_s));
    EXPECT_FALSE(QFile::exists(gUserDbPath));
}

TEST_F(LocalDatabases, ForeignEmptyAndTruncatedFilesAreRefused)
{
    const QString path = InstallPaths::systemDb();
    const QByteArray good = ReadBytes(path);

    // A real Jet file begins like this; SQLite must not take it.
    WriteBytes(path, QByteArray("\x00\x01\x00\x00Standard Jet DB\x00", 19) + QByteArray(4096, '\x11'));
    EXPECT_TRUE(failingOpen().startsWith(u"(오류: 26) "_s));

    WriteBytes(path, QByteArray());
    EXPECT_TRUE(failingOpen().contains(u"Info1"_s));

    WriteBytes(path, good.left(good.size() / 2));
    EXPECT_TRUE(failingOpen().startsWith(u"(오류: 11) "_s));

    // The user template is not a system database.
    QFile::remove(path);
    QFile::copy(InstallPaths::userDbTemplate(), path);
    EXPECT_TRUE(failingOpen().contains(u"필요한 테이블"_s));

    WriteBytes(path, good);
    OpenSystemDb();
    EXPECT_TRUE(gSystemConn.isOpen());
}

TEST_F(LocalDatabases, ReopeningReplacesTheConnection)
{
    OpenSystemDb();
    const int before = openConnections();
    OpenSystemDb();
    OpenSystemDb();
    EXPECT_EQ(openConnections(), before);
}

class ServerConnection : public ::testing::TestWithParam<Backend>
{
protected:
    TestInstall install;
};

TEST_P(ServerConnection, OpeningTwiceLeavesOneConnection)
{
    SURIBALL_REQUIRE_SERVER(GetParam(), false);
    const int before = openConnections();
    OpenServerConn();
    OpenServerConn();
    EXPECT_EQ(openConnections(), before + 1);
    EXPECT_TRUE(gServerConn.isOpen());
    EXPECT_EQ(gServerConn.engine(),
              GetParam() == Backend::SQLite ? Connection::Engine::SQLite : Connection::Engine::PostgreSQL);
}

TEST_P(ServerConnection, TheServerClockReadsAsText)
{
    SURIBALL_REQUIRE_SERVER(GetParam(), false);
    OpenServerConn();
    Query q(gServerConn, u"SELECT "_s + gServerConn.nowExpression() + u" AS Date1"_s);
    q.run();
    ASSERT_TRUE(q.next());
    const QDateTime now = QDateTime::fromString(q.text(u"Date1"_s), u"yyyy-MM-dd HH:mm:ss"_s);
    EXPECT_TRUE(now.isValid()) << q.text(u"Date1"_s).toStdString();
    EXPECT_LT(qAbs(now.secsTo(QDateTime::currentDateTime())), 120);
}

INSTANTIATE_TEST_SUITE_P(Servers,
                         ServerConnection,
                         ::testing::Values(Backend::SQLite, Backend::PostgreSQL),
                         BackendName);

TEST(ServerOutOfReach, ReportsAndEndsWithinBoundedTime)
{
    TestInstall install;
    // A port where nothing listens: the refusal comes at once.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
    const quint16 port = probe.serverPort();
    probe.close();
    WriteIfo(QString(), u"SERVER"_s, u"DATABASE"_s, u"127.0.0.1,"_s + QString::number(port));
    QElapsedTimer timer;
    timer.start();
    EXPECT_THROW(OpenServerConn(), ProgramEnded);
    EXPECT_LT(timer.elapsed(), 15000);
    EXPECT_EQ(install.messages.last(), ServerErrorText());
    EXPECT_FALSE(gServerConn.isOpen());

    // A server that accepts but never answers is given up after the install's connect timeout.
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
    WriteIfo(QString(), u"SERVER"_s, u"DATABASE"_s, u"127.0.0.1,"_s + QString::number(silent.serverPort()));
    WriteIfo(QString(), u"SERVER"_s, u"TIMEOUT"_s, u"2"_s);
    timer.restart();
    EXPECT_THROW(OpenServerConn(), ProgramEnded);
    EXPECT_GE(timer.elapsed(), 1900);
    EXPECT_LT(timer.elapsed(), 9000);

    // A stand-in file that is not there counts as a server out of reach.
    WriteIfo(QString(), u"SERVER"_s, u"DATABASE"_s, u"sqlite:SERVER/none.db"_s);
    EXPECT_THROW(OpenServerConn(), ProgramEnded);
    EXPECT_EQ(install.messages.last(), ServerErrorText());
}

TEST(ServerLocationSetting, ParsesHostsPortsAndStandIns)
{
    TestInstall install;
    ServerLocation a = ServerLocation::parse(u"db.example.com"_s);
    EXPECT_FALSE(a.standIn);
    EXPECT_EQ(a.host, u"db.example.com"_s);
    EXPECT_EQ(a.port, 2707);
    ServerLocation b = ServerLocation::parse(u" 10.1.2.3 , 5432 "_s);
    EXPECT_EQ(b.host, u"10.1.2.3"_s);
    EXPECT_EQ(b.port, 5432);
    EXPECT_EQ(ServerLocation::parse(u"h,notaport"_s).port, 2707);
    ServerLocation c = ServerLocation::parse(u"SQLITE:SERVER/VELTRA1.db"_s);
    EXPECT_TRUE(c.standIn);
    EXPECT_EQ(c.file, install.path(u"SERVER/VELTRA1.db"_s));
    EXPECT_EQ(ServerLocation::parse(QString()).host, u"127.0.0.1"_s);
}
