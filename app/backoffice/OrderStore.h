#pragma once

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// The shops' orders of free tickets (NBList1) and their games (NBNo1) on the server: the list of a
// month, the administrator's fields, the deletion of an order, and the registration of games as the
// order's tickets.
namespace OrderStore {

struct Order
{
    qint64 code = 0; // JPCodeNo
    QString id;
    qint64 drawNo = 0;
    QString date;
    qint64 tickets = 0; // Count1
    qint64 gamesPerTicket = 0; // Count2
    qint64 unitPrice = 0; // Danga1
    QString state;
    qint64 games = 0; // registered in NBNo1
    qint64 cancelled = 0;
    QString sendNo;

    qint64 amount() const { return tickets * unitPrice; }
};

// The orders whose date falls in the month (0: the whole year), newest order number first. One
// statement, whatever the number of orders.
std::vector<Order> ListOrders(int year, int month);
std::optional<Order> ReadOrder(qint64 code);
QString ReadMemo(qint64 code);

// Limits of the administrator's fields, in CP949 bytes.
inline constexpr int kSendNoBytes = 30;
inline constexpr int kMemoBytes = 10000;

// Why the fields cannot be saved, or empty: the state is one of "0" to "4", the texts fit their columns.
QString CheckOrderFields(const QString& state, const QString& sendNo, const QString& memo);
// State, postal number and memo (through SqlQuote). False when the order is no longer there.
bool SaveOrder(qint64 code, const QString& state, const QString& sendNo, const QString& memo);
// The order and its games together, and the draw's count of registered games lowered by them. False
// when the order was no longer there.
bool DeleteOrder(qint64 code);

// What step 3 tells before games are added to an order.
struct Capacity
{
    qint64 requested = 0; // games per ticket × tickets ordered
    qint64 possible = 0; // requested − already registered
    qint64 pulled = 0;

    bool fits() const { return possible >= pulled; }
    QString message() const;
};
Capacity CheckCapacity(const Order& order, qint64 pulled);

// Games per ticket as typed: a whole number 1 to 5, or nothing.
std::optional<int> ReadGamesPerTicket(const QString& text);
// The first pulled game that is not a game text (12 digits, six distinct numbers 1–45 ascending): its
// index, or -1.
int FirstBadGame(const QStringList& games);

struct Registration
{
    bool orderFound = false;
    qint64 added = 0;
    qint64 firstTicket = 0;
    qint64 lastTicket = 0;
};
// The games as the order's tickets, gamesPerTicket to a ticket; a new batch always starts a new ticket.
// The draw's S1List row is made when missing and its count raised. All of it or nothing: one
// transaction.
Registration RegisterGames(qint64 code, int gamesPerTicket, const QStringList& games);

} // namespace OrderStore
