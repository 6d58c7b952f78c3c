#pragma once

#include "OrderStore.h"

#include <QString>

#include <optional>
#include <vector>

// Window 12's statements on the server: an order's printed texts and draw, the games of its tickets,
// and the deletion of a range of tickets. The month's orders and the deletion of a whole order are
// OrderStore's.
namespace TicketStore {

// What the ticket window shows as an order's amount: every game ordered at the unit price.
inline qint64 Amount(const OrderStore::Order& o) { return o.tickets * o.gamesPerTicket * o.unitPrice; }

struct OrderTexts
{
    qint64 drawNo = 0;
    QString comp; // Comp1, the shop
    QString title; // Title1, the headline
    QString tel;
    QString text1, text2, text3;
};
std::optional<OrderTexts> ReadTexts(qint64 code);

inline constexpr int kTextBytes = 10000;
inline constexpr qint64 kMaxDrawNo = 999999; // the ticket prints six places

// A typed draw number: a whole number 1 to 999,999, or nothing.
std::optional<qint64> ReadDrawNo(const QString& typed);
// Why the texts cannot be saved, or empty: each fits kTextBytes once its quotes are turned.
QString CheckTexts(const OrderTexts& texts);

struct Saved
{
    bool found = false;
    qint64 movedGames = 0; // games that went over to the new draw
};
// The draw and the texts (trimmed, through SqlQuote). When the draw changes, the order's games go
// with it and the free-game counts of both draws follow; all of it or nothing.
Saved SaveTexts(qint64 code, const OrderTexts& texts);

enum class GameFilter { All, Winners };
enum class GameOrder { Serial, Rank, Game };

struct TicketGame
{
    QString game; // 12 digits
    QString rank; // Top1
    qint64 prize = 0;
    qint64 serial = 0; // SNo1
    QString position; // SNo2
    QString cancel;
};
std::vector<TicketGame> ListGames(qint64 code, GameFilter filter, GameOrder order);

struct Range
{
    qint64 first = 0;
    qint64 last = 0;
};
// A range as typed, or why it is refused (nothing typed, not whole numbers from 1, first after last).
struct RangeInput
{
    std::optional<Range> range;
    QString refusal;
};
RangeInput ReadRange(const QString& first, const QString& last);

struct Deleted
{
    qint64 tickets = 0;
    qint64 games = 0;
};
// The tickets of the range, their games leaving the draw's count, and the order's tickets lowered by
// those that were there; all of it or nothing.
Deleted DeleteTickets(qint64 code, const Range& range);

// The order's highest ticket serial; 0 without games.
qint64 HighestSerial(qint64 code);
// The serials of the range that have games, in order.
std::vector<qint64> Serials(qint64 code, const Range& range);

} // namespace TicketStore
