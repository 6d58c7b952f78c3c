#include "ServerTrust.h"

#include "Database.h"
#include "ProtocolStatement.h"
#include "Query.h"
#include "Schema.h"
#include "SqlError.h"

#include <QCryptographicHash>
#include <QMessageAuthenticationCode>
#include <QRandomGenerator>

#include <vector>

using namespace Qt::StringLiterals;

namespace ServerTrust {

namespace {

// Who a row rule is for. The shared account's callers are told apart by their session only.
enum class Actor {
    Everyone, // the shared account, with or without a session: the guest, the updater before any login
    TickerRows, // the same, for the promotional lines that are shown
    OwnMember, // a member, its own row
    Shop, // a member whose level is not "1", its own rows
    Administrator, // the member chief
    Publisher,
    Owner // the owner's own functions (the login, the two parts of the draw-progress text)
};

struct Rule
{
    QString operation;
    Actor actor;
    QString columns = {}; // a column list for the grant, or every column
};

// What the programs do on each table, and as whom (see docs/ARCHITECTURE.md, "The server's shared account").
enum class Access {
    Members, // the login reads through member_login; a member records its own login time
    ServiceTexts, // Info1: read by everyone; written only through the owner's two functions
    Draws, // BokList: read by everyone, changed by the administrator's results window
    Ticker, // PrList: the ticker's lines, read by everyone, guest included
    ShopCoupons, // Coupon1: a shop publishes and changes its own coupon; nobody deletes one
    Orders, // NBList1: the administrator's order windows
    OrderGames, // NBNo1: the administrator's games of the orders, settled and deleted
    WinnerArchive, // NBNo2: the administrator archives winners
    FreeTicketTotals, // S1List: the administrator's counts per draw
    PublishedFiles // Update1: read by every updater, written by the publisher
};

// Every server table and its access. A table the updater's releases add is one more line here.
const std::vector<std::pair<QString, Access>>& tableAccess()
{
    static const std::vector<std::pair<QString, Access>> tables = {
        {u"Member"_s, Access::Members},
        {u"Info1"_s, Access::ServiceTexts},
        {u"BokList"_s, Access::Draws},
        {u"PrList"_s, Access::Ticker},
        {u"Coupon1"_s, Access::ShopCoupons},
        {u"NBList1"_s, Access::Orders},
        {u"NBNo1"_s, Access::OrderGames},
        {u"NBNo2"_s, Access::WinnerArchive},
        {u"S1List"_s, Access::FreeTicketTotals},
        {u"Update1"_s, Access::PublishedFiles},
        {u"Release1"_s, Access::PublishedFiles},
    };
    return tables;
}

std::vector<Rule> rulesOf(Access access)
{
    switch (access) {
    case Access::Members:
        return {{u"SELECT"_s, Actor::OwnMember, u"ID1, Name1, Email1, Level1, State1, Login2"_s},
                {u"UPDATE"_s, Actor::OwnMember, u"Login2"_s},
                {u"SELECT"_s, Actor::Owner},
                {u"UPDATE"_s, Actor::Owner}};
    case Access::ServiceTexts:
        return {{u"SELECT"_s, Actor::Everyone},
                {u"SELECT"_s, Actor::Publisher},
                {u"SELECT"_s, Actor::Owner},
                {u"UPDATE"_s, Actor::Owner}};
    case Access::Draws:
        return {{u"SELECT"_s, Actor::Everyone}, {u"UPDATE"_s, Actor::Administrator}};
    case Access::Ticker:
        return {{u"SELECT"_s, Actor::TickerRows}};
    case Access::ShopCoupons:
        return {{u"SELECT"_s, Actor::Shop}, {u"INSERT"_s, Actor::Shop}, {u"UPDATE"_s, Actor::Shop}};
    case Access::Orders:
        return {{u"SELECT"_s, Actor::Administrator},
                {u"UPDATE"_s, Actor::Administrator},
                {u"DELETE"_s, Actor::Administrator}};
    case Access::OrderGames:
        return {{u"SELECT"_s, Actor::Administrator},
                {u"INSERT"_s, Actor::Administrator},
                {u"UPDATE"_s, Actor::Administrator},
                {u"DELETE"_s, Actor::Administrator}};
    case Access::WinnerArchive:
        return {{u"SELECT"_s, Actor::Administrator}, {u"INSERT"_s, Actor::Administrator}};
    case Access::FreeTicketTotals:
        return {{u"SELECT"_s, Actor::Administrator},
                {u"INSERT"_s, Actor::Administrator},
                {u"UPDATE"_s, Actor::Administrator}};
    case Access::PublishedFiles:
        return {{u"SELECT"_s, Actor::Everyone},
                {u"SELECT"_s, Actor::Publisher},
                {u"INSERT"_s, Actor::Publisher},
                {u"UPDATE"_s, Actor::Publisher},
                {u"DELETE"_s, Actor::Publisher}};
    }
    return {};
}

QString user() { return QString::fromUtf16(kServerUser); }
QString owner() { return QString::fromUtf16(kOwnerRole); }
QString publisher() { return QString::fromUtf16(kPublisherRole); }
QString attempts() { return QString::fromUtf16(kAttemptsRole); }

QString roleOf(Actor actor)
{
    switch (actor) {
    case Actor::Publisher:
        return publisher();
    case Actor::Owner:
        return owner();
    default:
        return user();
    }
}

// The session is looked up once per statement (a sub-select the planner runs once), not once per row.
QString conditionOf(Actor actor)
{
    switch (actor) {
    case Actor::TickerRows:
        return u"State1 = '2' AND Show1 = '1'"_s;
    case Actor::OwnMember:
        return u"ID1 = (SELECT current_member())"_s;
    case Actor::Shop:
        return u"ID1 = (SELECT current_shop())"_s;
    case Actor::Administrator:
        return u"(SELECT is_administrator())"_s;
    default:
        return u"true"_s;
    }
}

QString actorName(Actor actor)
{
    switch (actor) {
    case Actor::Everyone:
        return u"everyone"_s;
    case Actor::TickerRows:
        return u"shown"_s;
    case Actor::OwnMember:
        return u"own"_s;
    case Actor::Shop:
        return u"shop"_s;
    case Actor::Administrator:
        return u"administrator"_s;
    case Actor::Publisher:
        return u"publisher"_s;
    case Actor::Owner:
        return u"owner"_s;
    }
    return {};
}

QString quoted(const QString& text) { return u'\'' + QString(text).replace(u'\'', u"''"_s) + u'\''; }
QString quotedIdentifier(const QString& name) { return u'"' + QString(name).replace(u'"', u"\"\""_s) + u'"'; }

QString randomSecret()
{
    QByteArray bytes(24, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
    return QString::fromLatin1(bytes.toHex());
}

// Roles are the cluster's, shared by every database on it: made when missing, put right when present.
void ensureRole(const Connection& c, const QString& role, const QString& attributes, const QString& verifier)
{
    Query exists(c, u"SELECT 1 FROM pg_roles WHERE rolname = ?"_s);
    exists.run({role});
    // Role statements take no parameters: the names are our own constants and a password arrives only
    // as the server's stored form of it, never as the password itself.
    QString statement = (exists.next() ? u"ALTER ROLE "_s : u"CREATE ROLE "_s) + role + u' ' + attributes;
    if (!verifier.isEmpty())
        statement += u" PASSWORD "_s + quoted(verifier);
    Execute(c, statement);
}

// The stored form of the shared account's password, with one round of hashing where libpq makes 4096. The
// rounds only slow down whoever guesses a password from its stored form, and this password is in every
// copy of the program; each connection's client would pay them (some 5 ms of processor time on every
// start and every update check) for nothing. The exchange itself still proves the password over TLS.
QString publicPasswordVerifier(const QString& password)
{
    QByteArray salt(16, Qt::Uninitialized);
    QRandomGenerator::system()->fillRange(reinterpret_cast<quint32*>(salt.data()), salt.size() / 4);
    auto hmac = [](const QByteArray& key, const QByteArray& message) {
        return QMessageAuthenticationCode::hash(message, key, QCryptographicHash::Sha256);
    };
    // PBKDF2 of a single round: the HMAC of the salt and the block number 1.
    const QByteArray salted = hmac(password.toUtf8(), salt + QByteArray("\0\0\0\1", 4));
    const QByteArray storedKey = QCryptographicHash::hash(hmac(salted, "Client Key"), QCryptographicHash::Sha256);
    const QByteArray serverKey = hmac(salted, "Server Key");
    return u"SCRAM-SHA-256$1:"_s + QString::fromLatin1(salt.toBase64()) + u'$'
        + QString::fromLatin1(storedKey.toBase64()) + u':' + QString::fromLatin1(serverKey.toBase64());
}

void roles(const Connection& c, const QString& publisherPassword, const QString& attemptsPassword)
{
    const QString plain = u"NOSUPERUSER NOCREATEDB NOCREATEROLE NOREPLICATION NOBYPASSRLS"_s;
    ensureRole(c, user(), u"LOGIN "_s + plain, publicPasswordVerifier(QString::fromUtf16(kServerPassword)));
    // The running statements of the shared account are nobody's business, its own other connections
    // included: they are not recorded at all.
    Execute(c, u"ALTER ROLE "_s + user() + u" SET track_activities = off"_s);
    Query memberships(c,
                      u"SELECT r.rolname AS role1 FROM pg_auth_members m JOIN pg_roles r ON r.oid = m.roleid "
                      "JOIN pg_roles u ON u.oid = m.member WHERE u.rolname = ?"_s);
    memberships.run({user()});
    QStringList granted;
    while (memberships.next())
        granted.append(memberships.text(u"role1"_s));
    for (const QString& role : granted)
        Execute(c, u"REVOKE "_s + quotedIdentifier(role) + u" FROM "_s + user());

    ensureRole(c, owner(), u"NOLOGIN "_s + plain, QString());
    // The owner's functions find the start of their own backend, which binds a session to it.
    Execute(c, u"GRANT pg_read_all_stats TO "_s + owner());
    ensureRole(c,
               publisher(),
               u"LOGIN "_s + plain,
               publisherPassword.isEmpty() ? QString() : ScramVerifier(c, publisher(), publisherPassword));
    ensureRole(c, attempts(), u"LOGIN "_s + plain, ScramVerifier(c, attempts(), attemptsPassword));
    // A caller that holds the row of an ID cannot keep the count waiting for long.
    Execute(c, u"ALTER ROLE "_s + attempts() + u" SET lock_timeout = '5s'"_s);
}

// The session, the attempts and the owner's functions. Kept in the owner's tables that no other role
// may read: the server keeps a hash of each secret, never the secret.
void sessionTables(const Connection& c)
{
    // Unlogged: a restarted or promoted server forgets the sessions, and members log in again.
    Execute(c,
            u"CREATE UNLOGGED TABLE IF NOT EXISTS member_secret (secret_hash bytea PRIMARY KEY, member_id text "
            "NOT NULL, level1 text, expires timestamptz NOT NULL)"_s);
    Execute(c,
            u"CREATE UNLOGGED TABLE IF NOT EXISTS member_session (pid integer NOT NULL, backend_start timestamptz "
            "NOT NULL, member_id text NOT NULL, level1 text, expires timestamptz NOT NULL, "
            "PRIMARY KEY (pid, backend_start))"_s);
    // Each login clears the run-out sessions: by their expiry, not by reading them all.
    Execute(c, u"CREATE INDEX IF NOT EXISTS member_secret_expires ON member_secret (expires)"_s);
    Execute(c, u"CREATE INDEX IF NOT EXISTS member_session_expires ON member_session (expires)"_s);
    Execute(c,
            u"CREATE TABLE IF NOT EXISTS login_attempt (id1 text NOT NULL, addr text NOT NULL, failures integer "
            "NOT NULL, window_start timestamptz NOT NULL, last_failure timestamptz, PRIMARY KEY (id1, addr))"_s);
}

const QStringList& sessionTableNames()
{
    static const QStringList names = {u"member_secret"_s, u"member_session"_s, u"login_attempt"_s};
    return names;
}

void functions(const Connection& c)
{
    const QString failures = QString::number(kFailuresAllowed);
    const QString lock = QString::number(kLockMinutes) + u" minutes"_s;
    const QString hours = QString::number(kSessionHours) + u" hours"_s;
    const QString cost = QString::number(kBcryptCost);

    // The start of the caller's own backend: with its process number, what no later backend shares.
    Execute(c,
            u"CREATE OR REPLACE FUNCTION backend_started() RETURNS timestamptz LANGUAGE sql STABLE "
            "SECURITY DEFINER SET search_path = pg_catalog, pg_temp AS $$ "
            "SELECT a.backend_start FROM pg_catalog.pg_stat_get_activity(pg_catalog.pg_backend_pid()) a $$"_s);
    // The caller's session, each in one function of its own: the policies run one of them per statement,
    // and a function calling another would pay twice for the owner's rights. PL/pgSQL keeps the plan of
    // its query for the backend's life, where an SQL function would plan it again in every statement.
    const QString ownSession = u"FROM member_session s WHERE s.pid = pg_backend_pid() AND s.backend_start = "
                               "(SELECT a.backend_start FROM pg_catalog.pg_stat_get_activity(pg_backend_pid()) a) "
                               "AND s.expires > now()"_s;
    auto sessionFunction = [&](const QString& name, const QString& type, const QString& query) {
        Execute(c,
                u"CREATE OR REPLACE FUNCTION "_s + name + u"() RETURNS "_s + type
                    + u" LANGUAGE plpgsql STABLE SECURITY DEFINER SET search_path = public, pg_temp AS $$ "
                      "BEGIN RETURN ("_s
                    + query + u"); END $$"_s);
    };
    sessionFunction(u"current_member"_s, u"text"_s, u"SELECT s.member_id "_s + ownSession);
    sessionFunction(u"current_shop"_s,
                    u"text"_s,
                    u"SELECT s.member_id "_s + ownSession + u" AND s.level1 IS DISTINCT FROM '1'"_s);
    sessionFunction(u"is_administrator"_s,
                    u"boolean"_s,
                    u"SELECT EXISTS (SELECT 1 "_s + ownSession + u" AND s.member_id = 'chief')"_s);
    Execute(c,
            u"CREATE OR REPLACE FUNCTION session_bind(p_member text, p_level text, p_expires timestamptz) "
            "RETURNS void LANGUAGE sql VOLATILE SECURITY DEFINER SET search_path = public, pg_temp AS $$ "
            "DELETE FROM member_session s WHERE s.pid = pg_backend_pid(); "
            "INSERT INTO member_session (pid, backend_start, member_id, level1, expires) "
            "VALUES (pg_backend_pid(), backend_started(), p_member, p_level, p_expires) $$"_s);
    // A secret presented on a new connection binds it to the member the secret was made for. Whatever
    // the answer, the connection first loses what it carried.
    Execute(c,
            u"CREATE OR REPLACE FUNCTION session_resume(p_secret text, p_member text) RETURNS text "
            "LANGUAGE plpgsql VOLATILE SECURITY DEFINER SET search_path = public, pg_temp AS $$ "
            "DECLARE s record; "
            "BEGIN "
            "DELETE FROM member_session x WHERE x.pid = pg_backend_pid(); "
            "IF p_secret IS NULL OR length(p_secret) <> 64 OR p_secret !~ '^[0-9a-f]{64}$' THEN "
            "RETURN 'invalid'; END IF; "
            "SELECT x.member_id, x.level1, x.expires INTO s FROM member_secret x "
            "WHERE x.secret_hash = sha256(convert_to(p_secret, 'UTF8')); "
            "IF NOT FOUND THEN RETURN 'unknown'; END IF; "
            "IF s.expires <= now() THEN RETURN 'expired'; END IF; "
            "IF p_member IS NULL OR lower(s.member_id) <> lower(p_member) THEN RETURN 'other'; END IF; "
            "PERFORM session_bind(s.member_id, s.level1, s.expires); "
            "RETURN 'ok'; "
            "END $$"_s);

    // A failed login, counted per ID and address by the attempts role on a connection of its own (through
    // dblink), in a transaction of its own that is committed before the caller hears the answer: nothing
    // the caller does with its own transaction afterwards can take the count back.
    Execute(c, uR"(CREATE OR REPLACE FUNCTION login_attempt_failed(p_id text, p_addr text) RETURNS text
LANGUAGE plpgsql VOLATILE SECURITY DEFINER SET search_path = public, pg_temp AS $$
BEGIN
  IF random() < 0.01 THEN
    DELETE FROM login_attempt l WHERE l.window_start < now() - interval '1 day';
  END IF;
  INSERT INTO login_attempt AS l (id1, addr, failures, window_start, last_failure)
    VALUES (p_id, p_addr, 1, now(), now())
  ON CONFLICT (id1, addr) DO UPDATE SET
    failures = CASE WHEN l.window_start <= now() - interval '%2' OR l.failures >= %1 THEN 1 ELSE l.failures + 1 END,
    window_start = CASE WHEN l.window_start <= now() - interval '%2' OR l.failures >= %1 THEN now()
                   ELSE l.window_start END,
    last_failure = now();
  RETURN 'counted';
END $$)"_s.arg(failures, lock));
    Execute(c, uR"(CREATE OR REPLACE FUNCTION login_attempt_remote(p_id text, p_addr text) RETURNS text
LANGUAGE plpgsql VOLATILE SECURITY DEFINER SET search_path = public, pg_temp AS $$
DECLARE
  statement text := format('SELECT public.login_attempt_failed(%L, %L)', p_id, p_addr);
  verdict text;
BEGIN
  FOR attempt IN 1..2 LOOP
    BEGIN
      IF dblink_get_connections() IS NULL OR NOT ('suriball_attempts' = ANY (dblink_get_connections())) THEN
        PERFORM dblink_connect('suriball_attempts', 'suriball_self');
      END IF;
      SELECT t.v INTO verdict FROM dblink('suriball_attempts', statement) AS t(v text);
      RETURN verdict;
    EXCEPTION WHEN OTHERS THEN
      -- a link the server dropped since this backend made it is made again, once
      IF attempt = 2 THEN RAISE; END IF;
      BEGIN PERFORM dblink_disconnect('suriball_attempts'); EXCEPTION WHEN OTHERS THEN NULL; END;
    END;
  END LOOP;
  RETURN NULL;
END $$)"_s);

    // The login keeps its name, arguments and the member's row for the right password; it now also
    // answers a lock-out and, for a member who may log in, the session secret (hex of 32 random bytes).
    // Guesses at one ID from one address take turns (a lock of the caller's transaction), each reading
    // the count as committed: of ten made at once five are checked and the rest refused unchecked. A
    // wrong password is counted through the attempts link before it is answered; a right one costs no
    // second connection. Read committed only: a snapshot held since the transaction began would not see
    // the counts of the guesses before.
    Execute(c, u"DROP FUNCTION IF EXISTS member_login(text, text)"_s);
    Execute(c, uR"(CREATE FUNCTION member_login(p_id text, p_password text)
RETURNS TABLE (Found1 boolean, Match1 boolean, Locked1 boolean, ID1 text, Name1 text, JuminNo1 text,
               Email1 text, Level1 text, State1 text, Secret1 text)
LANGUAGE plpgsql VOLATILE SECURITY DEFINER SET search_path = public, pg_temp AS $$
#variable_conflict use_column
DECLARE
  m record;
  a record;
  v_addr text := COALESCE(host(inet_client_addr()), 'local');
  counted boolean;
  secret text;
BEGIN
  IF current_setting('transaction_isolation') <> 'read committed' THEN
    RAISE EXCEPTION '로그인은 read committed 트랜잭션에서만 할 수 있습니다.' USING ERRCODE = '25000';
  END IF;
  IF p_id IS NULL OR p_password IS NULL OR length(p_id) > 100 OR length(p_password) > 1000 THEN
    RETURN QUERY SELECT false, false, false, NULL::text, NULL::text, NULL::text, NULL::text, NULL::text,
                        NULL::text, NULL::text;
    RETURN;
  END IF;
  SELECT x.id1, x.pwd, x.name1, x.juminno1, x.email1, x.level1, x.state1 INTO m
    FROM member x WHERE lower(x.id1) = lower(p_id) LIMIT 1;
  IF NOT FOUND THEN
    RETURN QUERY SELECT false, false, false, NULL::text, NULL::text, NULL::text, NULL::text, NULL::text,
                        NULL::text, NULL::text;
    RETURN;
  END IF;
  PERFORM pg_advisory_xact_lock(hashtext(m.id1), hashtext(v_addr));
  SELECT l.failures, l.last_failure INTO a FROM login_attempt l WHERE l.id1 = m.id1 AND l.addr = v_addr;
  counted := FOUND;
  IF counted AND a.failures >= %1 AND a.last_failure > clock_timestamp() - interval '%2' THEN
    RETURN QUERY SELECT true, false, true, NULL::text, NULL::text, NULL::text, NULL::text, NULL::text,
                        NULL::text, NULL::text;
    RETURN;
  END IF;
  IF NOT COALESCE(m.pwd LIKE '$2_$%' AND m.pwd = crypt(p_password, m.pwd), false) THEN
    PERFORM login_attempt_remote(m.id1, v_addr);
    RETURN QUERY SELECT true, false, false, NULL::text, NULL::text, NULL::text, NULL::text, NULL::text,
                        NULL::text, NULL::text;
    RETURN;
  END IF;
  IF counted THEN
    DELETE FROM login_attempt l WHERE l.id1 = m.id1 AND l.addr = v_addr;
  END IF;
  IF substr(m.pwd, 5, 2) < '%3' THEN
    UPDATE member x SET pwd = crypt(p_password, gen_salt('bf', %3)) WHERE x.id1 = m.id1;
  END IF;
  IF m.state1 IS DISTINCT FROM '2' AND m.state1 IS DISTINCT FROM '3' THEN
    secret := encode(gen_random_bytes(32), 'hex');
    DELETE FROM member_secret x WHERE x.expires < now();
    DELETE FROM member_session x WHERE x.expires < now();
    INSERT INTO member_secret (secret_hash, member_id, level1, expires)
      VALUES (sha256(convert_to(secret, 'UTF8')), m.id1, m.level1, now() + interval '%4');
    PERFORM session_bind(m.id1, m.level1, now() + interval '%4');
  END IF;
  RETURN QUERY SELECT true, true, false, m.id1, m.name1, m.juminno1, m.email1, m.level1, m.state1, secret;
END $$)"_s.arg(failures, lock, cost, hours));

    // The draw-progress text has two writers: the administrator (draw numbers, the draws stamp) and the
    // publisher (the files stamp, bytes 42-51 of its CP949 form). Nobody updates it directly; each part
    // has its function, and each keeps the other's part as it is.
    Execute(c,
            u"CREATE OR REPLACE FUNCTION set_draw_progress(p_text text) RETURNS void LANGUAGE plpgsql VOLATILE "
            "SECURITY DEFINER SET search_path = public, pg_temp AS $$ "
            "DECLARE now_bytes bytea; new_bytes bytea; "
            "BEGIN "
            "IF NOT is_administrator() THEN RAISE EXCEPTION "
            "'관리자 로그인 세션이 없어 서버가 추첨진행 정보를 바꾸지 않았습니다.' USING ERRCODE = '42501'; "
            "END IF; "
            "SELECT convert_to(i.text1, 'UHC') INTO now_bytes FROM info1 i "
            "WHERE i.ifpart1 = '업데이트' AND i.name1 = '추첨진행' FOR UPDATE; "
            "IF NOT FOUND THEN RAISE EXCEPTION '서버에 추첨진행 정보가 없습니다.'; END IF; "
            "new_bytes := convert_to(p_text, 'UHC'); "
            "IF length(now_bytes) < 51 OR new_bytes IS NULL OR length(new_bytes) < 51 OR length(new_bytes) > 200 "
            "THEN RAISE EXCEPTION '추첨진행 정보의 길이가 올바르지 않습니다.'; END IF; "
            "new_bytes := overlay(new_bytes placing substring(now_bytes from 42 for 10) from 42 for 10); "
            "UPDATE info1 i SET text1 = convert_from(new_bytes, 'UHC') "
            "WHERE i.ifpart1 = '업데이트' AND i.name1 = '추첨진행'; "
            "END $$"_s);
    Execute(c,
            u"CREATE OR REPLACE FUNCTION set_files_stamp(p_stamp text) RETURNS void LANGUAGE plpgsql VOLATILE "
            "SECURITY DEFINER SET search_path = public, pg_temp AS $$ "
            "DECLARE now_bytes bytea; "
            "BEGIN "
            "IF NOT pg_has_role(session_user, 'suriball_publisher', 'MEMBER') THEN RAISE EXCEPTION "
            "'화일 변경날짜는 배포 계정만 바꿀 수 있습니다.' USING ERRCODE = '42501'; END IF; "
            "IF p_stamp IS NULL OR p_stamp !~ '^[0-9]{10}$' THEN "
            "RAISE EXCEPTION '화일 변경날짜는 10자리 숫자여야 합니다.'; END IF; "
            "SELECT convert_to(i.text1, 'UHC') INTO now_bytes FROM info1 i "
            "WHERE i.ifpart1 = '업데이트' AND i.name1 = '추첨진행' FOR UPDATE; "
            "IF NOT FOUND THEN RAISE EXCEPTION '서버에 추첨진행 정보가 없습니다.'; END IF; "
            "IF length(now_bytes) < 51 THEN RAISE EXCEPTION '서버의 추첨진행 정보가 짧습니다.'; END IF; "
            "UPDATE info1 i SET text1 = convert_from(overlay(now_bytes placing convert_to(p_stamp, 'UHC') "
            "from 42 for 10), 'UHC') WHERE i.ifpart1 = '업데이트' AND i.name1 = '추첨진행'; "
            "END $$"_s);

    // Tables the administrator writes refuse a statement of the shared account without the
    // administrator's session with an error, not only by touching no row: a window that lost its session
    // must not report a save that did not happen.
    Execute(c,
            u"CREATE OR REPLACE FUNCTION refuse_unless_administrator() RETURNS trigger LANGUAGE plpgsql "
            "SET search_path = public, pg_temp AS $$ "
            "BEGIN "
            "IF current_user = "_s
                + quoted(user())
                + u" AND NOT is_administrator() THEN RAISE EXCEPTION "
                  "'관리자 로그인 세션이 없어 서버가 변경을 거부하였습니다. (%)', TG_TABLE_NAME "
                  "USING ERRCODE = '42501'; END IF; "
                  "RETURN NULL; "
                  "END $$"_s);
}

const QStringList& functionSignatures()
{
    static const QStringList all = {u"backend_started()"_s,
                                    u"current_member()"_s,
                                    u"current_shop()"_s,
                                    u"is_administrator()"_s,
                                    u"session_bind(text, text, timestamptz)"_s,
                                    u"session_resume(text, text)"_s,
                                    u"login_attempt_failed(text, text)"_s,
                                    u"login_attempt_remote(text, text)"_s,
                                    u"member_login(text, text)"_s,
                                    u"set_draw_progress(text)"_s,
                                    u"set_files_stamp(text)"_s,
                                    u"refuse_unless_administrator()"_s};
    return all;
}

// The login's attempts are written from the server back to itself, as the attempts role whose password
// only the owner's user mapping holds.
void attemptsLink(const Connection& c, const QString& attemptsPassword)
{
    Query self(c,
               u"SELECT COALESCE(host(inet_server_addr()), '127.0.0.1') AS host1, "
               "COALESCE(inet_server_port(), current_setting('port')::integer) AS port1, current_database() AS db1"_s);
    self.run();
    self.next();
    const QString host = self.text(u"host1"_s);
    const QString port = self.text(u"port1"_s);
    const QString database = self.text(u"db1"_s);
    Execute(c, u"GRANT USAGE ON FOREIGN DATA WRAPPER dblink_fdw TO "_s + owner());
    Execute(c, u"DROP SERVER IF EXISTS suriball_self CASCADE"_s);
    Execute(c,
            u"CREATE SERVER suriball_self FOREIGN DATA WRAPPER dblink_fdw OPTIONS (host "_s + quoted(host)
                + u", port "_s + quoted(port) + u", dbname "_s + quoted(database) + u", sslmode 'prefer')"_s);
    Execute(c, u"ALTER SERVER suriball_self OWNER TO "_s + owner());
    Execute(c,
            u"CREATE USER MAPPING FOR "_s + owner() + u" SERVER suriball_self OPTIONS (user "_s + quoted(attempts())
                + u", password "_s + quoted(attemptsPassword) + u')');
}

void rowRules(const Connection& c)
{
    const QString everyRole = user() + u", "_s + publisher() + u", "_s + attempts();
    QStringList tables;
    for (const auto& [table, access] : tableAccess())
        tables.append(table);
    for (const TableDef& table : Schema::serverTables()) {
        if (!tables.contains(table.name, Qt::CaseInsensitive))
            throw SqlError(u"서버 테이블 "_s + table.name + u"의 접근 규칙이 정해지지 않았습니다."_s,
                           QString(),
                           QString());
    }
    Query existing(c,
                   u"SELECT policyname AS name1, tablename AS table1 FROM pg_policies WHERE schemaname = 'public'"_s);
    existing.run();
    std::vector<std::pair<QString, QString>> old;
    while (existing.next())
        old.emplace_back(existing.text(u"name1"_s), existing.text(u"table1"_s));
    for (const auto& [name, table] : old)
        Execute(c, u"DROP POLICY "_s + quotedIdentifier(name) + u" ON "_s + quotedIdentifier(table));

    for (const QString& table : sessionTableNames()) {
        Execute(c, u"ALTER TABLE "_s + table + u" OWNER TO "_s + owner());
        Execute(c, u"REVOKE ALL ON "_s + table + u" FROM PUBLIC, "_s + everyRole);
        Execute(c, u"ALTER TABLE "_s + table + u" ENABLE ROW LEVEL SECURITY"_s);
        Execute(c, u"ALTER TABLE "_s + table + u" FORCE ROW LEVEL SECURITY"_s);
        Execute(c,
                u"CREATE POLICY "_s + table + u"_owner ON "_s + table + u" TO "_s + owner()
                    + u" USING (true) WITH CHECK (true)"_s);
    }

    for (const auto& [table, access] : tableAccess()) {
        Execute(c, u"ALTER TABLE "_s + table + u" OWNER TO "_s + owner());
        Execute(c, u"REVOKE ALL ON "_s + table + u" FROM PUBLIC, "_s + everyRole);
        Execute(c, u"ALTER TABLE "_s + table + u" ENABLE ROW LEVEL SECURITY"_s);
        Execute(c, u"ALTER TABLE "_s + table + u" FORCE ROW LEVEL SECURITY"_s);
        bool administratorWrites = false;
        for (const Rule& rule : rulesOf(access)) {
            const QString condition = conditionOf(rule.actor);
            QString policy = u"CREATE POLICY "_s + table.toLower() + u'_' + rule.operation.toLower() + u'_'
                + actorName(rule.actor) + u" ON "_s + table + u" FOR "_s + rule.operation + u" TO "_s
                + roleOf(rule.actor);
            if (rule.operation != u"INSERT"_s)
                policy += u" USING ("_s + condition + u')';
            if (rule.operation == u"INSERT"_s || rule.operation == u"UPDATE"_s)
                policy += u" WITH CHECK ("_s + condition + u')';
            Execute(c, policy);
            if (rule.actor != Actor::Owner) {
                Execute(c,
                        u"GRANT "_s + rule.operation
                            + (rule.columns.isEmpty() ? QString() : u" ("_s + rule.columns + u')') + u" ON "_s + table
                            + u" TO "_s + roleOf(rule.actor));
            }
            administratorWrites
                = administratorWrites || (rule.actor == Actor::Administrator && rule.operation != u"SELECT"_s);
        }
        Execute(c, u"DROP TRIGGER IF EXISTS administrator_only ON "_s + table);
        if (administratorWrites) {
            Execute(c,
                    u"CREATE TRIGGER administrator_only BEFORE INSERT OR UPDATE OR DELETE ON "_s + table
                        + u" FOR EACH STATEMENT EXECUTE FUNCTION refuse_unless_administrator()"_s);
        }
    }
}

} // namespace

void Apply(const Connection& c, const QString& publisherPassword)
{
    const QString catalog = quotedIdentifier(QString::fromUtf16(kServerCatalog));
    const QString attemptsPassword = randomSecret();
    // What is already there is made again without a word.
    Execute(c, u"SET client_min_messages TO warning"_s);
    roles(c, publisherPassword, attemptsPassword);

    Execute(c, u"REVOKE ALL ON DATABASE "_s + catalog + u" FROM PUBLIC"_s);
    Execute(c, u"REVOKE ALL ON DATABASE "_s + catalog + u" FROM "_s + user());
    Execute(c,
            u"GRANT CONNECT ON DATABASE "_s + catalog + u" TO "_s + user() + u", "_s + publisher() + u", "_s
                + attempts());
    Execute(c, u"REVOKE CREATE ON SCHEMA public FROM PUBLIC"_s);
    Execute(c, u"GRANT USAGE ON SCHEMA public TO "_s + user() + u", "_s + publisher() + u", "_s + attempts());
    Execute(c, u"CREATE EXTENSION IF NOT EXISTS pgcrypto"_s);
    Execute(c, u"CREATE EXTENSION IF NOT EXISTS dblink"_s);

    // Nobody else watches what a backend runs: the view and the functions under it are the owner's
    // only, which reads one thing there, the start of its own backend.
    Execute(c, u"REVOKE SELECT ON pg_catalog.pg_stat_activity FROM PUBLIC"_s);
    Execute(c, u"REVOKE EXECUTE ON FUNCTION pg_catalog.pg_stat_get_activity(integer) FROM PUBLIC"_s);
    Execute(c, u"REVOKE EXECUTE ON FUNCTION pg_catalog.pg_stat_get_backend_activity(integer) FROM PUBLIC"_s);
    Execute(c, u"GRANT EXECUTE ON FUNCTION pg_catalog.pg_stat_get_activity(integer) TO "_s + owner());

    sessionTables(c);
    functions(c);
    for (const QString& function : functionSignatures())
        Execute(c, u"ALTER FUNCTION "_s + function + u" OWNER TO "_s + owner());
    // What the shared account may call is listed, not left open: the extensions' functions included.
    Execute(c, u"REVOKE EXECUTE ON ALL FUNCTIONS IN SCHEMA public FROM PUBLIC"_s);
    Execute(c,
            u"GRANT EXECUTE ON FUNCTION crypt(text, text), gen_salt(text, integer), gen_random_bytes(integer), "
            "dblink_connect(text, text), dblink(text, text), dblink_get_connections(), dblink_disconnect(text) TO "_s
                + owner());
    Execute(c,
            u"GRANT EXECUTE ON FUNCTION member_login(text, text), session_resume(text, text), current_member(), "
            "current_shop(), is_administrator(), set_draw_progress(text) TO "_s
                + user());
    Execute(c, u"GRANT EXECUTE ON FUNCTION set_files_stamp(text) TO "_s + publisher());
    Execute(c, u"GRANT EXECUTE ON FUNCTION login_attempt_failed(text, text) TO "_s + attempts());
    attemptsLink(c, attemptsPassword);
    rowRules(c);

    // Clear passwords become hashes (once; hashed ones stay until their member's next login).
    Execute(c,
            u"UPDATE Member SET Pwd = crypt(Pwd, gen_salt('bf', "_s + QString::number(kBcryptCost)
                + u")) WHERE Pwd IS NOT NULL AND Pwd NOT LIKE '$2_$%'"_s);
}

Connection ConnectAsPublisher(const ServerLocation& where, const QString& password)
{
    return Connection::openPostgres(where.target(publisher(), password));
}

QStringList LoginLibraries() { return {u"plpgsql"_s, u"pgcrypto"_s}; }

QStringList NotPreloaded(const QString& sharedPreloadLibraries)
{
    QStringList loaded;
    for (QString name : sharedPreloadLibraries.split(u',')) {
        // A name may be quoted or a path ('$libdir/pgcrypto').
        name = name.trimmed().remove(u'"').remove(u'\'');
        loaded << name.section(u'/', -1).toLower();
    }
    QStringList missing;
    for (const QString& library : LoginLibraries()) {
        if (!loaded.contains(library))
            missing << library;
    }
    return missing;
}

QStringList LibrariesNotPreloaded(const Connection& c)
{
    Query setting(c, u"SELECT current_setting('shared_preload_libraries') AS libraries"_s);
    setting.run();
    return NotPreloaded(setting.next() ? setting.text(u"libraries"_s) : QString());
}

void CheckAttemptsLink(const Connection& c)
{
    Execute(c, u"SET ROLE "_s + owner());
    try {
        Execute(c, u"SELECT dblink_connect('suriball_check', 'suriball_self')"_s);
        Execute(c, u"SELECT dblink_disconnect('suriball_check')"_s);
    } catch (const SqlError& error) {
        Execute(c, u"RESET ROLE"_s);
        throw SqlError(u"서버가 로그인 시도를 기록할 연결("_s + attempts()
                           + u")을 열지 못합니다. 서버 자신의 주소에서 이 역할이 암호로 접속할 수 있게 pg_hba.conf를 "
                             "고쳐 주십시오: "_s
                           + error.message(),
                       error.nativeCode(),
                       QString());
    }
    Execute(c, u"RESET ROLE"_s);
}

} // namespace ServerTrust
