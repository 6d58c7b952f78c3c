#include "ServerSession.h"

#include "Database.h"
#include "Globals.h"
#include "MemberCheck.h"
#include "MessageService.h"
#include "ProtocolStatement.h"
#include "Query.h"

using namespace Qt::StringLiterals;

namespace ServerSession {

namespace {

bool sameMember(const QString& a, const QString& b) { return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0; }

[[noreturn]] void refuse(const QString& message) { throw SqlError(message, u"42501"_s, QString()); }

QString reasonOf(Presented presented)
{
    switch (presented) {
    case Presented::Expired:
        return u"로그인한 지 12시간이 지나 서버의 로그인 세션이 끝났습니다."_s;
    case Presented::Refused:
        return u"서버가 이 로그인 세션을 더 이상 알지 못합니다. (서버가 다시 시작되었을 수 있습니다)"_s;
    case Presented::Bound:
        break;
    }
    return u"서버의 로그인 세션이 없습니다."_s;
}

// A new login on the same connection, with the password asked for again.
void logInAgain(const Connection& server, Presented why)
{
    const std::optional<QString> password
        = AskPassword(reasonOf(why) + u"\r\n계속하려면 "_s + gUserID + u" 회원의 암호를 다시 입력하여 주십시오."_s);
    if (!password)
        refuse(reasonOf(why) + u" 서버에 저장하지 않았습니다. 암호를 다시 입력하면 계속할 수 있습니다."_s);
    const MemberCheck::Result check = MemberCheck::Check(server, gUserID, password->trimmed());
    if (check.locked)
        refuse(LockedOutText());
    if (!check.found)
        refuse(u"해당 아이디의 회원을 찾을수 없습니다. 서버에 저장하지 않았습니다."_s);
    if (!check.passwordMatches)
        refuse(u"암호가 틀렸습니다. 서버에 저장하지 않았습니다."_s);
    if (check.secret.isEmpty())
        refuse(gUserID + u" 회원은 탈퇴(강퇴) 처리된 아이디입니다. 서버에 저장하지 않았습니다."_s);
    gSessionSecret = check.secret;
}

} // namespace

QString LockedOutText() { return u"비밀번호를 5회 잘못 입력하여 15분 동안 로그인할 수 없습니다."_s; }

Presented Present(const Connection& server)
{
    if (server.engine() != Connection::Engine::PostgreSQL || gSessionSecret.isEmpty())
        return Presented::Refused;
    const ProtocolStatement answer(server, u"SELECT session_resume($1, $2) AS state1"_s, {gSessionSecret, gUserID});
    const QString state = answer.rows() > 0 ? answer.text(0, u"state1"_s) : QString();
    if (state == u"ok"_s)
        return Presented::Bound;
    return state == u"expired"_s ? Presented::Expired : Presented::Refused;
}

QString MemberOf(const Connection& server)
{
    if (server.engine() != Connection::Engine::PostgreSQL)
        return QString();
    Query q(server, u"SELECT current_member() AS member1"_s);
    q.run();
    return q.next() ? q.text(u"member1"_s) : QString();
}

void Require(Connection& server)
{
    // Nothing to guard on the stand-in, or where no server connection was opened at all.
    if (!server.isOpen() || server.engine() != Connection::Engine::PostgreSQL)
        return;
    if (gUserID.isEmpty() || gUserID == kGuestID)
        refuse(u"손님 회원은 서버에 저장할 수 없습니다."_s);
    QString member;
    try {
        member = MemberOf(server);
    } catch (const SqlError&) {
        // The server may have dropped the connection since it was opened: a new one presents the secret.
        try {
            server = ConnectServer(ServerLocation::ofInstall());
        } catch (const SqlError& error) {
            throw SqlError(ServerConnectErrorText(error), error.nativeCode(), QString());
        }
        member = MemberOf(server);
    }
    if (sameMember(member, gUserID))
        return;
    const Presented presented = gSessionSecret.isEmpty() ? Presented::Refused : Present(server);
    if (presented == Presented::Bound && sameMember(MemberOf(server), gUserID))
        return;
    logInAgain(server, presented);
}

} // namespace ServerSession
