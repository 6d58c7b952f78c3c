#include "UiTools.h"

#include "TestEnvironment.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
class FakeIndicator final : public BusyIndicator
{
public:
    void showBusy(bool busy, const QString& caption) override
    {
        shown = busy;
        text = caption;
    }
    void setProgress(int percent) override { progress = percent; }

    bool shown = false;
    QString text;
    int progress = -1;
};
} // namespace

TEST(Busy, TheGuardDrivesTheBarAndThePointerUntilItsScopeEnds)
{
    FakeIndicator bar;
    DesktopBusy::install();
    DesktopBusy::instance().setBar(&bar);
    {
        BusyGuard busy(u"복권번호 저장 ..."_s);
        EXPECT_TRUE(bar.shown);
        // The caption gets as many blanks as the text has bytes (17 for this text).
        EXPECT_EQ(bar.text, u"복권번호 저장 ..."_s + QString(17, u' '));
        EXPECT_EQ(bar.progress, 0);
        ASSERT_NE(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
        {
            BusyGuard inner(u"again ..."_s); // a nested guard does not stack pointers nor end the outer one
            BusyGuard::progress(150);
            EXPECT_EQ(bar.progress, 100);
        }
        EXPECT_TRUE(bar.shown);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    EXPECT_FALSE(bar.shown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    // An exception leaving the work still ends the busy state, and is reported rather than escaping.
    ScriptedMessages messages;
    EXPECT_FALSE(RunGuarded(u"저장하지 못하였습니다."_s, [] {
        BusyGuard busy(u"x"_s);
        throw SqlError(u"disk I/O error"_s, u"10"_s, QString());
    }));
    EXPECT_FALSE(bar.shown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(messages.last(), u"저장하지 못하였습니다.\n\ndisk I/O error"_s);
    EXPECT_EQ(messages.shown().last().icon, MsgIcon::Critical);

    DesktopBusy::instance().setBar(nullptr);
    BusyGuard alone(u"x"_s); // without a main window nothing breaks
}

TEST(Fields, EnterAndEscMoveTheFocusAndTextIsSelected)
{
    QWidget form;
    auto* layout = new QVBoxLayout(&form);
    auto* id = new QLineEdit(u"player"_s);
    auto* pwd = new QLineEdit(u"secret"_s);
    layout->addWidget(id);
    layout->addWidget(pwd);
    InstallFieldManners(id);
    InstallFieldManners(pwd);
    form.show();
    QApplication::setActiveWindow(&form);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    id->setFocus();
    QTest::keyClick(id, Qt::Key_Return);
    EXPECT_TRUE(pwd->hasFocus());
    EXPECT_TRUE(QTest::qWaitFor([pwd] { return pwd->selectedText() == u"secret"_s; }, 30000));
    QTest::keyClick(pwd, Qt::Key_Escape);
    EXPECT_TRUE(id->hasFocus());
    EXPECT_FALSE(EnterToTab(id, 65)); // other keys pass through

    SelectAllText(pwd);
    EXPECT_EQ(pwd->selectedText(), u"secret"_s);
    SelectAllText(nullptr);
}
