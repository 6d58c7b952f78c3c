#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// Registering a shop's coupon for a draw, or changing it: the typed fields as they are kept, the checks
// in the order the member meets them, and the writes. A coupon of the draw on sale is published on the
// service's web site, so its copy on the server (Coupon1) is written together with the member's own row
// (Bok2): the member's change is kept only once the server has taken it.
namespace CouponRegistration {

enum class Mode { Register, Edit };

// The boxes of the form, by the name the form gives them.
enum class Field {
    BokNo,
    Part2,
    Comp1,
    Title1,
    Title2,
    No1Text,
    No2Text,
    No3Text,
    No4Text,
    No5Text,
    Text1,
    Text2,
    Bigo1
};

struct Fields
{
    QString bokNo; // as typed
    QString part2; // kind of business
    QString comp1; // shop name, 20 bytes
    QString title1; // headline, 35 bytes
    QString title2; // telephone, 16 bytes
    std::array<QString, 5> prizes; // No1Text … No5Text, 24 bytes each
    QString text1, text2; // 35 bytes each
    QString bigo1; // memo, 10,000 bytes
};

// The byte limits match the printed coupon: 35 columns a line, "[1등] " plus 24, "전화 " plus 16.
inline constexpr int kShopBytes = 20;
inline constexpr int kLineBytes = 35;
inline constexpr int kPhoneBytes = 16;
inline constexpr int kPrizeBytes = 24;
inline constexpr int kMemoBytes = 10000;

// Each field as it is kept: trimmed (the prizes on both sides, the other lines on the right, so that a
// headline may be indented), cut to its byte limit without halving a character, an apostrophe as a
// backquote. A line of the coupon cannot break, so line breaks and other control characters in the
// one-line fields become blanks; the memo keeps its lines.
Fields Normalised(const Fields& typed);

// The draw number a typed text stands for: a whole number from 1 to 9999, or the draw on sale.
qint64 DrawNoOrCurrent(const QString& typed);
// "(추첨일: 2003-01-18)" for draw 7.
QString DrawDateLabel(qint64 drawNo);
// The kinds of business the service offers ("업소구분:목록", pieces between "#").
QStringList Kinds();

struct Refusal
{
    QString message;
    Field focus;
};
// Checks normalised fields in the order the member is told: headline, shop name, telephone, the draw
// number, and for a new coupon that its draw has none yet.
std::optional<Refusal> Validate(Mode mode, const Fields& fields);

// The coupon of a draw as the form shows it; nothing when the draw has none.
std::optional<Fields> Load(qint64 drawNo);

// Writes the coupon (validated fields) with its memo. A new coupon starts with `games` games. For the draw on sale
// the server's copy is inserted or updated as well, within the member's transaction, so that either
// both are written or neither is; other draws never reach the server. Returns the coupon's draw. Throws
// SqlError on any failure.
qint64 Save(Mode mode, const Fields& fields, qint64 games);

} // namespace CouponRegistration
