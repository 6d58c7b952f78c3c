#pragma once

#include "ClaimDeadline.h"
#include "RankCalc.h"

#include <QDate>
#include <QString>

// The member's received marks (Claim1 in the member's database) and what the safe says about claiming a
// won draw's prizes. Failures throw SqlError.
namespace ClaimStore {

// "YYYY-MM-DD" the winnings were received, or empty.
QString ReceivedOn(qint64 drawNo);
void MarkReceived(qint64 drawNo, const QDate& day);
void UnmarkReceived(qint64 drawNo);

// The draw's date as the draw list keeps it ("YYYY-MM-DD"), or empty.
QString DrawDate(qint64 drawNo);
ClaimDeadline DeadlineOf(qint64 drawNo);

// One draw's winnings and where their claim stands.
struct DrawWins
{
    qint64 drawNo = 0;
    RankCalc::Totals totals;
    ClaimDeadline deadline;
    QString received; // "YYYY-MM-DD" or empty
    bool won() const { return totals.grand() > 0; }
};
DrawWins ReadDrawWins(qint64 drawNo);

// The safe's line under a won draw's result: "지급기한: 2026-11-30(월)까지 (357일 남음)", "지급기한이
// 지났습니다: 2026-11-30(월)", "수령함: 2026-12-01"; empty for a draw without winnings.
QString ClaimLine(const DrawWins& wins, const QDate& today);

} // namespace ClaimStore
