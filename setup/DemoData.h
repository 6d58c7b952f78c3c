#pragma once

#include <QByteArray>
#include <QDate>
#include <QString>
#include <QStringList>

#include <array>
#include <vector>

// The demo server's content: real Lotto 6/45 results of draws 1 to 1200, the draw on sale after them,
// and a handful of members and promotional lines.
namespace DemoData {

struct Draw
{
    int drawNo = 0;
    QDate date;
    std::array<int, 6> numbers {};
    int bonus = 0;
    std::array<qint64, 5> winners {}; // rank 1..5
    std::array<qint64, 5> prizes {};

    // Six numbers and the bonus, two digits each.
    QString drawText() const;
};

// Registers the shipped files (draws, web pages) under ":/setup".
void loadResources();

// Parsed from the shipped CSV file; throws SetupError if it is damaged.
const std::vector<Draw>& draws();
// The draws of a CSV text: a line of column names, then one draw a line, numbered from 1 without gaps.
std::vector<Draw> ParseDraws(const QByteArray& csv);
QDate drawDate(int drawNo);

struct Member
{
    QString id, password, name, juminNo, email, level, state;
};
const std::vector<Member>& members();

struct PromoLine
{
    QString title, url, state, show;
    qint64 sum;
};
const std::vector<PromoLine>& promoLines();

// The demo shop's coupons: one for the draw on sale with games in stock, one for the last draw drawn with
// a few coupons issued before it (ranked when the shop first looks at them).
inline constexpr char16_t kDemoShop[] = u"shop7";
struct ShopCoupon
{
    int drawNo = 0;
    QString part2, comp1, title1, title2;
    std::array<QString, 5> prizes;
    QString text1, text2, memo;
    QStringList unissued; // games in stock, 12 digits each
    std::vector<QStringList> issued; // one list of games per coupon
    QString issueTime; // "YYYY-MM-DD HH:mm:ss"
};
std::vector<ShopCoupon> shopCoupons();

// The change stamp of the demo's draws and files; the demo install records the same files stamp.
inline constexpr char16_t kDemoStamp[] = u"2025120601";

} // namespace DemoData
