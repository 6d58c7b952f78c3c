#include "Settlement.h"

#include "Backoffice.h"
#include "Globals.h"
#include "Query.h"
#include "RankCalc.h"
#include "Transaction.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace Settlement {

qint64 FreeTicketPrize(int rank)
{
    switch (rank) {
    case 1:
        return 10'000'000;
    case 2:
        return 500'000;
    case 3:
        return 100'000;
    default:
        return 0;
    }
}

Ranking RankDraw(qint64 drawNo, const std::function<void(int)>& progress)
{
    Backoffice::RequireAdministrator();
    Ranking r;
    // The stored result, not the grid's cell: a number typed and not yet saved is no result.
    Query draw(gServerConn, u"SELECT LotNo FROM BokList WHERE BokNo = ?"_s);
    draw.run({drawNo});
    if (!draw.next()) {
        r.problem = QString::number(drawNo) + u"회는 추첨 목록에 없습니다."_s;
        return r;
    }
    r.drawText = draw.text(u"LotNo"_s);
    if (r.drawText == u"00000000000000"_s) {
        r.problem = QString::number(drawNo) + u"회의 당첨번호가 아직 없습니다. 당첨번호를 저장한 뒤에 하십시오."_s;
        return r;
    }
    if (const QString why = DrawAdmin::CheckDrawText(r.drawText); !why.isEmpty()) {
        r.problem = QString::number(drawNo) + u"회의 저장된 당첨번호가 올바르지 않습니다: "_s + why;
        return r;
    }

    Query count(gServerConn, u"SELECT COUNT(*) AS n FROM NBNo1 WHERE BokNo = ? AND Top1 = '9'"_s);
    count.run({drawNo});
    const qint64 total = count.next() ? count.integer(u"n"_s) : 0;
    const FastRank rule(r.drawText);
    // Every game of the draw, whatever its order's state: step 4 deletes them all, so all are ranked.
    Query games(gServerConn,
                u"SELECT a.ID1,b.No1,b.JPCodeNo,b.SNo1,b.SNo2 FROM NBNo1 b "
                "LEFT JOIN NBList1 a ON a.JPCodeNo = b.JPCodeNo WHERE b.BokNo = ? AND b.Top1 = '9'"_s);
    games.run({drawNo});
    QSqlQuery& raw = games.raw();
    QElapsedTimer shown;
    shown.start();
    while (raw.next()) {
        ++r.pending;
        const char rank = rule.rankOf(raw.value(1).toString());
        if (rank != '0') {
            r.winners.push_back({raw.value(0).toString(),
                                 raw.value(1).toString(),
                                 QString(QChar::fromLatin1(rank)),
                                 FreeTicketPrize(rank - '0'),
                                 raw.value(2).toLongLong(),
                                 raw.value(3).toLongLong(),
                                 raw.value(4).toString()});
        }
        if (progress && total > 0 && shown.elapsed() >= 50) {
            shown.restart();
            progress(int(std::lround(double(r.pending) * 100.0 / double(total))));
        }
    }
    std::stable_sort(r.winners.begin(), r.winners.end(), [](const DrawAdmin::Winner& a, const DrawAdmin::Winner& b) {
        return std::tie(a.rank, a.id, a.game) < std::tie(b.rank, b.id, b.game);
    });
    return r;
}

qint64 StoreRanks(qint64 drawNo, const std::vector<DrawAdmin::Winner>& winners)
{
    Backoffice::RequireAdministrator();
    Transaction transaction(gServerConn);
    Query update(gServerConn,
                 u"UPDATE NBNo1 SET Top1 = ?, Kum1 = ? WHERE JPCodeNo = ? AND SNo1 = ? AND SNo2 = ? AND BokNo = ?"_s);
    qint64 changed = 0;
    for (const DrawAdmin::Winner& w : winners) {
        const int rank = w.rank.toInt();
        if (rank < 1 || rank > 3)
            continue; // ranks 4 and 5 carry no free-ticket prize and keep "9" until the games are deleted
        update.run({w.rank, FreeTicketPrize(rank), w.order, w.serial, w.position, drawNo});
        changed += update.rowsAffected();
    }
    transaction.commit();
    return changed;
}

qint64 ArchiveWinners(qint64 drawNo)
{
    Backoffice::RequireAdministrator();
    // One statement: all of the draw's winners land or none. Those already archived by an earlier run of
    // the steps are left out, so that no winner is archived twice. Ticket serials of an order start again
    // once its games are gone, so a winner is known by its draw and game as well: a later draw's winner on
    // the same ticket and place is a winner of its own.
    Transaction transaction(gServerConn);
    const qint64 added = Execute(gServerConn,
                                 u"INSERT INTO NBNo2 (JPCodeNo,BokNo,No1,Top1,Kum1,SNo1,SNo2) "
                                 "SELECT b.JPCodeNo, b.BokNo, b.No1, b.Top1, b.Kum1, b.SNo1, b.SNo2 FROM NBNo1 b "
                                 "WHERE b.BokNo = ? AND b.Top1 IN ('1','2','3') AND NOT EXISTS ("
                                 "SELECT 1 FROM NBNo2 c WHERE c.JPCodeNo = b.JPCodeNo AND c.SNo1 = b.SNo1 "
                                 "AND c.SNo2 = b.SNo2 AND c.BokNo = b.BokNo AND c.No1 = b.No1)"_s,
                                 {drawNo});
    transaction.commit();
    return added;
}

qint64 DeleteDrawGames(qint64 drawNo)
{
    Backoffice::RequireAdministrator();
    Transaction transaction(gServerConn);
    const qint64 deleted = Execute(gServerConn, u"DELETE FROM NBNo1 WHERE BokNo = ?"_s, {drawNo});
    transaction.commit();
    return deleted;
}

} // namespace Settlement
