#include "Database.h"
#include "Globals.h"
#include "Settings.h"
#include "TestEnvironment.h"
#include "frmLogin.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

class LoginForm : public ::testing::Test
{
protected:
    void SetUp() override { OpenSystemDb(); }
    template <typename T> T* child(frmLogin& form, const char16_t* name)
    {
        return form.findChild<T*>(QString::fromUtf16(name));
    }
    TestInstall install {TestInstall::Kind::Demo};
};

TEST_F(LoginForm, OffersTheRememberedIdOnlyWhenOneWasKept)
{
    {
        frmLogin form;
        EXPECT_EQ(form.windowTitle(), u"로그인"_s);
        EXPECT_TRUE(child<QLineEdit>(form, u"txtID1")->text().isEmpty());
        EXPECT_FALSE(child<QCheckBox>(form, u"chkSave1")->isChecked());
        EXPECT_EQ(child<QLineEdit>(form, u"txtPwd")->echoMode(), QLineEdit::Password);
        EXPECT_EQ(child<QLineEdit>(form, u"txtID1")->maxLength(), 20);
        EXPECT_EQ(child<QLabel>(form, u"lblDate1")->text(), u"2025년12월08일(월)"_s);
    }
    WriteIfo(QString(), u"SYSTEM"_s, u"LASTLOGINID"_s, u"shop7"_s);
    frmLogin form;
    EXPECT_EQ(child<QLineEdit>(form, u"txtID1")->text(), u"shop7"_s);
    EXPECT_TRUE(child<QCheckBox>(form, u"chkSave1")->isChecked());
}

TEST_F(LoginForm, EnterInThePasswordLogsInAndShowsTheCleanedId)
{
    frmLogin form;
    form.show();
    child<QLineEdit>(form, u"txtID1")->setText(u"  Player "_s);
    QLineEdit* password = child<QLineEdit>(form, u"txtPwd");
    password->setText(u"wrong"_s);
    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_EQ(child<QLineEdit>(form, u"txtID1")->text(), u"player"_s);
    EXPECT_EQ(install.messages.last(), u"암호가 틀렸습니다."_s);
    EXPECT_TRUE(form.isVisible());

    password->setText(u"player"_s);
    QTest::keyClick(password, Qt::Key_Return);
    EXPECT_EQ(gDialogResult, u"정상"_s);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST_F(LoginForm, TheSignUpLinkOpensTheSiteAndEnds)
{
    frmLogin form;
    form.show();
    EXPECT_THROW(QTest::mouseClick(child<QLabel>(form, u"cmdUserAdd"), Qt::LeftButton), ProgramEnded);
    ASSERT_EQ(install.launcher.urls.size(), 1);
    EXPECT_TRUE(install.launcher.urls[0].endsWith(u"/WEB/member/register.htm"_s))
        << install.launcher.urls[0].toStdString();

    // With a real web site the address is the site's own.
    WriteIfo(QString(), u"SERVER"_s, u"WEB"_s, u"http://www.suriball.example/"_s);
    EXPECT_THROW(QTest::mouseClick(child<QLabel>(form, u"cmdPwdSeek"), Qt::LeftButton), ProgramEnded);
    EXPECT_EQ(install.launcher.urls[1], u"http://www.suriball.example/member/register.aspx"_s);
}

TEST_F(LoginForm, FinishLeavesNoResult)
{
    frmLogin form;
    form.show();
    child<QPushButton>(form, u"cmdExit")->click();
    EXPECT_NE(gDialogResult, u"정상"_s);
    EXPECT_FALSE(form.isVisible());
}

TEST_F(LoginForm, EscOutsideTheFieldsKeepsTheFormAndEnterOnTheButtonLogsIn)
{
    frmLogin form;
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    // Esc on the check box or a button must not close the form: closing it would end the program.
    for (const char16_t* name : {u"chkSave1", u"cmdStart1", u"cmdExit"}) {
        auto* control = form.findChild<QWidget*>(QString::fromUtf16(name));
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Escape);
        EXPECT_TRUE(form.isVisible()) << QString::fromUtf16(name).toStdString();
    }

    child<QLineEdit>(form, u"txtID1")->setText(u"player"_s);
    child<QLineEdit>(form, u"txtPwd")->setText(u"player"_s);
    auto* start = child<QPushButton>(form, u"cmdStart1");
    start->setFocus();
    QTest::keyClick(start, Qt::Key_Return);
    EXPECT_EQ(gDialogResult, u"정상"_s);
    EXPECT_EQ(form.result(), QDialog::Accepted);
}
