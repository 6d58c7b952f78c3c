// The member's session on PostgreSQL as the program lives with it: the lock-out after wrong passwords
// (counted whatever the caller does with its transaction, and when guessed at once), secrets the server
// refuses, IDs that find nobody, and a connection lost after the login.
#include "Database.h"
#include "Globals.h"
#include "IfoFiles.h"
#include "LoginService.h"
#include "MemberCheck.h"
#include "ProtocolStatement.h"
#include "Query.h"
#include "ServerCatalog.h"
#include "ServerSession.h"
#include "TestEnvironment.h"
#include "Transaction.h"

#include <QSqlDriver>

#include <gtest/gtest.h>

#include <atomic>
#include <libpq-fe.h>
#include <thread>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

class Session : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SURIBALL_REQUIRE_SERVER(Backend::PostgreSQL, true);
        OpenSystemDb();
        owner = ServerOwnerConnection(Backend::PostgreSQL);
    }

    LoginService::Result login(const QString& id, const QString& password)
    {
        install.messages.clear();
        return LoginService().login(id, password, false);
    }
    // The install reaches the server at another of its addresses, as a member elsewhere would.
    static void reachServerAt(const QString& host)
    {
        const QString port = QString::number(ServerCatalog::TestServerFromEnvironment()->port);
        WriteIfo(QString(), QString::fromUtf16(kInstallSection), QString::fromUtf16(kServerKey), host + u',' + port);
    }
    QString failures(const QString& id) const
    {
        return SqlValue(owner, u"SELECT coalesce(sum(failures), 0) FROM login_attempt WHERE id1 = ?"_s, {id});
    }
    static MemberCheck::Result check(const Connection& c, const QString& id, const QString& password)
    {
        return MemberCheck::Check(c, id, password);
    }

    TestInstall install {TestInstall::Kind::Demo};
    Connection owner;
};

PGconn* handleOf(const Connection& c)
{
    return *static_cast<PGconn* const*>(c.database().driver()->handle().constData());
}

// A wrong guess sent in the extended protocol: the login's answer is flushed to the caller, then a
// statement of the same implicit transaction fails before its Sync, which rolls the whole of it back.
void guessInAPipelineThatFails(const Connection& c)
{
    PGconn* conn = handleOf(c);
    ASSERT_EQ(PQenterPipelineMode(conn), 1);
    const char* values[] = {"player", "wrong"};
    ASSERT_EQ(
        PQsendQueryParams(conn, "SELECT Match1 FROM member_login($1, $2)", 2, nullptr, values, nullptr, nullptr, 0),
        1);
    ASSERT_EQ(PQsendFlushRequest(conn), 1);
    ASSERT_EQ(PQflush(conn), 0);
    PGresult* answer = PQgetResult(conn);
    ASSERT_EQ(PQresultStatus(answer), PGRES_TUPLES_OK);
    EXPECT_EQ(QByteArray(PQgetvalue(answer, 0, 0)), "f");
    PQclear(answer);
    ASSERT_EQ(PQgetResult(conn), nullptr);
    ASSERT_EQ(PQsendQueryParams(conn, "SELECT 1 / 0", 0, nullptr, nullptr, nullptr, nullptr, 0), 1);
    ASSERT_EQ(PQpipelineSync(conn), 1);
    bool failed = false;
    for (;;) {
        PGresult* r = PQgetResult(conn);
        if (!r)
            continue;
        const ExecStatusType status = PQresultStatus(r);
        failed = failed || status == PGRES_FATAL_ERROR;
        PQclear(r);
        if (status == PGRES_PIPELINE_SYNC)
            break;
    }
    EXPECT_TRUE(failed);
    ASSERT_EQ(PQexitPipelineMode(conn), 1);
}

} // namespace

