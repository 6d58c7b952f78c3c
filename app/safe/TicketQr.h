#pragma once

#include "GameRules.h"

#include <QString>

#include <optional>
#include <vector>

class QImage;

// A bought Lotto 6/45 paper ticket read from its QR code: the address's "v" value holds the draw (four
// digits), then up to five slots of a letter and twelve digits (m manual, q automatic, s semi-automatic,
// n unused and all zeros), then the ticket's own serial digits. Anything else is refused whole, so that
// nothing half-read ever reaches the safe.
namespace TicketQr {

enum class Play { Manual, Automatic, SemiAutomatic };

struct Line
{
    QChar slot; // 'A'..'E', the slot's place on the ticket
    Play play;
    Game game;
};

struct Ticket
{
    qint64 drawNo = 0;
    std::vector<Line> lines; // the played slots only
};

struct Reading
{
    std::optional<Ticket> ticket;
    QString error; // Korean, for the user; empty when read
};

// Reads the QR's text. The draw must not lie beyond the draw on sale.
Reading Parse(const QString& text, qint64 drawOnSale);

struct ImageText
{
    std::optional<QString> text;
    QString error;
};
// The text of the QR code in a photo or scan of the ticket.
ImageText DecodeImage(const QImage& image);
ImageText DecodeImageFile(const QString& path);

QString PlayName(Play play); // "수동", "자동", "반자동"

// Adds the ticket's games to its draw in the safe under the group, in one transaction, keeping the draw's
// memo as it is. A refusal comes back as its message; nothing is written then. Failures throw SqlError.
std::optional<QString> Save(const Ticket& ticket, const QString& groupName);

inline const QString kDefaultGroup = QStringLiteral("QR 복권");

} // namespace TicketQr
