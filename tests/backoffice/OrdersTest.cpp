#include "BackofficeFixture.h"
#include "Grid.h"
#include "OrderStore.h"
#include "SqlError.h"
#include "UiTools.h"
#include "frmA1Job11.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

using namespace Qt::StringLiterals;

namespace {

QStringList games(int n, int first = 1)
{
    QStringList list;
    for (int i = 0; i < n; ++i) {
        const int a = (first + i) % 40 + 1; // a, a+1, … a+5 stay within 1..45
        QString text;
        for (int k = 0; k < 6; ++k)
            text += QString::number(a + k).rightJustified(2, u'0');
        list.append(text);
    }
    return list;
}

} // namespace

using Orders = BackofficeTest;

TEST_P(Orders, GamesFillTicketsAndEachBatchStartsANewTicket)
{
    addOrder(900, 1201, 4, 5, u"2025-12-01 10:00:00"_s);
    const auto first = OrderStore::RegisterGames(900, 5, games(12));
    EXPECT_TRUE(first.orderFound);
    EXPECT_EQ(first.added, 12);
    QStringList places;
    Query q(gServerConn,
            u"SELECT SNo1, SNo2, No1, Top1, Kum1, Cancel1, BokNo FROM NBNo1 WHERE JPCodeNo = 900 "
            "ORDER BY SNo1, SNo2"_s);
    q.run();
    while (q.next()) {
        places.append(q.text(u"SNo1"_s) + u'-' + q.text(u"SNo2"_s));
        EXPECT_EQ(q.text(u"Top1"_s) + q.text(u"Kum1"_s) + q.text(u"Cancel1"_s) + q.text(u"BokNo"_s), u"9001201"_s);
    }
    EXPECT_EQ(places.join(u' '), u"1-1 1-2 1-3 1-4 1-5 2-1 2-2 2-3 2-4 2-5 3-1 3-2"_s);
    EXPECT_EQ(server(u"SELECT No1 FROM NBNo1 WHERE JPCodeNo = 900 AND SNo1 = 3 AND SNo2 = '2'"_s), games(12)[11]);

    const auto later = OrderStore::RegisterGames(900, 5, games(3, 20));
    EXPECT_EQ(later.firstTicket, 4);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 900 AND SNo1 = 4"_s), u"3"_s);
    // The demo's orders for the draw on sale already hold 25 games.
    EXPECT_EQ(server(u"SELECT Sum1 FROM S1List WHERE BokNo = 1201"_s), u"40"_s);
}

TEST_P(Orders, TheFirstGamesOfADrawMakeItsStatisticsRow)
{
    addOrder(901, 1190, 1, 5, u"2025-09-01 10:00:00"_s);
    ASSERT_EQ(server(u"SELECT COUNT(*) FROM S1List WHERE BokNo = 1190"_s), u"0"_s);
    OrderStore::RegisterGames(901, 5, games(5));
    EXPECT_EQ(server(u"SELECT Sum1 || '/' || S1Count || S2Count || S3Count || S4Count || S5Count || '/' || S1Kum || "
                     "S2Kum || S3Kum || S4Kum || S5Kum FROM S1List WHERE BokNo = 1190"_s),
              u"5/00000/00000"_s);
    // An order that is gone takes nothing.
    EXPECT_FALSE(OrderStore::RegisterGames(999, 5, games(5)).orderFound);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 999"_s), u"0"_s);
}

// A failure half-way through (here a trigger standing for a full disk or a lost connection) takes back
// every game already inserted and the draw's count: the order is as it was.
TEST_P(Orders, ARegistrationThatFailsHalfWayLeavesNothing)
{
    if (GetParam() != Backend::SQLite)
        GTEST_SKIP() << "the failure is staged with an SQLite trigger";
    addOrder(904, 1201, 100, 5, u"2025-12-01 10:00:00"_s);
    Execute(gServerConn,
            u"CREATE TRIGGER stop_at_40 BEFORE INSERT ON NBNo1 WHEN NEW.SNo1 = 40 "
            "BEGIN SELECT RAISE(ABORT, 'disk full'); END"_s);
    EXPECT_THROW(OrderStore::RegisterGames(904, 5, games(300)), SqlError);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 904"_s), u"0"_s);
    EXPECT_EQ(server(u"SELECT Sum1 FROM S1List WHERE BokNo = 1201"_s), u"25"_s);
}