TEST_F(Session, FiveWrongPasswordsShutTheIdOutFromThatAddressOnlyForAWhile)
{
    // Four wrong and then the right one: the count starts again.
    for (int i = 0; i < 4; ++i)
        ASSERT_EQ(login(u"player"_s, u"wrong"_s).outcome, LoginService::Outcome::Refused);
    ASSERT_EQ(login(u"player"_s, u"player"_s).outcome, LoginService::Outcome::LoggedIn);
    EXPECT_EQ(failures(u"player"_s), u"0"_s);

    for (int i = 0; i < 5; ++i) {
        ASSERT_EQ(login(u"player"_s, u"wrong"_s).outcome, LoginService::Outcome::Refused);
        EXPECT_EQ(install.messages.last(), u"암호가 틀렸습니다."_s);
    }
    const LoginService::Result locked = login(u"player"_s, u"player"_s);
    EXPECT_EQ(locked.outcome, LoginService::Outcome::Refused);
    EXPECT_EQ(locked.focus, LoginService::Focus::Password);
    EXPECT_EQ(install.messages.last(), u"비밀번호를 5회 잘못 입력하여 15분 동안 로그인할 수 없습니다."_s);
    EXPECT_TRUE(gSessionSecret.isEmpty());
    // Another member from the same address, and the same member from elsewhere, are not held up.
    EXPECT_EQ(login(u"shop7"_s, u"shop7"_s).outcome, LoginService::Outcome::LoggedIn);
    reachServerAt(u"::1"_s);
    EXPECT_EQ(login(u"player"_s, u"player"_s).outcome, LoginService::Outcome::LoggedIn)
        << install.messages.last().toStdString();
    EXPECT_FALSE(gSessionSecret.isEmpty());

    reachServerAt(u"127.0.0.1"_s);
    EXPECT_EQ(login(u"player"_s, u"player"_s).outcome, LoginService::Outcome::Refused);
    // Fifteen minutes later.
    Execute(owner,
            u"UPDATE login_attempt SET window_start = window_start - interval '16 minutes', "
            "last_failure = last_failure - interval '16 minutes'"_s);
    EXPECT_EQ(login(u"player"_s, u"player"_s).outcome, LoginService::Outcome::LoggedIn);
}

TEST_F(Session, AGuessCountsWhateverTheCallerDoesWithItsTransaction)
{
    const Connection c = SharedAccountConnection();
    for (int i = 0; i < 2; ++i) {
        Transaction rolledBack(c);
        EXPECT_FALSE(check(c, u"player"_s, u"wrong"_s).passwordMatches);
    }
    for (int i = 0; i < 2; ++i) {
        Execute(c, u"BEGIN"_s);
        Execute(c, u"SAVEPOINT guess"_s);
        EXPECT_FALSE(check(c, u"player"_s, u"wrong"_s).passwordMatches);
        Execute(c, u"ROLLBACK TO SAVEPOINT guess"_s);
        Execute(c, u"COMMIT"_s);
    }
    guessInAPipelineThatFails(c);
    EXPECT_EQ(failures(u"player"_s), u"5"_s);
    // A transaction that keeps one view of the data from its start would not see the counts: refused.
    Execute(c, u"BEGIN ISOLATION LEVEL REPEATABLE READ"_s);
    EXPECT_THROW(check(c, u"player"_s, u"player"_s), SqlError);
    Execute(c, u"ROLLBACK"_s);
    const MemberCheck::Result right = check(c, u"player"_s, u"player"_s);
    EXPECT_TRUE(right.locked);
    EXPECT_FALSE(right.passwordMatches);
    EXPECT_TRUE(right.secret.isEmpty());
    EXPECT_TRUE(right.member.juminNo.isEmpty());
}

TEST_F(Session, TenGuessesAtOnceAreCountedOneAfterAnother)
{
    std::atomic<int> ready {0};
    std::atomic<int> checked {0};
    std::atomic<int> locked {0};
    std::vector<std::thread> guessers;
    for (int i = 0; i < 10; ++i) {
        guessers.emplace_back([&] {
            const Connection c = SharedAccountConnection();
            ++ready;
            while (ready < 10)
                std::this_thread::yield();
            const MemberCheck::Result r = MemberCheck::Check(c, u"shop7"_s, u"guess"_s);
            (r.locked ? locked : checked)++;
        });
    }
    for (std::thread& t : guessers)
        t.join();
    EXPECT_EQ(checked, 5);
    EXPECT_EQ(locked, 5);
    EXPECT_EQ(failures(u"shop7"_s), u"5"_s);
    EXPECT_TRUE(check(SharedAccountConnection(), u"shop7"_s, u"shop7"_s).locked);
}

TEST_F(Session, AnOlderHashIsRaisedToCostTenAtTheNextLogin)
{
    Execute(owner, u"UPDATE Member SET Pwd = crypt('player', gen_salt('bf', 8)) WHERE ID1 = 'player'"_s);
    const Connection c = SharedAccountConnection();
    EXPECT_FALSE(check(c, u"player"_s, u"wrong"_s).passwordMatches);
    EXPECT_TRUE(SqlValue(owner, u"SELECT Pwd FROM Member WHERE ID1 = 'player'"_s).startsWith(u"$2a$08$"_s));
    EXPECT_TRUE(check(c, u"player"_s, u"player"_s).passwordMatches);
    EXPECT_TRUE(SqlValue(owner, u"SELECT Pwd FROM Member WHERE ID1 = 'player'"_s).startsWith(u"$2a$10$"_s));
    EXPECT_TRUE(check(c, u"player"_s, u"player"_s).passwordMatches);
}

