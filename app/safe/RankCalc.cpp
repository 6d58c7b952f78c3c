#include "RankCalc.h"

#include "Globals.h"
#include "Query.h"
#include "RowReader.h"
#include "TextExport.h"
#include "Tools.h"
#include "Transaction.h"

#include <QElapsedTimer>

#include <bit>
#include <cmath>

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

// The number in two digit characters, or 0 when they are not digits.
int twoDigits(const QString& text, int at)
{
    if (text.size() < at + 2)
        return 0;
    const int a = text[at].unicode() - u'0';
    const int b = text[at + 1].unicode() - u'0';
    return a >= 0 && a <= 9 && b >= 0 && b <= 9 ? a * 10 + b : 0;
}

} // namespace

bool WellFormedDraw(const QString& drawText)
{
    if (drawText.size() != 14)
        return false;
    std::uint64_t seen = 0;
    for (int i = 0; i < 7; ++i) {
        const int n = twoDigits(drawText, i * 2);
        if (n < 1 || n > 45 || (seen & (std::uint64_t(1) << n)))
            return false;
        seen |= std::uint64_t(1) << n;
    }
    return true;
}

FastRank::FastRank(const QString& drawText)
    : m_drawText(drawText)
    , m_valid(WellFormedDraw(drawText))
{
    // A malformed draw leaves every game to the rule as written.
    for (int i = 0; i < 6 && m_valid; ++i)
        m_winning |= std::uint64_t(1) << twoDigits(drawText, i * 2);
    m_bonus = m_valid ? twoDigits(drawText, 12) : 0;
}

namespace {

int code(QChar c) { return c.unicode(); }
int code(char c) { return static_cast<unsigned char>(c); }

// The numbers of a game as a bit mask, or 0 when the text is anything but six different numbers from 1 to
// 45 in two digits each (more characters may follow, as the rule as written allows).
template <typename Text> std::uint64_t gameMask(const Text& text)
{
    if (text.size() < 12)
        return 0;
    std::uint64_t game = 0;
    for (int i = 0; i < 6; ++i) {
        const int a = code(text[i * 2]) - '0';
        const int b = code(text[i * 2 + 1]) - '0';
        const int n = a >= 0 && a <= 9 && b >= 0 && b <= 9 ? a * 10 + b : 0;
        if (n < 1 || n > 45 || (game & (std::uint64_t(1) << n)))
            return 0;
        game |= std::uint64_t(1) << n;
    }
    return game;
}

} // namespace

char FastRank::rankOf(const QString& gameText) const
{
    const std::uint64_t game = m_valid ? gameMask(QStringView(gameText)) : 0;
    // Anything unusual goes through the rule as written.
    if (game == 0)
        return char(RankOfGame(m_drawText, gameText).at(0).toLatin1());
    return rankOfMask(game);
}

char FastRank::rankOf(QByteArrayView gameText) const
{
    const std::uint64_t game = m_valid ? gameMask(gameText) : 0;
    if (game == 0)
        return rankOf(QString::fromUtf8(gameText));
    return rankOfMask(game);
}

char FastRank::rankOfMask(std::uint64_t game) const
{
    switch (std::popcount(game & m_winning)) {
    case 6:
        return '1';
    case 5:
        return m_bonus >= 1 && m_bonus <= 45 && (game & (std::uint64_t(1) << m_bonus)) ? '2' : '3';
    case 4:
        return '4';
    case 3:
        return '5';
    default:
        return '0';
    }
}

qint64 EvaluatePending(qint64 drawNo, const DrawResult& draw, const ProgressCallback& progress)
{
    if (!WellFormedDraw(draw.drawText))
        return 0;
    const FastRank rule(draw.drawText);
    Transaction transaction(gUserConn);
    // "Top1 <> '0'" in each statement lets SQLite use the rank index, which holds no losing game.
    Query count(gUserConn, u"SELECT COUNT(*) AS n FROM List1 WHERE BokNo = ? AND Top1 = '9' AND Top1 <> '0'"_s);
    count.run({drawNo});
    count.next();
    const qint64 pending = count.integer(u"n"_s);
    if (pending == 0)
        return 0; // nothing to settle: not one statement
    Query winner(gUserConn, u"UPDATE List1 SET Top1 = ?, Kum1 = ? WHERE BokNo = ? AND SNo1 = ?"_s);
    struct Win
    {
        char rank;
        qint64 serial;
    };
    std::vector<Win> wins;
    {
        // Read straight from SQLite: a text per game through Qt would cost more than the ranking.
        RowReader games(gUserConn, u"SELECT No1, SNo1 FROM List1 WHERE BokNo = ? AND Top1 = '9' AND Top1 <> '0'"_s);
        games.run({drawNo});
        qint64 seen = 0;
        QElapsedTimer shown;
        shown.start();
        while (games.next()) {
            ++seen;
            const char rank = rule.rankOf(games.utf8(0));
            if (rank != '0')
                wins.push_back({rank, games.integer(1)});
            if (progress && (seen & 0x3FF) == 0 && shown.elapsed() >= 50) {
                shown.restart();
                progress(int(std::lround(double(seen) * 100.0 / double(pending))));
            }
        }
    }
    // The winners are written after the reading: a statement that changes the rows being read could move
    // them under the cursor.
    for (const Win& w : wins) {
        const int r = w.rank - '0';
        winner.run({QString::number(r), qint64(std::llround(draw.prizes[size_t(r)])), drawNo, w.serial});
    }
    Execute(gUserConn, u"UPDATE List1 SET Top1 = '0', Kum1 = 0 WHERE BokNo = ? AND Top1 = '9' AND Top1 <> '0'"_s, {drawNo});
    transaction.commit();
    if (progress)
        progress(100);
    return pending;
}

void MarkEvaluated(qint64 drawNo) { Execute(gUserConn, u"UPDATE Bok1 SET Tag1 = '1' WHERE BokNo = ?"_s, {drawNo}); }

double Totals::grand() const { return sums[1] + sums[2] + sums[3] + sums[4] + sums[5]; }

Totals ReadTotals(qint64 drawNo)
{
    Totals totals;
    Query q(gUserConn,
            u"SELECT Top1, COUNT(*) AS n, SUM(Kum1) AS s FROM List1 "
            "WHERE BokNo = ? AND Top1 IN ('1','2','3','4','5') AND Top1 <> '0' AND Kum1 <> 0 GROUP BY Top1"_s);
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
