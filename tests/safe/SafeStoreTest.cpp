#include "SafeStore.h"

#include "RankCalc.h"
#include "SafeExport.h"
#include "SafeFixture.h"
#include "TextExport.h"
#include "Tools.h"
#include "Transaction.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>

using namespace Qt::StringLiterals;

TEST(RankRules, TheFastRuleAgreesWithTheRuleAsWritten)
{
    std::mt19937 random(1200);
    const QStringList draws = {u"01020416203245"_s, u"10232933374016"_s, u"03111924384507"_s, u"01020304050607"_s};
    for (const QString& draw : draws) {
        const FastRank fast(draw);
        for (int i = 0; i < 20000; ++i) {
            std::array<int, 45> all {};
            std::iota(all.begin(), all.end(), 1);
            std::shuffle(all.begin(), all.end(), random);
            // Bias towards the draw's own numbers so that every rank occurs.
            QString game;
            std::vector<int> picked(all.begin(), all.begin() + 6);
            for (int k = 0; k < int(random() % 7); ++k)
                picked[size_t(k)] = draw.mid(k * 2, 2).toInt();
            std::sort(picked.begin(), picked.end());
            picked.erase(std::unique(picked.begin(), picked.end()), picked.end());
            for (int n = 1; picked.size() < 6; ++n) {
                if (std::find(picked.begin(), picked.end(), n) == picked.end())
                    picked.push_back(n);
            }
            std::sort(picked.begin(), picked.end());
            for (int n : picked)
                game += QString::number(n).rightJustified(2, u'0');
            ASSERT_EQ(QString(QChar::fromLatin1(fast.rankOf(game))), RankOfGame(draw, game)) << game.toStdString();
        }
    }
    const FastRank broken(u"00000000000000"_s);
    EXPECT_EQ(broken.rankOf(u"010203040506"_s), '0');
    EXPECT_EQ(FastRank(u"01020304050607"_s).rankOf(u"0102"_s), '0');
}

TEST(WinningsLine, ItsExactForms)
{
    RankCalc::Totals none;
    EXPECT_EQ(RankCalc::WinningsLine(none), u"[총당첨금: 0원 ]"_s);
    RankCalc::Totals some;
    some.counts[4] = 1;
    some.sums[4] = 50000;
    some.counts[5] = 2;
    some.sums[5] = 10000;
    EXPECT_EQ(RankCalc::WinningsLine(some), u"[총당첨금: 60,000원 4등(1) 5등(2)]"_s);
    RankCalc::Totals third;
    third.counts[3] = 1;
    third.sums[3] = 1234500;
    EXPECT_EQ(RankCalc::WinningsLine(third), u"[총당첨금: 1,234,500원 3등(1) ]"_s);
}

TEST(SafeExportLines, ColumnsInBytes)
{
    const SafeStore::Ticket third {u"031119243845"_s, u"3"_s, 1234500, 1};
    EXPECT_EQ(SafeExport::Line(third), u"03.11.19.24.38.45 3등       1,234,500"_s);
    const SafeStore::Ticket lost {u"031119243845"_s, u"0"_s, 0, 2};
    const SafeStore::Ticket pending {u"031119243845"_s, u"9"_s, 0, 3};
    const SafeStore::Ticket first {u"031119243845"_s, u"1"_s, 2357299875, 4};
    for (const auto& t : {third, lost, pending, first})
        EXPECT_EQ(ByteLen(SafeExport::Line(t)), 37) << SafeExport::Line(t).toStdString();
    EXPECT_TRUE(SafeExport::Line(pending).contains(u" -  "_s));
    EXPECT_TRUE(SafeExport::Line(lost).endsWith(u"             0"_s));
}

TEST(SafeExportLines, TheBytesMadeInBulkAreTheLineEncoded)
{
    for (const QString& rank : {u"0"_s, u"9"_s, u"1"_s, u"5"_s, u"x"_s}) {
        for (const qint64 prize : {0LL,
                                   7LL,
                                   999LL,
                                   1000LL,
                                   123456LL,
                                   1000000LL,
                                   2357299875LL,
                                   99999999999999LL,
                                   std::numeric_limits<qint64>::max()}) {
            const SafeStore::Ticket t {u"010203040506"_s, rank, prize, 1};
            EXPECT_EQ(SafeExport::PlainLine(t), ToCp949(SafeExport::Line(t))) << rank.toStdString() << ' ' << prize;
        }
    }
    // Anything else is left to the line as text.
    for (const SafeStore::Ticket& odd : {SafeStore::Ticket {u"0102030405"_s, u"0"_s, 0, 1},
                                         SafeStore::Ticket {u"01020304050가"_s, u"0"_s, 0, 1},
                                         SafeStore::Ticket {u"010203040506"_s, u"10"_s, 0, 1},
                                         SafeStore::Ticket {u"010203040506"_s, QString(), 0, 1},
                                         SafeStore::Ticket {u"010203040506"_s, u"5"_s, -5000, 1}})
        EXPECT_TRUE(SafeExport::PlainLine(odd).isEmpty()) << odd.no1.toStdString();
}

