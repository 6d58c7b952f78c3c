// The reader's text() as UTF-8 rather than the wide string it still gives by default.
#define ZX_USE_UTF8 1

#include "TicketQr.h"

#include "Globals.h"
#include "Query.h"
#include "SafeStore.h"

#include <QImage>
#include <QImageReader>
#include <QRegularExpression>
#include <QUrl>
#include <QUrlQuery>

#include <ZXing/ReadBarcode.h>

using namespace Qt::StringLiterals;

namespace TicketQr {

namespace {

constexpr int kSlots = 5;
constexpr int kSlotDigits = 12;

QString notLotto() { return u"로또 6/45 복권의 QR 코드가 아닙니다."_s; }

Reading refused(const QString& error) { return Reading {std::nullopt, error}; }

std::optional<Play> playOf(QChar marker)
{
    switch (marker.unicode()) {
    case u'm':
        return Play::Manual;
    case u'q':
        return Play::Automatic;
    case u's':
        return Play::SemiAutomatic;
    default:
        return std::nullopt;
    }
}

// The game of a played slot: six numbers of two digits, 1 to 45 and all different (in any order).
std::optional<Game> gameOf(QStringView digits) { return Game::fromKey(digits.toString()); }

QString badNumbers(QChar slot)
{
    return slot + u" 게임의 번호가 올바르지 않습니다.\n번호는 1부터 45까지 서로 다른 여섯 수여야 합니다."_s;
}

} // namespace

Reading Parse(const QString& text, qint64 drawOnSale)
{
    const QUrl url(text.trimmed(), QUrl::StrictMode);
    if (!url.isValid() || (url.scheme() != u"http"_s && url.scheme() != u"https"_s) || url.host().isEmpty())
        return refused(notLotto());
    const QStringList values = QUrlQuery(url).allQueryItemValues(u"v"_s, QUrl::FullyDecoded);
    if (values.size() != 1)
        return refused(notLotto());

    // Four digits of draw, one to five slots, then the ticket's serial digits, and nothing else.
    static const QRegularExpression layout(u"^([0-9]{4})((?:[a-z][0-9]{12}){1,5})([0-9]*)$"_s);
    const QRegularExpressionMatch match = layout.match(values.first());
    if (!match.hasMatch())
        return refused(notLotto());

    Ticket ticket;
    ticket.drawNo = match.captured(1).toLongLong();
    if (ticket.drawNo < 1)
        return refused(notLotto());
    if (drawOnSale < 1)
        return refused(u"판매 중인 회차를 알 수 없어 복권을 불러올 수 없습니다."_s);
    if (ticket.drawNo > drawOnSale) {
        return refused(QString::number(ticket.drawNo) + u"회차는 아직 판매되지 않은 회차입니다.\n(판매 중인 회차: "_s
                       + QString::number(drawOnSale) + u"회)"_s);
    }

    const QString slots = match.captured(2);
    const qsizetype width = 1 + kSlotDigits;
    for (qsizetype at = 0, place = 0; at < slots.size() && place < kSlots; at += width, ++place) {
        const QChar marker = slots[at];
        const QStringView digits = QStringView(slots).mid(at + 1, kSlotDigits);
        const QChar slot(char16_t(u'A' + place));
        if (marker == u'n') {
            // An unused slot holds zeros; anything else there means we do not know this layout.
            if (digits != u"000000000000"_s)
                return refused(notLotto());
            continue;
        }
        const std::optional<Play> play = playOf(marker);
        if (!play)
            return refused(notLotto());
        const std::optional<Game> game = gameOf(digits);
        if (!game)
            return refused(badNumbers(slot));
        ticket.lines.push_back(Line {slot, *play, *game});
    }
    if (ticket.lines.empty())
        return refused(u"이 복권에는 번호가 있는 게임이 없습니다."_s);
    return Reading {ticket, QString()};
}

ImageText DecodeImage(const QImage& image)
{
    if (image.isNull())
        return {std::nullopt, u"그림을 읽지 못하였습니다. PNG 또는 JPEG 그림을 고르세요."_s};
    const QImage gray = image.convertToFormat(QImage::Format_Grayscale8);
    const ZXing::ImageView view(gray.constBits(),
                                gray.width(),
                                gray.height(),
                                ZXing::ImageFormat::Lum,
                                int(gray.bytesPerLine()));
    ZXing::DecodeHints hints;
    hints.setFormats(ZXing::BarcodeFormat::QRCode);
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    const ZXing::Result result = ZXing::ReadBarcode(view, hints);
    if (!result.isValid())
        return {std::nullopt,
                u"그림에서 QR 코드를 찾지 못하였습니다.\n복권의 QR 코드가 또렷하게 보이는 그림을 고르세요."_s};
    return {QString::fromStdString(result.text()), QString()};
}

ImageText DecodeImageFile(const QString& path)
{
    QImageReader reader(path);
    // Phones store a photo sideways and say so in the file; the reader turns it upright.
    reader.setAutoTransform(true);
    const QImage image = reader.read();
    if (image.isNull())
        return {std::nullopt, u"그림 파일을 읽지 못하였습니다. PNG 또는 JPEG 그림을 고르세요.\n"_s + path};
    return DecodeImage(image);
}

QString PlayName(Play play)
{
    switch (play) {
    case Play::Manual:
        return u"수동"_s;
    case Play::Automatic:
        return u"자동"_s;
    case Play::SemiAutomatic:
        return u"반자동"_s;
    }
    return QString();
}

std::optional<QString> Save(const Ticket& ticket, const QString& groupName)
{
    if (ticket.drawNo < 1 || ticket.drawNo > gCurrentDrawNo)
        return u"이 회차에는 복권을 저장할 수 없습니다."_s;
    if (ticket.lines.empty())
        return u"저장할 게임이 없습니다."_s;
    QStringList games;
    for (const Line& line : ticket.lines) {
        if (!Game::fromKey(line.game.key()))
            return badNumbers(line.slot);
        games.append(line.game.key());
    }
    // The safe's save writes the memo it is given over the draw's: hand it the memo the draw has.
    Query memo(gUserConn, u"SELECT Bigo1 FROM Bok1 WHERE BokNo = ?"_s);
    memo.run({ticket.drawNo});
    const QString kept = memo.next() ? memo.text(u"Bigo1"_s) : QString();
    return SafeStore::SaveGames(ticket.drawNo, games, kept, SafeStore::CleanGroupName(groupName));
}

} // namespace TicketQr
