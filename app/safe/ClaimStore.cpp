#include "ClaimStore.h"

#include "Globals.h"
#include "Query.h"
#include "Transaction.h"

using namespace Qt::StringLiterals;

namespace ClaimStore {

QString ReceivedOn(qint64 drawNo)
{
    Query q(gUserConn, u"SELECT Date1 FROM Claim1 WHERE BokNo = ?"_s);
    q.run({drawNo});
    return q.next() ? q.text(u"Date1"_s) : QString();
}

void MarkReceived(qint64 drawNo, const QDate& day)
{
    Transaction transaction(gUserConn);
    Execute(gUserConn, u"DELETE FROM Claim1 WHERE BokNo = ?"_s, {drawNo});
    Execute(gUserConn, u"INSERT INTO Claim1 (BokNo,Date1) VALUES (?,?)"_s, {drawNo, day.toString(u"yyyy-MM-dd"_s)});
    transaction.commit();
}

void UnmarkReceived(qint64 drawNo) { Execute(gUserConn, u"DELETE FROM Claim1 WHERE BokNo = ?"_s, {drawNo}); }

QString DrawDate(qint64 drawNo)
{
    Query q(gSystemConn, u"SELECT Date2 FROM BokList WHERE BokNo = ?"_s);
    q.run({drawNo});
    return q.next() ? q.text(u"Date2"_s) : QString();
}

ClaimDeadline DeadlineOf(qint64 drawNo) { return ClaimDeadlineFor(DrawDate(drawNo)); }

DrawWins ReadDrawWins(qint64 drawNo)
{
    DrawWins wins;
    wins.drawNo = drawNo;
    wins.totals = RankCalc::ReadTotals(drawNo);
    wins.deadline = DeadlineOf(drawNo);
    wins.received = ReceivedOn(drawNo);
    return wins;
}

QString ClaimLine(const DrawWins& wins, const QDate& today)
{
    if (!wins.won())
        return QString();
    if (!wins.received.isEmpty())
        return u"수령함: "_s + wins.received;
    if (!wins.deadline.isValid())
        return QString();
    if (wins.deadline.passed(today))
        return u"지급기한이 지났습니다: "_s + wins.deadline.dateText();
    return u"지급기한: "_s + wins.deadline.dateText() + u"까지"_s + wins.deadline.note() + u" ("_s
        + QString::number(wins.deadline.daysLeft(today)) + u"일 남음)"_s;
}

} // namespace ClaimStore
