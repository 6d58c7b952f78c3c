#pragma once

#include "PrintedLines.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QPainter;

// The service's free ticket as it is printed: 29 lines of 37 columns, from the left edge of its slot, a
// line every 260 twips, no outline (the paper carries its own). The top nine lines stay empty for what
// the paper has printed there. The lines are plain data, so that the preview, the page and the tests
// all see the same ticket; DrawOrderTicket only paints them.
namespace TicketLayout {

inline constexpr int kLines = 29;
inline constexpr int kWidth = 37; // bytes of CP949 across a ticket
inline constexpr int kColumnTwips = 90;
inline constexpr int kLineTwips = 260;
inline constexpr int kMaxGames = 5;
// A ticket has no outline; its text only has to stay clear of the next ticket, a column before it.
inline constexpr int kTextTwips = 3900 - kColumnTwips;

using Lines = std::array<PrintedLine, kLines>; // index 0 is line 1

struct Content
{
    qint64 orderCode = 0;
    qint64 serial = 0; // SNo1
    qint64 drawNo = 0;
    QString drawDate; // the server's Date2, "YYYYMMDD"; empty when the draw is not listed
    QStringList games; // 12-digit texts in the order of their positions, at most five
};

// "2025/12/13" from "20251213"; empty stays empty.
QString DateText(const QString& date2);
// "[벨트라복권]   1201회 추첨일:2025/12/13"
QString DrawLine(qint64 drawNo, const QString& date2);
// " [게임1]  03 11 19 24 38 45"
QString TicketGameLine(int position, const QString& game);
// "인증번호 : 05" + the numbers' sum + order + serial: "인증번호 : 050412-000103-000007" for five games
// summing to 412, order 103, ticket 7. Only the games printed count.
QString AuthenticationText(const QStringList& games, qint64 orderCode, qint64 serial);
// The order and serial as the game list shows them: "000103-000007".
QString OrderSerialText(qint64 orderCode, qint64 serial);

// The lines of a ticket. Two to five games each have their arrangement of the closing lines; a ticket
// left with a single game (the rest deleted) prints as one of two games whose second line is empty.
Lines Build(const Content& content);

// The ticket of an order from the server: the order's draw and its date, the ticket's games. Nothing
// when the order is gone or the ticket has no games.
std::optional<Content> ReadTicket(qint64 orderCode, qint64 serial);

} // namespace TicketLayout

// Paints a ticket's lines; the painter works in twips with the origin at the ticket's corner.
void DrawOrderTicket(QPainter& painter, const TicketLayout::Lines& lines);
