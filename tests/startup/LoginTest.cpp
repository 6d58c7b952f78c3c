#include "Database.h"
#include "Globals.h"
#include "LoginService.h"
#include "MemberCheck.h"
#include "Paths.h"
#include "Query.h"
#include "ServerCatalog.h"
#include "Settings.h"
#include "TestEnvironment.h"
#include "Transaction.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
QString memberValue(const QString& column, const QString& id)
{
    OpenServerConn();
    Query q(gServerConn, u"SELECT "_s + column + u" FROM Member WHERE ID1 = ?"_s);
    q.run({id});
    return q.next() ? q.text(column) : QString();
}

QString owner(const QString& path)
{
    const Connection c = OpenUserDatabase(path);
    Query q(c, u"SELECT Value1 FROM MyInfo1 WHERE Name1 = '아이디'"_s);
    q.run();
    return q.next() ? q.text(u"Value1"_s) : QString();
}
} // namespace

class Login : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        SURIBALL_REQUIRE_SERVER(GetParam(), true);
        OpenSystemDb();
    }
    LoginService::Result login(const QString& id, const QString& pwd, bool remember = false)
    {
        return LoginService().login(id, pwd, remember);
    }
    TestInstall install;
};

TEST_P(Login, MemberLogsInWithTrimmedLowerCaseIdAndGetsHisOwnDatabase)
{
    const auto result = login(u"  PLAYER "_s, u" player "_s, true);
    ASSERT_EQ(result.outcome, LoginService::Outcome::LoggedIn);
    EXPECT_EQ(gUserID, u"player"_s);
    EXPECT_EQ(gUserName, u"김한결"_s);
    EXPECT_EQ(gUserLevel, u"1"_s);
    EXPECT_EQ(gDialogResult, u"정상"_s);
    EXPECT_EQ(gDialogText[1], u"회원"_s);
    EXPECT_EQ(gUserDbPath, InstallPaths::userDb(u"player"_s));
    EXPECT_TRUE(QFile::exists(gUserDbPath));
    EXPECT_FALSE(QFile::exists(gUserDbPath + u".new"_s));
    EXPECT_EQ(owner(gUserDbPath), u"player"_s);
    EXPECT_FALSE(gUserConn.isOpen()); // the synchronisation opens it again
    EXPECT_TRUE(install.messages.shown().isEmpty());

    // The login time comes from the server's clock and is recorded there.
    EXPECT_TRUE(QDateTime::fromString(gLoginTime, u"yyyy-MM-dd HH:mm:ss"_s).isValid()) << gLoginTime.toStdString();
    EXPECT_EQ(memberValue(u"Login2"_s, u"player"_s), gLoginTime);
    EXPECT_EQ(ReadIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s), u"player"_s);

    // Next time without "아이디 저장".
    ASSERT_EQ(login(u"player"_s, u"player"_s, false).outcome, LoginService::Outcome::LoggedIn);
    EXPECT_EQ(ReadIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s), u"NO"_s);
}

TEST_P(Login, RefusalsKeepTheFormOpenWithTheirMessages)
{
    auto expectRefused = [&](const QString& id, const QString& pwd, LoginService::Focus focus, const QString& text) {
        install.messages.clear();
        const auto result = login(id, pwd);
        EXPECT_EQ(result.outcome, LoginService::Outcome::Refused) << id.toStdString();
        EXPECT_EQ(result.focus, focus) << id.toStdString();
        ASSERT_EQ(install.messages.shown().size(), 1) << id.toStdString();
        EXPECT_EQ(install.messages.last(), text);
        EXPECT_EQ(install.messages.shown()[0].icon, MsgIcon::Critical);
    };
    expectRefused(u"nobody"_s, u"x"_s, LoginService::Focus::Id, u"해당 아이디의 회원을 찾을수 없습니다."_s);
    expectRefused(u"player"_s, u"PLAYER"_s, LoginService::Focus::Password, u"암호가 틀렸습니다."_s);
    expectRefused(u"gone"_s,
                  u"gone"_s,
                  LoginService::Focus::Id,
                  u"gone 회원은 탈퇴(강퇴) 처리된 아이디입니다. 재가입을 불허합니다."_s);
    // A quote in the ID is only text: no member has it.
    expectRefused(u"x' OR '1'='1"_s, u"x"_s, LoginService::Focus::Id, u"해당 아이디의 회원을 찾을수 없습니다."_s);
    EXPECT_NE(gDialogResult, u"정상"_s);
    EXPECT_FALSE(QFile::exists(InstallPaths::userDb(u"gone"_s)));
}