TEST_P(Orders, DeletingAnOrderTakesItsGamesAndTheirCount)
{
    ASSERT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 103"_s), u"15"_s);
    const QString before = server(u"SELECT Sum1 FROM S1List WHERE BokNo = 1201"_s);
    EXPECT_TRUE(OrderStore::DeleteOrder(103));
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBList1 WHERE JPCodeNo = 103"_s), u"0"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 103"_s), u"0"_s);
    EXPECT_EQ(server(u"SELECT Sum1 FROM S1List WHERE BokNo = 1201"_s), QString::number(before.toInt() - 15));
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 102"_s), u"10"_s); // others untouched
    EXPECT_FALSE(OrderStore::DeleteOrder(103));
}

TEST_P(Orders, TheListCountsGamesAndFiltersByMonth)
{
    addOrder(902, 1150, 2, 5, u"2024-03-05 10:00:00"_s);
    addOrder(903, 1151, 2, 5, u"2024-04-05 10:00:00"_s);
    Execute(gServerConn, u"INSERT INTO NBNo1 VALUES (902,1150,'010203040506','9',0,1,'1','1')"_s);
    Execute(gServerConn, u"INSERT INTO NBNo1 VALUES (902,1150,'010203040507','9',0,1,'2','0')"_s);
    auto year = OrderStore::ListOrders(2024, 0);
    ASSERT_EQ(year.size(), 2u);
    EXPECT_EQ(year[0].code, 903); // newest number first
    EXPECT_EQ(year[1].games, 2);
    EXPECT_EQ(year[1].cancelled, 1);
    EXPECT_EQ(year[1].amount(), 200); // tickets × unit price
    auto march = OrderStore::ListOrders(2024, 3);
    ASSERT_EQ(march.size(), 1u);
    EXPECT_EQ(march[0].code, 902);
    EXPECT_TRUE(OrderStore::ListOrders(2024, 5).empty());

    // Games ordered are games per ticket × tickets, whatever is registered.
    const auto capacity = OrderStore::CheckCapacity(year[1], 9);
    EXPECT_EQ(capacity.requested, 10);
    EXPECT_EQ(capacity.possible, 8);
    EXPECT_FALSE(capacity.fits());
    EXPECT_EQ(capacity.message(),
              u"복권추가 불가능합니다.\r\n\r\n신청한 게임수: 10\r\n가능한 게임수: 8\r\n불러온 게임수: 9"_s);
}

TEST_P(Orders, TheFieldsAreStoredAsTypedWithTheQuoteTurnedAndLimitsKept)
{
    const QString memo = u"고객 '김' 님 😀 요청"_s;
    EXPECT_TRUE(OrderStore::CheckOrderFields(u"3"_s, u"R-1'2"_s, memo).isEmpty());
    EXPECT_TRUE(OrderStore::SaveOrder(105, u"3"_s, u"R-1'2"_s, memo));
    EXPECT_EQ(server(u"SELECT Bigo1 FROM NBList1 WHERE JPCodeNo = 105"_s), u"고객 `김` 님 😀 요청"_s);
    EXPECT_EQ(server(u"SELECT State1 || SendNo1 FROM NBList1 WHERE JPCodeNo = 105"_s), u"3R-1'2"_s);
    EXPECT_EQ(OrderStore::ReadMemo(105), u"고객 `김` 님 😀 요청"_s);

    EXPECT_FALSE(OrderStore::CheckOrderFields(u"5"_s, QString(), QString()).isEmpty());
    EXPECT_FALSE(OrderStore::CheckOrderFields(u"2"_s, QString(), QString(10001, u'a')).isEmpty());
    EXPECT_TRUE(OrderStore::CheckOrderFields(u"2"_s, QString(), QString(5000, u'가')).isEmpty()); // 10,000 bytes
    EXPECT_FALSE(OrderStore::SaveOrder(777, u"1"_s, QString(), QString()));

    gUserID = u"player"_s;
    EXPECT_THROW(OrderStore::SaveOrder(105, u"1"_s, QString(), QString()), SqlError);
    EXPECT_THROW(OrderStore::ListOrders(2025, 0), SqlError);
}

