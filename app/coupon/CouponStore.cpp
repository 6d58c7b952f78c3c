#include "CouponStore.h"

#include "Clock.h"
#include "DrawText.h"
#include "Globals.h"
#include "Query.h"
#include "RankCalc.h"
#include "TextExport.h"
#include "Tools.h"
#include "Transaction.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace CouponStore {

std::vector<Coupon> Coupons()
{
    std::vector<Coupon> list;
    Query q(gUserConn, u"SELECT BokNo, Count1, Title1 FROM Bok2 ORDER BY BokNo DESC, Title1"_s);
    q.run();
    while (q.next())
        list.push_back({q.integer(u"BokNo"_s), q.text(u"Title1"_s), q.integer(u"Count1"_s)});
    return list;
}

QString Memo(qint64 drawNo)
{
    Query q(gUserConn, u"SELECT Bigo1 FROM Bok2 WHERE BokNo = ?"_s);
    q.run({drawNo});
    return q.next() ? q.text(u"Bigo1"_s) : QString();
}

void SaveMemo(qint64 drawNo, const QString& memo)
{
    Execute(gUserConn, u"UPDATE Bok2 SET Bigo1 = ? WHERE BokNo = ?"_s, {SqlQuote(ByteLeft(memo, 10000)), drawNo});
}

std::optional<QString> AddGames(qint64 drawNo, const QStringList& games, const ProgressCallback& progress)
{
    const qint64 n = games.size();
    Transaction transaction(gUserConn);
    Query last(gUserConn, u"SELECT MAX(SNo1) AS s FROM List2 WHERE BokNo = ?"_s);
    last.run({drawNo});
    qint64 serial = last.next() ? last.integer(u"s"_s) : 0;
    if (n + serial > kMaxSerial)
        return u"더이상 복권을 등록할 수 없습니다."_s;
    Query insert(gUserConn, u"INSERT INTO List2 (BokNo,SNo1,SNo2,No1,Top1,Date1,Tag1) VALUES (?,?,'0',?,'9','','')"_s);
    QElapsedTimer shown;
    shown.start();
    for (qint64 r = 0; r < n; ++r) {
        insert.run({drawNo, ++serial, games[r]});
        if (progress && shown.elapsed() >= 50) {
            shown.restart();
            progress(int(std::lround(double(r + 1) * 100.0 / double(n))));
        }
    }
    Execute(gUserConn, u"UPDATE Bok2 SET Count1 = Count1 + ? WHERE BokNo = ?"_s, {n, drawNo});
    transaction.commit();
    return std::nullopt;
}

QString IssueNumber(qint64 drawNo, qint64 couponNo)
{
    return QString::number(drawNo).rightJustified(4, u'0') + u'-' + QString::number(couponNo).rightJustified(6, u'0');
}

IssueCounts CountGames(qint64 drawNo)
{
    Query q(gUserConn,
            u"SELECT SUM(CASE WHEN Date1 <> '' THEN 1 ELSE 0 END) AS issued, "
            "SUM(CASE WHEN Date1 = '' THEN 1 ELSE 0 END) AS unissued FROM List2 WHERE BokNo = ?"_s);
    q.run({drawNo});
    IssueCounts counts;
    if (q.next()) {
        counts.issued = q.integer(u"issued"_s);
        counts.unissued = q.integer(u"unissued"_s);
    }
    return counts;
}

QString CountLine(const IssueCounts& counts)
{
    return u"[발행: "_s + Grouped(counts.issued) + u"] [미발행: "_s + Grouped(counts.unissued) + u"] "_s;
}

namespace {

// The lowest unissued games of the draw, at most `wanted`: their serials and numbers.
void LowestUnissued(qint64 drawNo, qint64 wanted, std::vector<qint64>& serials, QStringList& games)
{
    Query q(gUserConn, u"SELECT SNo1, No1 FROM List2 WHERE BokNo = ? AND Date1 = '' ORDER BY SNo1"_s);
    q.run({drawNo});
    while (qint64(serials.size()) < wanted && q.next()) {
        serials.push_back(q.integer(u"SNo1"_s));
        games.append(q.text(u"No1"_s));
    }
}

qint64 HighestNumber(qint64 drawNo)
{
    Query q(gUserConn, u"SELECT MAX(SNo1) AS m FROM List2 WHERE BokNo = ?"_s);
    q.run({drawNo});
    return q.next() ? q.integer(u"m"_s) : 0;
}

void Report(const ProgressCallback& progress, qint64 done, qint64 total)
{
    if (progress && total > 0)
        progress(int(std::lround(double(done) * 100.0 / double(total))));
}

} // namespace

PlannedIssue PlanIssue(qint64 drawNo, int coupons, int gamesPerCoupon)
{
    PlannedIssue plan;
    if (coupons < 1 || coupons > 9999 || gamesPerCoupon < 1 || gamesPerCoupon > 5) {
        plan.refusal = u"숫자 형식이 올바르지 않습니다. (1부터 9999까지)"_s;
        return plan;
    }
    plan.drawNo = drawNo;
    plan.coupons = coupons;
    plan.gamesPerCoupon = gamesPerCoupon;
    const qint64 wanted = qint64(coupons) * gamesPerCoupon;
    LowestUnissued(drawNo, wanted, plan.serials, plan.games);
    if (qint64(plan.serials.size()) < wanted) {
        plan.refusal = kShortageMessage;
        return plan;
    }
    plan.firstCoupon = HighestNumber(drawNo) + 1;
    return plan;
}

