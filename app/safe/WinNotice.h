#pragma once

#include "ClaimStore.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <vector>

// What the member is told after a start: the draws the synchronisation has just ranked with winnings,
// and older winnings not yet received whose claim deadline is near.
namespace WinNotice {

inline constexpr int kDeadlineWarningDays = 30;

// The settings row that switches the notice off ("0"). A missing row reads as on, without a warning: the
// notice came after many installs were made.
bool Enabled();
// Stores the switch; a missing row is reported and nothing is stored (rows come with the install).
void SaveEnabled(bool on);

// Ranks the pending games of the draws a start has just copied as final, with the safe's own pass, so
// that the safe later shows the same ranks. Returns the draws that won something, in order. A draw that
// cannot be ranked now is left to the safe, which ranks it when it is opened.
std::vector<qint64> RankCopiedDraws(const std::vector<qint64>& finalDraws, const ProgressCallback& progress = {});

struct Content
{
    std::vector<ClaimStore::DrawWins> fresh; // won in the draws this start ranked
    std::vector<ClaimStore::DrawWins> expiring; // other winnings, not received, deadline within 30 days
    bool empty() const { return fresh.empty() && expiring.empty(); }
};
Content Collect(const std::vector<qint64>& freshDraws, const QDate& today);

// "제1200회: 4등 1게임, 5등 3게임, 당첨금 합계 65,000원"
QString WinLine(const ClaimStore::DrawWins& wins);
// "지급기한 2026-11-30(월)까지 (357일 남음)"
QString DeadlineText(const ClaimStore::DrawWins& wins, const QDate& today);

} // namespace WinNotice