TEST_F(SafeTest, SavingContinuesSerialsAndResetsTheMark)
{
    QStringList seventeen;
    for (int i = 0; i < 17; ++i)
        seventeen.append(u"010203040506"_s);
    ASSERT_FALSE(SafeStore::SaveGames(301, seventeen, u"메모"_s, u"첫 그룹"_s));
    Execute(gUserConn, u"UPDATE Bok1 SET Tag1 = '1' WHERE BokNo = 301"_s);
    ASSERT_FALSE(SafeStore::SaveGames(301, QStringList(5, u"070809101112"_s), u"it`s"_s, u"첫 그룹"_s));
    EXPECT_EQ(SqlValue(gUserConn,
                       u"SELECT MIN(SNo1) || '-' || MAX(SNo1) FROM List1 WHERE BokNo = 301 AND No1 = '070809101112'"_s),
              u"18-22"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Count1 || Tag1 || Bigo1 FROM Bok1 WHERE BokNo = 301"_s), u"220it`s"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) || '/' || MAX(GNo1) FROM Group1"_s), u"1/1"_s); // reused by name
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(DISTINCT Top1) || MAX(Top1) FROM List1"_s), u"19"_s);

    ASSERT_FALSE(SafeStore::SaveGames(302, {u"010203040506"_s}, QString(), u"둘째"_s));
    EXPECT_EQ(SafeStore::GroupNumber(u"둘째"_s), 2);
    // A draw without its row gets one.
    ASSERT_FALSE(SafeStore::SaveGames(5000, {u"010203040506"_s}, QString(), u"둘째"_s));
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Count1 || Tag1 FROM Bok1 WHERE BokNo = 5000"_s), u"10"_s);
}

TEST_F(SafeTest, TheLimitRefusesBeforeWritingAnything)
{
    Execute(gUserConn, u"UPDATE Bok1 SET Count1 = 99999999 WHERE BokNo = 1"_s);
    const auto refused = SafeStore::SaveGames(1, {u"010203040506"_s, u"010203040507"_s}, u"x"_s, u"g"_s);
    ASSERT_TRUE(refused);
    EXPECT_EQ(*refused, u"복권번호는 회차별 1억개까지 저장이 가능합니다."_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM List1"_s), u"0"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT COUNT(*) FROM Group1"_s), u"0"_s);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Bigo1 FROM Bok1 WHERE BokNo = 1"_s), QString());
}

TEST_F(SafeTest, TheRealResultRanksFirstAndTakesItsPrize)
{
    // Draw 1200: 01 02 04 16 20 32, bonus 45; rank-1 prize 2,357,299,875 won.
    const QStringList games = {u"010204162032"_s,
                               u"010204162045"_s,
                               u"010204162044"_s,
                               u"010204163344"_s,
                               u"010204303344"_s,
                               u"010530333444"_s};
    ASSERT_FALSE(SafeStore::SaveGames(1200, games, QString(), u"g"_s));
    const RankCalc::DrawResult draw = RankCalc::ReadDrawResult(1200);
    ASSERT_TRUE(draw.final);
    EXPECT_EQ(RankCalc::EvaluatePending(1200, draw), 6);
    QStringList ranks;
    Query q(gUserConn, u"SELECT Top1, Kum1 FROM List1 WHERE BokNo = 1200 ORDER BY SNo1"_s);
    q.run();
    while (q.next())
        ranks.append(q.text(u"Top1"_s) + u':' + q.text(u"Kum1"_s));
    EXPECT_EQ(ranks,
              (QStringList {u"1:2357299875"_s, u"2:58932497"_s, u"3:1315458"_s, u"4:50000"_s, u"5:5000"_s, u"0:0"_s}));
    EXPECT_EQ(RankCalc::WinningsLine(RankCalc::ReadTotals(1200)),
              u"[총당첨금: 2,417,602,830원 1등(1) 2등(1) 3등(1) 4등(1) 5등(1)]"_s);

    // Nothing pending any more: no statement at all, and ranks never go back.
    EXPECT_EQ(RankCalc::EvaluatePending(1200, draw), 0);
    // A rank whose prize is 0 keeps its code but stays out of the totals.
    Execute(gUserConn, u"UPDATE List1 SET Kum1 = 0 WHERE Top1 = '5'"_s);
    EXPECT_EQ(RankCalc::ReadTotals(1200).counts[5], 0);
}

TEST_F(SafeTest, TicketPagesFiltersAndGroups)
{
    QStringList games;
    for (int i = 0; i < 250; ++i)
        games.append(QString::number(10 + i % 30) + u"2021222324"_s);
    ASSERT_FALSE(SafeStore::SaveGames(1201, games, QString(), u"A"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1201, games.mid(0, 30), QString(), u"B"_s));
    SafeStore::TicketQuery all {1201, SafeStore::RankFilter::All, 0, false};
    EXPECT_EQ(SafeStore::CountTickets(all), 280);
    const auto page3 = SafeStore::TicketPage(all, 200, 100);
    EXPECT_EQ(page3.size(), 80u);
    // Pages follow the game order, serials breaking ties, without overlap.
    const auto page1 = SafeStore::TicketPage(all, 0, 100);
    const auto page2 = SafeStore::TicketPage(all, 100, 100);
    EXPECT_LE(page1.back().no1, page2.front().no1);
    SafeStore::TicketQuery b {1201, SafeStore::RankFilter::All, SafeStore::GroupNumber(u"B"_s), false};
    EXPECT_EQ(SafeStore::CountTickets(b), 30);
    SafeStore::TicketQuery lost {1201, SafeStore::RankFilter::Lost, 0, false};
    EXPECT_EQ(SafeStore::CountTickets(lost), 0); // pending games are neither won nor lost
    EXPECT_EQ(SafeStore::DrawGroupNames(1201), (QStringList {u"B"_s, u"A"_s}));
}

// Pages are cut from the list's order read once; they must still be SQLite's pages of the file as it is
// now: after a change by the program, by another connection, or a table gone.
TEST_F(SafeTest, PagesAreThoseOfTheFileAsItIsNow)
{
    QStringList games;
    for (int i = 0; i < 250; ++i)
        games.append(QString::number(10 + (i * 7) % 30) + u"2021222324"_s);
    ASSERT_FALSE(SafeStore::SaveGames(1201, games, QString(), u"A"_s));
    Execute(gUserConn, u"UPDATE List1 SET Top1 = substr('05439', 1 + SNo1 % 5, 1) WHERE SNo1 % 3 = 0"_s);
    const auto page = [](const SafeStore::TicketQuery& q, qint64 offset) {
        QStringList serials;
        for (const SafeStore::Ticket& t : SafeStore::TicketPage(q, offset, 100))
            serials.append(QString::number(t.sno1) + u'/' + t.top1);
        return serials.join(u' ');
    };
    const auto sqlPage = [](const QString& orderBy, qint64 offset) {
        return SqlValue(gUserConn,
                        u"SELECT group_concat(SNo1 || '/' || Top1, ' ') FROM (SELECT SNo1, Top1 FROM List1 WHERE "
                        "BokNo = 1201 ORDER BY "_s
                            + orderBy + u" LIMIT 100 OFFSET ?)"_s,
                        {offset});
    };
    const SafeStore::TicketQuery byNumber {1201, SafeStore::RankFilter::All, 0, false};
    const SafeStore::TicketQuery byRank {1201, SafeStore::RankFilter::All, 0, true};
    for (qint64 offset : {0, 100, 200}) {
        EXPECT_EQ(page(byNumber, offset), sqlPage(u"No1, SNo1"_s, offset));
        EXPECT_EQ(page(byRank, offset), sqlPage(u"Top1, SNo1"_s, offset));
    }

    const QString first = SafeStore::TicketPage(byNumber, 0, 1).front().no1;
    Execute(gUserConn,
            u"DELETE FROM List1 WHERE BokNo = 1201 AND SNo1 = ?"_s,
            {SafeStore::TicketPage(byNumber, 0, 1).front().sno1});
    EXPECT_EQ(SafeStore::CountTickets(byNumber), 249);
    EXPECT_EQ(page(byNumber, 0), sqlPage(u"No1, SNo1"_s, 0));
    {
        const Connection other = Connection::openSqlite(gUserDbPath);
        Execute(other, u"UPDATE List1 SET No1 = '010203040506', Top1 = '1' WHERE SNo1 = 250"_s);
    }
    EXPECT_EQ(SafeStore::TicketPage(byNumber, 0, 1).front().sno1, 250);
    EXPECT_EQ(page(byRank, 0), sqlPage(u"Top1, SNo1"_s, 0));
    EXPECT_NE(first, u"010203040506"_s);

    Execute(gUserConn, u"DROP TABLE List1"_s);
    EXPECT_THROW(SafeStore::TicketPage(byNumber, 0, 100), SqlError);
}

// Every list the window can ask for — each filter, group and order — is the one SQLite gives for the file:
// after the rank pass, and after a change that was undone.
TEST_F(SafeTest, EveryListIsSqlitesList)
{
    QStringList games;
    for (int i = 0; i < 300; ++i)
        games.append(u"01"_s + QString::number(10 + (i * 7) % 30) + u"16203240"_s);
    ASSERT_FALSE(SafeStore::SaveGames(1200, games.mid(0, 200), QString(), u"A"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1200, games.mid(200), QString(), u"B"_s));
    ASSERT_FALSE(SafeStore::SaveGames(1201, games.mid(0, 5), QString(), u"C"_s));
    ASSERT_EQ(RankCalc::EvaluatePending(1200, RankCalc::ReadDrawResult(1200)), 300);
    Execute(gUserConn, u"UPDATE List1 SET Top1 = '9', Kum1 = 0 WHERE BokNo = 1200 AND SNo1 % 7 = 0"_s);
    EXPECT_EQ(SafeStore::DrawGroupNames(1200), (QStringList {u"B"_s, u"A"_s}));

    const auto list = [](const SafeStore::TicketQuery& q) {
        QStringList seen;
        for (const SafeStore::Ticket& t : SafeStore::TicketPage(q, 0, -1))
            seen.append(QString::number(t.sno1) + u'/' + t.no1 + u'/' + t.top1 + u'/' + QString::number(t.kum1));
        return seen.join(u' ');
    };
    const auto sqlList = [](const SafeStore::TicketQuery& q) {
        const QString filter = q.filter == SafeStore::RankFilter::Won ? u" AND Top1 BETWEEN '1' AND '5'"_s
            : q.filter == SafeStore::RankFilter::Lost                 ? u" AND Top1 = '0'"_s
                                                                      : QString();
        return SqlValue(gUserConn,
                        u"SELECT group_concat(SNo1 || '/' || No1 || '/' || Top1 || '/' || Kum1, ' ') FROM (SELECT * "
                        "FROM List1 WHERE BokNo = 1200 AND (? = 0 OR GNo1 = ?)"_s
                            + filter + (q.byRank ? u" ORDER BY Top1, SNo1)"_s : u" ORDER BY No1, SNo1)"_s),
                        {q.groupNo, q.groupNo});
    };
    const auto everyList = [&] {
        for (const auto filter :
             {SafeStore::RankFilter::All, SafeStore::RankFilter::Won, SafeStore::RankFilter::Lost}) {
            for (const qint64 group : {qint64(0), SafeStore::GroupNumber(u"A"_s), SafeStore::GroupNumber(u"B"_s)}) {
                for (const bool byRank : {false, true}) {
                    const SafeStore::TicketQuery q {1200, filter, group, byRank};
                    SCOPED_TRACE(QString(u"%1 %2 %3"_s).arg(int(filter)).arg(group).arg(byRank).toStdString());
                    EXPECT_EQ(list(q), sqlList(q));
                    EXPECT_EQ(SafeStore::CountTickets(q), list(q).count(u' ') + (list(q).isEmpty() ? 0 : 1));
                }
            }
        }
    };
    everyList();
    EXPECT_NE(list({1200, SafeStore::RankFilter::Won, 0, false}), QString());

    // Read in the middle of a change that is then undone: the list is the file's again afterwards.
    {
        Transaction undone(gUserConn);
        Execute(gUserConn, u"DELETE FROM List1 WHERE BokNo = 1200 AND SNo1 % 2 = 0"_s);
        EXPECT_EQ(SafeStore::CountTickets({1200, SafeStore::RankFilter::All, 0, false}), 150);
    }
    EXPECT_EQ(SafeStore::CountTickets({1200, SafeStore::RankFilter::All, 0, false}), 300);
    everyList();
}

// The pass ranks games of any form, not only the twelve digits the program writes, by the rule as written.
TEST_F(SafeTest, ThePassRanksGamesOfAnyFormByTheRuleAsWritten)
{
    const RankCalc::DrawResult draw = RankCalc::ReadDrawResult(1200);
    const QStringList odd
        = {u"0102041620"_s, u"01020416203245"_s, u"0102041620xx"_s, u"010204162032"_s, u"32200416020145"_s, QString()};
    ASSERT_FALSE(SafeStore::SaveGames(1200, {u"010204162044"_s}, QString(), u"g"_s));
    for (int i = 0; i < odd.size(); ++i)
        Execute(gUserConn,
                u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (1200,1,?,'9',0,?)"_s,
                {odd[i].isNull() ? QVariant() : QVariant(odd[i]), 10 + i});
    EXPECT_EQ(RankCalc::EvaluatePending(1200, draw), 7);
    Query q(gUserConn, u"SELECT No1, Top1, Kum1 FROM List1 WHERE BokNo = 1200 ORDER BY SNo1"_s);
    q.run();
    int seen = 0;
    while (q.next()) {
        ++seen;
        const QString rank = RankOfGame(draw.drawText, q.text(u"No1"_s));
        EXPECT_EQ(q.text(u"Top1"_s), rank) << q.text(u"No1"_s).toStdString();
        EXPECT_EQ(q.integer(u"Kum1"_s), rank == u"0"_s ? 0 : qint64(std::llround(draw.prizes[size_t(rank.toInt())])));
    }
    EXPECT_EQ(seen, 7);
    EXPECT_EQ(SqlValue(gUserConn, u"SELECT Tag1 FROM Bok1 WHERE BokNo = 1200"_s), u"1"_s);
}

// The export reads every game of a draw in the list's order: by numbers or from the highest rank down,
// serials breaking ties, and texts SQLite orders its own way (not plain ASCII, or null) in SQLite's order.
TEST_F(SafeTest, TheExportOrderIsTheListOrder)
{
    const auto order = [](const SafeStore::TicketQuery& q) {
        QStringList seen;
        SafeStore::ForEachTicket(q, [&seen](const SafeStore::Ticket& t) { seen.append(QString::number(t.sno1)); });
        return seen.join(u' ');
    };
    const auto sqlOrder = [](const QString& orderBy) {
        return SqlValue(gUserConn,
                        u"SELECT group_concat(SNo1, ' ') FROM (SELECT SNo1 FROM List1 WHERE BokNo = 1201 ORDER BY "_s
                            + orderBy + u')');
    };
    const QString insert = u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (1201,1,?,?,0,?)"_s;
    const QStringList numbers = {u"303132333435"_s,
                                 u"010203040506"_s,
                                 u"303132333435"_s,
                                 u"010203040505"_s,
                                 u"010203040506"_s,
                                 u"450102030405"_s};
    const QStringList ranks = {u"0"_s, u"5"_s, u"9"_s, u"0"_s, u"3"_s, u"5"_s};
    for (int i = 0; i < 6; ++i)
        Execute(gUserConn, insert, {numbers[i], ranks[i], 10 - i});
    SafeStore::TicketQuery byNumber {1201, SafeStore::RankFilter::All, 0, false};
    SafeStore::TicketQuery byRank {1201, SafeStore::RankFilter::All, 0, true};
    EXPECT_EQ(order(byNumber), u"7 6 9 8 10 5"_s);
    EXPECT_EQ(order(byRank), u"8 5 9 6 7 10"_s);

    Execute(gUserConn, insert, {u"가나다"_s, u"9"_s, 20});
    Execute(gUserConn, insert, {u"\U0001F600"_s, u"9"_s, 21});
    Execute(gUserConn, insert, {u"\uFF10"_s, u"9"_s, 22});
    Execute(gUserConn, u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (1201,1,NULL,NULL,0,23)"_s);
    Execute(gUserConn, u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (1201,1,'',' ',0,24)"_s);
    EXPECT_EQ(order(byNumber), sqlOrder(u"No1, SNo1"_s));
    EXPECT_EQ(order(byRank), sqlOrder(u"Top1 DESC, SNo1"_s));
}

TEST_F(SafeTest, TheDrawSummaryLines)
{
    const SafeStore::DrawSummary drawn = SafeStore::ReadDrawSummary(1200);
    EXPECT_EQ(drawn.draw, u"(1200회) 01.02.04.16.20.32 보너스:45"_s);
    EXPECT_EQ(drawn.ranks[2], u"2등:         80명      58,932,497원"_s);
    for (int k = 1; k <= 5; ++k)
        EXPECT_EQ(drawn.ranks[size_t(k)].size(), 32) << k; // "k등: ", 10 columns, "명 ", 15 columns, "원"
    const SafeStore::DrawSummary pending = SafeStore::ReadDrawSummary(1201);
    EXPECT_EQ(pending.draw, u"(미추첨)"_s);
    EXPECT_TRUE(pending.ranks[1].isEmpty());
    EXPECT_EQ(SafeStore::ReadDrawSummary(99999).draw, u"(미추첨)"_s);
}