TEST_F(Session, IdsThatAreNoMembersIdFindNobodyAndCountNothing)
{
    const Connection c = SharedAccountConnection();
    // Letter case is no part of an ID: the member is found and the right password takes.
    const MemberCheck::Result capitals = check(c, u"PLAYER"_s, u"player"_s);
    EXPECT_TRUE(capitals.passwordMatches);
    EXPECT_EQ(capitals.member.id, u"player"_s);
    for (const QString& id : {u" player"_s,
                              u"player "_s,
                              u"pla'yer"_s,
                              u"player' OR '1'='1"_s,
                              QString(100, u'a'),
                              QString(101, u'p'),
                              QString(10000, u'p'),
                              QString()}) {
        const MemberCheck::Result r = check(c, id, u"player"_s);
        EXPECT_FALSE(r.found) << id.left(20).toStdString();
        EXPECT_TRUE(r.secret.isEmpty());
    }
    EXPECT_EQ(SqlValue(owner, u"SELECT count(*) FROM login_attempt"_s), u"0"_s);
    EXPECT_EQ(login(QString(100, u'a'), u"x"_s).outcome, LoginService::Outcome::Refused);
    EXPECT_EQ(install.messages.last(), u"해당 아이디의 회원을 찾을수 없습니다."_s);
}

TEST_F(Session, SecretsTheServerDoesNotHonourBindNothingAndWriteNothing)
{
    ASSERT_EQ(login(u"player"_s, u"player"_s).outcome, LoginService::Outcome::LoggedIn);
    const QString players = gSessionSecret;
    ASSERT_EQ(login(u"shop7"_s, u"shop7"_s).outcome, LoginService::Outcome::LoggedIn);
    const QString shops = gSessionSecret;
    const QString coupons = SqlValue(owner, u"SELECT string_agg(Coupon1::text, '|') FROM Coupon1"_s);
    const Connection c = SharedAccountConnection();
    auto present = [&](const QString& secret) {
        gSessionSecret = secret;
        const ServerSession::Presented presented = ServerSession::Present(c);
        EXPECT_EQ(Execute(c, u"UPDATE Coupon1 SET Title1 = 'x' WHERE ID1 = 'shop7'"_s), 0);
        EXPECT_TRUE(ServerSession::MemberOf(c).isEmpty());
        return presented;
    };
    EXPECT_EQ(present(QString()), ServerSession::Presented::Refused);
    EXPECT_EQ(present(QString(10000, u'a')), ServerSession::Presented::Refused);
    EXPECT_EQ(present(QString(64, u'f')), ServerSession::Presented::Refused);
    EXPECT_EQ(present(players), ServerSession::Presented::Refused); // another member's, for shop7
    Execute(owner, u"UPDATE member_secret SET expires = now() - interval '1 second' WHERE member_id = 'shop7'"_s);
    EXPECT_EQ(present(shops), ServerSession::Presented::Expired);
    EXPECT_EQ(SqlValue(owner, u"SELECT string_agg(Coupon1::text, '|') FROM Coupon1"_s), coupons);

    // A good secret presented twice binds once and again.
    ASSERT_EQ(login(u"shop7"_s, u"shop7"_s).outcome, LoginService::Outcome::LoggedIn);
    EXPECT_EQ(ServerSession::Present(c), ServerSession::Presented::Bound);
    EXPECT_EQ(ServerSession::Present(c), ServerSession::Presented::Bound);
    EXPECT_EQ(ServerSession::MemberOf(c), u"shop7"_s);
}

TEST_F(Session, AConnectionLostAfterTheLoginIsOpenedAgainWithTheSecretOrSaysWhyNot)
{
    LogInOnServer(u"chief"_s);
    auto dropSharedConnections = [&] {
        Query(owner, u"SELECT pg_terminate_backend(pid) FROM pg_stat_activity WHERE usename = 'user1'"_s).run();
    };
    dropSharedConnections();
    ServerSession::Require(gServerConn);
    EXPECT_EQ(ServerSession::MemberOf(gServerConn), u"chief"_s);
    EXPECT_TRUE(install.messages.passwordPrompts().isEmpty());

    // The server forgot every session (restarted): the password is asked for, and a cancel says why.
    Execute(owner, u"DELETE FROM member_secret"_s);
    dropSharedConnections();
    try {
        ServerSession::Require(gServerConn);
        ADD_FAILURE() << "a session the server no longer knows was taken";
    } catch (const SqlError& error) {
        EXPECT_TRUE(error.message().startsWith(u"서버가 이 로그인 세션을 더 이상 알지 못합니다."_s))
            << error.message().toStdString();
    }
    ASSERT_EQ(install.messages.passwordPrompts().size(), 1);
    install.messages.typePassword(u"chief"_s);
    ServerSession::Require(gServerConn);
    EXPECT_EQ(ServerSession::MemberOf(gServerConn), u"chief"_s);
    // The new secret carries the next connections.
    OpenServerConn();
    EXPECT_EQ(ServerSession::MemberOf(gServerConn), u"chief"_s);
}
