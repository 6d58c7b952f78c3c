#include "DrawGames.h"
#include "SafeStore.h"
#include "SafeWindowFixture.h"
#include "Tools.h"

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST_F(SafeWindow, SelectingAFinalDrawRanksItsGamesOnceAndShowsTheSummary)
{
    ASSERT_FALSE(SafeStore::SaveGames(1200, {u"010204162032"_s, u"030507091113"_s}, u"토요일"_s, u"g"_s));
    auto w = open();
    EXPECT_EQ(label(*w, u"lblRank"_s), u"(미추첨)"_s); // the newest draw, 1201, is not drawn yet
    pickDraw(*w, 1200);
    EXPECT_EQ(label(*w, u"lblMsg1"_s), u"[총당첨금: 2,357,299,875원 1등(1) ]"_s);
    EXPECT_EQ(label(*w, u"lblRank"_s), u"(1200회) 01.02.04.16.20.32 보너스:45"_s);
    EXPECT_EQ(label(*w, u"lblRank1"_s), u"1등:         12명   2,357,299,875원"_s);
    EXPECT_EQ(label(*w, u"lblRank5"_s), u"5등:  2,673,060명           5,000원"_s);
    EXPECT_EQ(w->findChild<QPlainTextEdit*>(u"txtBigo1"_s)->toPlainText(), u"토요일"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Tag1 FROM Bok1 WHERE BokNo = 1200"_s), u"1"_s);
    Grid* list = tickets(*w);
    ASSERT_EQ(list->maxRows(), 2);
    EXPECT_EQ(list->text(2, 1), u"01.02.04.16.20.32"_s);
    EXPECT_EQ(list->text(3, 1), u"1등"_s);
    EXPECT_EQ(list->text(3, 2), QString());

    // A draw that is not final keeps its games pending and unmarked, so that they are ranked later.
    ASSERT_FALSE(SafeStore::SaveGames(1201, {u"010204162032"_s}, QString(), u"g"_s));
    pickDraw(*w, 1201);
    EXPECT_EQ(label(*w, u"lblMsg1"_s), u"[총당첨금:]"_s);
    EXPECT_EQ(tickets(*w)->text(3, 1), u"-"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Tag1 FROM Bok1 WHERE BokNo = 1201"_s), u"0"_s);
}

TEST_F(SafeWindow, PagesAndRunningNumbers)
{
    gSafePageSize = 50;
    ASSERT_FALSE(SafeStore::SaveGames(1199, manyGames(50), QString(), u"g"_s));
    auto w = open();
    pickDraw(*w, 1199);
    EXPECT_EQ(label(*w, u"lblMax1"_s), u"[1/1]"_s);
    EXPECT_FALSE(w->findChild<QLabel*>(u"lblNext"_s)->isVisibleTo(w.get()));

    ASSERT_FALSE(SafeStore::SaveGames(1199, manyGames(1), QString(), u"g"_s));
    pickDraw(*w, 1199);
    EXPECT_EQ(label(*w, u"lblMax1"_s), u"[1/2]"_s);
    EXPECT_TRUE(w->findChild<QLabel*>(u"lblNext"_s)->isVisibleTo(w.get()));
    w->NextPage();
    EXPECT_EQ(label(*w, u"lblMax1"_s), u"[2/2]"_s);
    ASSERT_EQ(tickets(*w)->maxRows(), 1);
    EXPECT_EQ(tickets(*w)->model()->headerData(0, Qt::Vertical, Qt::DisplayRole).toString(), u"51"_s);
    w->NextPage(); // beyond the last page: nothing
    EXPECT_EQ(w->page(), 2);
    EXPECT_EQ(label(*w, u"lblRecCount"_s), u"[자료: 1201/1]"_s);
}

TEST_F(SafeWindow, AGroupKeepsThePageInRange)
{
    gSafePageSize = 10;
    ASSERT_FALSE(SafeStore::SaveGames(1198, manyGames(40), QString(), u"큰"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1198, manyGames(15), QString(), u"작은"_s));
    auto w = open();
    pickDraw(*w, 1198);
    Grid* groups = w->findChild<Grid*>(u"grdR3"_s);
    ASSERT_EQ(groups->maxRows(), 3);
    EXPECT_EQ(groups->text(1, 2), u"큰"_s); // names in descending order, the first chosen
    EXPECT_EQ(label(*w, u"lblMax1"_s), u"[1/4]"_s);
    Q_EMIT groups->cellClicked(1, 1); // (전체): 55 games
    w->NextPage();
    w->NextPage();
    w->NextPage();
    EXPECT_EQ(label(*w, u"lblMax1"_s), u"[4/6]"_s);
    Q_EMIT groups->cellClicked(1, 3); // 작은: two pages, the page comes into range
    EXPECT_EQ(label(*w, u"lblMax1"_s), u"[2/2]"_s);
    EXPECT_FALSE(w->findChild<QLineEdit*>(u"txtGName1"_s)->text().isEmpty());
}

TEST_F(SafeWindow, TheCountIsCorrectedWhenADrawIsSelected)
{
    ASSERT_FALSE(SafeStore::SaveGames(1197, manyGames(7), QString(), u"g"_s));
    Execute(gUserConn, u"UPDATE Bok1 SET Count1 = 99 WHERE BokNo = 1197"_s);
    auto w = open();
    pickDraw(*w, 1197);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Count1 FROM Bok1 WHERE BokNo = 1197"_s), u"7"_s);
    Grid* draws = w->findChild<Grid*>(u"grdR1"_s);
    EXPECT_EQ(draws->text(3, draws->activeRow()), u"7"_s);
}

// The games read for the pages stay in memory while the window shows them, and no longer.
TEST_F(SafeWindow, ClosingTheWindowLetsGoOfTheGamesKept)
{
    ASSERT_FALSE(SafeStore::SaveGames(1197, manyGames(7), QString(), u"g"_s));
    auto w = open();
    pickDraw(*w, 1197);
    EXPECT_NE(DrawGames::cached(1197), nullptr);
    w.reset();
    EXPECT_EQ(DrawGames::cached(1197), nullptr);
}

TEST_F(SafeWindow, DeletingCheckedGamesLosersAndGroups)
{
    ASSERT_FALSE(SafeStore::SaveGames(1200, manyGames(8, u"3334353637"_s), QString(), u"가"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1200, {u"010204162032"_s}, QString(), u"나"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1201, manyGames(2), QString(), u"나"_s));
    auto w = open();
    pickDraw(*w, 1200);
    Grid* groups = w->findChild<Grid*>(u"grdR3"_s);
    Q_EMIT groups->cellClicked(1, 1); // (전체)

    w->DeleteCheckedGames();
    EXPECT_EQ(install.messages.last(), u"삭제할 복권을 먼저 선택하세요."_s);
    Grid* list = tickets(*w);
    Q_EMIT list->cellClicked(1, 0); // the header ticks every row
    EXPECT_EQ(list->text(1, 0), u"-"_s);
    install.messages.answerNext(MsgAnswer::Cancel);
    w->DeleteCheckedGames();
    EXPECT_EQ(install.messages.last(), u"9개의 복권을 삭제할까요?"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1200"_s), u"9"_s);
    Q_EMIT list->cellClicked(1, 0); // and clears them
    EXPECT_EQ(list->text(1, 9), u"0"_s);
    // Three ticked losers go, and the draw's count with them.
    QList<qint64> serials;
    for (int r = 1; r <= list->maxRows() && serials.size() < 3; ++r) {
        if (list->text(3, r).isEmpty()) {
            list->model()->setData(list->model()->index(r - 1, 0), Qt::Checked, Qt::CheckStateRole);
            serials.append(list->text(5, r).toLongLong());
        }
    }
    w->DeleteCheckedGames();
    EXPECT_EQ(install.messages.last(), u"3개의 복권을 삭제할까요?"_s);
    EXPECT_EQ(
        SqlValue(
            gUserConn,
            u"SELECT COUNT(*) || '/' || (SELECT Count1 FROM Bok1 WHERE BokNo = 1200) FROM List1 WHERE BokNo = 1200"_s),
        u"6/6"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1200 AND SNo1 = ?"_s, {serials[0]}),
              u"0"_s);

    // Losers go, the winner stays; draw 1199 (not ranked yet) keeps everything.
    w->DeleteLosingGames();
    EXPECT_EQ(
        SqlValue(
            gUserConn,
            u"SELECT COUNT(*) || '/' || (SELECT Count1 FROM Bok1 WHERE BokNo = 1200) FROM List1 WHERE BokNo = 1200"_s),
        u"1/1"_s);
    pickDraw(*w, 1201); // not drawn yet: its games stay pending
    w->DeleteLosingGames();
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1201"_s), u"2"_s);

    // Group 나 still has games in 1201: deleting its games of 1200 keeps the group.
    pickDraw(*w, 1200);
    ASSERT_EQ(groups->text(1, 2), u"나"_s);
    pickGroup(*w, u"나"_s);
    w->DeleteGroupGames();
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE BokNo = 1200"_s), u"0"_s);
    EXPECT_EQ(SafeStore::GroupNumber(u"나"_s), 2);
    pickDraw(*w, 1201);
    pickGroup(*w, u"나"_s);
    w->DeleteGroupGames();
    EXPECT_EQ(SafeStore::GroupNumber(u"나"_s), 0);
}

TEST_F(SafeWindow, MemoRenameAndMerge)
{
    ASSERT_FALSE(SafeStore::SaveGames(1196, manyGames(3), QString(), u"A"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1196, manyGames(2), QString(), u"B"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1195, manyGames(4), QString(), u"A"_s));
    auto w = open();
    pickDraw(*w, 1196);
    auto* memo = w->findChild<QPlainTextEdit*>(u"txtBigo1"_s);
    memo->setPlainText(u"  it's\n두 줄 😀  "_s);
    w->SaveMemo();
    EXPECT_EQ(memo->toPlainText(), u"it`s\n두 줄 😀"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Bigo1 FROM Bok1 WHERE BokNo = 1196"_s), u"it`s\n두 줄 😀"_s);

    memo->setPlainText(QString(6000, u'가'));
    w->SaveMemo();
    EXPECT_EQ(memo->toPlainText(), QString(5000, u'가')); // 10,000 bytes

    Grid* groups = w->findChild<Grid*>(u"grdR3"_s);
    auto* name = w->findChild<QLineEdit*>(u"txtGName1"_s);
    ASSERT_EQ(groups->text(1, 3), u"A"_s);
    pickGroup(*w, u"A"_s);
    name->setText(u"A"_s);
    w->RenameGroup(); // its own name: nothing changes
    EXPECT_EQ(SafeStore::GroupNumber(u"A"_s), 1);
    pickGroup(*w, u"A"_s);
    name->setText(u"주말's 그룹 이름이 아주아주 길어서 잘립니다"_s);
    w->RenameGroup();
    const QString cut = SqlValue(gUserConn, u"SELECT GName1 FROM Group1 WHERE GNo1 = 1"_s);
    EXPECT_LE(ByteLen(cut), 30);
    EXPECT_TRUE(cut.startsWith(u"주말`s 그룹"_s));

    // Renaming B to A's name merges B into A in every draw.
    pickDraw(*w, 1196);
    pickGroup(*w, u"B"_s);
    name->setText(cut);
    w->RenameGroup();
    EXPECT_EQ(SafeStore::GroupNumber(u"B"_s), 0);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1 WHERE GNo1 = 1"_s), u"9"_s);
    pickGroup(*w, cut);
    name->setText(u"(전체)"_s);
    w->RenameGroup(); // refused with a beep, nothing renamed
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM Group1"_s), u"1"_s);
}

TEST_F(SafeWindow, TheExportWritesEveryMatchingGame)
{
    gSafePageSize = 2;
    ASSERT_FALSE(
        SafeStore::SaveGames(1200, {u"010204162032"_s, u"030507091113"_s, u"010204163344"_s}, QString(), u"g"_s));
    auto w = open();
    pickDraw(*w, 1200);
    w->findChild<QComboBox*>(u"cboCheck1"_s)->setCurrentIndex(1); // 1:당첨된 복권
    w->ExportDraw();
    ASSERT_EQ(install.launcher.textFiles.size(), 1);
    const QString path = install.launcher.textFiles[0];
    EXPECT_EQ(QFileInfo(path).fileName(), u"복권금고_20251208_100000.TXT"_s);
    const QStringList lines = FromCp949(ReadBytes(path)).split(u"\r\n"_s);
    EXPECT_EQ(lines[0], u"회차: 1200회"_s);
    EXPECT_EQ(lines[1], QString(37, u'='));
    EXPECT_EQ(lines[4], u"01.02.04.16.20.32 1등   2,357,299,875"_s);
    EXPECT_EQ(lines[5], u"01.02.04.16.33.44 4등          50,000"_s);
    EXPECT_EQ(lines[6], QString(37, u'='));
    EXPECT_EQ(lines.size(), 8); // the last line end leaves an empty piece

    // DATA unusable: the message, nothing else.
    QDir(install.path(u"DATA"_s)).removeRecursively();
    WriteBytes(install.path(u"DATA"_s), "not a folder");
    w->ExportDraw();
    EXPECT_EQ(install.launcher.textFiles.size(), 1);
    EXPECT_TRUE(install.messages.last().contains(u"복권금고_"_s));
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
}
