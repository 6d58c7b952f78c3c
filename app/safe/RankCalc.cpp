#include "RankCalc.h"

#include "DrawGames.h"
#include "DrawText.h"
#include "Globals.h"
#include "Query.h"
#include "RowReader.h"
#include "TextExport.h"
#include "Tools.h"
#include "Transaction.h"

#include <QElapsedTimer>

#include <bit>
#include <cmath>
#include <future>
#include <optional>

using namespace Qt::StringLiterals;

namespace RankCalc {

DrawResult ReadDrawResult(qint64 drawNo)
{
    DrawResult draw;
    Query q(gSystemConn, u"SELECT BokNo,No1,State1,Rk1Kum,Rk2Kum,Rk3Kum,Rk4Kum,Rk5Kum FROM BokList WHERE BokNo = ?"_s);
    q.run({drawNo});
    if (!q.next())
        return draw;
    draw.found = true;
    draw.final = q.text(u"State1"_s) == u"3"_s;
    draw.drawText = q.text(u"No1"_s);
    for (int rank = 1; rank <= 5; ++rank)
        draw.prizes[size_t(rank)] = q.number(u"Rk"_s + QString::number(rank) + u"Kum"_s);
    return draw;
}

namespace {

// Bok1.Tag1 = "1": the draw has had its pass; marked only once the result is final (games shown earlier are
// still evaluated later), and written only when it was not so.
void markEvaluated(qint64 drawNo, const DrawResult& draw)
{
    if (draw.final)
        Execute(gUserConn, u"UPDATE Bok1 SET Tag1 = '1' WHERE BokNo = ? AND Tag1 IS NOT '1'"_s, {drawNo});
}

using Prizes = std::array<qint64, 6>; // won, by rank; index 0 for the losers

// The draw's games as the pass leaves them: read on a connection of the reading thread's own from the file
// as it was before the pass, and ranked there by the same rule.
struct RankedGames
{
    std::optional<std::vector<DrawGames::Game>> games; // none: not of the plain form
    qint64 pending = 0; // games that were pending
    struct Win
    {
        qint64 serial;
        char rank;
        qint64 prize;
    };
    std::vector<Win> wins; // the pending games that won
};

RankedGames rankGames(const QString& path, qint64 drawNo, const FastRank& rule, const Prizes& prizes)
{
    RankedGames ranked;
    try {
        std::optional<std::vector<DrawGames::Game>> games = DrawGames::readFrom(Connection::openSqlite(path), drawNo);
        if (!games)
            return ranked;
        char digits[12];
        for (DrawGames::Game& g : *games) {
            if (g.rank != '9')
                continue;
            ++ranked.pending;
            quint64 n = g.number;
            for (int i = 11; i >= 0; --i, n /= 10)
                digits[i] = char('0' + n % 10);
            g.rank = rule.rankOf(QByteArrayView(digits, 12));
            g.prize = prizes[size_t(g.rank - '0')];
            if (g.rank != '0')
                ranked.wins.push_back({g.serial, g.rank, g.prize});
        }
        ranked.games = std::move(games);
    } catch (...) {
        // The games are then read again for the list; the pass itself goes on without them.
        ranked = {};
    }
    return ranked;
}

} // namespace

qint64 EvaluatePending(qint64 drawNo, const DrawResult& draw, const ProgressCallback& progress)
{
    if (!DrawText::IsResult(draw.drawText))
        return 0;
    const FastRank rule(draw.drawText);
    Prizes prizes {};
    for (int r = 1; r <= 5; ++r)
        prizes[size_t(r)] = qint64(std::llround(draw.prizes[size_t(r)]));
    const auto report = [&progress](int percent) {
        if (progress)
            progress(percent);
    };
    // Locked for writing from the start: no other program changes the games between the reading beside
    // and the changes below.
    Transaction transaction(gUserConn, Transaction::Start::Immediate);
    // While SQLite turns the pending games into losers below, a second connection reads the draw and ranks
    // its copy: the winners, a few in a hundred, are then written one by one, and the copy is kept for the
    // list shown next. (Declared after the transaction, the reading ends before any undoing of it.)
    std::future<RankedGames> beside = std::async(std::launch::async, rankGames, gUserConn.path(), drawNo, rule, prizes);
    Execute(gUserConn, u"SAVEPOINT rank_pass"_s);
    qint64 pending
        = Execute(gUserConn, u"UPDATE List1 SET Top1 = '0', Kum1 = 0 WHERE BokNo = ? AND Top1 = '9'"_s, {drawNo});
    report(50);
    RankedGames ranked = beside.get();
    // The copy is put in the list's order on the other thread while the winners are written and committed.
    std::future<std::shared_ptr<const DrawGames>> ordered;
    if (ranked.games && ranked.pending == pending) {
        ordered = std::async(std::launch::async, [drawNo, games = std::move(*ranked.games)]() mutable {
            return std::make_shared<const DrawGames>(drawNo, std::move(games));
        });
        RowReader winner(gUserConn, u"UPDATE List1 SET Top1 = ?, Kum1 = ? WHERE BokNo = ? AND SNo1 = ?"_s);
        winner.bind(2, drawNo);
        for (const RankedGames::Win& w : ranked.wins)
            winner.bind(0, QString(QChar::fromLatin1(w.rank))).bind(1, w.prize).bind(3, w.serial).execute();
        Execute(gUserConn, u"RELEASE rank_pass"_s);
    } else {
        // Games of another form than the program writes (or too many to hold): one statement ranks each
        // by the rule as written.
        Execute(gUserConn, u"ROLLBACK TO rank_pass"_s);
        Execute(gUserConn, u"RELEASE rank_pass"_s);
        qint64 expected = 1;
        {
            Query held(gUserConn, u"SELECT Count1 FROM Bok1 WHERE BokNo = ?"_s);
            held.run({drawNo});
            if (held.next())
                expected = std::max<qint64>(held.integer(u"Count1"_s), 1);
        }
        qint64 seen = 0;
        QElapsedTimer shown;
        shown.start();
        const SqlFunction rank(gUserConn, "suriball_rank", [&](QByteArrayView game) -> qint64 {
            if (progress && (++seen & 0x3FF) == 0 && shown.elapsed() >= 50) {
                shown.restart();
                progress(int(std::min<qint64>(seen * 100 / expected, 100)));
            }
            return rule.rankOf(game) - '0';
        });
        const SqlFunction prize(gUserConn, "suriball_prize", [&](QByteArrayView game) {
            return prizes[size_t(rule.rankOf(game) - '0')];
        });
        pending = Execute(gUserConn,
                          u"UPDATE List1 SET Top1 = CAST(suriball_rank(No1) AS TEXT), Kum1 = suriball_prize(No1) "
                          "WHERE BokNo = ? AND Top1 = '9'"_s,
                          {drawNo});
    }
    markEvaluated(drawNo, draw);
    transaction.commit();
    if (ordered.valid())
        DrawGames::keep(ordered.get());
    report(100);
    return pending;
}

double Totals::grand() const { return sums[1] + sums[2] + sums[3] + sums[4] + sums[5]; }

Totals ReadTotals(qint64 drawNo)
{
    Totals totals;
    if (const std::shared_ptr<const DrawGames> games = DrawGames::cached(drawNo)) {
        for (const DrawGames::Game& g : games->games()) {
            if (g.rank >= '1' && g.rank <= '5' && g.prize != 0) {
                ++totals.counts[size_t(g.rank - '0')];
                totals.sums[size_t(g.rank - '0')] += double(g.prize);
            }
        }
        return totals;
    }
    Query q(
        gUserConn,
        u"SELECT Top1, COUNT(*) AS n, SUM(Kum1) AS s FROM List1 "
        "WHERE BokNo = ? AND Top1 IN ('1','2','3','4','5') AND Top1 BETWEEN '1' AND '5' AND Kum1 <> 0 GROUP BY Top1"_s);
    q.run({drawNo});
    while (q.next()) {
        const int rank = q.text(u"Top1"_s).toInt();
        totals.counts[size_t(rank)] = q.integer(u"n"_s);
        totals.sums[size_t(rank)] = q.number(u"s"_s);
    }
    return totals;
}

QString WinningsLine(const Totals& totals)
{
    QString line = u"[총당첨금: "_s + Grouped(qint64(std::llround(totals.grand()))) + u"원 "_s;
    for (int rank = 1; rank <= 4; ++rank) {
        if (totals.counts[size_t(rank)] > 0)
            line += QString::number(rank) + u"등("_s + QString::number(totals.counts[size_t(rank)]) + u") "_s;
    }
    if (totals.counts[5] > 0)
        line += u"5등("_s + QString::number(totals.counts[5]) + u')';
    return line + u']';
}

} // namespace RankCalc
