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
    // The password as each server keeps it, hashed once here (PBKDF2 for the stand-in, bcrypt of the
    // service's cost for PostgreSQL): the demo's passwords are its IDs and public anyway, and a demo made
    // (as every test install is) need not spend a second on hashing them again.
    QString standInHash, bcryptHash;
};
const std::vector<Member>& members();

struct PromoLine
{
    QString title, url, state, show;
    qint64 sum;
};
const std::vector<PromoLine>& promoLines();

// Shops' orders of free tickets, dated back from the install date so that the administrator's windows
// show them at once: orders in every state, one filled with games of the draw on sale, and one of the last
// drawn draw whose winners of ranks 2 and 3 are stored with their prizes.
struct OrderGame
{
    QString game; // 12 digits
    QString top; // rank code
    qint64 prize = 0;
    qint64 ticket = 0;
    QString position;
};
struct Order
{
    qint64 code = 0;
    QString id;
    int drawNo = 0;
    QString date; // "YYYY-MM-DD HH:mm:ss"
    qint64 tickets = 0, gamesPerTicket = 0, unitPrice = 0;
    QString state, sendNo, memo, shop, title, tel, text1, text2, text3;
    std::vector<OrderGame> games;
};
std::vector<Order> orders(const QDate& today);

// Free-ticket statistics per draw (S1List): the draws the orders are for.
struct FreeTicketStats
{
    int drawNo = 0;
    qint64 games = 0;
    std::array<qint64, 5> winners {};
    std::array<qint64, 5> amounts {};
};
std::vector<FreeTicketStats> freeTicketStats(const QDate& today);
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