TEST_P(Login, AnotherMembersFileIsRefused)
{
    // player's file copied onto shop7's name, as if brought from another computer.
    ASSERT_EQ(login(u"player"_s, u"player"_s).outcome, LoginService::Outcome::LoggedIn);
    QFile::copy(InstallPaths::userDb(u"player"_s), InstallPaths::userDb(u"shop7"_s));
    install.messages.clear();
    EXPECT_EQ(login(u"shop7"_s, u"shop7"_s).outcome, LoginService::Outcome::Refused);
    EXPECT_EQ(install.messages.last(),
              InstallPaths::userDb(u"shop7"_s) + u"자료는 shop7회원님의 자료가 아니므로 사용이 제한됩니다."_s);

    // An empty owner record is refused too.
    Execute(OpenUserDatabase(InstallPaths::userDb(u"shop7"_s)), u"DELETE FROM MyInfo1"_s);
    EXPECT_EQ(login(u"shop7"_s, u"shop7"_s).outcome, LoginService::Outcome::Refused);
}

TEST_P(Login, GuestNeedsNoPasswordAndStartsEmpty)
{
    ASSERT_EQ(login(u"손님"_s, u"anything"_s).outcome, LoginService::Outcome::LoggedIn);
    EXPECT_EQ(gUserID, u"손님"_s);
    EXPECT_EQ(install.messages.last(), u"손님 회원은 정식회원이 아니므로 복권번호 관리(보관)가 제한됩니다."_s);
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Information);
    EXPECT_TRUE(gLoginTime.isEmpty());

    {
        const Connection c = OpenUserDatabase(gUserDbPath);
        Execute(c, u"INSERT INTO Group1 (GNo1, GName1) VALUES (1, '내 그룹')"_s);
        Execute(c, u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (1201,1,'010203040506','9',0,1)"_s);
        Execute(c, u"INSERT INTO Bok1 (BokNo,Count1,Bigo1,Tag1) VALUES (1201,1,'메모','0')"_s);
    }
    ASSERT_EQ(login(u"손님"_s, QString()).outcome, LoginService::Outcome::LoggedIn);
    const Connection c = OpenUserDatabase(gUserDbPath);
    Query q(c,
            u"SELECT (SELECT COUNT(*) FROM Group1) + (SELECT COUNT(*) FROM List1) AS n, "
            "(SELECT Bigo1 || Count1 FROM Bok1 WHERE BokNo = 1201) AS b"_s);
    q.run();
    q.next();
    EXPECT_EQ(q.integer(u"n"_s), 0);
    EXPECT_EQ(q.text(u"b"_s), u"0"_s); // the draw row stays, emptied
}

TEST_P(Login, MissingTemplateBlocksOnlyNewMembers)
{
    ASSERT_EQ(login(u"player"_s, u"player"_s).outcome, LoginService::Outcome::LoggedIn);
    QFile::remove(InstallPaths::userDbTemplate());
    install.messages.clear();
    EXPECT_EQ(login(u"shop7"_s, u"shop7"_s).outcome, LoginService::Outcome::Refused);
    EXPECT_EQ(install.messages.last(),
              u"시스템화일("_s + InstallPaths::userDbTemplate()
                  + u")을 찾을수 없습니다. [수리볼]를 제거후 다시 설치하여 주십시오."_s);
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Information);
    EXPECT_EQ(login(u"player"_s, u"player"_s).outcome, LoginService::Outcome::LoggedIn);
}

TEST_P(Login, ACorruptedOwnFileEndsTheProgramWithTheLocalMessage)
{
    ASSERT_EQ(login(u"player"_s, u"player"_s).outcome, LoginService::Outcome::LoggedIn);
    WriteBytes(InstallPaths::userDb(u"player"_s), QByteArray(8192, 'x'));
    EXPECT_THROW(login(u"player"_s, u"player"_s), ProgramEnded);
    EXPECT_TRUE(install.messages.last().startsWith(u"(오류: 26) "_s));
}

TEST_P(Login, AClosedServiceOpensItsNoticeAndEnds)
{
    Execute(ServerOwnerConnection(GetParam()),
            u"UPDATE Info1 SET Text1 = ? WHERE IFPart1 = ? AND Name1 = ?"_s,
            {u"http://www.suriball.example/closed.htm"_s, u"시스템"_s, u"동작상태"_s});
    EXPECT_THROW(login(u"player"_s, u"player"_s), ProgramEnded);
    EXPECT_EQ(install.launcher.urls, QStringList {u"http://www.suriball.example/closed.htm"_s});
    EXPECT_NE(gDialogResult, u"정상"_s);
}

