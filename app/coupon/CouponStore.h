#pragma once

#include <QString>
#include <QStringList>

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
std::optional<QString>
AddGames(qint64 drawNo, const QStringList& games, const std::function<void(int percent)>& progress = {});

} // namespace CouponStore