class OrderWindow : public BackofficeTest
{
protected:
    std::unique_ptr<frmA1Job11> open(std::optional<QStringList> list)
    {
        auto w = std::make_unique<frmA1Job11>();
        w->setGameSource([list] { return list; });
        w->resize(1200, 760);
        return w;
    }
    static Grid* orders(frmA1Job11& w) { return w.findChild<Grid*>(u"grdR1"_s); }
    static void pick(frmA1Job11& w, qint64 code)
    {
        Grid* grid = orders(w);
        for (int r = 1; r <= grid->maxRows(); ++r) {
            if (grid->text(1, r).toLongLong() == code) {
                grid->setActiveCell(1, r);
                Q_EMIT grid->cellClicked(1, r);
                return;
            }
        }
        ADD_FAILURE() << "no order " << code;
    }
};

TEST_P(OrderWindow, OpensOnTheYearsOrdersAndShowsTheFirst)
{
    auto w = open(QStringList());
    QComboBox* years = w->findChild<QComboBox*>(u"cboYear1"_s);
    EXPECT_EQ(years->itemText(0), u"2004년"_s);
    EXPECT_EQ(years->currentText(), u"2025년"_s); // the clock's year, the last item
    EXPECT_EQ(years->count(), 22);
    EXPECT_EQ(w->findChild<QComboBox*>(u"cboMonth1"_s)->currentText(), u"(전체)"_s);
    Grid* grid = orders(*w);
    ASSERT_EQ(grid->maxRows(), 5);
    EXPECT_EQ(grid->text(1, 1), u"105"_s);
    EXPECT_EQ(w->selectedOrder(), 105);
    pick(*w, 103);
    EXPECT_EQ(w->findChild<QLabel*>(u"lblMsg01"_s)->text(), u"[선택 번호: 103]"_s);
    EXPECT_EQ(w->findChild<QLabel*>(u"lblMsg02"_s)->text(), u"[선택 회차: 1201]"_s);
    EXPECT_EQ(grid->text(10, grid->activeRow()), u"15"_s);
    EXPECT_EQ(w->findChild<QPlainTextEdit*>(u"txtBigo1"_s)->toPlainText(), u"3장 × 5게임, 인쇄 대기"_s);
}