TEST_P(Login, AnIdStoredWithCapitalsLogsInAndIsRecorded)
{
    Execute(ServerOwnerConnection(GetParam()), u"UPDATE Member SET ID1 = 'Shop7' WHERE ID1 = 'shop7'"_s);
    ASSERT_EQ(login(u"SHOP7"_s, u"shop7"_s).outcome, LoginService::Outcome::LoggedIn);
    EXPECT_EQ(gUserID, u"shop7"_s); // the program knows the member in lower case
    EXPECT_EQ(memberValue(u"Login2"_s, u"Shop7"_s), gLoginTime); // and the row as stored got the login time
    // Logging in again finds the member's own file.
    ASSERT_EQ(login(u"shop7"_s, u"shop7"_s).outcome, LoginService::Outcome::LoggedIn);
}

// Every install holds the shared account: it must not be able to read or set another member's secrets.
TEST_P(Login, TheSharedAccountNeverSeesPasswordsOrResidentNumbers)
{
    ASSERT_EQ(login(u"player"_s, u"player"_s).outcome, LoginService::Outcome::LoggedIn);
    EXPECT_EQ(gUserPwd, u"player"_s); // what the member typed
    EXPECT_FALSE(gUserJuminNo.isEmpty()); // the member's own number comes back with the right password

    const Connection owner = ServerOwnerConnection(GetParam());
    Query stored(owner, u"SELECT ID1, Pwd FROM Member"_s);
    stored.run();
    int members = 0;
    while (stored.next()) {
        ++members;
        EXPECT_NE(stored.text(u"Pwd"_s), stored.text(u"ID1"_s)) << "clear-text password left";
        if (GetParam() == Backend::PostgreSQL)
            EXPECT_TRUE(stored.text(u"Pwd"_s).startsWith(u"$2"_s));
        else
            EXPECT_TRUE(MemberCheck::IsHashed(stored.text(u"Pwd"_s)));
    }
    EXPECT_GE(members, 4);

    if (GetParam() == Backend::PostgreSQL) {
        OpenServerConn();
        EXPECT_THROW(SqlValue(gServerConn, u"SELECT Pwd FROM Member"_s), SqlError);
        EXPECT_THROW(SqlValue(gServerConn, u"SELECT JuminNo1 FROM Member"_s), SqlError);
        EXPECT_THROW(SqlValue(gServerConn, u"SELECT * FROM Member"_s), SqlError);
        EXPECT_THROW(Execute(gServerConn, u"UPDATE Member SET Pwd = 'x'"_s), SqlError);
        EXPECT_THROW(Execute(gServerConn, u"INSERT INTO Member (ID1) VALUES ('intruder')"_s), SqlError);
        // The member's own row, and no other.
        EXPECT_EQ(SqlValue(gServerConn, u"SELECT string_agg(ID1, ',') FROM Member"_s), u"player"_s);
        // The check itself hands out nothing for a wrong password.
        EXPECT_EQ(SqlValue(gServerConn, u"SELECT COALESCE(JuminNo1, 'none') FROM member_login('player', 'x')"_s),
                  u"none"_s);
    }

    // Running the conversion again keeps the hashes, so the members can still log in.
    const QString before = SqlValue(owner, u"SELECT Pwd FROM Member WHERE ID1 = 'player'"_s);
    {
        Transaction transaction(owner);
        ServerCatalog::secureMembers(owner);
        transaction.commit();
    }
    EXPECT_EQ(SqlValue(owner, u"SELECT Pwd FROM Member WHERE ID1 = 'player'"_s), before);
    EXPECT_EQ(login(u"player"_s, u"player"_s).outcome, LoginService::Outcome::LoggedIn);
}

TEST(PasswordHash, MatchesOnlyTheSamePasswordAndRefusesDamagedRecords)
{
    const QString stored = MemberCheck::HashPassword(u"암호 pass"_s);
    EXPECT_TRUE(MemberCheck::IsHashed(stored));
    EXPECT_NE(stored, MemberCheck::HashPassword(u"암호 pass"_s)); // a salt of its own each time
    EXPECT_TRUE(MemberCheck::PasswordMatches(stored, u"암호 pass"_s));
    EXPECT_FALSE(MemberCheck::PasswordMatches(stored, u"암호 Pass"_s));
    EXPECT_FALSE(MemberCheck::PasswordMatches(stored, QString()));
    EXPECT_FALSE(MemberCheck::PasswordMatches(u"player"_s, u"player"_s)); // clear text never matches
    EXPECT_FALSE(MemberCheck::PasswordMatches(u"pbkdf2-sha256$0$$"_s, QString()));
    EXPECT_FALSE(MemberCheck::PasswordMatches(u"pbkdf2-sha256$99999999999$AA==$AA=="_s, u"x"_s));
}

INSTANTIATE_TEST_SUITE_P(Servers, Login, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
