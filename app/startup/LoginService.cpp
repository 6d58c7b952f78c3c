#include "LoginService.h"

#include "Database.h"
#include "Globals.h"
#include "Launcher.h"
#include "MemberCheck.h"
#include "MessageService.h"
#include "Paths.h"
#include "ProgramEnd.h"
#include "Query.h"
#include "ServerSession.h"
#include "Settings.h"
#include "Tools.h"
#include "Transaction.h"
#include "WebSite.h"

#include <QFile>

using namespace Qt::StringLiterals;

bool LoginService::IsGuest(const QString& id) { return id == kGuestID; }

QString LoginService::RegisterAddress() { return WebSite::address(u"/member/register.aspx"_s); }

LoginService::Result LoginService::refuse(Focus focus, const QString& message, bool error)
{
    ShowMessage(message, error ? MsgIcon::Critical : MsgIcon::Information);
    return {Outcome::Refused, focus};
}

LoginService::Result LoginService::login(const QString& typedId, const QString& typedPassword, bool rememberId)
{
    // IDs are told apart without regard to letter case, as the server's own comparisons do; the typed
    // ID is already in lower case, the stored one may not be.
    const QString id = CleanId(typedId);
    const QString password = typedPassword.trimmed();

    // A login starts without anyone's session: the connections it opens act for nobody until the
    // server has checked the password.
    gSessionSecret.clear();
    OpenServerConn();
    const QString state = ReadServerInfo(u"시스템"_s, u"동작상태"_s);
    if (state != u"정상동작"_s) {
        // Any other text is the address of a notice page about the closed service.
        if (!state.isEmpty())
            WebSite::OpenServerAddress(state);
        EndProgram();
    }

    if (IsGuest(id)) {
        gUserID = kGuestID;
    } else {
        // The server hands the member's row back only for the right password; no install reads the
        // stored passwords.
        const MemberCheck::Result check = MemberCheck::Check(gServerConn, id, password);
        if (!check.found)
            return refuse(Focus::Id, u"해당 아이디의 회원을 찾을수 없습니다."_s);
        if (check.locked)
            return refuse(Focus::Password, ServerSession::LockedOutText());
        if (!check.passwordMatches)
            return refuse(Focus::Password, u"암호가 틀렸습니다."_s);
        const MemberCheck::Member& member = check.member;
        if (member.state == u"2"_s || member.state == u"3"_s)
            return refuse(Focus::Id, id + u" 회원은 탈퇴(강퇴) 처리된 아이디입니다. 재가입을 불허합니다."_s);
        gUserID = member.id;
        gUserPwd = password;
        gUserName = member.name;
        gUserEmail = member.email;
        gUserJuminNo = member.juminNo;
        gUserLevel = member.level;
        gSessionSecret = check.secret;
    }

    if (!prepareUserDb()) {
        gSessionSecret.clear();
        return {Outcome::Refused, Focus::None};
    }

    if (!IsGuest(gUserID)) {
        OpenServerConn();
        gUserID = id;
        Query clock(gServerConn, u"SELECT "_s + gServerConn.nowExpression() + u" AS Date1"_s);
        clock.run();
        clock.next();
        gLoginTime = clock.text(u"Date1"_s);
        Execute(gServerConn, u"UPDATE Member SET Login2 = ? WHERE LOWER(ID1) = ?"_s, {gLoginTime, gUserID});
    }

    WriteIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s, rememberId ? id : u"NO"_s);
    gDialogText[1] = u"회원"_s;
    gDialogResult = u"정상"_s;
    if (IsGuest(gUserID))
        ShowMessage(u"손님 회원은 정식회원이 아니므로 복권번호 관리(보관)가 제한됩니다."_s, MsgIcon::Information);
    return {Outcome::LoggedIn, Focus::None};
}

bool LoginService::prepareUserDb()
{
    const QString path = InstallPaths::userDb(gUserID);
    gUserDbPath = path;
    const bool guest = IsGuest(gUserID);

    if (!FileExists(path)) {
        const QString templatePath = InstallPaths::userDbTemplate();
        if (!FileExists(templatePath)) {
            refuse(Focus::None,
                   u"시스템화일("_s + templatePath
                       + u")을 찾을수 없습니다. [수리볼]를 제거후 다시 설치하여 주십시오."_s,
                   false);
            return false;
        }
        // The new file is made and stamped with its owner beside its name, then moved in: a member never
        // finds a half-made file of their own.
        const QString building = path + u".new"_s;
        QFile::remove(building);
        try {
            if (!QFile::copy(templatePath, building))
                throw SqlError(u"화일을 만들 수 없습니다: "_s + path, u"14"_s, QString());
            QFile::setPermissions(building, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
            if (!guest) {
                Connection fresh = OpenUserDatabase(building);
                Transaction transaction(fresh);
                Execute(fresh, u"UPDATE MyInfo1 SET Value1 = ? WHERE Name1 = '아이디'"_s, {gUserID});
                Execute(fresh, u"UPDATE MyInfo1 SET Value1 = ? WHERE Name1 = '주민등록번호'"_s, {gUserJuminNo});
                transaction.commit();
            }
            if (!QFile::rename(building, path))
                throw SqlError(u"화일을 제자리에 놓을 수 없습니다: "_s + path, u"14"_s, QString());
        } catch (const SqlError& error) {
            QFile::remove(building);
            refuse(Focus::None, LocalDbErrorText(error));
            return false;
        }
    }

    OpenUserDb();
    if (guest) {
        Transaction transaction(gUserConn);
        Execute(gUserConn, u"DELETE FROM Group1"_s);
        Execute(gUserConn, u"UPDATE Bok1 SET Count1 = 0, Bigo1 = ''"_s);
        Execute(gUserConn, u"DELETE FROM List1"_s);
        transaction.commit();
    }
    bool accepted = guest;
    if (!guest) {
        Query owner(gUserConn, u"SELECT Value1 FROM MyInfo1 WHERE Name1 = '아이디'"_s);
        owner.run();
        accepted = owner.next() && owner.text(u"Value1"_s) == gUserID;
    }
    CloseUserDb();
    if (!accepted) {
        refuse(Focus::None, gUserDbPath + u"자료는 "_s + gUserID + u"회원님의 자료가 아니므로 사용이 제한됩니다."_s);
        return false;
    }
    return true;
}
