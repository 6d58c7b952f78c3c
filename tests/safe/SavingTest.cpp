#include "CouponStore.h"
#include "Grid.h"
#include "SafeStore.h"
#include "SafeWindowFixture.h"
#include "Tools.h"
#include "WhenShown.h"
#include "frmRun1.h"
#include "frmSave1.h"
#include "frmSave21.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
void fillList(frmRun1& w, const QStringList& dotted)
{
    Grid* list = w.findChild<Grid*>(u"grdR1"_s);
    list->setMaxRows(0);
    for (const QString& game : dotted) {
        const int row = list->maxRows() + 1;
        list->setMaxRows(row);
        const QStringList cells = game.split(u'.');
        for (int c = 0; c < 6; ++c)
            list->setText(c + 1, row, cells[c]);
    }
}
} // namespace

TEST_F(SafeTest, TheSaveDialogChoosesDrawGroupAndMemo)
{
    ASSERT_FALSE(SafeStore::SaveGames(1200, {u"010203040506"_s}, u"지난 메모"_s, u"있는 그룹"_s));
    frmSave1 dialog(5);
    Grid* draws = dialog.findChild<Grid*>(u"grdR1"_s);
    ASSERT_EQ(draws->maxRows(), 1201);
    EXPECT_EQ(draws->text(1, 1), u"1201"_s);
    EXPECT_EQ(draws->text(3, 2), u"1"_s);
    EXPECT_EQ(dialog.findChild<QLineEdit*>(u"txtGName1"_s)->text(), u"2025-12-08 10:00:00"_s);
    auto* groups = dialog.findChild<QComboBox*>(u"cboGroup1"_s);
    EXPECT_EQ(groups->itemText(0), u"(새 그룹명)"_s);
    EXPECT_EQ(groups->itemText(1), u"있는 그룹"_s);

    Q_EMIT draws->cellClicked(1, 2);
    draws->setActiveCell(1, 2);
    auto* memo = dialog.findChild<QLineEdit*>(u"txtBigo1"_s);
    EXPECT_EQ(memo->text(), u"지난 메모"_s);
    memo->setText(u"it's mine"_s);
    auto* name = dialog.findChild<QLineEdit*>(u"txtGName1"_s);
    name->setText(u"   "_s);
    dialog.save();
    EXPECT_EQ(install.messages.last(), u"등록할 그룹명을 입력하세요"_s);
    EXPECT_FALSE(dialog.choice());
    // 15 syllables are 30 bytes; the 16th goes, and a cut never leaves half a syllable.
    name->setText(u"가나다라마바사아자차카타파하거너"_s);
    dialog.save();
    ASSERT_TRUE(dialog.choice());
    EXPECT_EQ(dialog.choice()->drawNo, 1200);
    EXPECT_EQ(dialog.choice()->memo, u"it`s mine"_s);
    EXPECT_EQ(dialog.choice()->group, u"가나다라마바사아자차카타파하거"_s);
    name->setText(u"a가나다라마바사아자차카타파하거"_s);
    dialog.save();
    EXPECT_EQ(ByteLen(dialog.choice()->group), 29);

    groups->setCurrentIndex(1);
    EXPECT_FALSE(name->isEnabled());
    dialog.save();
    EXPECT_EQ(dialog.choice()->group, u"있는 그룹"_s);
}

TEST_F(SafeTest, NoDrawsNoSave)
{
    Execute(gSystemConn, u"DELETE FROM BokList"_s);
    frmSave1 dialog(1);
    dialog.save();
    EXPECT_EQ(install.messages.last(), u"복권을 저장할 추첨회차가 없습니다."_s);
    EXPECT_FALSE(dialog.choice());
}

