#pragma once

#include "PrintedLines.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class QPainter;

// A shop coupon as it is printed: 32 lines of text in a fixed-pitch grid inside an outline, 3500 by 7750
// twips. The lines are plain data so that the preview, the printed page and the tests all see the same
// coupon; DrawCoupon only paints them.
namespace CouponLayout {

inline constexpr int kLines = 32;
inline constexpr int kWidth = 35; // bytes of CP949 across a coupon
inline constexpr int kColumnTwips = 90;
inline constexpr int kLineTwips = 230;
inline constexpr int kLeftColumn = 2;
// The outline, from (8, 10) to (3500, 7750).
inline constexpr QRect kOutline {QPoint(8, 10), QPoint(3500, 7750)};
inline constexpr int kOutlinePenTwips = 30;

using Line = PrintedLine;
// Index 0 is line 1.
using Lines = std::array<Line, kLines>;

// What one coupon shows: its Bok2 row, the games of one coupon number (none for a bare preview), and
// who issued it.
struct Content
{
    qint64 drawNo = 0;
    qint64 couponNo = 0; // 0: no games, no serial
    QString shop; // Comp1
    QString headline; // Title1
    QString phone; // Title2
    std::array<QString, 5> prizes; // No1Text … No5Text, empty = rank not offered
    QString text1, text2;
    QStringList games; // 12-digit texts in the order of their positions, at most five
    QString userId;
    QString webAddress;
};

using ::CenterText;
using ::GameLine;
// "2003/01/18" for draw 7: draw 1 was on 2002-12-07, one a week since.
QString DrawDateText(qint64 drawNo);
// "[업소복권]    7회 추첨일:2003/01/18"
QString DrawLine(qint64 drawNo);
// Member ID in upper case, the sum of every number of the games, the draw and the coupon number:
// "SHOP7-0412-0057-000031".
QString Serial(const QString& userId, const QStringList& games, qint64 drawNo, qint64 couponNo);
// A coupon whose own headline is "업소" is paid by the shop alone; every other coupon names the
// service for ranks 1 to 3.
std::array<QString, 2> PrizeNotice(const Content& content);

Lines Build(const Content& content);

// The coupon of a draw from the member's database, with the games of one coupon number (0: none);
// nothing when the draw has no coupon. The serial is made for gUserID.
std::optional<Content> ReadCoupon(qint64 drawNo, qint64 couponNo);

} // namespace CouponLayout

// Paints a coupon's lines and outline; the painter works in twips with the origin at the coupon's corner.
void DrawCoupon(QPainter& painter, const CouponLayout::Lines& lines);
