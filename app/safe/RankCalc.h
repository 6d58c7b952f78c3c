#pragma once

#include "Busy.h"
#include "Rank.h"

#include <QString>

#include <array>
#include <cstdint>
#include <functional>

// Ranks and prizes of the games kept for a draw, once its result is final.
namespace RankCalc {

struct DrawResult
{
    bool found = false;
    bool final = false; // State1 "3": result and prizes known
    QString drawText; // 14 digits, the bonus last
    std::array<double, 6> prizes {}; // index 1..5: Rk1Kum … Rk5Kum
};
DrawResult ReadDrawResult(qint64 drawNo);

// The full pass, for a draw whose result is final: every pending game of the draw gets its rank and prize,
// the losers all at once, and the draw is marked as having had its pass (Bok1.Tag1 "1"); one transaction.
// Returns the number of games that were pending. A malformed draw text ranks and marks nothing.
qint64 EvaluatePending(qint64 drawNo, const DrawResult& draw, const ProgressCallback& progress = {});

struct Totals
{
    std::array<qint64, 6> counts {}; // index 1..5
    std::array<double, 6> sums {};
    double grand() const;
};
// Winning games with a prize (Kum1 <> 0), by rank.
Totals ReadTotals(qint64 drawNo);
// "[총당첨금: 60,000원 4등(1) 5등(2)]"
QString WinningsLine(const Totals& totals);

} // namespace RankCalc
