#include "Backoffice.h"
#include "FunctionTable.h"
#include "Globals.h"
#include "Grid.h"
#include "SalesCalc.h"
#include "SqlError.h"
#include "TestEnvironment.h"
#include "frmA1Job91.h"
#include "frmA1Job92.h"
#include "frmMain.h"

#include <QLabel>
#include <QLineEdit>

using namespace Qt::StringLiterals;

class AdminTools : public ::testing::Test
{
protected:
    void SetUp() override { gUserID = u"chief"_s; }
    static void type(frmA1Job91& w, int row, const QString& text)
    {
        w.findChild<Grid*>(u"grdR1"_s)->setText(2, row, text);
        w.ValueEdited(2, row);
    }
    static QStringList column(frmA1Job91& w, int from, int to)
    {
        QStringList values;
        for (int r = from; r <= to; ++r)
            values.append(w.findChild<Grid*>(u"grdR1"_s)->text(2, r));
        return values;
    }
    TestInstall install;
};

TEST_F(AdminTools, TheCalculatorWorksOutItsRowsAsAValueChanges)
{
    frmA1Job91 w;
    EXPECT_EQ(column(w, 1, 13), QStringList(13, u"0"_s));
    EXPECT_EQ(w.findChild<Grid*>(u"grdR1"_s)->text(1, 6), u">  1일 배포 게임수"_s);
    type(w, 1, u"10"_s);
    type(w, 2, u"5"_s);
    type(w, 3, u"100"_s);
    type(w, 5, u"40"_s);
    // No shops yet: the shares per shop are 0, never infinity.
    EXPECT_EQ(column(w, 8, 9), (QStringList {u"0"_s, u"0"_s}));
    type(w, 4, u"20"_s);
    EXPECT_EQ(column(w, 6, 13),
              (QStringList {u"10000"_s,
                            u"300000"_s,
                            u"5000"_s,
                            u"150000"_s,
                            u"100000"_s,
                            u"3000000"_s,
                            u"25000"_s,
                            u"750000"_s}));
    // A cell without a number is refused and gets its number back; nothing else moves.
    type(w, 2, u"다섯"_s);
    EXPECT_TRUE(install.messages.last().startsWith(u"[복권당 게임수] 칸에는 숫자를"_s));
    EXPECT_EQ(column(w, 2, 2), QStringList {u"5"_s});
    EXPECT_EQ(column(w, 13, 13), QStringList {u"750000"_s});
    // Columns other than the values do not recalculate.
    w.findChild<Grid*>(u"grdR1"_s)->setText(2, 1, u"20"_s);
    w.ValueEdited(3, 1);
    EXPECT_EQ(column(w, 10, 10), QStringList {u"100000"_s});
    w.Calculate();
    EXPECT_EQ(column(w, 10, 10), QStringList {u"200000"_s});
    EXPECT_EQ(SalesCalc::ReadValue(u"1,500"_s), 1500.0);
    EXPECT_FALSE(SalesCalc::ReadValue(u"inf"_s));
    EXPECT_EQ(SalesCalc::ValueText(2.5), u"2.5"_s);
}

TEST_F(AdminTools, ThePreviewBoardShowsTheTextNineTimes)
{
    frmA1Job92 w;
    EXPECT_EQ(w.findChild<QLabel*>(u"lblT9"_s)->text(), u"회원가입"_s);
    w.findChild<QLineEdit*>(u"txtText1"_s)->setText(u"로그인 😀"_s);
    for (int i = 1; i <= 9; ++i)
        EXPECT_EQ(w.findChild<QLabel*>(u"lblT"_s + QString::number(i))->text(), u"로그인 😀"_s);
}

TEST_F(AdminTools, OnlyTheAdministratorGetsTheWindows)
{
    gUserID = u"player"_s;
    frmMain shell;
    for (const QString& form : {u"frmA1Job11"_s, u"frmA1Job12"_s, u"frmA1Job13"_s, u"frmA1Job91"_s, u"frmA1Job92"_s}) {
        const FunctionEntry* entry = FindFunction(form);
        ASSERT_TRUE(entry && entry->create) << form.toStdString();
        install.messages.clear();
        EXPECT_EQ(entry->create(shell), nullptr);
        EXPECT_EQ(install.messages.last(), Backoffice::AdministratorOnlyMessage());
    }
    // Made directly, behind the table's back, the window refuses as well.
    EXPECT_THROW(frmA1Job91 {}, SqlError);

    EXPECT_EQ(Backoffice::YearItems().first(), u"2004년"_s);
    EXPECT_EQ(Backoffice::YearItems().last(), u"2025년"_s);
    EXPECT_EQ(Backoffice::LeadingNumber(u"03월"_s), 3);
    EXPECT_EQ(Backoffice::LeadingNumber(u"(전체)"_s), 0);
}
