#pragma once

#include "Busy.h"

#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>
#include <vector>

// The shop's coupons in the user database: one Bok2 row per draw and its games in List2. Every action
// that writes several rows is one transaction. Failures throw SqlError.
namespace CouponStore {

inline constexpr qint64 kMaxSerial = 999999998;

struct Coupon
{
    qint64 drawNo;
    QString title;
    qint64 games;
};
// By draw, newest first.
std::vector<Coupon> Coupons();
QString Memo(qint64 drawNo);
// Trimmed to 10,000 bytes, quotes as backquotes.
void SaveMemo(qint64 drawNo, const QString& memo);

// Adds the games (12-digit texts) to the coupon's stock, not yet issued. A refusal comes back as its
// message; nothing is written then.
std::optional<QString> AddGames(qint64 drawNo, const QStringList& games, const ProgressCallback& progress = {});

// The number users see for an issued coupon: "0057-000031".
QString IssueNumber(qint64 drawNo, qint64 couponNo);

struct IssueCounts
{
    qint64 issued = 0;
    qint64 unissued = 0;
};
IssueCounts CountGames(qint64 drawNo);
// "[발행: 1,234] [미발행: 0] "
QString CountLine(const IssueCounts& counts);

// The issue run: the lowest unissued serials of the draw become `coupons` coupons of `gamesPerCoupon`
// games, numbered on from the highest number the draw has used, positions 1 to g in serial order, one
// issue time for the run. It is planned first, which writes nothing, so that the coupons can be seen as
// they will be printed; numbering then makes exactly the planned coupons. The new coupons are left being
// printed until FinishIssue. Every coupon of the run is numbered or none is.
struct PlannedIssue
{
    std::optional<QString> refusal; // set: there is nothing to number
    qint64 drawNo = 0;
    qint64 firstCoupon = 0;
    int coupons = 0;
    int gamesPerCoupon = 0;
    // The games in stock that the run takes, coupon after coupon, position after position.
    std::vector<qint64> serials;
    QStringList games;

    // The games of coupon i of the run (from 0), in the order of their positions.
    QStringList gamesOf(int coupon) const { return games.mid(qsizetype(coupon) * gamesPerCoupon, gamesPerCoupon); }
};
struct IssueRun
{
    std::optional<QString> refusal; // set: nothing was changed
    qint64 firstCoupon = 0;
    qint64 coupons = 0;
    QString issueTime;
};
inline const QString kShortageMessage
    = QStringLiteral("발행할 복권(미발행 복권)이 부족합니다. [로또게임]작업메뉴에서 복권을 추가하여 주세요.");
inline const QString kPlanOutdated = QStringLiteral(
    "미리보기를 연 뒤에 이 쿠폰의 복권자료가 바뀌어 발행하지 않았습니다. 바뀐 것은 없습니다. 다시 발행하여 주십시오.");
PlannedIssue PlanIssue(qint64 drawNo, int coupons, int gamesPerCoupon);
// Numbers the planned coupons in one transaction; refused with kPlanOutdated, nothing changed, when the
// games in stock or the draw's numbers are no longer those of the plan.
IssueRun IssueCoupons(const PlannedIssue& plan, const ProgressCallback& progress = {});
// Plans and numbers at once.
IssueRun IssueCoupons(qint64 drawNo, int coupons, int gamesPerCoupon, const ProgressCallback& progress = {});

struct CouponKey
{
    qint64 drawNo;
    qint64 couponNo;
};
// The coupons waiting to be printed, every draw, by coupon number.
std::vector<CouponKey> BeingPrinted();
// The coupons that were being printed are issued.
void FinishIssue();

// Ranks the issued games of a past draw (below gCurrentDrawNo) that are still pending, matched by their
// game text; one transaction. A draw without its numbers is left alone. Returns the games ranked.
qint64 CalcCouponRanks(qint64 drawNo, const ProgressCallback& progress = {});
// Issued winning games by rank, index 1 to 5.
using RankCounts = std::array<qint64, 6>;
RankCounts WinningCounts(qint64 drawNo);
// "[당첨: 4등(1) 5등(3)]"
QString RankSummaryText(const RankCounts& counts);
// The summary of a draw, or "[당첨: (미추첨)]" while it is not past.
QString RankSummary(qint64 drawNo);

// The coupon and every game of it; the copy registered on the server stays.
void DeleteCoupon(qint64 drawNo);
// Deletes games by their SNo1: a coupon number takes the whole coupon, a serial one unissued game.
// Returns the games left, which Count1 now says.
qint64 DeleteGames(qint64 drawNo, const std::vector<qint64>& serials);
// Deletes the issued games that lost. Returns the games left.
qint64 DeleteLostGames(qint64 drawNo);

// The games of a coupon as the list shows them.
enum class Filter { All, Issued, Unissued, Won };
enum class Order { IssueOrder, Rank, Numbers };
struct Game
{
    QString no1;
    QString top1;
    QString date1; // empty: not issued
    qint64 sNo1 = 0;
    QString sNo2;
};
std::vector<Game> Games(qint64 drawNo, Filter filter, Order order);
qint64 CountMatching(qint64 drawNo, Filter filter);
// One page of the list: pageSize rows from page 1 on.
std::vector<Game> GamesPage(qint64 drawNo, Filter filter, Order order, qint64 page, int pageSize);
struct Paging
{
    qint64 page = 1;
    qint64 pages = 1;
};
// The page asked for, brought back to the last page when deletions left fewer.
Paging PageOf(qint64 total, qint64 wantedPage, int pageSize);

} // namespace CouponStore
