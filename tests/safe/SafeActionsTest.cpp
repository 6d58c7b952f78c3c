#include "SafeStore.h"
#include "SafeWindowFixture.h"
#include "Tools.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {
const QString kFailure = u"복권금고 작업 중 오류가 발생하였습니다."_s;

QStringList exportLines(const RecordingLauncher& launcher)
{
    if (launcher.textFiles.isEmpty())
        return {QString()};
    return FromCp949(ReadBytes(launcher.textFiles.last())).split(u"\r\n"_s);
}

void tick(Grid* list, int row)
{
    list->model()->setData(list->model()->index(row - 1, 0), Qt::Checked, Qt::CheckStateRole);
}

void click(frmBank1& w, const QString& button) { w.findChild<QPushButton*>(button)->click(); }
} // namespace

TEST_F(SafeWindow, OpeningOnABrokenDatabaseReportsAndKeepsTheWindow)
{
    Execute(gUserConn, u"DROP TABLE List1"_s);
    std::unique_ptr<frmBank1> w;
    ASSERT_NO_THROW(w = open());
    ASSERT_FALSE(install.messages.shown().isEmpty());
    EXPECT_TRUE(install.messages.last().startsWith(kFailure));
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_EQ(draws(*w)->maxRows(), 1201);
    // Still usable: the next choice is reported the same way instead of ending the program.
    install.messages.clear();
    pickDraw(*w, 1200);
    EXPECT_TRUE(install.messages.last().startsWith(kFailure));
}

// The member acts on the draw and the group on screen, never on a row the grid happens to have as current.
TEST_F(SafeWindow, ActionsWorkOnTheDrawAndGroupOnScreen)
{
    ASSERT_FALSE(SafeStore::SaveGames(1196, manyGames(3), QString(), u"A"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1196, manyGames(2, u"3334353637"_s), QString(), u"B"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1195, manyGames(4), u"다른 회차"_s, u"A"_s));
    auto w = open();
    w->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.get()));
    pickDraw(*w, 1195);
    const QString losers1195 = SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1195 AND Top1 = '0'"_s);
    ASSERT_NE(losers1195, u"0"_s);
    pickDraw(*w, 1196);
    auto* name = w->findChild<QLineEdit*>(u"txtGName1"_s);
    auto* memo = w->findChild<QPlainTextEdit*>(u"txtBigo1"_s);
    ASSERT_EQ(name->text(), u"B"_s);

    // The keyboard moves what is shown.
    QTest::keyClick(groups(*w)->view(), Qt::Key_Down);
    EXPECT_EQ(name->text(), u"A"_s);
    EXPECT_EQ(tickets(*w)->maxRows(), 3);
    QTest::keyClick(draws(*w)->view(), Qt::Key_Down); // 1196 → 1195
    EXPECT_EQ(memo->toPlainText(), u"다른 회차"_s);
    QTest::keyClick(draws(*w)->view(), Qt::Key_Up);
    EXPECT_EQ(memo->toPlainText(), QString());
    ASSERT_EQ(name->text(), u"B"_s);

    auto strayDraw = [&] { draws(*w)->setActiveCell(1, drawRow(*w, 1195)); };
    auto strayGroup = [&] { groups(*w)->setActiveCell(1, groupRow(*w, u"A"_s)); };

    strayDraw();
    memo->setPlainText(u"내 메모"_s);
    click(*w, u"cmdSave1"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Bigo1 FROM Bok1 WHERE BokNo = 1196"_s), u"내 메모"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Bigo1 FROM Bok1 WHERE BokNo = 1195"_s), u"다른 회차"_s);

    // Renaming B never merges the group the grid points at.
    strayGroup();
    name->setText(u"C"_s);
    click(*w, u"cmdSave2"_s);
    EXPECT_EQ(SafeStore::GroupNumber(u"C"_s), 2);
    EXPECT_EQ(SafeStore::GroupNumber(u"A"_s), 1);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE GNo1 = 1"_s), u"7"_s);

    // The question names the group that goes.
    ASSERT_EQ(name->text(), u"C"_s);
    strayGroup();
    install.messages.answerNext(MsgAnswer::Ok);
    click(*w, u"cmdDelete3"_s);
    EXPECT_TRUE(install.messages.last().contains(u"[C]"_s)) << install.messages.last().toStdString();
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1196 AND GNo1 = 2"_s), u"0"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1196 AND GNo1 = 1"_s), u"3"_s);

    strayDraw();
    click(*w, u"cmdPrint1"_s);
    EXPECT_EQ(exportLines(install.launcher).first(), u"회차: 1196회"_s);

    const QString shown1195 = draws(*w)->text(3, drawRow(*w, 1195));
    strayDraw();
    tick(tickets(*w), 1);
    click(*w, u"cmdDelete2"_s);
    EXPECT_EQ(draws(*w)->text(3, drawRow(*w, 1195)), shown1195);
    EXPECT_EQ(draws(*w)->text(3, drawRow(*w, 1196)), u"2"_s);

    strayDraw();
    click(*w, u"cmdClear1"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1195 AND Top1 = '0'"_s), losers1195);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1196 AND Top1 = '0'"_s), u"0"_s);
}

