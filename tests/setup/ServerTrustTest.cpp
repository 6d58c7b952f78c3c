// What the PostgreSQL catalog lets each caller do, checked on the server itself: every table against every
// kind of caller, the sessions that cannot be forged, the owner that obeys its own rules, the two writers
// of the draw-progress text, and what one connection of the shared account can see of another's login.
#include "ServerTrust.h"

#include "Database.h"
#include "DrawProgress.h"
#include "Globals.h"
#include "MemberCheck.h"
#include "ProtocolStatement.h"
#include "Query.h"
#include "TestEnvironment.h"
#include "Tools.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>

using namespace Qt::StringLiterals;

namespace {

enum class Kind { Nobody, Member, Shop, Administrator, Publisher };

struct Actor
{
    QString id; // the member, or a name for the test's messages
    Kind kind;
};

const QList<Actor>& actors()
{
    static const QList<Actor> all = {{u"nobody"_s, Kind::Nobody},
                                     {u"player"_s, Kind::Member},
                                     {u"player2"_s, Kind::Member},
                                     {u"shop7"_s, Kind::Shop},
                                     {u"shop8"_s, Kind::Shop},
                                     {u"chief"_s, Kind::Administrator},
                                     {u"publisher"_s, Kind::Publisher}};
    return all;
}

// The rows a statement should reach: none, the actor's own (ID1), every row, or the ticker lines shown.
enum class Reach { None, Own, All, Shown };

QString predicate(Reach reach, const Actor& actor)
{
    switch (reach) {
    case Reach::None:
        return u"false"_s;
    case Reach::Own:
        return u"ID1 = '"_s + actor.id + u'\'';
    case Reach::All:
        return u"true"_s;
    case Reach::Shown:
        return u"State1 = '2' AND Show1 = '1'"_s;
    }
    return {};
}

struct Case
{
    QString table;
    QString sql; // %1: the actor's ID
    std::function<Reach(const Actor&)> reach;
};

bool isMember(const Actor& a)
{
    return a.kind == Kind::Member || a.kind == Kind::Shop || a.kind == Kind::Administrator;
}
bool usesSharedAccount(const Actor& a) { return a.kind != Kind::Publisher; }

Reach ownForMembers(const Actor& a) { return isMember(a) ? Reach::Own : Reach::None; }
// Shops, and the administrator, whose level is not "1" either.
Reach ownForShops(const Actor& a)
{
    return a.kind == Kind::Shop || a.kind == Kind::Administrator ? Reach::Own : Reach::None;
}
Reach allForAdministrator(const Actor& a) { return a.kind == Kind::Administrator ? Reach::All : Reach::None; }
Reach allForPublisher(const Actor& a) { return a.kind == Kind::Publisher ? Reach::All : Reach::None; }
Reach allForSharedAccount(const Actor& a) { return usesSharedAccount(a) ? Reach::All : Reach::None; }
Reach none(const Actor&) { return Reach::None; }

// Every read and write a caller could try, and what the rules give each caller.
std::vector<Case> reads()
{
    return {
        {u"Member"_s, u"SELECT count(*) FROM Member"_s, ownForMembers},
        {u"Info1"_s, u"SELECT count(*) FROM Info1"_s, [](const Actor&) { return Reach::All; }},
        {u"BokList"_s, u"SELECT count(*) FROM BokList"_s, allForSharedAccount},
        {u"PrList"_s,
         u"SELECT count(*) FROM PrList"_s,
         [](const Actor& a) { return usesSharedAccount(a) ? Reach::Shown : Reach::None; }},
        {u"Coupon1"_s, u"SELECT count(*) FROM Coupon1"_s, ownForShops},
        {u"NBList1"_s, u"SELECT count(*) FROM NBList1"_s, allForAdministrator},
        {u"NBNo1"_s, u"SELECT count(*) FROM NBNo1"_s, allForAdministrator},
        {u"NBNo2"_s, u"SELECT count(*) FROM NBNo2"_s, allForAdministrator},
        {u"S1List"_s, u"SELECT count(*) FROM S1List"_s, allForAdministrator},
        {u"Update1"_s, u"SELECT count(*) FROM Update1"_s, [](const Actor&) { return Reach::All; }},
        {u"member_session"_s, u"SELECT count(*) FROM member_session"_s, none},
        {u"member_secret"_s, u"SELECT count(*) FROM member_secret"_s, none},
        {u"login_attempt"_s, u"SELECT count(*) FROM login_attempt"_s, none},
    };
}

std::vector<Case> writes()
{
    return {
        {u"Member"_s, u"UPDATE Member SET Login2 = 'x'"_s, ownForMembers},
        {u"Member"_s, u"UPDATE Member SET Name1 = 'x'"_s, none},
        {u"Member"_s, u"UPDATE Member SET Level1 = '9'"_s, none},
        {u"Member"_s, u"INSERT INTO Member (ID1, Level1) VALUES ('%1_new', '9')"_s, none},
        {u"Member"_s, u"DELETE FROM Member"_s, none},
        {u"Info1"_s, u"UPDATE Info1 SET Text1 = Text1 || 'x'"_s, none},
        {u"Info1"_s, u"INSERT INTO Info1 (IFPart1, Name1, Text1) VALUES ('x', '%1', 'x')"_s, none},
        {u"Info1"_s, u"DELETE FROM Info1"_s, none},
        {u"BokList"_s, u"UPDATE BokList SET State2 = State2 || 'x'"_s, allForAdministrator},
        {u"BokList"_s, u"INSERT INTO BokList (BokNo, LotNo, State1, State2) VALUES (9999, 'x', '1', 'x')"_s, none},
        {u"BokList"_s, u"DELETE FROM BokList"_s, none},
        {u"PrList"_s, u"UPDATE PrList SET Title1 = 'x'"_s, none},
        {u"PrList"_s, u"INSERT INTO PrList (Title1, State1, Show1, Sum1) VALUES ('%1', '2', '1', 1)"_s, none},
        {u"PrList"_s, u"DELETE FROM PrList"_s, none},
        {u"Coupon1"_s, u"UPDATE Coupon1 SET Title1 = 'x'"_s, ownForShops},
        {u"Coupon1"_s, u"INSERT INTO Coupon1 (ID1, BokNo, Title1) VALUES ('%1', 1300, 'x')"_s, ownForShops},
        {u"Coupon1"_s, u"INSERT INTO Coupon1 (ID1, BokNo, Title1) VALUES ('shop9', 1300, '%1')"_s, none},
        {u"Coupon1"_s, u"DELETE FROM Coupon1"_s, none},
        {u"NBList1"_s, u"UPDATE NBList1 SET Bigo1 = 'x'"_s, allForAdministrator},
        {u"NBList1"_s, u"INSERT INTO NBList1 (JPCodeNo, ID1, BokNo) VALUES (99999, '%1', 1201)"_s, none},
        {u"NBList1"_s, u"DELETE FROM NBList1"_s, allForAdministrator},
        {u"NBNo1"_s, u"UPDATE NBNo1 SET Top1 = 'x'"_s, allForAdministrator},
        {u"NBNo1"_s,
         u"INSERT INTO NBNo1 (JPCodeNo, BokNo, No1, Top1) VALUES (99999, 1201, '%1', '9')"_s,
         allForAdministrator},
        {u"NBNo1"_s, u"DELETE FROM NBNo1"_s, allForAdministrator},
        {u"NBNo2"_s, u"UPDATE NBNo2 SET Top1 = 'x'"_s, none},
        {u"NBNo2"_s,
         u"INSERT INTO NBNo2 (JPCodeNo, BokNo, No1, Top1) VALUES (99999, 1201, '%1', '1')"_s,
         allForAdministrator},
        {u"NBNo2"_s, u"DELETE FROM NBNo2"_s, none},
        {u"S1List"_s, u"UPDATE S1List SET Sum1 = Sum1 + 1"_s, allForAdministrator},
        {u"S1List"_s, u"INSERT INTO S1List (BokNo, Sum1) VALUES (9999, 0)"_s, allForAdministrator},
        {u"S1List"_s, u"DELETE FROM S1List"_s, none},
        {u"Update1"_s, u"UPDATE Update1 SET Date1 = '2099010101'"_s, allForPublisher},
        {u"Update1"_s,
         u"INSERT INTO Update1 (Name1, File1, Size1, Date1) VALUES ('%1.txt', 'x', 1, '2099010101')"_s,
         allForPublisher},
        {u"Update1"_s, u"DELETE FROM Update1"_s, allForPublisher},
        {u"member_session"_s, u"UPDATE member_session SET member_id = '%1'"_s, none},
        {u"member_session"_s,
         u"INSERT INTO member_session VALUES (pg_backend_pid(), now(), 'chief', '9', now() + interval '1 hour')"_s,
         none},
        {u"member_session"_s, u"DELETE FROM member_session"_s, none},
        {u"member_secret"_s, u"UPDATE member_secret SET expires = expires + interval '1 day'"_s, none},
        {u"member_secret"_s,
         u"INSERT INTO member_secret VALUES ('\\x00', 'chief', '9', now() + interval '1 hour')"_s,
         none},
        {u"member_secret"_s, u"DELETE FROM member_secret"_s, none},
        {u"login_attempt"_s, u"UPDATE login_attempt SET failures = 0"_s, none},
        {u"login_attempt"_s, u"INSERT INTO login_attempt VALUES ('%1', 'x', 0, now(), NULL)"_s, none},
        {u"login_attempt"_s, u"DELETE FROM login_attempt"_s, none},
    };
}

// The rows of a table as the owner sees them, reached or not.
struct Rows
{
    qint64 count = 0;
    QString digest;
    bool operator==(const Rows&) const = default;
};

Rows rowsOf(const Connection& owner, const QString& table, const QString& where)
{
    Query q(owner,
            u"SELECT count(*) AS n, md5(coalesce(string_agg(x::text, '|' ORDER BY x::text), '')) AS d FROM "_s + table
                + u" x WHERE "_s + where);
    q.run();
    q.next();
    return {q.integer(u"n"_s), q.text(u"d"_s)};
}

class ServerRules : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SURIBALL_REQUIRE_SERVER(Backend::PostgreSQL, true);
        owner = ServerOwnerConnection(Backend::PostgreSQL);
        // Another member, another shop, a second shop's coupon, a hidden ticker line, an archived winner,
        // a file on offer and a counted attempt: every table has rows of more than one owner.
        Execute(owner,
                u"INSERT INTO Member (ID1, Pwd, Name1, JuminNo1, Email1, Level1, State1, Login2) VALUES "
                "('player2', crypt('player2', gen_salt('bf', 4)), '둘째', '9001011000005', 'p2@x', '1', '1', ''), "
                "('shop8', crypt('shop8', gen_salt('bf', 4)), '팔번가게', '9001012000006', 's8@x', '2', '1', '')"_s);
        Execute(owner,
                u"INSERT INTO Coupon1 (ID1, BokNo, Title1) VALUES ('shop8', 1201, '팔번 쿠폰'), "
                "('chief', 1201, '운영자 쿠폰')"_s);
        Execute(owner, u"INSERT INTO PrList (Title1, Url1, State1, Show1, Sum1) VALUES ('숨김', 'x', '1', '0', 1)"_s);
        Execute(owner,
                u"INSERT INTO NBNo2 (JPCodeNo, BokNo, No1, Top1, Kum1, SNo1, SNo2) VALUES (101, 1200, "
                "'010203040506', '2', 500000, 1, '1')"_s);
        Execute(owner,
                u"INSERT INTO Update1 (Name1, File1, Size1, Date1) VALUES ('a.txt', 'C:\\VELTRA\\수리볼\\DOC\\a.txt', "
                "1, '2025120601')"_s);
        Execute(owner, u"INSERT INTO login_attempt VALUES ('gone', '10.0.0.1', 1, now(), now())"_s);
        for (const Actor& actor : actors())
            connections.insert(actor.id, connect(actor));
    }

    static Connection connect(const Actor& actor)
    {
        if (actor.kind == Kind::Publisher)
            return PublisherConnection(Backend::PostgreSQL);
        Connection c = SharedAccountConnection();
        if (actor.kind != Kind::Nobody) {
            const ProtocolStatement login(c, u"SELECT Match1 FROM member_login($1, $2)"_s, {actor.id, actor.id});
            EXPECT_TRUE(login.flag(0, u"Match1"_s)) << actor.id.toStdString();
        }
        return c;
    }

    TestInstall install;
    Connection owner;
    QHash<QString, Connection> connections;
};

} // namespace

