#include "CouponLayout.h"

#include "Globals.h"
#include "Query.h"
#include "Tools.h"
#include "WebSite.h"

#include <QDate>
#include <QPainter>

using namespace Qt::StringLiterals;

namespace CouponLayout {

namespace {

QString rule(QChar c) { return QString(kWidth, c); }

QString digits(qint64 value, int width) { return QString::number(value).rightJustified(width, u'0'); }

} // namespace

QString DrawDateText(qint64 drawNo) { return QDate(2002, 12, 7).addDays(7 * (drawNo - 1)).toString(u"yyyy/MM/dd"_s); }

QString DrawLine(qint64 drawNo)
{
    return u"[업소복권] "_s + QString::number(drawNo).rightJustified(4, u' ') + u"회 추첨일:"_s + DrawDateText(drawNo);
}

QString Serial(const QString& userId, const QStringList& games, qint64 drawNo, qint64 couponNo)
{
    const int sum = NumberSum(games);
    return userId.toUpper() + u'-' + digits(sum, 4) + u'-' + digits(drawNo, 4) + u'-' + digits(couponNo, 6);
}

std::array<QString, 2> PrizeNotice(const Content& content)
{
    if (content.headline == u"업소"_s)
        return {u"-당첨시 경품은 발행업소에서 전액 지"_s, u" 급하며 벨트라닷컴과는 무관합니다."_s};
    const bool shopPaysLowRanks = !content.prizes[3].isEmpty() || !content.prizes[4].isEmpty();
    return {u"-당첨시 1,2,3등의 경품은 벨트라닷컴에"_s,
            shopPaysLowRanks ? u" 서 지급하며 4,5등은 업소에서 지급."_s : u" 서 지급합니다. 인터넷 신청 접수함."_s};
}

Lines Build(const Content& content)
{
    Lines lines;
    lines[0] = {content.shop, 15, true};
    lines[2].text = CenterText(content.headline, kWidth);
    lines[3].text = CenterText(u"전화 "_s + content.phone, kWidth);
    lines[4].text = DrawLine(content.drawNo);
    lines[5].text = rule(u'=');

    // From here on the lines close up: a coupon with fewer games or prizes leaves its gap above the
    // last line, which stays at the bottom.
    int at = 6;
    auto put = [&](const QString& text, int size = 9, bool bold = false) { lines[size_t(at++)] = {text, size, bold}; };
    if (content.couponNo != 0) {
        for (int k = 0; k < content.games.size() && k < 5; ++k) {
            if (!content.games[k].isEmpty())
                put(GameLine(k + 1, content.games[k]), 10, true);
        }
    }
    put(rule(u'='));
    for (int k = 0; k < 5; ++k) {
        if (!content.prizes[size_t(k)].isEmpty())
            put(u'[' + QString::number(k + 1) + u"등] "_s + content.prizes[size_t(k)]);
    }
    put(rule(u'-'));
    put(content.text1);
    put(content.text2);
    put(rule(u'-'));
    put(u"-추첨일 SBS방송의 로또복권 추첨결과"_s);
    put(u" 에 따라 행운을 드립니다."_s);
    const auto notice = PrizeNotice(content);
    put(notice[0]);
    put(notice[1]);
    put(rule(u'-'));
    put(content.couponNo != 0
            ? CenterText(Serial(content.userId, content.games, content.drawNo, content.couponNo), kWidth)
            : QString());
    put(rule(u'-'));
    put(u"본 복권은 벨트라닷컴의 공개소프트웨어"_s);
    put(u"로 제작되었으며 무료로 배포됩니다."_s);
    put(CenterText(content.webAddress, kWidth));
    lines[kLines - 1].text = u"##복권에 직인이 없으면 무효입니다##"_s;
    return lines;
}

std::optional<Content> ReadCoupon(qint64 drawNo, qint64 couponNo)
{
    Query coupon(gUserConn, u"SELECT * FROM Bok2 WHERE BokNo = ?"_s);
    coupon.run({drawNo});
    if (!coupon.next())
        return std::nullopt;
    Content content;
    content.drawNo = drawNo;
    content.couponNo = couponNo;
    content.shop = coupon.text(u"Comp1"_s);
    content.headline = coupon.text(u"Title1"_s);
    content.phone = coupon.text(u"Title2"_s);
    for (int k = 0; k < 5; ++k)
        content.prizes[size_t(k)] = coupon.text(u"No"_s + QString::number(k + 1) + u"Text"_s);
    content.text1 = coupon.text(u"Text1"_s);
    content.text2 = coupon.text(u"Text2"_s);
    content.userId = gUserID;
    content.webAddress = u"http://"_s + WebSite::hostName();
    if (couponNo != 0) {
        Query games(gUserConn, u"SELECT No1 FROM List2 WHERE BokNo = ? AND SNo1 = ? ORDER BY SNo2"_s);
        games.run({drawNo, couponNo});
        while (games.next() && content.games.size() < 5)
            content.games.append(games.text(u"No1"_s));
    }
    return content;
}

} // namespace CouponLayout

void DrawCoupon(QPainter& painter, const CouponLayout::Lines& lines)
{
    using namespace CouponLayout;
    // Text keeps to its 35 columns, clear of the outline's right edge; the notices of 37 bytes are set a
    // little narrower to stay there.
    PaintLines(painter, lines, {kLeftColumn * kColumnTwips, kLineTwips, kWidth * kColumnTwips});
    painter.save();
    painter.setPen(QPen(Qt::black, kOutlinePenTwips));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(QPointF(kOutline.left(), kOutline.top()), QPointF(kOutline.right(), kOutline.bottom())));
    painter.restore();
}
