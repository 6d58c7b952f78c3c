#include "DisplaySettings.h"
#include "Grid.h"
#include "Query.h"
#include "ShellFixture.h"
#include "WebSite.h"
#include "WebView.h"
#include "frmHelp1.h"
#include "frmHotList1.h"
#include "frmInfo1.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST_F(ShellTest, TheNoticeListStripesItsLinesAndOpensThemAsWebAddresses)
{
    logIn(u"player"_s);
    Execute(gSystemConn, u"DELETE FROM Hot1"_s);
    for (int i = 1; i <= 12; ++i) {
        Execute(gSystemConn,
                u"INSERT INTO Hot1 (No1,Part1,Text1,Url1) VALUES (?,'광고',?,?)"_s,
                {i, QString(u"홍보 "_s + QString::number(i)), QString(u"example.com/"_s + QString::number(i))});
    }
    frmHotList1 list;
    auto* grid = list.findChild<Grid*>(u"grdR1"_s);
    ASSERT_EQ(grid->maxRows(), 12);
    EXPECT_TRUE(grid->isColumnHidden(3));
    for (int row = 1; row <= 12; ++row)
        EXPECT_EQ(grid->cellColor(2, row), row >= 6 && row <= 10 ? QColor(246, 246, 246) : QColor()) << row;
    Q_EMIT grid->cellClicked(2, 0); // the header selects nothing
    EXPECT_TRUE(install.launcher.urls.isEmpty());
    Q_EMIT grid->cellClicked(2, 3);
    EXPECT_EQ(install.launcher.urls, QStringList {u"http://example.com/3"_s});
    grid->setActiveCell(2, 3);
    QTest::keyClick(grid->view(), Qt::Key_Down); // moving along the list opens nothing
    EXPECT_EQ(install.launcher.urls.size(), 1);
}

TEST_F(ShellTest, TheNoticeListOpensOnceFromTheTicker)
{
    frmMain* m = openMain();
    QLabel* kind = m->findChild<QLabel*>(u"lblHot1List"_s);
    QTest::mouseClick(kind, Qt::LeftButton);
    QTest::mouseClick(kind, Qt::LeftButton);
    EXPECT_EQ(m->findChildren<frmHotList1*>().size(), 1);
    EXPECT_TRUE(gFormOpen.value(u"frmHotList1"_s));
}

TEST_F(ShellTest, SettingsShowTheNumbersAndSaveThemInOrder)
{
    logIn(u"player"_s);
    Execute(gSystemConn, u"UPDATE Info1 SET Value1 = '7' WHERE Name1 = '로또게임:게임 횟수'"_s);
    DisplaySettings::Load();
    frmInfo1 form;
    auto* games = form.findChild<QComboBox*>(u"cboJob101"_s);
    auto* perTicket = form.findChild<QComboBox*>(u"cboJob303"_s);
    EXPECT_EQ(games->currentText(), u"7"_s); // typed earlier, not among the choices
    EXPECT_EQ(games->count(), 15);
    EXPECT_EQ(games->itemText(5), u"10"_s);
    EXPECT_EQ(form.findChild<QComboBox*>(u"cboJob302"_s)->itemText(5), u"6"_s);
    EXPECT_EQ(perTicket->count(), 5);

    games->setCurrentText(u"40"_s);
    form.findChild<QPushButton*>(u"cmdSave1"_s)->click();
    EXPECT_EQ(gGameCount, 40);
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"로또게임:게임 횟수"_s), u"40"_s);
    EXPECT_TRUE(install.messages.shown().isEmpty());

    // A bad value is refused and nothing is written.
    games->setCurrentText(u"50"_s);
    perTicket->setCurrentText(u"6"_s);
    form.save();
    EXPECT_EQ(install.messages.shown().size(), 1);
    EXPECT_TRUE(install.messages.last().contains(u"복권당 게임수"_s));
    EXPECT_EQ(gGameCount, 40);
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"로또게임:게임 횟수"_s), u"40"_s);
    EXPECT_EQ(perTicket->currentText(), u"5"_s);
    games->setCurrentText(u"many"_s);
    form.save();
    EXPECT_EQ(install.messages.shown().size(), 2);
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"로또게임:게임 횟수"_s), u"40"_s);
}

TEST_F(ShellTest, HelpKeepsItsPlaceAndSize)
{
    logIn(u"player"_s);
    {
        frmHelp1 help;
        EXPECT_EQ(help.geometry(), QRect(40, 40, 600, 500));
        EXPECT_EQ(help.findChild<WebView*>()->address(), WebSite::address(u"/"_s));
        help.show();
        help.setGeometry(30, 45, 450, 300);
        help.close();
    }
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"도움말:길이"_s), u"6750"_s);
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"도움말:윗쪽"_s), u"675"_s);
}

TEST_F(ShellTest, TheHomePageShowsTheSiteRoot)
{
    frmMain* m = openMain();
    m->openFunction(u"홈페이지"_s);
    QWidget* home = m->openWindow(u"frmHome1"_s);
    ASSERT_NE(home, nullptr);
    EXPECT_EQ(home->findChild<WebView*>(u"webView1"_s)->address(), WebSite::address());
    EXPECT_TRUE(WebSite::address().endsWith(u"/WEB/index.htm"_s));
}