TEST_F(ServerRules, EachCallerReadsAndWritesWhatTheProgramNeedsAndNothingElse)
{
    for (const Case& read : reads()) {
        for (const Actor& actor : actors()) {
            SCOPED_TRACE(actor.id.toStdString() + ": " + read.sql.toStdString());
            qint64 seen = 0;
            try {
                seen = SqlValue(connections[actor.id], read.sql).toLongLong();
            } catch (const SqlError&) {
                seen = 0; // refused outright
            }
            EXPECT_EQ(seen, rowsOf(owner, read.table, predicate(read.reach(actor), actor)).count);
        }
    }

    for (const Case& write : writes()) {
        for (const Actor& actor : actors()) {
            const QString sql = QString(write.sql).replace(u"%1"_s, actor.id);
            SCOPED_TRACE(actor.id.toStdString() + ": " + sql.toStdString());
            const QString reached = u"coalesce(("_s + predicate(write.reach(actor), actor) + u"), false)"_s;
            const Rows inside = rowsOf(owner, write.table, reached);
            const Rows outside = rowsOf(owner, write.table, u"NOT "_s + reached);
            Execute(owner, u"DROP TABLE IF EXISTS pg_temp.kept"_s);
            Execute(owner, u"CREATE TEMP TABLE kept AS SELECT * FROM "_s + write.table);
            bool refused = false;
            try {
                Execute(connections[actor.id], sql);
            } catch (const SqlError& error) {
                refused = true;
                // Nothing but the rules refuses these statements.
                EXPECT_EQ(error.nativeCode(), u"42501"_s) << error.message().toStdString();
            }
            // Read back as the owner: what was not the caller's to change is as it was.
            EXPECT_EQ(rowsOf(owner, write.table, u"NOT "_s + reached), outside);
            if (write.reach(actor) == Reach::None) {
                EXPECT_EQ(rowsOf(owner, write.table, reached), inside);
            } else {
                EXPECT_FALSE(refused);
                EXPECT_NE(rowsOf(owner, write.table, reached), inside);
            }
            Execute(owner, u"DELETE FROM "_s + write.table);
            Execute(owner, u"INSERT INTO "_s + write.table + u" SELECT * FROM kept"_s);
        }
    }
}

