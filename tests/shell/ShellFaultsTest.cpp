// What the shell does when its databases fail under it, or when it is driven by other means than the
// mouse: it reports, keeps the window, and never lets an error end the program.
#include "DisplaySettings.h"
#include "Query.h"
#include "ShellFixture.h"
#include "WebView.h"
#include "frmHelp1.h"
#include "frmHotList1.h"
#include "frmInfo1.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAccessibleActionInterface>
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
// Every later write of a settings row fails, as a full disk or a locked file would make it.
void failSettingWrites()
{
    Execute(gSystemConn,
            u"CREATE TRIGGER FailUpdate BEFORE UPDATE ON Info1 BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END"_s);
    Execute(gSystemConn,
            u"CREATE TRIGGER FailInsert BEFORE INSERT ON Info1 BEGIN SELECT RAISE(ABORT, 'disk I/O error'); END"_s);
}
void failSettingReads() { Execute(gSystemConn, u"ALTER TABLE Info1 RENAME TO Info1Gone"_s); }
} // namespace

TEST_F(ShellTest, ASettingsSaveThatFailsChangesNeitherTheFileNorTheNumbersInUse)
{
    logIn(u"player"_s);
    DisplaySettings::Load();
    const int games = gGameCount, page = gSafePageSize;
    frmInfo1 form;
    form.findChild<QComboBox*>(u"cboJob101"_s)->setCurrentText(u"40"_s);
    form.findChild<QComboBox*>(u"cboJob201"_s)->setCurrentText(u"300"_s);
    failSettingWrites();
    form.findChild<QPushButton*>(u"cmdSave1"_s)->click();
    EXPECT_TRUE(install.messages.last().startsWith(u"설정값을 저장하지 못하였습니다."_s));
    EXPECT_EQ(gGameCount, games);
    EXPECT_EQ(gSafePageSize, page);
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"로또게임:게임 횟수"_s), QString::number(games));

    Execute(gSystemConn, u"DROP TRIGGER FailUpdate"_s);
    Execute(gSystemConn, u"DROP TRIGGER FailInsert"_s);
    form.findChild<QPushButton*>(u"cmdSave1"_s)->click(); // the form is still usable
    EXPECT_EQ(gGameCount, 40);
    EXPECT_EQ(ReadInfo(u"화면구성"_s, u"복권금고:표시할 복권수"_s), u"300"_s);
}

TEST_F(ShellTest, TheMainWindowOpensAndClosesOverAFailingSystemDatabase)
{
    logIn(u"player"_s);
    failSettingReads();
    main = std::make_unique<frmMain>();
    EXPECT_NO_THROW(main->start());
    EXPECT_GT(gSafePageSize, 0); // the numbers fall back to what the windows can use
    EXPECT_GT(gGameCount, 0);
    EXPECT_FALSE(install.messages.shown().isEmpty());

    // Panels that read or write settings report and stay usable.
    install.messages.clear();
    EXPECT_NO_THROW(main->openFunction(u"도움말"_s));
    EXPECT_NO_THROW(main->openForm(u"frmHotList1"_s));
    ASSERT_NE(main->openWindow(u"frmHelp1"_s), nullptr);
    EXPECT_NO_THROW(main->openWindow(u"frmHelp1"_s)->close());
    EXPECT_NO_THROW(main->close());
}

TEST_F(ShellTest, ASafeThatCannotReadItsGamesSaysSoAndTheProgramGoesOn)
{
    frmMain* m = openMain();
    Execute(gUserConn, u"ALTER TABLE List1 RENAME TO List1Gone"_s);
    EXPECT_NO_THROW(m->openFunction(u"복권금고"_s));
    EXPECT_FALSE(install.messages.shown().isEmpty());
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    Execute(gUserConn, u"ALTER TABLE List1Gone RENAME TO List1"_s);
    install.messages.clear();
    EXPECT_NO_THROW(m->openFunction(u"로또게임"_s));
    EXPECT_NO_THROW(m->openFunction(u"복권금고"_s));
    EXPECT_NE(m->openWindow(u"frmBank1"_s), nullptr);
}

TEST_F(ShellTest, ABannerThatCannotBeLoadedIsReportedOnceThenLeftEmpty)
{
    for (const char16_t* page : {u"WEB/pr1.htm", u"WEB/pr2.htm", u"WEB/pr3.htm"})
        QFile::remove(install.path(QString::fromUtf16(page)));
    frmMain* m = openMain();
    QAction* settings = m->findChild<QAction*>(u"tbr설정"_s);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !install.messages.shown().isEmpty(); }, 30000));
    for (int click = 0; click < 25; ++click) {
        settings->trigger();
        QApplication::processEvents();
    }
    EXPECT_EQ(install.messages.shown().size(), 1);
    EXPECT_TRUE(install.messages.last().startsWith(u"(오류:"_s));
    EXPECT_TRUE(m->findChild<WebView*>(u"webPr"_s)->address().isEmpty());
}

TEST_F(ShellTest, AToolbarButtonPressedThroughAccessibilityOpensItsWindow)
{
    frmMain* m = openMain();
    QAction* safe = m->findChild<QAction*>(u"tbr복권금고"_s);
    auto* button = qobject_cast<QAbstractButton*>(m->findChild<QToolBar*>(u"tbrMenu1"_s)->widgetForAction(safe));
    ASSERT_NE(button, nullptr);
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(button);
    ASSERT_NE(accessible, nullptr);
    ASSERT_NE(accessible->actionInterface(), nullptr);
    const QStringList actions = accessible->actionInterface()->actionNames();
    ASSERT_FALSE(actions.isEmpty());
    EXPECT_EQ(accessible->text(QAccessible::Name), u"복권금고"_s);
    accessible->actionInterface()->doAction(actions.first());
    ASSERT_TRUE(QTest::qWaitFor([&] { return m->openWindow(u"frmBank1"_s) != nullptr; }, 30000));
    EXPECT_EQ(m->currentFunction(), u"복권금고"_s);
    EXPECT_TRUE(safe->isChecked());
    EXPECT_TRUE(button->isChecked());
}

TEST(WebViewKind, RootGetsPlainPagesUnlessTheSandboxWasTurnedOffOnPurpose)
{
    EXPECT_EQ(WebView::PlainViewReason(QString(), false, false), QString());
    EXPECT_EQ(WebView::PlainViewReason(QString(), true, false), u"root"_s);
    EXPECT_EQ(WebView::PlainViewReason(QString(), true, true), QString());
    EXPECT_EQ(WebView::PlainViewReason(u"plain"_s, false, false), u"setting"_s);
}
