// The administrator's windows on PostgreSQL, where the server and not this program decides: a session
// that ran out during a long day asks for the password once and the work goes on; a copy of the program
// that skips its own checks gets nothing from the server.
#include "Database.h"
#include "DrawAdmin.h"
#include "DrawProgress.h"
#include "Globals.h"
#include "Grid.h"
#include "OrderStore.h"
#include "Query.h"
#include "SqlError.h"
#include "TestEnvironment.h"
#include "frmA1Job13.h"

#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class AdministratorSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        SURIBALL_REQUIRE_SERVER(Backend::PostgreSQL, true);
        OpenSystemDb();
        LogInOnServer(u"chief"_s);
        owner = ServerOwnerConnection(Backend::PostgreSQL);
    }
    // Twelve hours later.
    void expire()
    {
        Execute(owner, u"UPDATE member_secret SET expires = now() - interval '1 second'"_s);
        Execute(owner, u"UPDATE member_session SET expires = now() - interval '1 second'"_s);
    }
    // The administrator's tables as the server holds them.
    QString backOffice() const
    {
        QString all;
        for (const QString& table : {u"BokList"_s, u"NBList1"_s, u"NBNo1"_s, u"NBNo2"_s, u"S1List"_s, u"Info1"_s})
            all += SqlValue(owner, u"SELECT md5(string_agg(x::text, '|' ORDER BY x::text)) FROM "_s + table + u" x"_s);
        return all;
    }
    TestInstall install {TestInstall::Kind::Demo};
    Connection owner;
};

QString refusal(const std::function<void()>& action)
{
    try {
        action();
    } catch (const SqlError& error) {
        return error.message();
    }
    return QString();
}

} // namespace

TEST_F(AdministratorSession, ARunOutSessionAsksForThePasswordOnceAndTheWorkGoesOn)
{
    const QString before = backOffice();
    expire();
    auto save = [] { OrderStore::SaveOrder(101, u"3"_s, u"9999"_s, u"새 메모"_s); };

    EXPECT_TRUE(refusal(save).startsWith(u"로그인한 지 12시간이 지나 서버의 로그인 세션이 끝났습니다."_s));
    install.messages.typePassword(u"wrong"_s);
    EXPECT_EQ(refusal(save), u"암호가 틀렸습니다. 서버에 저장하지 않았습니다."_s);
    EXPECT_EQ(backOffice(), before);
    ASSERT_EQ(install.messages.passwordPrompts().size(), 2);
    EXPECT_TRUE(install.messages.passwordPrompts()[0].contains(u"chief 회원의 암호를 다시 입력"_s));

    install.messages.typePassword(u"chief"_s);
    EXPECT_TRUE(refusal(save).isEmpty());
    EXPECT_EQ(SqlValue(owner, u"SELECT State1 || SendNo1 || Bigo1 FROM NBList1 WHERE JPCodeNo = 101"_s),
              u"39999새 메모"_s);
    // The new session carries on: no more questions.
    EXPECT_FALSE(OrderStore::ListOrders(2025, 0).empty());
    EXPECT_TRUE(refusal(save).isEmpty());
    EXPECT_EQ(install.messages.passwordPrompts().size(), 3);
}

TEST_F(AdministratorSession, TheDrawsWindowReportsARefusedSaveAndStays)
{
    frmA1Job13 window;
    Grid* draws = window.findChild<Grid*>(u"grdR1"_s);
    ASSERT_GT(draws->maxRows(), 0);
    const QString before = backOffice();
    draws->setText(1, 1, u"1"_s); // the row ticked for saving
    expire();
    install.messages.answerNext(MsgAnswer::Ok);
    window.findChild<QPushButton*>(u"cmdDo01"_s)->click();
    EXPECT_TRUE(install.messages.last().contains(u"12시간"_s)) << install.messages.last().toStdString();
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(backOffice(), before);
}

TEST_F(AdministratorSession, ACopyThatSkipsItsOwnChecksGetsNothingFromTheServer)
{
    // A member's session, and a program that believes itself the administrator.
    LogInOnServer(u"player"_s);
    gUserID = u"chief"_s;
    const QString before = backOffice();
    DrawProgress progress = DrawProgress::parse(
        SqlValue(gServerConn, u"SELECT Text1 FROM Info1 WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s));
    progress.lastDrawNo = 1201;
    for (const QString& statement : {u"UPDATE BokList SET LotNo = '01020304050607', State1 = '3' WHERE BokNo = 1201"_s,
                                     u"UPDATE NBList1 SET State1 = '4'"_s,
                                     u"DELETE FROM NBNo1"_s,
                                     u"INSERT INTO NBNo1 VALUES (101, 1200, '010203040506', '1', 1000, 9, '1', '0')"_s,
                                     u"INSERT INTO NBNo2 VALUES (101, 1200, '010203040506', '1', 1000, 9, '1')"_s,
                                     u"UPDATE S1List SET S1Count = 99"_s,
                                     u"UPDATE Info1 SET Text1 = 'x'"_s}) {
        const QString message = refusal([&] { Execute(gServerConn, statement); });
        EXPECT_TRUE(message.startsWith(u"서버가 이 작업을 허락하지 않아 아무것도 바꾸지 않았습니다."_s))
            << statement.toStdString() << ": " << message.toStdString();
    }
    EXPECT_FALSE(
        refusal([&] { Query(gServerConn, u"SELECT set_draw_progress(?)"_s).run({progress.compose()}); }).isEmpty());
    EXPECT_EQ(SqlValue(gServerConn, u"SELECT count(*) FROM NBList1"_s), u"0"_s);
    EXPECT_EQ(backOffice(), before);

    // The program's own way in asks for chief's password, which this member does not have.
    EXPECT_FALSE(refusal([] { DrawAdmin::ListDraws(2025, 12); }).isEmpty());
    EXPECT_EQ(install.messages.passwordPrompts().size(), 1);
}