TEST_F(ServerRules, ABindingCannotBeForgedCarriedOrSetByHand)
{
    auto member = [](const Connection& c) { return SqlValue(c, u"SELECT coalesce(current_member(), '-')"_s); };
    auto resume = [](const Connection& c, const QString& secret, const QString& id) {
        return ProtocolStatement(c, u"SELECT session_resume($1, $2) AS s"_s, {secret, id}).text(0, u"s"_s);
    };
    auto canWriteDraws = [](const Connection& c) {
        try {
            return Execute(c, u"UPDATE BokList SET State2 = State2 WHERE BokNo = 1"_s) > 0;
        } catch (const SqlError&) {
            return false;
        }
    };
    const Connection chief = SharedAccountConnection();
    const ProtocolStatement login(chief, u"SELECT Secret1 FROM member_login('chief', 'chief')"_s, {});
    const QString chiefSecret = login.text(0, u"Secret1"_s);
    ASSERT_EQ(chiefSecret.size(), 64); // 256 random bits, as hex
    EXPECT_EQ(member(chief), u"chief"_s);
    EXPECT_TRUE(canWriteDraws(chief));
    // The server keeps a hash of the secret, never the secret itself.
    EXPECT_EQ(SqlValue(owner,
                       u"SELECT count(*) FROM member_secret WHERE secret_hash = sha256(convert_to(?, 'UTF8'))"_s,
                       {chiefSecret}),
              u"1"_s);
    EXPECT_EQ(SqlValue(owner,
                       u"SELECT count(*) FROM member_secret s WHERE encode(s.secret_hash, 'hex') = ? "
                       "OR EXISTS (SELECT 1 FROM member_session x WHERE x::text LIKE '%' || ? || '%')"_s,
                       {chiefSecret, chiefSecret}),
              u"0"_s);

    // Another backend has nothing until it presents the secret, and a made-up one gives nothing.
    const Connection other = SharedAccountConnection();
    EXPECT_EQ(member(other), u"-"_s);
    EXPECT_FALSE(canWriteDraws(other));
    EXPECT_EQ(resume(other, QString(64, u'0'), u"chief"_s), u"unknown"_s);
    EXPECT_EQ(resume(other, QString(), u"chief"_s), u"invalid"_s);
    EXPECT_EQ(resume(other, QString(10000, u'a'), u"chief"_s), u"invalid"_s);
    EXPECT_EQ(member(other), u"-"_s);

    // A player's secret is the player's, whoever it is claimed for; presented for chief it gives nothing.
    const Connection player = SharedAccountConnection();
    const QString playerSecret
        = ProtocolStatement(player, u"SELECT Secret1 FROM member_login('player', 'player')"_s, {})
              .text(0, u"Secret1"_s);
    EXPECT_EQ(resume(other, playerSecret, u"chief"_s), u"other"_s);
    EXPECT_EQ(member(other), u"-"_s);
    EXPECT_EQ(resume(other, playerSecret, u"player"_s), u"ok"_s);
    EXPECT_EQ(member(other), u"player"_s);
    EXPECT_FALSE(canWriteDraws(other));
    // The chief's secret on a second backend acts for chief there; presented again it still does.
    EXPECT_EQ(resume(other, chiefSecret, u"chief"_s), u"ok"_s);
    EXPECT_EQ(resume(other, chiefSecret, u"chief"_s), u"ok"_s);
    EXPECT_TRUE(canWriteDraws(other));

    // A row left by an earlier backend with the same process number is not this backend's.
    const Connection later = SharedAccountConnection();
    Execute(
        owner,
        u"INSERT INTO member_session SELECT ?, now() - interval '1 hour', 'chief', '9', now() + interval '1 hour'"_s,
        {SqlValue(later, u"SELECT pg_backend_pid()"_s).toInt()});
    EXPECT_EQ(member(later), u"-"_s);
    EXPECT_FALSE(canWriteDraws(later));

    // Settings, roles and identities the caller might set give nothing either.
    for (const QString& statement : {u"SET ROLE suriball_owner"_s,
                                     u"SET ROLE suriball_publisher"_s,
                                     u"SET SESSION AUTHORIZATION suriball_owner"_s,
                                     u"CREATE TEMP TABLE member_session (pid integer)"_s,
                                     u"ALTER ROLE user1 SET track_activities = on"_s}) {
        EXPECT_THROW(Execute(later, statement), SqlError) << statement.toStdString();
    }
    Execute(later, u"SET application_name = 'chief'"_s);
    Execute(later, u"SELECT set_config('suriball.member', 'chief', false)"_s);
    Execute(later, u"SET search_path = pg_temp, public"_s);
    EXPECT_EQ(member(later), u"-"_s);
    EXPECT_FALSE(canWriteDraws(later));
    EXPECT_EQ(SqlValue(owner,
                       u"SELECT count(*) FROM pg_auth_members m JOIN pg_roles r ON r.oid = m.member "
                       "WHERE r.rolname IN ('user1', 'suriball_publisher')"_s),
              u"0"_s);

    // An expired session acts for nobody, at once on the backend that carries it and when presented.
    Execute(owner, u"UPDATE member_secret SET expires = now() - interval '1 minute'"_s);
    Execute(owner, u"UPDATE member_session SET expires = now() - interval '1 minute'"_s);
    EXPECT_EQ(member(chief), u"-"_s);
    EXPECT_FALSE(canWriteDraws(chief));
    EXPECT_EQ(resume(later, chiefSecret, u"chief"_s), u"expired"_s);
    EXPECT_FALSE(canWriteDraws(later));
}

