#include "Database.h"
#include "DrawSync.h"
#include "Globals.h"
#include "Grid.h"
#include "LoginService.h"
#include "Settings.h"
#include "TestEnvironment.h"
#include "frmA1Job11.h"
#include "frmMain.h"
#include "frmRun1.h"

#include <QApplication>
#include <QMdiSubWindow>

#include <memory>

using namespace Qt::StringLiterals;

// The administrator's windows as the main window opens them: the factory's guard, and the order
// window pulling the games of the lotto game window that is open beside it.
class AdminShell : public ::testing::Test
{
protected:
    frmMain* openMain(const QString& id)
    {
        OpenSystemDb();
        EXPECT_EQ(LoginService().login(id, id, false).outcome, LoginService::Outcome::LoggedIn);
        SyncDrawResults();
        WriteIfo(QString(), u"SYSTEM"_s, u"HOTVIEWDATE"_s, u"2025-12-08"_s);
        install.messages.clear();
        main = std::make_unique<frmMain>();
        main->start();
        return main.get();
    }
    void TearDown() override
    {
        main.reset();
        for (QWidget* w : QApplication::topLevelWidgets())
            w->deleteLater();
        QApplication::processEvents();
    }

    TestInstall install {TestInstall::Kind::Demo};
    std::unique_ptr<frmMain> main;
};

TEST_F(AdminShell, AMemberIsTurnedAwayWhicheverWayHeAsks)
{
    frmMain* m = openMain(u"player"_s);
    for (const QString& form : {u"frmA1Job11"_s, u"frmA1Job12"_s, u"frmA1Job13"_s, u"frmA1Job91"_s, u"frmA1Job92"_s}) {
        install.messages.clear();
        m->openForm(form);
        EXPECT_EQ(m->openWindow(form), nullptr);
        EXPECT_EQ(install.messages.last(), u"관리자만 사용할 수 있는 기능입니다."_s);
    }
}

TEST_F(AdminShell, TheOrderWindowPullsTheOpenGameWindowsList)
{
    frmMain* m = openMain(u"chief"_s);
    auto* games = qobject_cast<frmRun1*>(m->openWindow(u"frmRun1"_s));
    ASSERT_TRUE(games);
    m->openForm(u"frmA1Job11"_s);
    auto* orders = qobject_cast<frmA1Job11*>(m->openWindow(u"frmA1Job11"_s));
    ASSERT_TRUE(orders);

    orders->Prepare();
    orders->PullGames();
    EXPECT_EQ(install.messages.last(), u"[로또게임]에서 불러올 복권이 없습니다..."_s);
    games->GenerateGames();
    ASSERT_GT(games->gameCount(), 0);
    orders->PullGames();
    EXPECT_EQ(install.messages.last(), u"패스2 OK"_s);
    Grid* pulled = orders->findChild<Grid*>(u"grdR2"_s);
    ASSERT_EQ(pulled->maxRows(), games->gameCount());
    EXPECT_EQ(pulled->text(1, 1), games->games().front().dotted());

    qobject_cast<QMdiSubWindow*>(games->parentWidget())->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(m->openWindow(u"frmRun1"_s), nullptr);
    orders->Prepare();
    orders->PullGames();
    EXPECT_TRUE(install.messages.last().startsWith(u"[로또게임] 창이 열려 있지 않습니다."_s));
}