TEST_P(OrderWindow, TheStepsRunInOrderAndRegisterThePulledGames)
{
    auto w = open(games(7));
    pick(*w, 104);
    w->PullGames();
    EXPECT_EQ(install.messages.last(), u"1.작업 확인요.."_s);
    w->Prepare();
    w->CheckCount();
    EXPECT_EQ(install.messages.last(), u"2.작업 확인요.."_s);
    w->PullGames();
    EXPECT_EQ(install.messages.last(), u"패스2 OK"_s);
    w->PullGames();
    EXPECT_EQ(install.messages.last(), u"2.작업 이미 동작됨.."_s);
    w->RegisterGames();
    EXPECT_EQ(install.messages.last(), u"3.작업 확인요.."_s);
    install.messages.clear();
    w->CheckCount();
    ASSERT_EQ(install.messages.shown().size(), 2);
    EXPECT_EQ(install.messages.shown()[0].text,
              u"복권추가 가능합니다.\r\n\r\n신청한 게임수: 30\r\n가능한 게임수: 30\r\n불러온 게임수: 7"_s);
    // Choosing another order takes the check back: it was for 104.
    pick(*w, 105);
    w->RegisterGames();
    EXPECT_EQ(install.messages.last(), u"3.작업 확인요.."_s);
    pick(*w, 104);
    w->CheckCount();
    install.messages.answerNext(MsgAnswer::Cancel);
    w->RegisterGames();
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 104"_s), u"0"_s);
    install.messages.answerNext(MsgAnswer::Ok);
    w->RegisterGames();
    EXPECT_EQ(install.messages.last(), u"작업완료"_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) || '/' || MAX(SNo1) FROM NBNo1 WHERE JPCodeNo = 104"_s), u"7/3"_s);
    EXPECT_EQ(orders(*w)->text(10, orders(*w)->activeRow()), u"7"_s);
    w->RegisterGames();
    EXPECT_EQ(install.messages.last(), u"4.작업 이미 동작됨.."_s);
    // Another order and back again: the batch that was registered is not registered a second time.
    pick(*w, 105);
    pick(*w, 104);
    w->CheckCount();
    EXPECT_EQ(install.messages.last(), u"3.작업 이미 동작됨.."_s);
    install.messages.answerNext(MsgAnswer::Ok);
    w->RegisterGames();
    EXPECT_EQ(install.messages.last(), u"4.작업 이미 동작됨.."_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo IN (104, 105)"_s), u"7"_s);
}

TEST_P(OrderWindow, NothingToPullOrABadCountIsRefused)
{
    auto closed = open(std::nullopt);
    closed->Prepare();
    closed->PullGames();
    EXPECT_TRUE(install.messages.last().startsWith(u"[로또게임] 창이 열려 있지 않습니다."_s));
    auto empty = open(QStringList());
    empty->Prepare();
    empty->PullGames();
    EXPECT_EQ(install.messages.last(), u"[로또게임]에서 불러올 복권이 없습니다..."_s);
    EXPECT_EQ(install.messages.shown().last().icon, MsgIcon::Critical);

    auto w = open(games(4));
    pick(*w, 104);
    w->Prepare();
    w->PullGames();
    w->CheckCount();
    w->findChild<QLineEdit*>(u"txtGame1"_s)->setText(u"0"_s);
    w->RegisterGames();
    EXPECT_EQ(install.messages.last(), u"[복권당 게임수]는 1부터 5까지의 숫자로 적어 주십시오."_s);
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 104"_s), u"0"_s);
}

TEST_P(OrderWindow, SavingAndDeletingAskFirst)
{
    auto w = open(QStringList());
    pick(*w, 104);
    w->findChild<QLineEdit*>(u"txtState1"_s)->setText(u"9"_s);
    w->SaveOrder();
    EXPECT_EQ(install.messages.last(), u"[진행상태]는 0부터 4까지의 숫자 하나로 적어 주십시오."_s);
    w->findChild<QLineEdit*>(u"txtState1"_s)->setText(u"2"_s);
    w->findChild<QPlainTextEdit*>(u"txtBigo1"_s)->setPlainText(u"it's"_s);
    install.messages.answerNext(MsgAnswer::Ok);
    w->SaveOrder();
    EXPECT_EQ(server(u"SELECT State1 || Bigo1 FROM NBList1 WHERE JPCodeNo = 104"_s), u"2it`s"_s);
    EXPECT_EQ(orders(*w)->text(9, orders(*w)->activeRow()), u"2"_s);

    // Saved, and the list cannot be read again afterwards: the save is not denied.
    w->findChild<QLineEdit*>(u"txtState1"_s)->setText(u"3"_s);
    install.messages.clear();
    {
        TableAway games(ServerOwnerConnection(GetParam()), u"NBNo1"_s);
        WhenBusy listing(u"주문 목록 ..."_s, [&] { games.away(); });
        w->SaveOrder();
    }
    ASSERT_EQ(install.messages.shown().size(), 3); // the question, the list, the result
    EXPECT_TRUE(install.messages.shown()[1].text.startsWith(kRefreshFailed));
    EXPECT_EQ(install.messages.last(), u"작업완료"_s);
    EXPECT_EQ(server(u"SELECT State1 FROM NBList1 WHERE JPCodeNo = 104"_s), u"3"_s);

    pick(*w, 103);
    install.messages.answerNext(MsgAnswer::Cancel);
    w->DeleteOrder();
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBNo1 WHERE JPCodeNo = 103"_s), u"15"_s);
    install.messages.answerNext(MsgAnswer::Ok);
    w->DeleteOrder();
    EXPECT_EQ(server(u"SELECT COUNT(*) FROM NBList1 WHERE JPCodeNo = 103"_s), u"0"_s);
    EXPECT_EQ(orders(*w)->maxRows(), 4);
}

INSTANTIATE_TEST_SUITE_P(Server, Orders, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
INSTANTIATE_TEST_SUITE_P(Server, OrderWindow, ::testing::Values(Backend::SQLite, Backend::PostgreSQL), BackendName);