IssueRun IssueCoupons(const PlannedIssue& plan, const ProgressCallback& progress)
{
    IssueRun run;
    if (plan.refusal) {
        run.refusal = plan.refusal;
        return run;
    }
    Transaction transaction(gUserConn);
    // What was shown is what gets numbered, or nothing is: the same games in stock, the same numbers.
    const PlannedIssue now = PlanIssue(plan.drawNo, plan.coupons, plan.gamesPerCoupon);
    if (now.refusal || now.serials != plan.serials || now.games != plan.games || now.firstCoupon != plan.firstCoupon) {
        run.refusal = kPlanOutdated;
        return run;
    }
    // Coupons a run before this one numbered but never saw printed carry a number and an issue time:
    // they are issued, whether or not their paper came out.
    Execute(gUserConn, u"UPDATE List2 SET Tag1 = '2' WHERE Tag1 = '1'"_s);

    run.issueTime = Clock::now().toString(u"yyyy-MM-dd HH:mm:ss"_s);
    run.firstCoupon = plan.firstCoupon;
    run.coupons = plan.coupons;
    Query number(gUserConn,
                 u"UPDATE List2 SET SNo1 = ?, SNo2 = ?, Date1 = ?, Tag1 = '1' "
                 "WHERE BokNo = ? AND SNo1 = ? AND SNo2 = '0' AND Date1 = ''"_s);
    size_t next = 0;
    for (int i = 0; i < plan.coupons; ++i) {
        const qint64 couponNo = run.firstCoupon + i;
        for (int position = 1; position <= plan.gamesPerCoupon; ++position)
            number.run({couponNo, QString::number(position), run.issueTime, plan.drawNo, plan.serials[next++]});
        Report(progress, i + 1, plan.coupons);
    }
    transaction.commit();
    return run;
}

IssueRun IssueCoupons(qint64 drawNo, int coupons, int gamesPerCoupon, const ProgressCallback& progress)
{
    return IssueCoupons(PlanIssue(drawNo, coupons, gamesPerCoupon), progress);
}

std::vector<CouponKey> BeingPrinted()
{
    std::vector<CouponKey> keys;
    Query q(gUserConn, u"SELECT DISTINCT BokNo, SNo1 FROM List2 WHERE Tag1 = '1' ORDER BY SNo1, BokNo"_s);
    q.run();
    while (q.next())
        keys.push_back({q.integer(u"BokNo"_s), q.integer(u"SNo1"_s)});
    return keys;
}

void FinishIssue() { Execute(gUserConn, u"UPDATE List2 SET Tag1 = '2' WHERE Tag1 = '1'"_s); }

qint64 CalcCouponRanks(qint64 drawNo, const ProgressCallback& progress)
{
    if (drawNo >= gCurrentDrawNo)
        return 0;
    const RankCalc::DrawResult draw = RankCalc::ReadDrawResult(drawNo);
    // Without its numbers every game would count as lost, for good. The draw's state is not asked: a past
    // draw with a well-formed result is ranked.
    if (!draw.found || !DrawText::IsResult(draw.drawText))
        return 0;
    BusyGuard busy(u"등수 계산 ..."_s);
    Transaction transaction(gUserConn);
    QStringList pending;
    Query q(gUserConn, u"SELECT DISTINCT No1 FROM List2 WHERE BokNo = ? AND Date1 <> '' AND Top1 = '9'"_s);
    q.run({drawNo});
    while (q.next())
        pending.append(q.text(u"No1"_s));
    const FastRank rule(draw.drawText);
    Query win(gUserConn, u"UPDATE List2 SET Top1 = ? WHERE BokNo = ? AND Date1 <> '' AND Top1 = '9' AND No1 = ?"_s);
    qint64 ranked = 0;
    for (qsizetype i = 0; i < pending.size(); ++i) {
        const char rank = rule.rankOf(pending[i]);
        if (rank != '0')
            ranked += win.run({QString(QChar::fromLatin1(rank)), drawNo, pending[i]}).rowsAffected();
        Report(progress, i + 1, pending.size());
    }
    ranked += Execute(gUserConn,
                      u"UPDATE List2 SET Top1 = '0' WHERE BokNo = ? AND Date1 <> '' AND Top1 = '9'"_s,
                      {drawNo});
    transaction.commit();
    return ranked;
}

RankCounts WinningCounts(qint64 drawNo)
{
    RankCounts counts {};
    Query q(gUserConn,
            u"SELECT Top1, COUNT(*) AS n FROM List2 WHERE BokNo = ? AND Date1 <> '' "
            "AND Top1 BETWEEN '1' AND '5' GROUP BY Top1"_s);
    q.run({drawNo});
    while (q.next()) {
        const int rank = q.text(u"Top1"_s).toInt();
        if (rank >= 1 && rank <= 5)
            counts[size_t(rank)] = q.integer(u"n"_s);
    }
    return counts;
}

