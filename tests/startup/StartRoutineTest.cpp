#include "StartRoutine.h"

#include "Database.h"
#include "Globals.h"
#include "Paths.h"
#include "Settings.h"
#include "TestEnvironment.h"
#include "WhenShown.h"
#include "frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(DateFormat, OnlyEightAndBadTenCharacterDatesAreRefused)
{
    EXPECT_TRUE(ShortDateAccepted(u"2002-12-07"_s));
    EXPECT_FALSE(ShortDateAccepted(u"02-12-07"_s));
    EXPECT_FALSE(ShortDateAccepted(u"12/07/2002"_s));
    EXPECT_FALSE(ShortDateAccepted(u"2002/12/07"_s));
    EXPECT_TRUE(ShortDateAccepted(u"2002-12-7"_s));
    EXPECT_TRUE(ShortDateAccepted(u" 2002-12-07 "_s));
    EXPECT_TRUE(ShortDateAccepted(u"2002년 12월 07일"_s));
}

TEST(DateFormat, TheSystemFormatIsApplied)
{
    const QDate day(2002, 12, 7);
    EXPECT_EQ(SystemShortDate(day, u"%Y-%m-%d"_s), u"2002-12-07"_s);
    EXPECT_EQ(SystemShortDate(day, u"%m/%d/%y"_s), u"12/07/02"_s);
    EXPECT_EQ(SystemShortDate(day, u"%Y-%m-%-d"_s), u"2002-12-7"_s);
    EXPECT_TRUE(ShortDateAccepted(SystemShortDate(day, u"%Y년 %m월 %d일"_s)));
    EXPECT_FALSE(SystemShortDate(day).isEmpty()); // the machine's own LC_TIME
}

TEST(StartProgramTest, AnUnreadableDateFormatOpensTheHelpAndEnds)
{
    TestInstall install;
    EXPECT_THROW(StartProgram(u"%m/%d/%y"_s), ProgramEnded);
    EXPECT_EQ(install.launcher.textFiles, QStringList {InstallPaths::dateFormatHelp()});
    ASSERT_EQ(install.messages.shown().size(), 1);
    EXPECT_EQ(
        install.messages.last(),
        u"현재 윈도우즈(98/SE) 시스템에 설정된 날짜형식에 오류가 발생하였습니다.메모장의 내용을 참조하시고 설정값을 변경해주세요."_s);
    EXPECT_EQ(install.messages.shown()[0].icon, MsgIcon::Critical);
    EXPECT_FALSE(gSystemConn.isOpen());
}

TEST(StartProgramTest, ASecondInstanceEndsBeforeOpeningAnything)
{
    TestInstall install;
    auto held = TakeInstanceLock(u"suriball"_s);
    ASSERT_TRUE(held);
    EXPECT_THROW(StartProgram(u"%Y-%m-%d"_s), ProgramEnded);
    EXPECT_EQ(install.messages.last(), u"[수리볼]가 이미 동작중입니다."_s);
    EXPECT_EQ(install.messages.shown()[0].icon, MsgIcon::Information);
    EXPECT_FALSE(gSystemConn.isOpen());
    held.reset();
    // Another install root is another program.
    TestInstall other;
    EXPECT_TRUE(TakeInstanceLock(u"suriball"_s));
}

namespace {
// Answers the modal login form once it is shown.
void whenLoginShows(std::function<void(QWidget*)> act)
{
    WhenShownMatching([](QWidget* w) { return w->objectName() == u"frmLogin"_s; }, std::move(act));
}
} // namespace

TEST(StartProgramTest, CancellingTheLoginEndsWithoutSynchronising)
{
    TestInstall install(TestInstall::Kind::Demo);
    whenLoginShows([](QWidget* form) { form->findChild<QPushButton*>(u"cmdExit"_s)->click(); });
    EXPECT_THROW(StartProgram(u"%Y-%m-%d"_s), ProgramEnded);
    EXPECT_FALSE(gUserConn.isOpen());
    EXPECT_EQ(gCurrentDrawNo, 0);
    EXPECT_EQ(ReadInfo(u"업데이트"_s, u"복권:변경날짜"_s), QString());
}

TEST(StartProgramTest, FromTheStartToAShownMainWindow)
{
    TestInstall install(TestInstall::Kind::Demo);
    WriteIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s, u"chief"_s);
    whenLoginShows([](QWidget* form) {
        EXPECT_EQ(form->findChild<QLineEdit*>(u"txtID1"_s)->text(), u"chief"_s);
        EXPECT_TRUE(form->findChild<QCheckBox*>(u"chkSave1"_s)->isChecked());
        form->findChild<QLineEdit*>(u"txtPwd"_s)->setText(u"chief"_s);
        form->findChild<QPushButton*>(u"cmdStart1"_s)->click();
    });
    StartProgram(u"%Y-%m-%d"_s);
    frmMain* main = frmMain::Open();
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(main->isVisible());
    EXPECT_EQ(gUserID, u"chief"_s);
    EXPECT_EQ(gCurrentDrawNo, 1201);
    EXPECT_EQ(main->windowTitle(), u"수리볼  [로또게임 - 원하는 번호를 직접 또는 자동으로 행운의 번호를 선택하세요]"_s);
    EXPECT_EQ(gGameCount, 5);
    delete main;
}
