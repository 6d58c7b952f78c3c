#include "BackofficeFixture.h"
#include "DrawAdmin.h"
#include "DrawProgress.h"
#include "DrawSync.h"
#include "DrawText.h"
#include "Grid.h"
#include "LoginService.h"
#include "RankCalc.h"
#include "SafeStore.h"
#include "Settings.h"
#include "Settlement.h"
#include "SqlError.h"
#include "UiTools.h"
#include "frmA1Job13.h"

#include <QComboBox>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

// Draw 1200 of the demo: 01 02 04 16 20 32, bonus 45.
const QString k1200Second = u"010204162045"_s; // five and the bonus
const QString k1200Fourth = u"010204164344"_s;
const QString k1200Loser = u"030507091113"_s;

QString wholeRow(qint64 drawNo)
{
    return SqlValue(gServerConn,
                    u"SELECT a.Date1 || a.Date2 || a.LotNo || a.State1 || a.State2 || a.Rk1Count || a.Rk5Kum || '/' || "
                    "b.Sum1 || b.S1Count || b.S2Count || b.S3Count || b.S4Count || b.S5Count || b.S1Kum || b.S2Kum || "
                    "b.S3Kum || b.S4Kum || b.S5Kum FROM BokList a JOIN S1List b ON a.BokNo = b.BokNo "
                    "WHERE a.BokNo = ?"_s,
                    {drawNo});
}

QString drawsStamp()
{
    return DrawProgress::parse(
               SqlValue(gServerConn, u"SELECT Text1 FROM Info1 WHERE IFPart1 = '업데이트' AND Name1 = '추첨진행'"_s))
        .drawsStamp;
}

} // namespace

class DrawResults : public BackofficeTest
{
protected:
    std::unique_ptr<frmA1Job13> open(int month = 12)
    {
        auto w = std::make_unique<frmA1Job13>();
        w->resize(1200, 760);
        if (month != 12) {
            w->findChild<QComboBox*>(u"cboMonth1"_s)->setCurrentIndex(month - 1);
            w->Refresh();
        }
        return w;
    }
    static Grid* draws(frmA1Job13& w) { return w.findChild<Grid*>(u"grdR1"_s); }
    static Grid* winners(frmA1Job13& w) { return w.findChild<Grid*>(u"grdR2"_s); }
    static int rowOf(frmA1Job13& w, qint64 drawNo)
    {
        for (int r = 1; r <= draws(w)->maxRows(); ++r) {
            if (draws(w)->text(2, r).toLongLong() == drawNo)
                return r;
        }
        return 0;
    }
    static void pick(frmA1Job13& w, qint64 drawNo)
    {
        const int row = rowOf(w, drawNo);
        ASSERT_GT(row, 0);
        Q_EMIT draws(w)->cellClicked(2, row);
    }
    // A shop's order of draw 1200 holding a second, a fourth and a losing game, all pending.
    void addPendingGames()
    {
        addOrder(950, 1200, 1, 5, u"2025-11-20 10:00:00"_s);
        Query add(gServerConn, u"INSERT INTO NBNo1 VALUES (950,1200,?,'9',0,1,?,'0')"_s);
        add.run({k1200Second, u"1"_s});
        add.run({k1200Fourth, u"2"_s});
        add.run({k1200Loser, u"3"_s});
    }
    void runStep(frmA1Job13& w, int step)
    {
        install.messages.answerNext(MsgAnswer::Ok);
        switch (step) {
        case 1:
            w.RankGames();
            break;
        case 2:
            w.StoreRanks();
            break;
        case 3:
            w.ArchiveWinners();
            break;
        default:
            w.DeleteGames();
        }
    }
};

TEST_P(DrawResults, OpensOnTheMonthWithTheDrawsAndTheirStatistics)
{
    auto w = open();
    ASSERT_EQ(draws(*w)->maxRows(), 1);
    EXPECT_EQ(draws(*w)->text(2, 1), u"1201"_s);
    EXPECT_EQ(draws(*w)->text(16, 1), u"25"_s);
    EXPECT_EQ(w->selectedDraw(), 1201);
    auto november = open(11);
    EXPECT_EQ(draws(*november)->maxRows(), 1); // 1197–1200 are in November; only 1200 has free tickets
    EXPECT_EQ(november->selectedDraw(), 1200);
    // The stored winners of the demo's settled order, best rank first.
    ASSERT_EQ(winners(*november)->maxRows(), 2);
    EXPECT_EQ(winners(*november)->text(3, 1), u"2"_s);
    EXPECT_EQ(winners(*november)->text(4, 1), u"500000"_s);
    EXPECT_EQ(winners(*november)->text(5, 1), u"000101-000001"_s);
    EXPECT_EQ(w->findChild<Grid*>(u"grdR3"_s)->text(3, 1), u"0"_s);
    EXPECT_EQ(november->findChild<Grid*>(u"grdR3"_s)->text(3, 1), u"2357299875"_s);
}