TEST_F(SafeTest, SavingFromTheGameWindow)
{
    frmRun1 window;
    window.SaveToSafe();
    EXPECT_EQ(install.messages.last(), u"저장할 복권번호가 없습니다."_s);
    fillList(window, {u"01.02.04.16.20.32"_s, u"03.05.07.09.11.13"_s, u"01.02.04.16.33.44"_s});
    WhenShown<frmSave1>([](frmSave1* d) {
        Grid* draws = d->findChild<Grid*>(u"grdR1"_s);
        QTest::keyClick(draws->view(), Qt::Key_Down); // 1200
        d->findChild<QPushButton*>(u"cmdSave1"_s)->click();
    });
    window.SaveToSafe();
    EXPECT_EQ(install.messages.last(), u"1200회차에 3개 복권번호가 [복권금고]에 저장되었습니다."_s);
    EXPECT_EQ(
        SqlValue(gUserConn,
                 u"SELECT group_concat(No1, ',') FROM (SELECT No1 FROM List1 WHERE BokNo = 1200 ORDER BY SNo1)"_s),
        u"010204162032,030507091113,010204163344"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT GName1 FROM Group1 WHERE GNo1 = 1"_s), u"2025-12-08 10:00:00"_s);

    WhenShown<frmSave1>([](frmSave1* d) { d->findChild<QPushButton*>(u"cmdCancel"_s)->click(); });
    window.SaveToSafe();
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1"_s), u"3"_s);
}

TEST_F(SafeTest, SavingIntoACouponsStock)
{
    Execute(gUserConn,
            u"INSERT INTO Bok2 (BokNo,Part2,Title1,Count1,Bigo1) VALUES (1201,'복권판매점','대박 기원 쿠폰',0,'')"_s);
    frmRun1 window;
    fillList(window, {u"01.02.04.16.20.32"_s, u"03.05.07.09.11.13"_s});
    WhenShown<frmSave21>([](frmSave21* d) {
        EXPECT_EQ(d->findChild<Grid*>(u"grdR1"_s)->text(2, 1), u"대박 기원 쿠폰"_s);
        d->findChild<QPlainTextEdit*>(u"txtBigo1"_s)->setPlainText(u"손님's 메모"_s);
        d->findChild<QPushButton*>(u"cmdOK"_s)->click();
    });
    window.SaveToCoupon();
    EXPECT_EQ(install.messages.last(), u"1201회차에 2개 복권번호가 [발행복권]에 저장되었습니다."_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Count1 || '/' || Bigo1 FROM Bok2 WHERE BokNo = 1201"_s), u"2/손님`s 메모"_s);
    EXPECT_EQ(SqlValue(gUserConn,
                       u"SELECT group_concat(SNo1 || SNo2 || Top1 || '[' || Date1 || Tag1 || ']', ',') FROM List2"_s),
              u"109[],209[]"_s);

    Execute(gUserConn, u"UPDATE List2 SET SNo1 = 999999997 WHERE SNo1 = 2"_s);
    EXPECT_EQ(*CouponStore::AddGames(1201, {u"010203040506"_s, u"010203040507"_s}),
              u"더이상 복권을 등록할 수 없습니다."_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List2"_s), u"2"_s);
}

TEST_F(SafeTest, TheGameListExport)
{
    frmRun1 window;
    window.ExportGameList();
    EXPECT_EQ(install.messages.last(), u"텍스트화일 저장할 복권이 없습니다."_s);
    fillList(window, {u"03.11.19.24.38.45"_s, u"01.02.03.04.05.06"_s, u"07.08.09.10.11.12"_s});
    window.ExportGameList();
    ASSERT_EQ(install.launcher.textFiles.size(), 1);
    const QString path = install.launcher.textFiles[0];
    EXPECT_EQ(QFileInfo(path).fileName(), u"로또게임_20251208_100000.TXT"_s);
    const QByteArray bytes = ReadBytes(path);
    EXPECT_EQ(bytes.count("\r\n"), 7);
    EXPECT_EQ(bytes.count('\n'), 7);
    QStringList lines = FromCp949(bytes).split(u"\r\n"_s);
    lines.removeLast();
    EXPECT_EQ(lines,
              (QStringList {QString(22, u'='),
                            u"횟수      복권번호    "_s,
                            u"---- -----------------"_s,
                            u"0001 03.11.19.24.38.45"_s,
                            u"0002 01.02.03.04.05.06"_s,
                            u"0003 07.08.09.10.11.12"_s,
                            QString(22, u'=')}));
    EXPECT_EQ(ByteLen(lines[1]), 22);
    // A second export in the same second replaces the first.
    window.ExportGameList();
    EXPECT_EQ(install.launcher.textFiles[1], path);
}

// What the dialog shows is what it stores: the draw whose memo is on screen, the coupon whose memo is being
// edited, even when the grid's cursor has gone elsewhere without them.
TEST_F(SafeTest, TheDialogsKeepWhatTheyShow)
{
    ASSERT_FALSE(SafeStore::SaveGames(1200, {u"010203040506"_s}, u"1200 메모"_s, u"g"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1199, {u"010203040506"_s}, u"1199 메모"_s, u"g"_s));
    frmSave1 save(1);
    Grid* draws = save.findChild<Grid*>(u"grdR1"_s);
    auto* memo = save.findChild<QLineEdit*>(u"txtBigo1"_s);
    QTest::keyClick(draws->view(), Qt::Key_Down);
    EXPECT_EQ(memo->text(), u"1200 메모"_s);
    QTest::keyClick(draws->view(), Qt::Key_Down);
    EXPECT_EQ(memo->text(), u"1199 메모"_s);
    Q_EMIT draws->cellClicked(1, 2);
    draws->setActiveCell(1, 3);
    save.save();
    ASSERT_TRUE(save.choice());
    EXPECT_EQ(save.choice()->drawNo, 1200);

    for (int drawNo : {1201, 1200})
        Execute(gUserConn,
                u"INSERT INTO Bok2 (BokNo,Part2,Title1,Count1,Bigo1) VALUES (?,'판매점','쿠폰',0,?)"_s,
                {qint64(drawNo), QString(QString::number(drawNo) + u" 쿠폰"_s)});
    frmSave21 coupon(1);
    coupon.findChild<Grid*>(u"grdR1"_s)->setActiveCell(1, 2);
    coupon.findChild<QPlainTextEdit*>(u"txtBigo1"_s)->setPlainText(u"새 메모"_s);
    coupon.findChild<QPushButton*>(u"cmdOK"_s)->click();
    EXPECT_EQ(coupon.chosenDraw(), 1201);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT group_concat(Bigo1, ',') FROM (SELECT Bigo1 FROM Bok2 ORDER BY BokNo)"_s),
              u"1200 쿠폰,새 메모"_s);
}

TEST_F(SafeTest, DatabaseErrorsInTheDialogsAreReported)
{
    frmSave1 save(1);
    Execute(gUserConn, u"DROP TABLE Bok1"_s);
    Grid* draws = save.findChild<Grid*>(u"grdR1"_s);
    EXPECT_NO_THROW(Q_EMIT draws->cellClicked(1, 2));
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_TRUE(install.messages.last().contains(u"no such table"_s));

    Execute(gUserConn, u"INSERT INTO Bok2 (BokNo,Part2,Title1,Count1,Bigo1) VALUES (1201,'판매점','쿠폰',0,'')"_s);
    frmSave21 coupon(1);
    Execute(gUserConn, u"DROP TABLE Bok2"_s);
    install.messages.clear();
    EXPECT_NO_THROW(coupon.findChild<QPushButton*>(u"cmdOK"_s)->click());
    EXPECT_EQ(install.messages.shown().size(), 1);
    EXPECT_FALSE(coupon.chosenDraw());
    EXPECT_NE(coupon.result(), int(QDialog::Accepted));
    install.messages.clear();
    EXPECT_NO_THROW(Q_EMIT coupon.findChild<Grid*>(u"grdR1"_s)->cellClicked(1, 1));
    EXPECT_EQ(install.messages.shown().size(), 1);
}

// "(전체)" stands for every group in the safe; a group of that name could never be chosen again.
TEST_F(SafeTest, NoGroupNamedAll)
{
    frmSave1 dialog(1);
    dialog.findChild<QLineEdit*>(u"txtGName1"_s)->setText(u"(전체)"_s);
    dialog.save();
    EXPECT_FALSE(dialog.choice());
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_TRUE(install.messages.last().contains(u"(전체)"_s));

    EXPECT_TRUE(SafeStore::SaveGames(1200, {u"010203040506"_s}, QString(), u"(전체)"_s));
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM Group1"_s)
                  + SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1"_s),
              u"00"_s);
}

TEST_F(SafeTest, ASaveThatFailsHalfWayLeavesNothing)
{
    ASSERT_FALSE(SafeStore::SaveGames(1200, {u"010203040506"_s}, u"메모"_s, u"있는 그룹"_s));
    Execute(gUserConn,
            u"CREATE TRIGGER fail BEFORE INSERT ON List1 WHEN NEW.SNo1 = 4 "
            "BEGIN SELECT RAISE(ABORT, '디스크 오류'); END"_s);
    const QString before = SafeRows();
    frmRun1 window;
    fillList(window, {u"01.02.04.16.20.32"_s, u"03.05.07.09.11.13"_s, u"01.02.04.16.33.44"_s});
    auto saveInto1200 = [] {
        WhenShown<frmSave1>([](frmSave1* d) {
            QTest::keyClick(d->findChild<Grid*>(u"grdR1"_s)->view(), Qt::Key_Down); // 1200
            d->findChild<QLineEdit*>(u"txtGName1"_s)->setText(u"새 그룹"_s);
            d->findChild<QPushButton*>(u"cmdSave1"_s)->click();
        });
    };
    saveInto1200();
    window.SaveToSafe();
    EXPECT_TRUE(install.messages.last().startsWith(u"복권번호를 저장하지 못하였습니다."_s));
    EXPECT_TRUE(install.messages.last().contains(u"디스크 오류"_s));
    EXPECT_EQ(SafeRows(), before);

    Execute(gUserConn, u"DROP TRIGGER fail"_s);
    saveInto1200();
    window.SaveToSafe();
    EXPECT_EQ(install.messages.last(), u"1200회차에 3개 복권번호가 [복권금고]에 저장되었습니다."_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Count1 FROM Bok1 WHERE BokNo = 1200"_s), u"4"_s);
}
