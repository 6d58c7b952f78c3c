#include "UiTools.h"

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

TEST(Busy, DrivesTheIndicatorAndThePointer)
{
    FakeIndicator indicator;
    SetBusyIndicator(&indicator);
    SetBusy(u"복권번호 저장 ..."_s, true);
    EXPECT_TRUE(indicator.shown);
    // The caption gets as many blanks as the text has bytes (17 for this text).
    EXPECT_EQ(indicator.text, u"복권번호 저장 ..."_s + QString(17, u' '));
    EXPECT_EQ(indicator.progress, 0);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    SetBusy(u"again ..."_s, true); // a nested call does not stack pointers
    SetProgress(150);
    EXPECT_EQ(indicator.progress, 100);
    SetBusy(QString(), false);
    EXPECT_FALSE(indicator.shown);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    SetBusyIndicator(nullptr);
    SetBusy(u"x"_s, true); // without a main window nothing breaks
    SetBusy(QString(), false);
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
    QTest::qWait(10);
    EXPECT_EQ(pwd->selectedText(), u"secret"_s);
    QTest::keyClick(pwd, Qt::Key_Escape);
    EXPECT_TRUE(id->hasFocus());
    EXPECT_FALSE(EnterToTab(id, 65)); // other keys pass through

    SelectAllText(pwd);
    EXPECT_EQ(pwd->selectedText(), u"secret"_s);
    SelectAllText(nullptr);
}