TEST_P(DrawResults, SettlementStepsRunInOrderAndArchiveEachWinnerOnce)
{
    addPendingGames();
    auto w = open(11);
    w->StoreRanks();
    EXPECT_EQ(install.messages.last(), u"1.작업 확인요.."_s);
    runStep(*w, 1);
    EXPECT_EQ(install.messages.last(), u"패스1 OK"_s);
    // Ranks 2 and 4 of the new order, and the fourth and fifth of the demo's order.
    QStringList shown;
    for (int r = 1; r <= winners(*w)->maxRows(); ++r)
        shown.append(winners(*w)->text(3, r) + u':' + winners(*w)->text(4, r));
    EXPECT_EQ(shown.join(u' '), u"2:500000 4:0 4:0 5:0"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE BokNo = 1200 AND Top1 <> '9'"_s), u"2"_s); // nothing written
    w->ArchiveWinners();
    EXPECT_EQ(install.messages.last(), u"2.작업 확인요.."_s);
    runStep(*w, 2);
    EXPECT_EQ(install.messages.last(), u"패스2 OK"_s);
    runStep(*w, 2);
    EXPECT_EQ(install.messages.last(), u"2.작업 이미 동작됨.."_s);
    EXPECT_EQ(server(u"SELECT Top1 || '/' || Kum1 FROM NBNo1 WHERE JPCodeNo = 950 AND No1 = ?"_s, {k1200Second}),
              u"2/500000"_s);
    EXPECT_EQ(server(u"SELECT Top1 || '/' || Kum1 FROM NBNo1 WHERE JPCodeNo = 950 AND No1 = ?"_s, {k1200Fourth}),
              u"9/0"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE BokNo = 1200 AND Top1 IN ('4','5')"_s), u"0"_s);
    runStep(*w, 3);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo2 WHERE BokNo = 1200"_s), u"3"_s);

    // The window is opened again and the steps run again: nobody is archived twice.
    w = open(11);
    for (int step = 1; step <= 3; ++step)
        runStep(*w, step);
    EXPECT_EQ(install.messages.last(), u"패스3 OK"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo2 WHERE BokNo = 1200"_s), u"3"_s);
    EXPECT_EQ(server(u"SELECT Top1 || Kum1 || SNo1 || SNo2 FROM NBNo2 WHERE JPCodeNo = 950"_s), u"250000011"_s);
    runStep(*w, 4);
    EXPECT_EQ(install.messages.last(), u"작업완료"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE BokNo = 1200"_s), u"0"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE BokNo = 1201"_s), u"25"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo2"_s), u"3"_s);
    runStep(*w, 4);
    EXPECT_EQ(install.messages.last(), u"4.작업 이미 동작됨.."_s);
}

TEST_P(DrawResults, AWinnerOnATicketArchivedForAnotherDrawIsArchivedAndKept)
{
    // Ticket 1, place 1 of order 950 already won in draw 1199; its serials started again after settlement.
    Execute(gServerConn,
            u"INSERT INTO NBNo2 (JPCodeNo,BokNo,No1,Top1,Kum1,SNo1,SNo2) VALUES (950,1199,?,'2',500000,1,'1')"_s,
            {k1200Loser});
    addPendingGames();
    auto w = open(11);
    for (int step = 1; step <= 3; ++step)
        runStep(*w, step);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo2 WHERE JPCodeNo = 950 AND BokNo = 1200 AND SNo1 = 1 AND SNo2 = '1'"_s),
              u"1"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo2 WHERE JPCodeNo = 950"_s), u"2"_s);
}

TEST_P(DrawResults, ADrawWithoutNumbersIsNotRanked)
{
    auto w = open();
    runStep(*w, 1);
    EXPECT_EQ(install.messages.last(), u"1201회의 당첨번호가 아직 없습니다. 당첨번호를 저장한 뒤에 하십시오."_s);
    w->StoreRanks();
    EXPECT_EQ(install.messages.last(), u"1.작업 확인요.."_s);
}

TEST_P(DrawResults, AnUnchangedRowIsWrittenBackExactly)
{
    auto w = open(11);
    const QString before = wholeRow(1200);
    const QString stamp = drawsStamp();
    draws(*w)->setText(1, rowOf(*w, 1200), u"1"_s);
    install.messages.answerNext(MsgAnswer::Ok);
    w->SaveDraws();
    EXPECT_EQ(install.messages.last(), u"작업완료"_s);
    EXPECT_EQ(wholeRow(1200), before);
    EXPECT_EQ(drawsStamp(), stamp); // nothing newer: the members have nothing to fetch
    EXPECT_EQ(draws(*w)->text(1, rowOf(*w, 1200)), u"0"_s);
}

TEST_P(DrawResults, ABadCellIsNamedAndNothingIsSaved)
{
    Execute(gServerConn, u"INSERT INTO S1List VALUES (1199,0,0,0,0,0,0,0,0,0,0,0)"_s);
    auto w = open(11);
    ASSERT_EQ(draws(*w)->maxRows(), 2);
    const QString before1199 = wholeRow(1199), before1200 = wholeRow(1200);
    const int good = rowOf(*w, 1200), bad = rowOf(*w, 1199);
    draws(*w)->setText(1, good, u"1"_s);
    draws(*w)->setText(18, good, u"2025121301"_s);
    draws(*w)->setText(1, bad, u"1"_s);
    auto refused = [&](int column, const QString& typed, const QString& named) {
        const QString old = draws(*w)->text(column, bad);
        draws(*w)->setText(column, bad, typed);
        w->SaveDraws();
        draws(*w)->setText(column, bad, old);
        EXPECT_TRUE(install.messages.last().startsWith(named)) << install.messages.last().toStdString();
        EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    };
    refused(5, u"01020304050601"_s, u"1199회의 [*당첨번호]: 보너스 번호가"_s);
    refused(5, u"01020304054607"_s, u"1199회의 [*당첨번호]: 당첨번호의 번호는"_s);
    refused(5, u"01010304050607"_s, u"1199회의 [*당첨번호]: 당첨번호 여섯 개에"_s);
    refused(5, u"0102030405"_s, u"1199회의 [*당첨번호]: 당첨번호는 14자리"_s);
    refused(7, u"3명"_s, u"1199회의 [*2등수]"_s);
    refused(11, u"-5"_s, u"1199회의 [*1등금액]"_s);
    refused(4, u"20251132"_s, u"1199회의 [*추첨날짜]"_s);
    refused(17, u"4"_s, u"1199회의 [*추첨상태]"_s);
    refused(18, u"2025-12-13"_s, u"1199회의 [*변경날짜]"_s);
    EXPECT_EQ(wholeRow(1199), before1199);
    EXPECT_EQ(wholeRow(1200), before1200);

    // Drawn without numbers would make every member's games losers for good.
    auto w12 = open();
    draws(*w12)->setText(1, 1, u"1"_s);
    draws(*w12)->setText(17, 1, u"3"_s);
    w12->SaveDraws();
    EXPECT_TRUE(install.messages.last().startsWith(u"1201회의 [*추첨상태]: 당첨번호 없이"_s));
    EXPECT_EQ(server(u"SELECT State1 FROM BokList WHERE BokNo = 1201"_s), u"1"_s);
}

TEST_P(DrawResults, SavingRowsIsAllOrNothing)
{
    if (GetParam() != Backend::SQLite)
        GTEST_SKIP() << "the failure is staged with an SQLite trigger";
    Execute(gServerConn, u"INSERT INTO S1List VALUES (1199,0,0,0,0,0,0,0,0,0,0,0)"_s);
    Execute(gServerConn,
            u"CREATE TRIGGER refuse_1199 BEFORE UPDATE ON S1List WHEN NEW.BokNo = 1199 "
            "BEGIN SELECT RAISE(ABORT, 'connection lost'); END"_s);
    auto w = open(11);
    const QString before = wholeRow(1200);
    const QString stamp = drawsStamp();
    for (int r = 1; r <= draws(*w)->maxRows(); ++r) {
        draws(*w)->setText(1, r, u"1"_s);
        draws(*w)->setText(18, r, u"2025121301"_s);
    }
    install.messages.answerNext(MsgAnswer::Ok);
    w->findChild<QPushButton*>(u"cmdDo01"_s)->click(); // the button's guard reports the failure
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);
    EXPECT_TRUE(install.messages.last().contains(u"connection lost"_s));
    EXPECT_EQ(wholeRow(1200), before); // 1200 came first and was taken back
    EXPECT_EQ(drawsStamp(), stamp);
}

TEST_P(DrawResults, ThePrizeTableKeepsRowsBeingEditedAndASavedChangeIsNeverDenied)
{
    Execute(gServerConn, u"INSERT INTO S1List VALUES (1199,0,0,0,0,0,0,0,0,0,0,0)"_s);
    auto w = open(11);
    pick(*w, 1200);
    const int edited = rowOf(*w, 1199);
    draws(*w)->setText(3, edited, u"20251116"_s);
    w->DrawCellEdited(3, edited);
    w->SavePrizeTable(); // the prize table of 1200, as it stands
    EXPECT_EQ(install.messages.last(), u"당첨금내역 저장. OK"_s);
    // The typed cell is still there and ticked, with a stamp above the one the prize table raised.
    EXPECT_EQ(draws(*w)->text(3, edited), u"20251116"_s);
    EXPECT_TRUE(draws(*w)->isChecked(1, edited));
    EXPECT_GT(draws(*w)->text(18, edited), drawsStamp());
    EXPECT_EQ(draws(*w)->text(18, rowOf(*w, 1200)), drawsStamp());

    // Saved, and the list cannot be read again afterwards: the save is not denied.
    install.messages.clear();
    {
        TableAway statistics(ServerOwnerConnection(GetParam()), u"S1List"_s);
        WhenBusy listing(u"추첨회차 목록 ..."_s, [&] { statistics.away(); });
        w->SaveDraws();
    }
    ASSERT_EQ(install.messages.shown().size(), 3); // the question, the list, the result
    EXPECT_TRUE(install.messages.shown()[1].text.startsWith(kRefreshFailed));
    EXPECT_EQ(install.messages.last(), u"작업완료"_s);
    EXPECT_EQ(server(u"SELECT Date1 FROM BokList WHERE BokNo = 1199"_s), u"20251116"_s);
    EXPECT_EQ(server(u"SELECT State2 FROM BokList WHERE BokNo = 1199"_s), drawsStamp());
}

TEST_P(DrawResults, AWinningGameIsCorrected)
{
    auto w = open(11);
    Grid* list = winners(*w);
    ASSERT_EQ(list->maxRows(), 2);
    list->setActiveCell(2, 1);
    Q_EMIT list->cellClicked(2, 1);
    EXPECT_EQ(w->findChild<QPushButton*>(u"cmdDo04"_s)->text(), u"복권번호 변경 (000101-000001)"_s);
    list->setText(2, 1, u"01.02.04.16.20.44"_s);
    install.messages.answerNext(MsgAnswer::Ok);
    w->CorrectGame();
    EXPECT_EQ(install.messages.last(), u"복권번호 변경. OK"_s);
    EXPECT_EQ(server(u"SELECT No1 FROM NBNo1 WHERE JPCodeNo = 101 AND SNo1 = 1 AND SNo2 = '1'"_s), u"010204162044"_s);
    list->setText(2, 1, u"010204162046"_s);
    w->CorrectGame();
    EXPECT_TRUE(install.messages.last().startsWith(u"[*복권번호]"_s));
    EXPECT_EQ(server(u"SELECT No1 FROM NBNo1 WHERE JPCodeNo = 101 AND SNo1 = 1 AND SNo2 = '1'"_s), u"010204162044"_s);
}

// The administrator enters the result of the draw on sale; a member's next start copies it and the safe
// ranks the member's games against it.
TEST_P(DrawResults, AResultEnteredHereReachesTheMembersSafe)
{
    ASSERT_EQ(LoginService().login(u"player"_s, u"player"_s, false).outcome, LoginService::Outcome::LoggedIn);
    SyncDrawResults();
    ASSERT_FALSE(SafeStore::SaveGames(1201, {u"030710223341"_s, u"030710223345"_s}, QString(), u"g"_s));

    LogInOnServer(u"chief"_s);
    auto w = open();
    Grid* grid = draws(*w);
    ASSERT_EQ(grid->text(2, 1), u"1201"_s);
    // Typed into the cells: each correction ticks the row and gives it a stamp newer than the members'.
    grid->setText(5, 1, u"03071022334145"_s);
    w->DrawCellEdited(5, 1);
    EXPECT_EQ(grid->text(1, 1), u"1"_s);
    EXPECT_EQ(grid->text(18, 1), u"2025120801"_s);
    grid->setText(17, 1, u"3"_s);
    w->DrawCellEdited(17, 1);
    EXPECT_EQ(grid->text(18, 1), u"2025120801"_s);
    install.messages.answerNext(MsgAnswer::Ok);
    w->SaveDraws();
    ASSERT_EQ(install.messages.last(), u"작업완료"_s);
    EXPECT_EQ(drawsStamp(), u"2025120801"_s);
    Grid* prizes = w->findChild<Grid*>(u"grdR3"_s);
    prizes->setText(2, 1, u"9"_s);
    prizes->setText(3, 1, u"3000000000"_s);
    prizes->setText(3, 2, u"60000000"_s);
    prizes->setText(3, 3, u"1500000"_s);
    prizes->setText(3, 4, u"50000"_s);
    prizes->setText(3, 5, u"5000"_s);
    w->SavePrizeTable();
    EXPECT_EQ(install.messages.last(), u"당첨금내역 저장. OK"_s);
    EXPECT_EQ(server(u"SELECT State2 || '/' || Rk1Count || '/' || Rk2Kum FROM BokList WHERE BokNo = 1201"_s),
              u"2025120802/9/60000000"_s);
    EXPECT_EQ(drawsStamp(), u"2025120802"_s);
    EXPECT_EQ(grid->text(18, 1), u"2025120802"_s);

    ASSERT_EQ(LoginService().login(u"player"_s, u"player"_s, false).outcome, LoginService::Outcome::LoggedIn);
    SyncDrawResults();
    const RankCalc::DrawResult result = RankCalc::ReadDrawResult(1201);
    EXPECT_TRUE(result.final);
    EXPECT_EQ(result.drawText, u"03071022334145"_s);
    // The start has ranked the member's games of the new result already, with the safe's own pass.
    EXPECT_EQ(gNewWinDraws, std::vector<qint64> {1201});
    EXPECT_EQ(RankCalc::EvaluatePending(1201, result), 0);
    EXPECT_EQ(
        SqlValue(gUserConn, u"SELECT Top1 || '/' || Kum1 FROM List1 WHERE BokNo = 1201 AND No1 = '030710223341'"_s),
        u"1/3000000000"_s);
    EXPECT_EQ(
        SqlValue(gUserConn, u"SELECT Top1 || '/' || Kum1 FROM List1 WHERE BokNo = 1201 AND No1 = '030710223345'"_s),
        u"2/60000000"_s);
}

TEST(DrawEntry, NoNumbersYetIsAcceptedAndStampsNeverRepeat)
{
    // Entry takes all zeros for a draw not yet held, and otherwise the one rule of a draw's numbers.
    EXPECT_TRUE(DrawAdmin::CheckDrawText(u"00000000000000"_s).isEmpty());
    EXPECT_EQ(DrawAdmin::CheckDrawText(u"01020416203200"_s), DrawText::Problem(u"01020416203200"_s));
    EXPECT_FALSE(DrawAdmin::CheckDrawText(u"01020416203200"_s).isEmpty());
    EXPECT_EQ(DrawAdmin::NextStamp(u"20251208"_s, u"2025120601"_s, u"2025120601"_s), u"2025120801"_s);
    EXPECT_EQ(DrawAdmin::NextStamp(u"20251208"_s, u"2025120803"_s, u"2025121301"_s), u"2025121302"_s);
    // A day's hundred stamps used up: the next day's first one, ten characters as every install reads.
    EXPECT_EQ(DrawAdmin::NextStamp(u"20251208"_s, u"2025120899"_s, u"2025120801"_s), u"2025120901"_s);
    EXPECT_EQ(DrawAdmin::NextStamp(u"20251231"_s, u"2025123199"_s, u"2025123150"_s), u"2026010101"_s);
    EXPECT_THROW(DrawAdmin::NextStamp(u"20251208"_s, u"99999999"_s + u"99"_s, QString()), SqlError);
    EXPECT_EQ(Settlement::FreeTicketPrize(2), 500000);
    EXPECT_EQ(Settlement::FreeTicketPrize(4), 0);
}

INSTANTIATE_TEST_SUITE_P(Server, DrawResults, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
