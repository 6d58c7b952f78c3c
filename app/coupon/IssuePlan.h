#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// What the issue form asks and shows: how many coupons of how many games, and the paper they take.
namespace IssuePlan {

inline constexpr int kMaxCoupons = 9999;
inline constexpr int kMaxGamesPerCoupon = 5; // a coupon has lines for five games

// A typed number rounded to a whole one (halves to even) within [low, high]; nothing for anything else
// (blanks, letters, 0, 10000).
std::optional<int> Count(const QString& typed, int low, int high);
// A typed number as far as it goes, for the counts shown while typing: 0 for what is not one.
qint64 Lenient(const QString& typed);

// Sheets of A4, six coupons to a sheet; one at the least.
qint64 Sheets(qint64 coupons);

QString UnissuedLabel(qint64 games); // "미발행 게임수: 1,234(게임)"
QString GamesLabel(qint64 games); // "선택한 게임수: 30(게임)"
QString SheetsLabel(qint64 sheets); // "필요한 용지수: 2(장)"

// Only member shops issue coupons: members of level "1" are told how to become one, and so is the guest,
// who is no member at all.
bool MayIssue(const QString& userId, const QString& userLevel);
QString MemberShopNotice();

// The tips of the coupon window, in their order (none is fine).
QStringList Tips();
// The tip the window showed last (its number from 1; 0 or anything else starts at the first).
int SavedTipIndex();
// The caption with a tip: "복권쿠폰  [활용팁: …]".
QString CaptionWithTip(const QString& tip);

inline const QString kCouponsRefused = QStringLiteral("숫자 형식이 올바르지 않습니다. (1부터 9999까지)");
inline const QString kGamesRefused = QStringLiteral("숫자 형식이 올바르지 않습니다. (1부터 5까지)");

} // namespace IssuePlan
