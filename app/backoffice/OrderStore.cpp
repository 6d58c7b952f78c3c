#include "OrderStore.h"

#include "Backoffice.h"
#include "GameRules.h"
#include "Globals.h"
#include "Query.h"
#include "Tools.h"
#include "Transaction.h"

using namespace Qt::StringLiterals;

namespace OrderStore {

namespace {

// The counts come from correlated sub-queries on NBNo1's ticket index: one statement for the whole list.
const QString kOrderSelect = u"SELECT a.JPCodeNo, a.ID1, a.BokNo, a.Date1, a.Count1, a.Count2, a.Danga1, a.State1, "
                             "a.SendNo1, "
                             "(SELECT COUNT(*) FROM NBNo1 b WHERE b.JPCodeNo = a.JPCodeNo) AS Games1, "
                             "(SELECT COUNT(*) FROM NBNo1 c WHERE c.JPCodeNo = a.JPCodeNo AND c.Cancel1 = '1') "
                             "AS Cancel2 "
                             "FROM NBList1 a "_s;

Order readOrder(const Query& q)
{
    Order o;
    o.code = q.integer(u"JPCodeNo"_s);
    o.id = q.text(u"ID1"_s);
    o.drawNo = q.integer(u"BokNo"_s);
    o.date = q.text(u"Date1"_s);
    o.tickets = q.integer(u"Count1"_s);
    o.gamesPerTicket = q.integer(u"Count2"_s);
    o.unitPrice = q.integer(u"Danga1"_s);
    o.state = q.text(u"State1"_s);
    o.games = q.integer(u"Games1"_s);
    o.cancelled = q.integer(u"Cancel2"_s);
    o.sendNo = q.text(u"SendNo1"_s);
    return o;
}

} // namespace

std::vector<Order> ListOrders(int year, int month)
{
    Backoffice::RequireAdministrator();
    // Date1 begins "YYYY-MM-DD": a prefix match on the bound text, the same on both engines.
    QString prefix = QString::number(year) + u'-';
    if (month > 0)
        prefix += QString::number(month).rightJustified(2, u'0') + u'-';
    Query q(gServerConn, kOrderSelect + u"WHERE a.Date1 LIKE ? ORDER BY a.JPCodeNo DESC"_s);
    q.run({QString(prefix + u'%')});
    std::vector<Order> orders;
    while (q.next())
        orders.push_back(readOrder(q));
    return orders;
}

std::optional<Order> ReadOrder(qint64 code)
{
    Backoffice::RequireAdministrator();
    Query q(gServerConn, kOrderSelect + u"WHERE a.JPCodeNo = ?"_s);
    q.run({code});
    if (!q.next())
        return std::nullopt;
    return readOrder(q);
}

QString ReadMemo(qint64 code)
{
    Backoffice::RequireAdministrator();
    Query q(gServerConn, u"SELECT Bigo1 FROM NBList1 WHERE JPCodeNo = ?"_s);
    q.run({code});
    return q.next() ? q.text(u"Bigo1"_s) : QString();
}

QString CheckOrderFields(const QString& state, const QString& sendNo, const QString& memo)
{
    static const QStringList states {u"0"_s, u"1"_s, u"2"_s, u"3"_s, u"4"_s};
    if (!states.contains(state.trimmed()))
        return u"[진행상태]는 0부터 4까지의 숫자 하나로 적어 주십시오."_s;
    if (ByteLen(sendNo.trimmed()) > kSendNoBytes)
        return u"[우편등기번호]는 "_s + QString::number(kSendNoBytes) + u"바이트까지 적을 수 있습니다."_s;
    if (ByteLen(SqlQuote(memo.trimmed())) > kMemoBytes)
        return u"[메모]는 "_s + Backoffice::Thousands(kMemoBytes) + u"바이트까지 적을 수 있습니다. (지금 "_s
            + Backoffice::Thousands(ByteLen(memo.trimmed())) + u"바이트)"_s;
    return QString();
}

bool SaveOrder(qint64 code, const QString& state, const QString& sendNo, const QString& memo)
{
    Backoffice::RequireAdministrator();
    return Execute(gServerConn,
                   u"UPDATE NBList1 SET State1 = ?, SendNo1 = ?, Bigo1 = ? WHERE JPCodeNo = ?"_s,
                   {state.trimmed(), sendNo.trimmed(), SqlQuote(memo.trimmed()), code})
        > 0;
}

bool DeleteOrder(qint64 code)
{
    Backoffice::RequireAdministrator();
    Transaction transaction(gServerConn);
    // The registered games leave the draw's count with the order, so that the count keeps telling how many
    // free games are out for the draw.
    Query perDraw(gServerConn, u"SELECT BokNo, COUNT(*) AS n FROM NBNo1 WHERE JPCodeNo = ? GROUP BY BokNo"_s);
    perDraw.run({code});
    std::vector<std::pair<qint64, qint64>> counts;
    while (perDraw.next())
        counts.emplace_back(perDraw.integer(u"BokNo"_s), perDraw.integer(u"n"_s));
    Query lower(gServerConn, u"UPDATE S1List SET Sum1 = CASE WHEN Sum1 > ? THEN Sum1 - ? ELSE 0 END WHERE BokNo = ?"_s);
    for (const auto& [drawNo, n] : counts)
        lower.run({n, n, drawNo});
    Execute(gServerConn, u"DELETE FROM NBNo1 WHERE JPCodeNo = ?"_s, {code});
    const int orders = Execute(gServerConn, u"DELETE FROM NBList1 WHERE JPCodeNo = ?"_s, {code});
    transaction.commit();
    return orders > 0;
}

QString Capacity::message() const
{
    return (fits() ? u"복권추가 가능합니다."_s : u"복권추가 불가능합니다."_s) + u"\r\n\r\n신청한 게임수: "_s
        + Backoffice::Thousands(double(requested)) + u"\r\n가능한 게임수: "_s + Backoffice::Thousands(double(possible))
        + u"\r\n불러온 게임수: "_s + Backoffice::Thousands(double(pulled));
}

Capacity CheckCapacity(const Order& order, qint64 pulled)
{
    Capacity c;
    c.requested = order.gamesPerTicket * order.tickets;
    c.possible = c.requested - order.games;
    c.pulled = pulled;
    return c;
}

std::optional<int> ReadGamesPerTicket(const QString& text)
{
    bool ok = false;
    const int n = text.trimmed().toInt(&ok);
    if (!ok || n < 1 || n > 5)
        return std::nullopt;
    return n;
}

int FirstBadGame(const QStringList& games)
{
    for (int i = 0; i < games.size(); ++i) {
        const std::optional<Game> game = Game::fromKey(games[i]);
        if (!game || game->key() != games[i])
            return i;
    }
    return -1;
}

Registration RegisterGames(qint64 code, int gamesPerTicket, const QStringList& games)
{
    Backoffice::RequireAdministrator();
    Registration r;
    Transaction transaction(gServerConn);
    // The order's own draw, as it stands now: the list on the screen may be older than the order.
    Query order(gServerConn, u"SELECT BokNo FROM NBList1 WHERE JPCodeNo = ?"_s);
    order.run({code});
    if (!order.next())
        return r;
    r.orderFound = true;
    const qint64 drawNo = order.integer(u"BokNo"_s);
    Query last(gServerConn, u"SELECT MAX(SNo1) AS s FROM NBNo1 WHERE JPCodeNo = ?"_s);
    last.run({code});
    qint64 ticket = last.next() ? last.integer(u"s"_s) + 1 : 1;
    r.firstTicket = ticket;

    // Many rows to a statement: ten thousand games are a few dozen round trips to the server, not ten
    // thousand. 150 rows of five values stay under the oldest SQLite limit of 999 values.
    constexpr int kRowsPerStatement = 150;
    auto statement = [](int rows) -> QString {
        QStringList values;
        for (int i = 0; i < rows; ++i)
            values.append(u"(?,?,?,'9',0,?,?,'0')"_s);
        return u"INSERT INTO NBNo1 (JPCodeNo,BokNo,No1,Top1,Kum1,SNo1,SNo2,Cancel1) VALUES "_s + values.join(u',');
    };
    std::optional<Query> full;
    int position = 0;
    QVariantList values;
    auto flush = [&] {
        const int rows = int(values.size() / 5);
        if (rows == 0)
            return;
        if (rows == kRowsPerStatement) {
            if (!full)
                full.emplace(gServerConn, statement(kRowsPerStatement));
            full->run(values);
        } else {
            Query(gServerConn, statement(rows)).run(values);
        }
        values.clear();
    };
    for (const QString& game : games) {
        if (++position > gamesPerTicket) {
            position = 1;
            ++ticket;
        }
        values << code << drawNo << game << ticket << QString::number(position);
        ++r.added;
        if (values.size() == kRowsPerStatement * 5)
            flush();
    }
    flush();
    r.lastTicket = r.added > 0 ? ticket : r.firstTicket - 1;

    Query stats(gServerConn, u"SELECT COUNT(*) AS n FROM S1List WHERE BokNo = ?"_s);
    stats.run({drawNo});
    if (stats.next() && stats.integer(u"n"_s) == 0) {
        Execute(gServerConn,
                u"INSERT INTO S1List (BokNo,Sum1,S1Count,S2Count,S3Count,S4Count,S5Count,S1Kum,S2Kum,S3Kum,S4Kum,"
                "S5Kum) VALUES (?,0,0,0,0,0,0,0,0,0,0,0)"_s,
                {drawNo});
    }
    Execute(gServerConn, u"UPDATE S1List SET Sum1 = Sum1 + ? WHERE BokNo = ?"_s, {r.added, drawNo});
    transaction.commit();
    return r;
}

} // namespace OrderStore
