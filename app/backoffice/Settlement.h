#pragma once

#include "DrawAdmin.h"

#include <functional>
#include <vector>

// The settlement of a draw's free tickets after the draw, in four steps: rank the games (on screen
// only), store ranks 1 to 3 with the free-ticket prizes, archive those winners in NBNo2, delete the
// draw's games. Each writing step is one transaction.
namespace Settlement {

// The free-ticket prizes: fixed by the service, not the national table.
qint64 FreeTicketPrize(int rank);

struct Ranking
{
    QString problem; // the draw cannot be ranked (no result yet, a damaged text); nothing ranked
    QString drawText;
    qint64 pending = 0; // games examined
    std::vector<DrawAdmin::Winner> winners; // ranks 1 to 5, best first
};
// Step 1: the draw's pending games (Top1 "9") against its stored result. Writes nothing.
Ranking RankDraw(qint64 drawNo, const std::function<void(int)>& progress = {});
// Step 2: ranks 1 to 3 and their prizes into NBNo1; ranks 4 and 5 are not written. Returns rows changed.
qint64 StoreRanks(qint64 drawNo, const std::vector<DrawAdmin::Winner>& winners);
// Step 3: the draw's games of ranks 1 to 3 that are not in NBNo2 yet (same order, serial and position)
// are copied there; running it again adds nothing. Returns rows added.
qint64 ArchiveWinners(qint64 drawNo);
// Step 4: every game of the draw leaves NBNo1; the winners stay in NBNo2. Returns rows deleted.
qint64 DeleteDrawGames(qint64 drawNo);

} // namespace Settlement