TEST_F(ServerRules, TheOwnerIsNoSuperuserAndObeysTheRulesOnEveryTable)
{
    EXPECT_EQ(SqlValue(owner,
                       u"SELECT rolcanlogin::text || rolsuper::text || rolbypassrls::text FROM pg_roles "
                       "WHERE rolname = 'suriball_owner'"_s),
              u"falsefalsefalse"_s);
    EXPECT_EQ(SqlValue(owner,
                       u"SELECT rolsuper::text || rolbypassrls::text || rolcreaterole::text || rolcreatedb::text "
                       "FROM pg_roles WHERE rolname = 'user1'"_s),
              u"falsefalsefalsefalse"_s);
    // The shared account's password is public: its stored form costs each connection one round of
    // hashing. The secret passwords keep PostgreSQL's own rounds.
    EXPECT_EQ(SqlValue(owner,
                       u"SELECT string_agg(rolname || ' ' || (split_part(split_part(rolpassword, '$', 2), ':', 1)::int "
                       "> 1)::text, ',' ORDER BY rolname) FROM pg_authid "
                       "WHERE rolname IN ('user1', 'suriball_publisher', 'suriball_attempts')"_s),
              u"suriball_attempts true,suriball_publisher true,user1 false"_s);
    // Every table of the catalog: owned by the owner, its rules enabled and forced on the owner too.
    EXPECT_EQ(
        SqlValue(owner,
                 u"SELECT string_agg(c.relname, ',') FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                 "WHERE n.nspname = 'public' AND c.relkind = 'r' AND (pg_get_userbyid(c.relowner) <> "
                 "'suriball_owner' OR NOT c.relrowsecurity OR NOT c.relforcerowsecurity)"_s),
        QString());
    EXPECT_GE(SqlValue(owner,
                       u"SELECT count(*) FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace "
                       "WHERE n.nspname = 'public' AND c.relkind = 'r'"_s)
                  .toInt(),
              13);
    // The owner's functions run with a search path of their own, which a caller cannot bend (the
    // extensions' own functions aside: none of them is the shared account's to call).
    EXPECT_EQ(
        SqlValue(owner,
                 u"SELECT string_agg(p.proname, ',') FROM pg_proc p JOIN pg_namespace n ON n.oid = p.pronamespace "
                 "WHERE n.nspname = 'public' AND p.prosecdef AND (pg_get_userbyid(p.proowner) <> 'suriball_owner' "
                 "OR NOT EXISTS (SELECT 1 FROM unnest(p.proconfig) c WHERE c LIKE 'search_path=%')) "
                 "AND NOT EXISTS (SELECT 1 FROM pg_depend d WHERE d.objid = p.oid AND d.deptype = 'e')"_s),
        QString());
    // The shared account calls what it is given and nothing of the extensions.
    const Connection shared = SharedAccountConnection();
    for (const QString& call : {u"SELECT gen_random_bytes(4)"_s,
                                u"SELECT dblink_connect('x', 'suriball_self')"_s,
                                u"SELECT backend_started()"_s,
                                u"SELECT session_bind('chief', '9', now() + interval '1 hour')"_s,
                                u"SELECT login_attempt_failed('player', '127.0.0.1')"_s,
                                u"SELECT set_files_stamp('2099010101')"_s,
                                u"SELECT * FROM pg_stat_activity"_s}) {
        EXPECT_THROW(Execute(shared, call), SqlError) << call.toStdString();
    }
}

// The setup tool tells the service's administrator which of the login's libraries every new server process
// would load again.
TEST_F(ServerRules, SaysWhichLibrariesTheServerDoesNotLoadAtItsStart)
{
    EXPECT_EQ(ServerTrust::LibrariesNotPreloaded(owner), QStringList()); // the test server loads both
    EXPECT_EQ(ServerTrust::NotPreloaded(QString()), QStringList({u"plpgsql"_s, u"pgcrypto"_s}));
    EXPECT_EQ(ServerTrust::NotPreloaded(u"pg_stat_statements, PLPGSQL"_s), QStringList({u"pgcrypto"_s}));
    EXPECT_EQ(ServerTrust::NotPreloaded(u"plpgsql,'$libdir/pgcrypto'"_s), QStringList());
    EXPECT_EQ(ServerTrust::NotPreloaded(u"\"pgcrypto\", plpgsql2"_s), QStringList({u"plpgsql"_s}));
}

TEST_F(ServerRules, TheDrawProgressTextHasTwoWritersEachWithItsOwnPart)
{
    auto text = [&] {
        return SqlValue(owner, u"SELECT Text1 FROM Info1 WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s);
    };
    const QString before = text();
    DrawProgress changed = DrawProgress::parse(before);
    changed.drawsStamp = u"2025121301"_s;
    changed.filesStamp = u"2099010101"_s; // not the administrator's to change

    EXPECT_THROW(Query(connections[u"player"_s], u"SELECT set_draw_progress(?)"_s).run({changed.compose()}), SqlError);
    EXPECT_THROW(Query(connections[u"nobody"_s], u"SELECT set_draw_progress(?)"_s).run({changed.compose()}), SqlError);
    EXPECT_EQ(text(), before);
    Query(connections[u"chief"_s], u"SELECT set_draw_progress(?)"_s).run({changed.compose()});
    const DrawProgress written = DrawProgress::parse(text());
    EXPECT_EQ(written.drawsStamp, u"2025121301"_s);
    EXPECT_EQ(written.filesStamp, DrawProgress::parse(before).filesStamp);

    // The publisher alone sets the files stamp (which one is the last signed release's to say) and touches
    // no other byte.
    EXPECT_THROW(Query(connections[u"chief"_s], u"SELECT set_files_stamp(?)"_s).run({u"2099010101"_s}), SqlError);
    const Connection& publisher = connections[u"publisher"_s];
    EXPECT_THROW(Query(publisher, u"SELECT set_files_stamp(?)"_s).run({u"20990101"_s}), SqlError);
    EXPECT_THROW(Query(publisher, u"SELECT set_draw_progress(?)"_s).run({changed.compose()}), SqlError);
    const QString beforeStamp = text();
    Query(publisher, u"SELECT set_files_stamp(?)"_s).run({u"2099010101"_s});
    QByteArray expected = ToCp949(beforeStamp);
    expected.replace(41, 10, "2099010101");
    EXPECT_EQ(ToCp949(text()), expected);
}

// While one connection logs in, another of the shared account watches everything it may read: the
// running statements and every table and view it has a right to. Neither the password nor the session
// secret shows anywhere.
TEST_F(ServerRules, ALoginShowsNeitherPasswordNorSecretToAnotherConnection)
{
    const QString password = u"Qz7-watch-"_s + QString::number(QRandomGenerator::global()->generate());
    Execute(owner,
            u"INSERT INTO Member (ID1, Pwd, Name1, Level1, State1) VALUES ('watched', crypt(?, gen_salt('bf', 4)), "
            "'감시', '1', '1')"_s,
            {password});
    std::atomic<bool> watching {true};
    QStringList secrets;
    std::thread logins([&] {
        const Connection c = SharedAccountConnection();
        while (watching)
            secrets.append(MemberCheck::Check(c, u"watched"_s, password).secret);
    });

    const Connection watcher = SharedAccountConnection();
    EXPECT_THROW(SqlValue(watcher, u"SELECT count(*) FROM pg_stat_activity"_s), SqlError);
    EXPECT_THROW(SqlValue(watcher, u"SELECT count(*) FROM pg_stat_get_activity(NULL)"_s), SqlError);
    Query readable(watcher,
                   u"SELECT c.oid::regclass::text AS name1 FROM pg_class c WHERE c.relkind IN ('r', 'v', 'm') "
                   "AND has_table_privilege(c.oid, 'SELECT')"_s);
    readable.run();
    QStringList relations;
    while (readable.next())
        relations.append(readable.text(u"name1"_s));
    QString seen;
    for (int round = 0; round < 3; ++round) {
        for (const QString& relation : relations) {
            try {
                seen += SqlValue(watcher, u"SELECT string_agg(x::text, '|') FROM "_s + relation + u" x"_s);
            } catch (const SqlError&) {
                // A view over something the account may not run (the activity functions) refuses it.
            }
        }
    }
    watching = false;
    logins.join();
    ASSERT_FALSE(secrets.isEmpty());
    EXPECT_GT(relations.size(), 50);
    EXPECT_FALSE(seen.contains(password));
    for (const QString& secret : secrets)
        EXPECT_FALSE(seen.contains(secret));

    // Even where the server records running statements (here for a moment), the login's text carries
    // placeholders, never the values.
    Execute(owner, u"ALTER ROLE user1 SET track_activities = on"_s);
    const Connection recorded = SharedAccountConnection();
    Execute(owner, u"ALTER ROLE user1 SET track_activities = off"_s);
    const int pid = SqlValue(recorded, u"SELECT pg_backend_pid()"_s).toInt();
    EXPECT_TRUE(MemberCheck::Check(recorded, u"watched"_s, password).passwordMatches);
    const QString statement = SqlValue(owner, u"SELECT query FROM pg_stat_activity WHERE pid = ?"_s, {pid});
    EXPECT_TRUE(statement.contains(u"member_login"_s)) << statement.toStdString();
    EXPECT_FALSE(statement.contains(password));
}
