#include "TicketStore.h"

#include "Backoffice.h"
#include "Globals.h"
#include "Query.h"
#include "Tools.h"
#include "Transaction.h"

#include <map>

using namespace Qt::StringLiterals;

namespace TicketStore {

namespace {

using DrawCounts = std::map<qint64, qint64>; // draw → games

qint64 count(const QString& sql, const QVariantList& values)
{
    Query q(gServerConn, sql);
    q.run(values);
    return q.next() ? q.integer(u"n"_s) : 0;
}

DrawCounts gamesPerDraw(const QString& where, const QVariantList& values)
{
    Query q(gServerConn, u"SELECT BokNo, COUNT(*) AS n FROM NBNo1 WHERE "_s + where + u" GROUP BY BokNo"_s);
    q.run(values);
    DrawCounts counts;
    while (q.next())
        counts[q.integer(u"BokNo"_s)] = q.integer(u"n"_s);
    return counts;
}

// S1List counts the free games out for a draw: games leaving or joining a draw move its count.
void lowerDrawCounts(const DrawCounts& counts)
{
    Query lower(gServerConn, u"UPDATE S1List SET Sum1 = CASE WHEN Sum1 > ? THEN Sum1 - ? ELSE 0 END WHERE BokNo = ?"_s);
    for (const auto& [drawNo, n] : counts)
        lower.run({n, n, drawNo});
}

void raiseDrawCount(qint64 drawNo, qint64 n)
{
    if (count(u"SELECT COUNT(*) AS n FROM S1List WHERE BokNo = ?"_s, {drawNo}) == 0) {
        Execute(gServerConn,
                u"INSERT INTO S1List (BokNo,Sum1,S1Count,S2Count,S3Count,S4Count,S5Count,S1Kum,S2Kum,S3Kum,S4Kum,"
                "S5Kum) VALUES (?,0,0,0,0,0,0,0,0,0,0,0)"_s,
                {drawNo});
    }
    Execute(gServerConn, u"UPDATE S1List SET Sum1 = Sum1 + ? WHERE BokNo = ?"_s, {n, drawNo});
}

std::optional<qint64> wholeNumber(const QString& typed)
{
    bool ok = false;
    const qint64 n = typed.trimmed().toLongLong(&ok);
    if (!ok || n < 1)
        return std::nullopt;
    return n;
}

} // namespace

std::optional<OrderTexts> ReadTexts(qint64 code)
{
    Backoffice::RequireAdministrator();
    Query q(gServerConn, u"SELECT BokNo, Comp1, Title1, Tel1, Text1, Text2, Text3 FROM NBList1 WHERE JPCodeNo = ?"_s);
    q.run({code});
    if (!q.next())
        return std::nullopt;
    return OrderTexts {q.integer(u"BokNo"_s),
                       q.text(u"Comp1"_s),
                       q.text(u"Title1"_s),
                       q.text(u"Tel1"_s),
                       q.text(u"Text1"_s),
                       q.text(u"Text2"_s),
                       q.text(u"Text3"_s)};
}

std::optional<qint64> ReadDrawNo(const QString& typed)
{
    const auto n = wholeNumber(typed);
    if (!n || *n > kMaxDrawNo)
        return std::nullopt;
    return n;
}

QString CheckTexts(const OrderTexts& texts)
{
    const std::pair<QString, const QString*> fields[] = {{u"업소명"_s, &texts.comp},
                                                         {u"홍보글"_s, &texts.title},
                                                         {u"전화"_s, &texts.tel},
                                                         {u"추가글1"_s, &texts.text1},
                                                         {u"추가글2"_s, &texts.text2},
                                                         {u"추가글3"_s, &texts.text3}};
    for (const auto& [name, text] : fields) {
        const int bytes = ByteLen(SqlQuote(text->trimmed()));
        if (bytes > kTextBytes)
            return u'[' + name + u"]은(는) "_s + Backoffice::Thousands(kTextBytes)
                + u"바이트까지 적을 수 있습니다. (지금 "_s + Backoffice::Thousands(bytes) + u"바이트)"_s;
    }
    return QString();
}

Saved SaveTexts(qint64 code, const OrderTexts& texts)
{
    Backoffice::RequireAdministrator();
    Saved saved;
    Transaction transaction(gServerConn);
    // Games on any other draw than the new one move, whatever draw the screen last showed.
    const DrawCounts leaving = gamesPerDraw(u"JPCodeNo = ? AND BokNo <> ?"_s, {code, texts.drawNo});
    const int rows = Execute(gServerConn,
                             u"UPDATE NBList1 SET BokNo = ?, Comp1 = ?, Title1 = ?, Tel1 = ?, Text1 = ?, Text2 = ?, "
                             "Text3 = ? WHERE JPCodeNo = ?"_s,
                             {texts.drawNo,
                              SqlQuote(texts.comp.trimmed()),
                              SqlQuote(texts.title.trimmed()),
                              SqlQuote(texts.tel.trimmed()),
                              SqlQuote(texts.text1.trimmed()),
                              SqlQuote(texts.text2.trimmed()),
                              SqlQuote(texts.text3.trimmed()),
                              code});
    if (rows == 0)
        return saved;
    saved.found = true;
    if (!leaving.empty()) {
        for (const auto& [drawNo, n] : leaving)
            saved.movedGames += n;
        lowerDrawCounts(leaving);
        Execute(gServerConn,
                u"UPDATE NBNo1 SET BokNo = ? WHERE JPCodeNo = ? AND BokNo <> ?"_s,
                {texts.drawNo, code, texts.drawNo});
        raiseDrawCount(texts.drawNo, saved.movedGames);
    }
    transaction.commit();
    return saved;
}

std::vector<TicketGame> ListGames(qint64 code, GameFilter filter, GameOrder order)
{
    Backoffice::RequireAdministrator();
    QString sql = u"SELECT No1, SNo1, SNo2, Top1, Kum1, Cancel1 FROM NBNo1 WHERE JPCodeNo = ? "_s;
    if (filter == GameFilter::Winners)
        sql += u"AND Top1 BETWEEN '1' AND '5' "_s;
    switch (order) {
    case GameOrder::Serial:
        sql += u"ORDER BY SNo1, SNo2"_s;
        break;
    case GameOrder::Rank:
        sql += u"ORDER BY Top1, SNo1, SNo2"_s;
        break;
    case GameOrder::Game:
        sql += u"ORDER BY No1, SNo1, SNo2"_s;
        break;
    }
    Query q(gServerConn, sql);
    q.run({code});
    std::vector<TicketGame> games;
    while (q.next()) {
        games.push_back({q.text(u"No1"_s),
                         q.text(u"Top1"_s),
                         q.integer(u"Kum1"_s),
                         q.integer(u"SNo1"_s),
                         q.text(u"SNo2"_s),
                         q.text(u"Cancel1"_s)});
    }
    return games;
}

RangeInput ReadRange(const QString& first, const QString& last)
{
    if (first.trimmed().isEmpty() || last.trimmed().isEmpty())
        return {std::nullopt, u"범위를 입력하세요."_s};
    const auto from = wholeNumber(first);
    const auto to = wholeNumber(last);
    if (!from || !to)
        return {std::nullopt, u"범위는 1 이상의 일련번호(숫자)로 입력하세요."_s};
    if (*from > *to)
        return {std::nullopt,
                u"시작 번호("_s + QString::number(*from) + u")가 끝 번호("_s + QString::number(*to)
                    + u")보다 큽니다.\r\n범위를 다시 입력하세요."_s};
    return {Range {*from, *to}, QString()};
}

Deleted DeleteTickets(qint64 code, const Range& range)
{
    Backoffice::RequireAdministrator();
    Deleted deleted;
    Transaction transaction(gServerConn);
    const QString inRange = u"JPCodeNo = ? AND SNo1 BETWEEN ? AND ?"_s;
    const QVariantList values {code, range.first, range.last};
    deleted.tickets = count(u"SELECT COUNT(DISTINCT SNo1) AS n FROM NBNo1 WHERE "_s + inRange, values);
    const DrawCounts counts = gamesPerDraw(inRange, values);
    for (const auto& [drawNo, n] : counts)
        deleted.games += n;
    if (deleted.games == 0)
        return deleted;
    lowerDrawCounts(counts);
    Execute(gServerConn, u"DELETE FROM NBNo1 WHERE "_s + inRange, values);
    // The order is lowered by the tickets that were there, never below none.
    Execute(gServerConn,
            u"UPDATE NBList1 SET Count1 = CASE WHEN Count1 > ? THEN Count1 - ? ELSE 0 END WHERE JPCodeNo = ?"_s,
            {deleted.tickets, deleted.tickets, code});
    transaction.commit();
    return deleted;
}

qint64 HighestSerial(qint64 code)
{
    Backoffice::RequireAdministrator();
    return count(u"SELECT COALESCE(MAX(SNo1), 0) AS n FROM NBNo1 WHERE JPCodeNo = ?"_s, {code});
}

std::vector<qint64> Serials(qint64 code, const Range& range)
{
    Backoffice::RequireAdministrator();
    Query q(gServerConn,
            u"SELECT DISTINCT SNo1 FROM NBNo1 WHERE JPCodeNo = ? AND SNo1 BETWEEN ? AND ? ORDER BY SNo1"_s);
    q.run({code, range.first, range.last});
    std::vector<qint64> serials;
    while (q.next())
        serials.push_back(q.integer(u"SNo1"_s));
    return serials;
}

} // namespace TicketStore