// Every action that writes several rows lands whole or not at all; a failure half-way is reported and the
// window goes on working.
TEST_F(SafeWindow, AFailureInsideAnActionChangesNothing)
{
    ASSERT_FALSE(SafeStore::SaveGames(1200, manyGames(8, u"3334353637"_s), QString(), u"가"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1200, {u"010204162032"_s}, QString(), u"나"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1201, manyGames(2), QString(), u"나"_s));
    auto w = open();
    pickDraw(*w, 1200);
    pickGroup(*w, u"(전체)"_s);
    auto failing = [&](const QString& when, const std::function<void()>& action) {
        Execute(gUserConn, u"CREATE TRIGGER fail "_s + when + u" BEGIN SELECT RAISE(ABORT, '디스크 오류'); END"_s);
        const QString before = SafeRows();
        install.messages.clear();
        action();
        EXPECT_EQ(SafeRows(), before) << when.toStdString();
        EXPECT_TRUE(install.messages.last().startsWith(kFailure)) << when.toStdString();
        EXPECT_TRUE(install.messages.last().contains(u"디스크 오류"_s));
        Execute(gUserConn, u"DROP TRIGGER fail"_s);
    };

    Grid* list = tickets(*w);
    for (int r : {1, 2, 3})
        tick(list, r);
    failing(u"BEFORE DELETE ON List1 WHEN OLD.SNo1 = "_s + list->text(5, 3), [&] { click(*w, u"cmdDelete2"_s); });
    click(*w, u"cmdDelete2"_s); // the boxes are still ticked
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Count1 FROM Bok1 WHERE BokNo = 1200"_s), u"6"_s);

    failing(u"BEFORE UPDATE ON Bok1"_s, [&] { click(*w, u"cmdClear1"_s); });
    pickGroup(*w, u"가"_s);
    failing(u"BEFORE DELETE ON Group1"_s, [&] {
        install.messages.answerNext(MsgAnswer::Ok);
        click(*w, u"cmdDelete3"_s);
    });
    pickGroup(*w, u"가"_s);
    w->findChild<QLineEdit*>(u"txtGName1"_s)->setText(u"나"_s);
    failing(u"BEFORE UPDATE ON List1"_s, [&] { click(*w, u"cmdSave2"_s); });

    // The rank pass: the losers' statement fails after the winner was written.
    const QString result1199 = SqlValue(gSystemConn, u"SELECT No1 FROM BokList WHERE BokNo = 1199"_s);
    ASSERT_FALSE(SafeStore::SaveGames(1199, {result1199.left(12), u"404142434445"_s}, QString(), u"가"_s));
    failing(u"BEFORE UPDATE ON List1 WHEN NEW.Top1 = '0'"_s, [&] { pickDraw(*w, 1199); });
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Tag1 FROM Bok1 WHERE BokNo = 1199"_s), u"0"_s);
    // The group chosen under the previous draw is gone with it: nothing to delete in this one.
    install.messages.answerNext(MsgAnswer::Ok);
    click(*w, u"cmdDelete3"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1199"_s), u"2"_s);
    pickDraw(*w, 1199);
    EXPECT_EQ(
        SqlValue(gUserConn,
                 u"SELECT group_concat(Top1, '') FROM (SELECT Top1 FROM List1 WHERE BokNo = 1199 ORDER BY SNo1)"_s),
        u"10"_s);
    EXPECT_EQ(tickets(*w)->maxRows(), 2);
}

// Ranks sort "0" first and pending games last on the page; the export puts the highest codes first.
TEST_F(SafeWindow, TheRankOrderOfThePageAndOfTheExport)
{
    ASSERT_FALSE(SafeStore::SaveGames(1200,
                                      {u"010204303344"_s, u"030507091113"_s, u"010204162032"_s, u"010204163344"_s},
                                      QString(),
                                      u"g"_s));
    auto w = open();
    pickDraw(*w, 1200);
    Execute(gUserConn, u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (1200,1,'111213141516','9',0,5)"_s);
    w->findChild<QComboBox*>(u"cboSort1"_s)->setCurrentIndex(1); // 2:등수
    QStringList ranks;
    for (int r = 1; r <= tickets(*w)->maxRows(); ++r)
        ranks.append(tickets(*w)->text(3, r));
    EXPECT_EQ(ranks, (QStringList {QString(), u"1등"_s, u"4등"_s, u"5등"_s, u"-"_s}));

    w->ExportDraw();
    const QStringList lines = exportLines(install.launcher);
    ASSERT_EQ(lines.size(), 11);
    QStringList fields;
    for (int i = 4; i <= 8; ++i)
        fields.append(lines[i].mid(18, 2).trimmed());
    EXPECT_EQ(fields, (QStringList {u"-"_s, u"5등"_s, u"4등"_s, u"1등"_s, QString()}));
}

TEST_F(SafeWindow, TheExportOfOneGroup)
{
    ASSERT_FALSE(SafeStore::SaveGames(1200, {u"010204162032"_s, u"030507091113"_s}, QString(), u"A"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1200, {u"010204163344"_s}, QString(), u"B"_s));
    auto w = open();
    pickDraw(*w, 1200);
    pickGroup(*w, u"A"_s);
    w->ExportDraw();
    const QStringList lines = exportLines(install.launcher);
    ASSERT_EQ(lines.size(), 8);
    EXPECT_TRUE(lines[4].startsWith(u"01.02.04.16.20.32"_s));
    EXPECT_TRUE(lines[5].startsWith(u"03.05.07.09.11.13"_s));
}

TEST_F(SafeWindow, DeletingCheckedGamesOnThePageShown)
{
    gSafePageSize = 10;
    QStringList games;
    for (int i = 1; i <= 15; ++i)
        games.append(QString::number(i).rightJustified(2, u'0') + u"4041424344"_s);
    ASSERT_FALSE(SafeStore::SaveGames(1199, games, QString(), u"g"_s));
    auto w = open();
    pickDraw(*w, 1199);
    w->NextPage();
    Grid* list = tickets(*w);
    ASSERT_EQ(list->maxRows(), 5);
    tick(list, 2);
    tick(list, 4);
    const QStringList gone {list->text(5, 2), list->text(5, 4)};
    w->DeleteCheckedGames();
    EXPECT_EQ(install.messages.last(), u"2개의 복권을 삭제할까요?"_s);
    QStringList left;
    for (int s = 1; s <= 15; ++s) {
        if (!gone.contains(QString::number(s)))
            left.append(QString::number(s));
    }
    EXPECT_EQ(
        SqlValue(gUserConn,
                 u"SELECT group_concat(SNo1, ',') FROM (SELECT SNo1 FROM List1 WHERE BokNo = 1199 ORDER BY SNo1)"_s),
        left.join(u','));
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Count1 FROM Bok1 WHERE BokNo = 1199"_s), u"13"_s);
}

// A result whose numbers repeat cannot be ranked by any rule: it is reported and nothing is written.
TEST_F(SafeWindow, AMalformedResultIsReportedAndNotRanked)
{
    Execute(gSystemConn, u"UPDATE BokList SET No1 = '01010416203245' WHERE BokNo = 1200"_s);
    ASSERT_FALSE(SafeStore::SaveGames(1200, {u"010204162032"_s, u"010304162032"_s}, QString(), u"g"_s));
    const QString before = SafeRows();
    auto w = open();
    install.messages.clear();
    pickDraw(*w, 1200);
    ASSERT_FALSE(install.messages.shown().isEmpty());
    EXPECT_TRUE(install.messages.last().contains(u"1200회"_s)) << install.messages.last().toStdString();
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_EQ(SafeRows(), before);
    EXPECT_EQ(label(*w, u"lblMsg1"_s), u"[총당첨금:]"_s);
    EXPECT_EQ(tickets(*w)->text(3, 1), u"-"_s);
}
