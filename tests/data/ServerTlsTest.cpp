// Connections to PostgreSQL are encrypted and the server proven before anything is sent: a server that
// offers no TLS, one whose certificate names another host or comes from another authority is refused
// with its own message. A standby named beside the server is taken when the server does not answer.
#include "Database.h"
#include "Globals.h"
#include "IfoFiles.h"
#include "Installer.h"
#include "Paths.h"
#include "ServerCatalog.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// A server that answers the client's request for TLS with "no" and records every byte it is sent.
class ServerWithoutTls
{
public:
    ServerWithoutTls()
    {
        m_socket = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (::bind(m_socket, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(m_socket, 1) != 0
            || ::getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            ADD_FAILURE() << "cannot listen";
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] {
            const int client = ::accept(m_socket, nullptr, nullptr);
            if (client < 0)
                return;
            timeval limit {10, 0};
            ::setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
            char buffer[4096];
            ssize_t n = ::recv(client, buffer, 8, MSG_WAITALL);
            if (n > 0)
                m_received.append(buffer, int(n));
            ::send(client, "N", 1, 0);
            while ((n = ::recv(client, buffer, sizeof buffer, 0)) > 0)
                m_received.append(buffer, int(n));
            ::close(client);
        });
    }
    ~ServerWithoutTls()
    {
        ::shutdown(m_socket, SHUT_RDWR);
        ::close(m_socket);
        if (m_thread.joinable())
            m_thread.join();
    }
    int port() const { return m_port; }
    QByteArray received()
    {
        if (m_thread.joinable())
            m_thread.join();
        return m_received;
    }

private:
    int m_socket = -1;
    int m_port = 0;
    std::thread m_thread;
    QByteArray m_received;
};

int portWhereNothingListens()
{
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost);
    const int port = probe.serverPort();
    probe.close();
    return port;
}

void setServer(const QString& key, const QString& value)
{
    WriteIfo(QString(), QString::fromUtf16(kInstallSection), key, value);
}

class ServerTls : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SURIBALL_REQUIRE_SERVER(Backend::PostgreSQL, false);
        port = QString::number(ServerCatalog::TestServerFromEnvironment()->port);
    }
    void expectRefusedAsUnproven()
    {
        install.messages.clear();
        EXPECT_THROW(OpenServerConn(), ProgramEnded);
        EXPECT_FALSE(gServerConn.isOpen());
        EXPECT_EQ(install.messages.last(), ServerConnectErrorText(SqlError({}, u"tls"_s, {})));
        EXPECT_NE(install.messages.last(), ServerErrorText());
    }
    TestInstall install;
    QString port;
};

} // namespace

TEST_F(ServerTls, AServerOfferingNoTlsIsRefusedBeforeTheLoginIsSent)
{
    ServerWithoutTls plain;
    setServer(QString::fromUtf16(kServerKey), u"127.0.0.1,"_s + QString::number(plain.port()));
    expectRefusedAsUnproven();
    // Only the request for TLS (length 8, code 80877103) reached it: no user name, no password.
    EXPECT_EQ(plain.received(), QByteArray::fromHex("0000000804d2162f"));
}

TEST_F(ServerTls, ACertificateForAnotherHostOrFromAnotherAuthorityIsRefused)
{
    OpenServerConn();
    EXPECT_TRUE(gServerConn.isOpen()); // the test server, its address, its authority
    gServerConn.close();

    // The certificate names 127.0.0.1 and ::1, not this name of the same machine.
    setServer(QString::fromUtf16(kServerKey), u"localhost,"_s + port);
    expectRefusedAsUnproven();

    // The right host, but the install holds another authority: the server's own certificate is none.
    setServer(QString::fromUtf16(kServerKey), u"127.0.0.1,"_s + port);
    const QString other = QDir(qEnvironmentVariable("SURIBALL_TEST_PG_DIR")).filePath(u"server.crt"_s);
    ASSERT_TRUE(QFile::exists(other));
    setServer(QString::fromUtf16(kServerCaKey), other);
    expectRefusedAsUnproven();

    // And an install without any.
    setServer(QString::fromUtf16(kServerCaKey), u"BIN/NONE.PEM"_s);
    expectRefusedAsUnproven();
}

TEST_F(ServerTls, TheStandbyIsTakenWhenTheServerDoesNotAnswer)
{
    const QString dead = u"127.0.0.1,"_s + QString::number(portWhereNothingListens());
    setServer(QString::fromUtf16(kServerKey), dead);
    setServer(QString::fromUtf16(kStandbyKey), u"::1,"_s + port);
    OpenServerConn();
    ASSERT_TRUE(gServerConn.isOpen());
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT host(inet_server_addr())"_s), u"::1"_s);

    // Either way round.
    setServer(QString::fromUtf16(kServerKey), u"::1,"_s + port);
    setServer(QString::fromUtf16(kStandbyKey), dead);
    OpenServerConn();
    EXPECT_TRUE(gServerConn.isOpen());

    // Both gone: the server message, as for one.
    setServer(QString::fromUtf16(kServerKey), dead);
    EXPECT_THROW(OpenServerConn(), ProgramEnded);
    EXPECT_EQ(install.messages.last(), ServerErrorText());
}

TEST(ServerLocationSetting, TheInstallNamesAStandbyAndTheServiceAuthority)
{
    TestInstall install;
    setServer(QString::fromUtf16(kServerKey), u"db1.example.com"_s);
    setServer(QString::fromUtf16(kStandbyKey), u" db2.example.com , 5433 "_s);
    setServer(QString::fromUtf16(kServerCaKey), QString::fromUtf16(Installer::kServerCaFile));
    const ServerLocation location = ServerLocation::ofInstall();
    EXPECT_EQ(location.host, u"db1.example.com"_s);
    EXPECT_EQ(location.port, 2707);
    EXPECT_EQ(location.standbyHost, u"db2.example.com"_s);
    EXPECT_EQ(location.standbyPort, 5433);
    EXPECT_EQ(location.caFile, install.path(u"BIN/SERVERCA.PEM"_s));
    // A stand-in has neither.
    setServer(QString::fromUtf16(kServerKey), u"sqlite:SERVER/VELTRA1.db"_s);
    EXPECT_TRUE(ServerLocation::ofInstall().standbyHost.isEmpty());
}
