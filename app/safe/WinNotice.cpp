#include "WinNotice.h"

#include "DrawText.h"
#include "Globals.h"
#include "Query.h"
#include "Settings.h"
#include "TextExport.h"

#include <QSet>

#include <cmath>

using namespace Qt::StringLiterals;

namespace WinNotice {

namespace {

const QString kSection = u"화면구성"_s;
const QString kName = u"복권금고:당첨 알림"_s;

bool anyPending(qint64 drawNo)
{
    // Stops at the first pending game: no index holds them (the pending games of a draw on sale would
    // each write one).
    Query q(gUserConn, u"SELECT EXISTS (SELECT 1 FROM List1 WHERE BokNo = ? AND Top1 = '9') AS n"_s);
    q.run({drawNo});
    return q.next() && q.integer(u"n"_s) != 0;
}

} // namespace

bool Enabled()
{
    Query q(gSystemConn, u"SELECT Value1 FROM Info1 WHERE Section1 = ? AND Name1 = ?"_s);
    q.run({kSection, kName});
    return !q.next() || q.text(u"Value1"_s).trimmed() != u"0"_s;
}

void SaveEnabled(bool on) { WriteInfo(kSection, kName, on ? u"1"_s : u"0"_s); }

std::vector<qint64> RankCopiedDraws(const std::vector<qint64>& finalDraws, const ProgressCallback& progress)
{
    std::vector<qint64> won;
    for (qint64 drawNo : finalDraws) {
        if (!anyPending(drawNo))
            continue;
        const RankCalc::DrawResult draw = RankCalc::ReadDrawResult(drawNo);
        // A malformed result is left for the safe, which says so when the draw is shown.
        if (!draw.found || !draw.final || !DrawText::IsResult(draw.drawText))
            continue;
        RankCalc::EvaluatePending(drawNo, draw, progress);
        if (RankCalc::ReadTotals(drawNo).grand() > 0)
            won.push_back(drawNo);
    }
    return won;
}

Content Collect(const std::vector<qint64>& freshDraws, const QDate& today)
{
    Content content;
    QSet<qint64> fresh;
    for (qint64 drawNo : freshDraws) {
        ClaimStore::DrawWins wins = ClaimStore::ReadDrawWins(drawNo);
        fresh.insert(drawNo);
        if (wins.won() && wins.received.isEmpty())
            content.fresh.push_back(std::move(wins));
    }
    // Only the draws of about a year ago can have a deadline within the warning days: a holiday run moves
    // a deadline by some days at most.
    const QString from = today.addYears(-1).addDays(-20).toString(u"yyyy-MM-dd"_s);
    const QString to = today.addYears(-1).addDays(kDeadlineWarningDays).toString(u"yyyy-MM-dd"_s);
    Query draws(gSystemConn,
                u"SELECT BokNo FROM BokList WHERE State1 = '3' AND Date2 BETWEEN ? AND ? ORDER BY BokNo"_s);
    draws.run({from, to});
    std::vector<qint64> candidates;
    while (draws.next())
        candidates.push_back(draws.integer(u"BokNo"_s));
    for (qint64 drawNo : candidates) {
        if (fresh.contains(drawNo))
            continue;
        ClaimStore::DrawWins wins = ClaimStore::ReadDrawWins(drawNo);
        if (!wins.won() || !wins.received.isEmpty() || !wins.deadline.isValid() || wins.deadline.passed(today)
            || wins.deadline.daysLeft(today) > kDeadlineWarningDays)
            continue;
        content.expiring.push_back(std::move(wins));
    }
    return content;
}

QString WinLine(const ClaimStore::DrawWins& wins)
{
    QStringList parts;
    for (int rank = 1; rank <= 5; ++rank) {
        if (const qint64 n = wins.totals.counts[size_t(rank)]; n > 0)
            parts.append(QString::number(rank) + u"등 "_s + Grouped(n) + u"게임"_s);
    }
    parts.append(u"당첨금 합계 "_s + Grouped(qint64(std::llround(wins.totals.grand()))) + u'원');
    return u'제' + QString::number(wins.drawNo) + u"회: "_s + parts.join(u", "_s);
}

QString DeadlineText(const ClaimStore::DrawWins& wins, const QDate& today)
{
    if (!wins.deadline.isValid())
        return QString();
    if (wins.deadline.passed(today))
        return u"지급기한 "_s + wins.deadline.dateText() + u"이 지났습니다"_s;
    const qint64 left = wins.deadline.daysLeft(today);
    return u"지급기한 "_s + wins.deadline.dateText() + u"까지"_s + wins.deadline.note()
        + (left == 0 ? u" (오늘까지)"_s : u" ("_s + QString::number(left) + u"일 남음)"_s);
}

} // namespace WinNotice
