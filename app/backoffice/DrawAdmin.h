#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

// The server's master list of draws (BokList) with the free-ticket statistics of each draw (S1List), as
// the administrator corrects them; the national prize table; the correction of a free game's numbers.
namespace DrawAdmin {

struct DrawRow
{
    qint64 drawNo = 0;
    QString date1; // entries open, YYYYMMDD
    QString date2; // draw date, YYYYMMDD
    QString lotNo; // 14 digits, the bonus last; all zeros before the draw
    std::array<qint64, 5> counts {}; // free-ticket winners by rank (S1Count …)
    std::array<qint64, 5> amounts {}; // and their amounts (S1Kum …)
    qint64 sum1 = 0; // free games registered for the draw
    QString state1; // "1" entries open, "2" closed, "3" drawn
    QString state2; // the row's change stamp, YYYYMMDDNN
};

// The draws of the month that have free-ticket statistics, newest first.
std::vector<DrawRow> ListDraws(int year, int month);
// The year and month (YYYYMM) of the newest such draw up to the date given, or empty.
QString LatestMonth(const QString& untilYyyymmdd);

// The editable cells of a grid row as the window holds them: columns 3 to 15, 17 and 18 (date1, date2,
// lotNo, five counts, five amounts, state1, state2). Either a row or a refusal naming the cell.
struct Parsed
{
    std::optional<DrawRow> row;
    QString problem;
};
Parsed ParseDrawRow(qint64 drawNo, const QStringList& cells);
// Why a draw text cannot be stored, or empty: all zeros (no numbers yet), or six distinct numbers 1–45
// and a bonus 1–45 that is not among them.
QString CheckDrawText(const QString& lotNo);
// A whole number 0 … limit typed into a cell.
std::optional<qint64> ReadWholeNumber(const QString& text, qint64 limit);
inline constexpr qint64 kCountLimit = 999'999'999;
inline constexpr qint64 kAmountLimit = 999'999'999'999;

// Every row's BokList and S1List values (Sum1 stays as it is), and the draws stamp of the server's
// draw-progress text raised to the newest change stamp saved, so that the members' next synchronisation
// picks the rows up. All of it or nothing.
void SaveDraws(const std::vector<DrawRow>& rows);

struct PrizeTable
{
    std::array<qint64, 5> counts {}; // winners in the whole country, rank 1..5
    std::array<qint64, 5> amounts {}; // prize per winning game
};
PrizeTable ReadPrizeTable(qint64 drawNo);
// The table, and the draw a new change stamp (with the draws stamp) so that members copy it. Returns the
// new stamp; empty when the draw is no longer there.
QString SavePrizeTable(qint64 drawNo, const PrizeTable& table);

// The draws stamp of the server's draw-progress text: members copy the rows whose State2 is newer.
QString ReadDrawsStamp();

// The stamp after both given ones: today's date and a two-digit number one above the larger stamp of
// today, else "01".
QString NextStamp(const QString& todayYyyymmdd, const QString& a, const QString& b);

// A free-ticket game that won: from NBNo1, with its order's member.
struct Winner
{
    QString id;
    QString game; // 12 digits
    QString rank; // "1" … "5"
    qint64 prize = 0;
    qint64 order = 0;
    qint64 serial = 0;
    QString position;

    // "000123-000045": the order number and the ticket serial, as printed on the ticket.
    QString certification() const;
};
// The draw's games that hold a prize, best rank first.
std::vector<Winner> ReadWinners(qint64 drawNo);

// "000123-000045" → order and serial, or nothing.
std::optional<std::pair<qint64, qint64>> ParseCertification(const QString& text);
// A game as typed: 12 digits or six numbers joined by dots; the game text, or empty when it is no game.
QString ReadGameText(const QString& text);
// The game's numbers; false when no such game is left.
bool CorrectGame(qint64 order, qint64 serial, const QString& position, const QString& gameText);

} // namespace DrawAdmin
