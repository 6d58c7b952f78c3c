#include "SafeStore.h"

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
        where += u" AND b.Top1 BETWEEN '1' AND '5' AND b.Top1 <> '0'"_s; // the rank index holds no losers
    else if (query.filter == RankFilter::Lost)
        where += u" AND b.Top1 = '0'"_s;
    if (query.groupNo != 0) {
        where += u" AND b.GNo1 = ?"_s;
        values.append(query.groupNo);
    }
    return where;
}

// The list's order for one ticket query: the serials of every game it finds, sorted as the list sorts them.
// Read once and kept while the member's file is unchanged, so that turning a page or showing the draw again
// does not sort a million games each time (SQLite has no index on the numbers: it would cost more to keep
// than the sorts it saves). Only texts of one plain form are sorted here, as numbers: twelve digits, or a
// rank of one character; any other list is left to SQLite's own ORDER BY.
struct ListOrder
{
    TicketQuery query;
    QString stamp;
    bool plain = false;
    std::vector<qint64> serials;
};

bool sameQuery(const TicketQuery& a, const TicketQuery& b)
{
    return a.drawNo == b.drawNo && a.filter == b.filter && a.groupNo == b.groupNo && a.byRank == b.byRank;
}

// The order of the query's list, or null when SQLite is to sort it.
const std::vector<qint64>* listOrder(const TicketQuery& query)
{
    static std::optional<ListOrder> kept;
    const QString stamp = ContentStamp(gUserConn);
    if (stamp.isEmpty())
        return nullptr;
    if (kept && kept->stamp == stamp && sameQuery(kept->query, query))
        return kept->plain ? &kept->serials : nullptr;
    kept.reset();
    QVariantList values;
    const QString where = ticketWhere(query, values);
    RowReader q(gUserConn, (query.byRank ? u"SELECT b.Top1, b.SNo1 "_s : u"SELECT b.No1, b.SNo1 "_s) + where);
    q.run(values);
    std::vector<std::pair<quint64, qint64>> keys;
    bool plain = true;
    while (plain && q.next()) {
        const QByteArrayView text = q.utf8(0);
        quint64 key = 0;
        if (q.isNull(0)) {
            plain = false;
        } else if (query.byRank) {
            plain = text.size() == 1 && static_cast<unsigned char>(text[0]) < 0x80;
            key = plain ? static_cast<unsigned char>(text[0]) : 0;
        } else {
            // Twelve digits compare as their number does.
            plain = text.size() == 12;
            for (qsizetype i = 0; plain && i < text.size(); ++i) {
                plain = text[i] >= '0' && text[i] <= '9';
                key = key * 10 + quint64(text[i] - '0');
            }
        }
        keys.emplace_back(key, q.integer(1));
    }
    ListOrder order {query, stamp, plain, {}};
    if (plain) {
        std::sort(keys.begin(), keys.end());
        order.serials.reserve(keys.size());
        for (const auto& k : keys)
            order.serials.push_back(k.second);
    }
    kept = std::move(order);
    return kept->plain ? &kept->serials : nullptr;
}

// The games of the draw with these serials, in their order.
std::vector<Ticket> ticketsBySerial(qint64 drawNo, const qint64* serials, qsizetype n)
{
    std::vector<Ticket> tickets;
    tickets.reserve(size_t(n));
    QHash<qint64, qsizetype> at;
    at.reserve(n);
    for (qsizetype i = 0; i < n; ++i) {
        at.insert(serials[i], i);
        tickets.push_back({});
    }
    constexpr qsizetype kChunk = 500; // well within SQLite's bound values of one statement
    for (qsizetype from = 0; from < n; from += kChunk) {
        const qsizetype count = std::min(kChunk, n - from);
        QString marks = u"?"_s;
        for (qsizetype i = 1; i < count; ++i)
            marks += u",?"_s;
        QVariantList values {drawNo};
        for (qsizetype i = 0; i < count; ++i)
            values.append(serials[from + i]);
        RowReader q(gUserConn,
                    u"SELECT No1, Top1, Kum1, SNo1 FROM List1 WHERE BokNo = ? AND SNo1 IN ("_s + marks + u')');
        q.run(values);
        while (q.next())
            tickets[size_t(at.value(q.integer(3)))] = {q.text(0), q.text(1), q.integer(2), q.integer(3)};
    }
    return tickets;
}

} // namespace

QString Dotted(const QString& no1)
{
    // Written for every line of an export: no list of parts per game.
    QString dotted;
    dotted.reserve(17);
    for (int i = 0; i < 6; ++i) {
        if (i > 0)
            dotted += u'.';
        dotted += QStringView(no1).mid(i * 2, 2);
    }
    return dotted;
}

QString RankText(const QString& top1)
{
    if (top1 == u"0"_s)
        return QString();
    if (top1 == u"9"_s)
        return u"-"_s;
    return top1 + u'등';
}