QString RankSummaryText(const RankCounts& counts)
{
    QString text = u"[당첨: "_s;
    for (int rank = 1; rank <= 4; ++rank) {
        if (counts[size_t(rank)] > 0)
            text += QString::number(rank) + u"등("_s + QString::number(counts[size_t(rank)]) + u") "_s;
    }
    if (counts[5] > 0)
        text += u"5등("_s + QString::number(counts[5]) + u')';
    return text + u']';
}

QString RankSummary(qint64 drawNo)
{
    if (drawNo >= gCurrentDrawNo)
        return u"[당첨: (미추첨)]"_s;
    return RankSummaryText(WinningCounts(drawNo));
}

namespace {

// Count1 says how many games the coupon has, after any change to them.
qint64 Recount(qint64 drawNo)
{
    Query q(gUserConn, u"SELECT COUNT(*) AS n FROM List2 WHERE BokNo = ?"_s);
    q.run({drawNo});
    const qint64 games = q.next() ? q.integer(u"n"_s) : 0;
    Execute(gUserConn, u"UPDATE Bok2 SET Count1 = ? WHERE BokNo = ?"_s, {games, drawNo});
    return games;
}

} // namespace

void DeleteCoupon(qint64 drawNo)
{
    Transaction transaction(gUserConn);
    Execute(gUserConn, u"DELETE FROM List2 WHERE BokNo = ?"_s, {drawNo});
    Execute(gUserConn, u"DELETE FROM Bok2 WHERE BokNo = ?"_s, {drawNo});
    transaction.commit();
}

qint64 DeleteGames(qint64 drawNo, const std::vector<qint64>& serials)
{
    Transaction transaction(gUserConn);
    Query remove(gUserConn, u"DELETE FROM List2 WHERE BokNo = ? AND SNo1 = ?"_s);
    for (qint64 serial : serials)
        remove.run({drawNo, serial});
    const qint64 left = Recount(drawNo);
    transaction.commit();
    return left;
}

qint64 DeleteLostGames(qint64 drawNo)
{
    Transaction transaction(gUserConn);
    Execute(gUserConn, u"DELETE FROM List2 WHERE BokNo = ? AND Top1 = '0'"_s, {drawNo});
    const qint64 left = Recount(drawNo);
    transaction.commit();
    return left;
}

namespace {

QString FilterSql(Filter filter)
{
    switch (filter) {
    case Filter::All:
        break;
    case Filter::Issued:
        return u"AND Tag1 = '2' "_s;
    case Filter::Unissued:
        return u"AND Date1 = '' "_s;
    case Filter::Won:
        return u"AND Top1 BETWEEN '1' AND '5' "_s;
    }
    return {};
}

QString OrderSql(Order order)
{
    switch (order) {
    case Order::IssueOrder:
        break;
    case Order::Rank:
        return u"ORDER BY Top1, Date1 DESC, SNo1 DESC, SNo2"_s;
    case Order::Numbers:
        return u"ORDER BY No1, Date1 DESC"_s;
    }
    return u"ORDER BY Date1 DESC, SNo1 DESC, SNo2"_s;
}

std::vector<Game> ReadGames(const QString& sql, const QVariantList& values)
{
    std::vector<Game> games;
    Query q(gUserConn, sql);
    q.run(values);
    while (q.next())
        games.push_back(
            {q.text(u"No1"_s), q.text(u"Top1"_s), q.text(u"Date1"_s), q.integer(u"SNo1"_s), q.text(u"SNo2"_s)});
    return games;
}

const QString kSelectGames = QStringLiteral("SELECT No1, Top1, Date1, SNo1, SNo2 FROM List2 WHERE BokNo = ? ");

} // namespace

std::vector<Game> Games(qint64 drawNo, Filter filter, Order order)
{
    return ReadGames(kSelectGames + FilterSql(filter) + OrderSql(order), {drawNo});
}

qint64 CountMatching(qint64 drawNo, Filter filter)
{
    Query q(gUserConn, u"SELECT COUNT(*) AS n FROM List2 WHERE BokNo = ? "_s + FilterSql(filter));
    q.run({drawNo});
    return q.next() ? q.integer(u"n"_s) : 0;
}

std::vector<Game> GamesPage(qint64 drawNo, Filter filter, Order order, qint64 page, int pageSize)
{
    return ReadGames(kSelectGames + FilterSql(filter) + OrderSql(order) + u" LIMIT ? OFFSET ?"_s,
                     {drawNo, pageSize, qint64(pageSize) * (page - 1)});
}

Paging PageOf(qint64 total, qint64 wantedPage, int pageSize)
{
    if (pageSize <= 0 || total <= pageSize)
        return {};
    const qint64 pages = (total + pageSize - 1) / pageSize;
    return {std::clamp<qint64>(wantedPage, 1, pages), pages};
}

} // namespace CouponStore
