// One day of the service through the real windows, each member logging in at the login form: a shop
// changes its coupon of the draw on sale, the administrator enters the draw's result and settles its
// free tickets, and a player's next start copies the result. On PostgreSQL every write goes through the
// server's rules for the member who makes it.
#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Grid.h"
#include "Installer.h"
#include "Query.h"
#include "TestEnvironment.h"
#include "frmA1Job13.h"
#include "frmLogin.h"
#include "frmSave22.h"

#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class MemberDay : public ::testing::TestWithParam<Backend>
{
protected:
    void SetUp() override
    {
        SURIBALL_REQUIRE_SERVER(GetParam(), true);
        Installer::demoShop();
        OpenSystemDb();
    }
    // The start of the program for a member: the login form, then the synchronisation.
    void start(const QString& id)
    {
        gDialogResult.clear();
        {
            frmLogin form;
            form.show();
            form.findChild<QLineEdit*>(u"txtID1"_s)->setText(id);
            form.findChild<QLineEdit*>(u"txtPwd"_s)->setText(id);
            form.findChild<QPushButton*>(u"cmdStart1"_s)->click();
        }
        ASSERT_EQ(gDialogResult, u"정상"_s) << install.messages.last().toStdString();
        SyncDrawResults();
    }
    void click(QWidget& window, const char16_t* button, bool confirm = true)
    {
        if (confirm)
            install.messages.answerNext(MsgAnswer::Ok);
        window.findChild<QPushButton*>(QString::fromUtf16(button))->click();
    }
    QString onServer(const QString& sql) { return SqlValue(ServerOwnerConnection(GetParam()), sql); }

    TestInstall install {TestInstall::Kind::Demo};
};

} // namespace

TEST_P(MemberDay, AShopTheAdministratorAndAPlayerThroughTheirWindows)
{
    start(u"shop7"_s);
    {
        frmSave22 coupon(CouponRegistration::Mode::Edit, gCurrentDrawNo);
        coupon.findChild<QLineEdit*>(u"txtTitle1"_s)->setText(u"오늘의 행운 쿠폰"_s);
        click(coupon, u"cmdSave1", false);
        ASSERT_EQ(coupon.savedDraw(), 1201) << install.messages.last().toStdString();
    }
    EXPECT_EQ(onServer(u"SELECT Title1 FROM Coupon1 WHERE ID1 = 'shop7' AND BokNo = 1201"_s), u"오늘의 행운 쿠폰"_s);

    start(u"chief"_s);
    {
        frmA1Job13 draws;
        Grid* grid = draws.findChild<Grid*>(u"grdR1"_s);
        ASSERT_EQ(grid->text(2, 1), u"1201"_s);
        grid->setText(5, 1, u"03071022334145"_s);
        draws.DrawCellEdited(5, 1);
        grid->setText(17, 1, u"3"_s);
        draws.DrawCellEdited(17, 1);
        click(draws, u"cmdDo01");
        ASSERT_EQ(install.messages.last(), u"작업완료"_s);
        for (const char16_t* step : {u"cmdJob01", u"cmdJob02", u"cmdJob03", u"cmdJob04"})
            click(draws, step);
        EXPECT_EQ(install.messages.last(), u"작업완료"_s);
    }
    EXPECT_EQ(onServer(u"SELECT LotNo || State1 FROM BokList WHERE BokNo = 1201"_s), u"030710223341453"_s);
    EXPECT_EQ(onServer(u"SELECT COUNT(*) FROM NBNo1 WHERE BokNo = 1201"_s), u"0"_s);
    EXPECT_TRUE(install.messages.passwordPrompts().isEmpty());

    start(u"player"_s);
    EXPECT_EQ(SqlValue(gSystemConn, u"SELECT No1 || State1 FROM BokList WHERE BokNo = 1201"_s), u"030710223341453"_s);
}

INSTANTIATE_TEST_SUITE_P(Servers, MemberDay, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
