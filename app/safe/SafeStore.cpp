#include "SafeStore.h"

#include "DrawGames.h"
#include "Game.h"
#include "Globals.h"
#include "Query.h"
#include "RowReader.h"
#include "SqlError.h"
#include "TextExport.h"
#include "Tools.h"
#include "Transaction.h"

#include <QElapsedTimer>
#include <QHash>

#include <algorithm>
#include <cmath>

using namespace Qt::StringLiterals;

namespace SafeStore {

namespace {

qint64 scalar(const QString& sql, const QVariantList& values)
{
    Query q(gUserConn, sql);
    q.run(values);
    return q.next() ? q.raw().value(0).toLongLong() : 0;
}

// The conditions shared by the count, the page and the export of the ticket list.
QString ticketWhere(const TicketQuery& query, QVariantList& values)
{
    QString where = u"FROM Bok1 AS a, List1 AS b WHERE a.BokNo = ? AND a.BokNo = b.BokNo"_s;
    values.append(query.drawNo);
    if (query.filter == RankFilter::Won)
        where += u" AND b.Top1 BETWEEN '1' AND '5'"_s; // as the rank index is written, which holds the winners alone
    else if (query.filter == RankFilter::Lost)
        where += u" AND b.Top1 = '0'"_s;
    if (query.groupNo != 0) {
        where += u" AND b.GNo1 = ?"_s;
        values.append(query.groupNo);
    }
    return where;
}

// The list of one ticket query made from the draw's games in memory (DrawGames): the positions of the games
// it shows, in its order — by number, or by rank (the export puts the highest code first) — and among
// equal keys by serial, as SQLite's ORDER BY ..., SNo1 has them. Kept while the games are, so that turning
// a page or showing the draw again sorts nothing.
struct ListOrder
{
    std::weak_ptr<const DrawGames> games; // weak: a change may take the games over without copying them
    TicketQuery query;
    bool highestRankFirst = false;
    std::vector<quint32> positions;
};

bool sameQuery(const TicketQuery& a, const TicketQuery& b)
{
    return a.drawNo == b.drawNo && a.filter == b.filter && a.groupNo == b.groupNo && a.byRank == b.byRank;
}

std::optional<ListOrder>& keptOrder()
{
    static std::optional<ListOrder> kept;
    return kept;
}

// The list, with the games it points into; null when the draw has no image and SQLite is to make it.
const ListOrder*
listOrder(const TicketQuery& query, std::shared_ptr<const DrawGames>& games, bool highestRankFirst = false)
{
    std::optional<ListOrder>& kept = keptOrder();
    games = DrawGames::read(query.drawNo);
    if (!games) {
        kept.reset();
        return nullptr;
    }
    highestRankFirst = highestRankFirst && query.byRank; // the export's order differs only by rank
    if (kept && kept->games.lock() == games && sameQuery(kept->query, query)
        && kept->highestRankFirst == highestRankFirst)
        return &*kept;
    kept.reset();
    ListOrder order {games, query, highestRankFirst, {}};
    // The list is of the games under the draw's row in Bok1, as the query joins them.
    if (scalar(u"SELECT COUNT(*) FROM Bok1 WHERE BokNo = ?"_s, {query.drawNo}) > 0) {
        const std::vector<DrawGames::Game>& all = games->games();
        const auto shown = [&query](const DrawGames::Game& g) {
            return (query.filter == RankFilter::All
                    || (query.filter == RankFilter::Won ? g.rank >= '1' && g.rank <= '5' : g.rank == '0'))
                && (query.groupNo == 0 || g.group == query.groupNo);
        };
        if (!query.byRank) {
            // Already in the order of the numbers: only the games the query leaves out go.
            for (const quint32 at : games->byNumber()) {
                if (shown(all[at]))
                    order.positions.push_back(at);
            }
        } else {
            // A rank is one character: counted into its place, the games of one rank staying in serial order.
            std::array<size_t, 257> start {};
            const auto key = [highestRankFirst](char rank) {
                const unsigned char code = static_cast<unsigned char>(rank);
                return highestRankFirst ? 0xFF - code : code;
            };
            for (const DrawGames::Game& g : all) {
                if (shown(g))
                    ++start[size_t(key(g.rank)) + 1];
            }
            for (size_t k = 1; k < start.size(); ++k)
                start[k] += start[k - 1];
            order.positions.resize(start.back());
            for (quint32 at = 0; at < all.size(); ++at) {
                if (shown(all[at]))
                    order.positions[start[size_t(key(all[at].rank))]++] = at;
            }
        }
    }
    kept = std::move(order);
    return &*kept;
}

Ticket ticketOf(const DrawGames::Game& g)
{
    return {DrawGames::numberText(g.number), QString(QChar::fromLatin1(g.rank)), g.prize, g.serial};
}

} // namespace

DrawSummary ReadDrawSummary(qint64 drawNo)
{
    DrawSummary summary;
    Query q(gSystemConn, u"SELECT * FROM BokList WHERE BokNo = ?"_s);
    q.run({drawNo});
    if (!q.next() || q.text(u"State1"_s) != u"3"_s)
        return summary;
    const QString no1 = q.text(u"No1"_s);
    summary.draw = u'(' + QString::number(drawNo) + u"회) "_s + GameText::Dotted(no1) + u" 보너스:"_s + no1.mid(12, 2);
    for (int k = 1; k <= 5; ++k) {
        const QString rank = QString::number(k);
        const QString winners = PadLeft(Grouped(q.integer(u"Rk"_s + rank + u"Count"_s)), 10);
        const QString prize = PadLeft(Grouped(qint64(std::llround(q.number(u"Rk"_s + rank + u"Kum"_s)))), 15);
        summary.ranks[size_t(k)] = rank + u"등: "_s + winners + u"명 "_s + prize + u'원';
    }
    return summary;
}

std::optional<QString> SaveGames(qint64 drawNo,
                                 const QStringList& games,
                                 const QString& memo,
                                 const QString& groupName,
                                 const ProgressCallback& progress)
{
    const qint64 n = games.size();
    if (!GroupNameAllowed(groupName))
        return groupName + u"은(는) 그룹명으로 쓸 수 없습니다."_s;
    Transaction transaction(gUserConn);
    // A draw without its row (the synchronisation makes one for every draw up to the one on sale) gets
    // one here rather than losing the games.
    Query row(gUserConn, u"SELECT Count1 FROM Bok1 WHERE BokNo = ?"_s);
    row.run({drawNo});
    const bool exists = row.next();
    const qint64 held = exists ? row.integer(u"Count1"_s) : 0;
    if (n + held > kMaxGamesPerDraw)
        return u"복권번호는 회차별 1억개까지 저장이 가능합니다."_s;
    if (!exists)
        Execute(gUserConn, u"INSERT INTO Bok1 (BokNo,Count1,Bigo1,Tag1) VALUES (?,0,'','0')"_s, {drawNo});
    Execute(gUserConn,
            u"UPDATE Bok1 SET Count1 = Count1 + ?, Tag1 = '0', Bigo1 = ? WHERE BokNo = ?"_s,
            {n, memo, drawNo});

    qint64 serial = scalar(u"SELECT MAX(SNo1) FROM List1 WHERE BokNo = ?"_s, {drawNo});
    qint64 group = GroupNumber(groupName);
    if (group == 0) {
        group = scalar(u"SELECT MAX(GNo1) FROM Group1"_s, {}) + 1;
        Execute(gUserConn, u"INSERT INTO Group1 (GNo1,GName1) VALUES (?,?)"_s, {group, groupName});
    }

    // Straight to SQLite: a million games saved through a QVariant each would spend more time there than
    // in writing them.
    RowReader insert(gUserConn, u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (?,?,?,'9',0,?)"_s);
    insert.bind(0, drawNo).bind(1, group);
    QElapsedTimer shown;
    shown.start();
    for (qint64 r = 0; r < n; ++r) {
        insert.bind(2, games[r]).bind(3, ++serial).execute();
        if (progress && (r & 0x3FF) == 0 && shown.elapsed() >= 50) {
            shown.restart();
            progress(int(std::lround(double(r + 1) * 100.0 / double(n))));
        }
    }
    transaction.commit();
    return std::nullopt;
}

qint64 GroupNumber(const QString& name) { return scalar(u"SELECT GNo1 FROM Group1 WHERE GName1 = ?"_s, {name}); }

QStringList GroupNames()
{
    QStringList names;
    Query q(gUserConn, u"SELECT GName1 FROM Group1 ORDER BY GName1"_s);
    q.run();
    while (q.next())
        names.append(q.text(u"GName1"_s));
    return names;
}

QStringList DrawGroupNames(qint64 drawNo)
{
    QStringList names;
    std::vector<qint64> groups;
    const std::shared_ptr<const DrawGames> games = DrawGames::read(drawNo);
    if (games) {
        groups = games->groups();
    } else {
        // One pass over the draw: no index leads with the group (each would be written for every game saved).
        Query q(gUserConn, u"SELECT DISTINCT GNo1 FROM List1 WHERE BokNo = ? AND GNo1 IS NOT NULL ORDER BY GNo1"_s);
        q.run({drawNo});
        while (q.next())
            groups.push_back(q.integer(u"GNo1"_s));
    }
    // The names in SQLite's order, each once.
    Query q(gUserConn, u"SELECT GNo1, GName1 FROM Group1 ORDER BY GName1 DESC"_s);
    q.run();
    while (q.next()) {
        const QString name = q.text(u"GName1"_s);
        if (!q.raw().value(0).isNull() && std::binary_search(groups.begin(), groups.end(), q.integer(u"GNo1"_s))
            && (names.isEmpty() || names.last() != name))
            names.append(name);
    }
    return names;
}

std::vector<DrawRow> DrawList()
{
    QHash<qint64, qint64> counts;
    Query held(gUserConn, u"SELECT BokNo, Count1 FROM Bok1"_s);
    held.run();
    while (held.next())
        counts.insert(held.integer(u"BokNo"_s), held.integer(u"Count1"_s));

    std::vector<DrawRow> rows;
    Query draws(gSystemConn, u"SELECT BokNo, No1, Date2 FROM BokList ORDER BY BokNo DESC"_s);
    draws.run();
    while (draws.next()) {
        const qint64 drawNo = draws.integer(u"BokNo"_s);
        const QString no1 = draws.text(u"No1"_s);
        const QString numbers
            = no1 == u"00000000000000"_s ? u"(미추첨)"_s : GameText::Dotted(no1) + u" 보:"_s + no1.mid(12, 2);
        rows.push_back({drawNo, draws.text(u"Date2"_s), numbers, counts.value(drawNo, 0)});
    }
    return rows;
}

DrawMemo ReadDrawRow(qint64 drawNo)
{
    DrawMemo row;
    Query q(gUserConn, u"SELECT Tag1, Bigo1 FROM Bok1 WHERE BokNo = ?"_s);
    q.run({drawNo});
    if (q.next()) {
        row.found = true;
        row.tag = q.text(u"Tag1"_s);
        row.memo = q.text(u"Bigo1"_s);
    }
    return row;
}

qint64 Recount(qint64 drawNo, qint64 shown)
{
    // Counted by SQLite unless the games are in memory already: reading them all costs more than counting.
    const std::shared_ptr<const DrawGames> games = DrawGames::cached(drawNo);
    const qint64 count
        = games ? qint64(games->games().size()) : scalar(u"SELECT COUNT(*) FROM List1 WHERE BokNo = ?"_s, {drawNo});
    if (count != shown)
        Execute(gUserConn, u"UPDATE Bok1 SET Count1 = ? WHERE BokNo = ?"_s, {count, drawNo});
    return count;
}

qint64 CountTickets(const TicketQuery& query)
{
    std::shared_ptr<const DrawGames> games;
    if (const ListOrder* order = listOrder(query, games))
        return qint64(order->positions.size());
    QVariantList values;
    const QString where = ticketWhere(query, values);
    Query q(gUserConn, u"SELECT COUNT(*) AS n "_s + where);
    q.run(values);
    return q.next() ? q.integer(u"n"_s) : 0;
}

std::vector<Ticket> TicketPage(const TicketQuery& query, qint64 offset, int limit)
{
    std::shared_ptr<const DrawGames> games;
    if (const ListOrder* order = listOrder(query, games)) {
        // As LIMIT and OFFSET read them: a negative offset is none, a negative limit is no limit.
        const qint64 size = qint64(order->positions.size());
        const qint64 first = std::clamp<qint64>(offset, 0, size);
        const qint64 n = limit < 0 ? size - first : std::min<qint64>(limit, size - first);
        std::vector<Ticket> page;
        page.reserve(size_t(n));
        for (qint64 i = first; i < first + n; ++i)
            page.push_back(ticketOf(games->games()[order->positions[size_t(i)]]));
        return page;
    }
    QVariantList values;
    const QString where = ticketWhere(query, values);
    values.append(limit);
    values.append(offset);
    Query q(gUserConn,
            u"SELECT b.No1, b.Top1, b.Kum1, b.SNo1 "_s + where
                + (query.byRank ? u" ORDER BY b.Top1, b.SNo1"_s : u" ORDER BY b.No1, b.SNo1"_s)
                + u" LIMIT ? OFFSET ?"_s);
    q.run(values);
    std::vector<Ticket> page;
    page.reserve(size_t(std::max(limit, 0)));
    while (q.next())
        page.push_back({q.text(u"No1"_s), q.text(u"Top1"_s), q.integer(u"Kum1"_s), q.integer(u"SNo1"_s)});
    return page;
}

void ForEachTicket(const TicketQuery& query, const std::function<void(const Ticket&)>& each)
{
    std::shared_ptr<const DrawGames> games;
    if (const ListOrder* order = listOrder(query, games, true)) {
        // One ticket filled in place for every game: its texts keep their room, no allocation per game.
        Ticket t {QString(12, u'0'), QString(1, u'0'), 0, 0};
        const std::vector<DrawGames::Game>& all = games->games();
        const std::vector<quint32>& positions = order->positions;
        for (size_t i = 0; i < positions.size(); ++i) {
            // The games are visited out of their order in memory: fetched a few steps ahead.
            if (i + 8 < positions.size())
                __builtin_prefetch(&all[positions[i + 8]]);
            const DrawGames::Game& g = all[positions[i]];
            QChar* digits = t.no1.data();
            quint64 n = g.number;
            for (int k = 11; k >= 0; --k, n /= 10)
                digits[k] = QChar(char16_t(u'0' + n % 10));
            t.top1.data()[0] = QChar::fromLatin1(g.rank);
            t.kum1 = g.prize;
            t.sno1 = g.serial;
            each(t);
        }
        return;
    }
    QVariantList values;
    const QString where = ticketWhere(query, values);
    Query q(gUserConn,
            u"SELECT b.No1, b.Top1, b.Kum1, b.SNo1 "_s + where
                + (query.byRank ? u" ORDER BY b.Top1 DESC, b.SNo1"_s : u" ORDER BY b.No1, b.SNo1"_s));
    q.run(values);
    QSqlQuery& raw = q.raw();
    while (raw.next())
        each({raw.value(0).toString(), raw.value(1).toString(), raw.value(2).toLongLong(), raw.value(3).toLongLong()});
}

qint64 DeleteGames(qint64 drawNo, const std::vector<qint64>& serials)
{
    Transaction transaction(gUserConn);
    Query erase(gUserConn, u"DELETE FROM List1 WHERE BokNo = ? AND SNo1 = ?"_s);
    qint64 deleted = 0;
    for (qint64 serial : serials) {
        erase.run({drawNo, serial});
        deleted += erase.rowsAffected();
    }
    Execute(gUserConn, u"UPDATE Bok1 SET Count1 = Count1 - ? WHERE BokNo = ?"_s, {deleted, drawNo});
    transaction.commit();
    return deleted;
}

void DeleteGroupGames(qint64 drawNo, const QString& groupName)
{
    const qint64 group = GroupNumber(groupName);
    if (group == 0)
        return;
    Transaction transaction(gUserConn);
    Execute(gUserConn, u"DELETE FROM List1 WHERE BokNo = ? AND GNo1 = ?"_s, {drawNo, group});
    // No index leads with the group (each would be written for every game saved): this reads the games
    // only when the group has none left, and a group is deleted seldom.
    if (scalar(u"SELECT COUNT(*) FROM (SELECT 1 FROM List1 WHERE GNo1 = ? LIMIT 1)"_s, {group}) == 0)
        Execute(gUserConn, u"DELETE FROM Group1 WHERE GNo1 = ?"_s, {group});
    Recount(drawNo, -1);
    transaction.commit();
}

qint64 DeleteLosingGames(qint64 drawNo)
{
    Transaction transaction(gUserConn);
    Execute(gUserConn, u"DELETE FROM List1 WHERE BokNo = ? AND Top1 = '0'"_s, {drawNo});
    const qint64 count = Recount(drawNo, -1);
    transaction.commit();
    return count;
}

void ForgetKeptLists()
{
    keptOrder().reset();
    DrawGames::forget();
}

QString CleanMemo(const QString& typed) { return SqlQuote(ByteLeft(typed.trimmed(), 10000)); }

QString SaveMemo(qint64 drawNo, const QString& memo)
{
    const QString clean = CleanMemo(memo);
    Execute(gUserConn, u"UPDATE Bok1 SET Bigo1 = ? WHERE BokNo = ?"_s, {clean, drawNo});
    return clean;
}

QString CleanGroupName(const QString& typed) { return SqlQuote(ByteLeft(typed, 30)); }

bool GroupNameAllowed(const QString& clean) { return !clean.isEmpty() && clean != kAllGroups; }

RenameResult RenameGroup(const QString& oldName, const QString& newName)
{
    if (!GroupNameAllowed(newName))
        return RenameResult::Refused;
    Transaction transaction(gUserConn);
    const qint64 oldNo = GroupNumber(oldName);
    const qint64 newNo = GroupNumber(newName);
    RenameResult result = RenameResult::Unchanged;
    if (newNo == 0) {
        Execute(gUserConn, u"UPDATE Group1 SET GName1 = ? WHERE GNo1 = ?"_s, {newName, oldNo});
        result = RenameResult::Renamed;
    } else if (newNo != oldNo) {
        Execute(gUserConn, u"DELETE FROM Group1 WHERE GNo1 = ?"_s, {oldNo});
        Execute(gUserConn, u"UPDATE List1 SET GNo1 = ? WHERE GNo1 = ?"_s, {newNo, oldNo});
        result = RenameResult::Merged;
    }
    transaction.commit();
    return result;
}

} // namespace SafeStore