DrawSummary ReadDrawSummary(qint64 drawNo)
{
    DrawSummary summary;
    Query q(gSystemConn, u"SELECT * FROM BokList WHERE BokNo = ?"_s);
    q.run({drawNo});
    if (!q.next() || q.text(u"State1"_s) != u"3"_s)
        return summary;
    const QString no1 = q.text(u"No1"_s);
    summary.draw = u'(' + QString::number(drawNo) + u"회) "_s + Dotted(no1) + u" 보너스:"_s + no1.mid(12, 2);
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

    Query insert(gUserConn, u"INSERT INTO List1 (BokNo,GNo1,No1,Top1,Kum1,SNo1) VALUES (?,?,?,'9',0,?)"_s);
    QElapsedTimer shown;
    shown.start();
    for (qint64 r = 0; r < n; ++r) {
        insert.run({drawNo, group, games[r], ++serial});
        if (progress && shown.elapsed() >= 50) {
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
    // One index probe per group instead of reading every game of the draw.
    Query q(gUserConn,
            u"SELECT DISTINCT g.GName1 FROM Group1 AS g WHERE EXISTS "
            "(SELECT 1 FROM List1 AS l WHERE l.BokNo = ? AND l.GNo1 = g.GNo1) ORDER BY g.GName1 DESC"_s);
    q.run({drawNo});
    while (q.next())
        names.append(q.text(u"GName1"_s));
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
        const QString numbers = no1 == u"00000000000000"_s ? u"(미추첨)"_s : Dotted(no1) + u" 보:"_s + no1.mid(12, 2);
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
    const qint64 count = scalar(u"SELECT COUNT(*) FROM List1 WHERE BokNo = ?"_s, {drawNo});
    if (count != shown)
        Execute(gUserConn, u"UPDATE Bok1 SET Count1 = ? WHERE BokNo = ?"_s, {count, drawNo});
    return count;
}

qint64 CountTickets(const TicketQuery& query)
{
    if (const std::vector<qint64>* order = listOrder(query))
        return qint64(order->size());
    QVariantList values;
    const QString where = ticketWhere(query, values);
    Query q(gUserConn, u"SELECT COUNT(*) AS n "_s + where);
    q.run(values);
    return q.next() ? q.integer(u"n"_s) : 0;
}

std::vector<Ticket> TicketPage(const TicketQuery& query, qint64 offset, int limit)
{
    if (const std::vector<qint64>* order = listOrder(query)) {
        // As LIMIT and OFFSET read them: a negative offset is none, a negative limit is no limit.
        const qint64 size = qint64(order->size());
        const qint64 first = std::clamp<qint64>(offset, 0, size);
        const qint64 n = limit < 0 ? size - first : std::min<qint64>(limit, size - first);
        return ticketsBySerial(query.drawNo, order->data() + first, n);
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
    QVariantList values;
    const QString where = ticketWhere(query, values);
    const QString columns = u"SELECT b.No1, b.Top1, b.Kum1, b.SNo1 "_s;
    // SQLite's sorter takes over a second for a draw of a million games; the same order is had in a tenth
    // of that here, sorting numbers: games of twelve digits and ranks of one character, as nearly every
    // game is kept. Any other text is left to SQLite's own ORDER BY.
    struct Row
    {
        quint64 key; // the twelve digits as a number, or the rank turned so that the highest comes first
        qint64 sno1;
        qint64 kum1;
        quint64 no1;
        char top1;
    };
    std::vector<Row> rows;
    bool plain = true;
    {
        RowReader q(gUserConn, columns + where);
        q.run(values);
        while (plain && q.next()) {
            const QByteArrayView no1 = q.utf8(0);
            const QByteArrayView top1 = q.utf8(1);
            quint64 number = 0;
            plain = !q.isNull(0) && !q.isNull(1) && no1.size() == 12 && top1.size() == 1
                && static_cast<unsigned char>(top1[0]) < 0x80;
            for (qsizetype i = 0; plain && i < 12; ++i) {
                plain = no1[i] >= '0' && no1[i] <= '9';
                number = number * 10 + quint64(no1[i] - '0');
            }
            if (plain) {
                const quint64 key = query.byRank ? quint64(0xFF - static_cast<unsigned char>(top1[0])) : number;
                rows.push_back({key, q.integer(3), q.integer(2), number, top1[0]});
            }
        }
    }
    if (plain) {
        std::sort(rows.begin(), rows.end(),
                  [](const Row& a, const Row& b) { return a.key != b.key ? a.key < b.key : a.sno1 < b.sno1; });
        Ticket t;
        char16_t digits[12];
        for (const Row& r : rows) {
            quint64 n = r.no1;
            for (int i = 11; i >= 0; --i, n /= 10)
                digits[i] = char16_t(u'0' + n % 10);
            t.no1 = QString::fromUtf16(digits, 12);
            t.top1 = QString(QChar::fromLatin1(r.top1));
            t.kum1 = r.kum1;
            t.sno1 = r.sno1;
            each(t);
        }
        return;
    }
    Query q(gUserConn,
            columns + where + (query.byRank ? u" ORDER BY b.Top1 DESC, b.SNo1"_s : u" ORDER BY b.No1, b.SNo1"_s));
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
