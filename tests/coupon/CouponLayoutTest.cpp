#include "CouponLayout.h"

#include "Tools.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace CouponLayout;

namespace {

Content FullCoupon()
{
    Content c;
    c.drawNo = 57;
    c.couponNo = 31;
    c.shop = u"행운복권방"_s;
    c.headline = u"이번주 행운의 주인공은 바로 당신!"_s;
    c.phone = u"010-1234-5678"_s;
    c.prizes = {u"자전거"_s, u"상품권 5만원"_s, u"상품권 1만원"_s, u"음료수"_s, u"껌"_s};
    c.text1 = u"매주 토요일 추첨"_s;
    c.text2 = u"많이 찾아 주세요"_s;
    c.games = {u"031119243845"_s, u"010203040506"_s, u"101112131415"_s, u"404142434445"_s, u"071421283542"_s};
    c.userId = u"shop7"_s;
    c.webAddress = u"http://www.suriball.example"_s;
    return c;
}

int Blanks(const QString& text)
{
    int n = 0;
    while (n < text.size() && text[n] == u' ')
        ++n;
    return n;
}

} // namespace

TEST(CouponText, CenteringCountsBytesAndRoundsHalvesToEven)
{
    EXPECT_EQ(Blanks(CenterText(QString(35, u'x'), 35)), 0);
    // "전화 " and the number are 18 bytes: 17 spare, 8.5 blanks round to 8.
    EXPECT_EQ(Blanks(CenterText(u"전화 010-1234-5678"_s, 35)), 8);
    // 20 bytes: 15 spare, 7.5 rounds to 8.
    EXPECT_EQ(Blanks(CenterText(u"가나다라마바사아자차"_s, 35)), 8);
    EXPECT_EQ(Blanks(CenterText(u"abcd"_s, 35)), 16);
    // Too long for the width: left as it is, never cut.
    EXPECT_EQ(CenterText(QString(40, u'x'), 35), QString(40, u'x'));
}

TEST(CouponText, DrawLineDateAndSerial)
{
    EXPECT_EQ(DrawLine(7), u"[업소복권]    7회 추첨일:2003/01/18"_s);
    EXPECT_EQ(DrawDateText(57), u"2004/01/03"_s);
    EXPECT_EQ(DrawLine(1201), u"[업소복권] 1201회 추첨일:2025/12/06"_s);
    EXPECT_EQ(GameLine(1, u"031119243845"_s), u"[게임1]  03 11 19 24 38 45"_s);
    // 3+11+19+24+38+45 = 140, and 1+…+6 = 21, and so on.
    const QStringList games {u"031119243845"_s, u"010203040506"_s, u"404142434445"_s};
    EXPECT_EQ(Serial(u"shop7"_s, games, 57, 31), u"SHOP7-0416-0057-000031"_s);
    EXPECT_EQ(Serial(u"shop7"_s, {}, 7, 1), u"SHOP7-0000-0007-000001"_s);
}

TEST(CouponText, PrizeNoticeFollowsTheCouponsOwnHeadline)
{
    Content c;
    EXPECT_EQ(PrizeNotice(c)[1], u" 서 지급합니다. 인터넷 신청 접수함."_s);
    c.prizes[3] = u"음료수"_s;
    EXPECT_EQ(PrizeNotice(c)[0], u"-당첨시 1,2,3등의 경품은 벨트라닷컴에"_s);
    EXPECT_EQ(PrizeNotice(c)[1], u" 서 지급하며 4,5등은 업소에서 지급."_s);
    c.headline = u"업소"_s;
    EXPECT_EQ(PrizeNotice(c)[0], u"-당첨시 경품은 발행업소에서 전액 지"_s);
    EXPECT_EQ(PrizeNotice(c)[1], u" 급하며 벨트라닷컴과는 무관합니다."_s);
}

TEST(CouponLines, AFullCouponFillsEveryLine)
{
    const Lines lines = Build(FullCoupon());
    EXPECT_EQ(lines[0].size, 15);
    EXPECT_TRUE(lines[0].bold);
    EXPECT_EQ(lines[3].text, QString(8, u' ') + u"전화 010-1234-5678"_s);
    EXPECT_EQ(lines[4].text, u"[업소복권]   57회 추첨일:2004/01/03"_s);
    for (int k = 7; k <= 11; ++k) {
        EXPECT_TRUE(lines[k - 1].text.startsWith(u"[게임"_s + QString::number(k - 6) + u']')) << k;
        EXPECT_EQ(lines[k - 1].size, 10);
        EXPECT_TRUE(lines[k - 1].bold);
    }
    EXPECT_EQ(lines[11].text, QString(35, u'='));
    EXPECT_EQ(lines[12].text, u"[1등] 자전거"_s);
    EXPECT_EQ(lines[16].text, u"[5등] 껌"_s);
    EXPECT_EQ(lines[23].text, u"-당첨시 1,2,3등의 경품은 벨트라닷컴에"_s);
    EXPECT_EQ(lines[26].text.trimmed(), u"SHOP7-0638-0057-000031"_s);
    EXPECT_EQ(lines[30].text.trimmed(), u"http://www.suriball.example"_s);
    EXPECT_EQ(lines[31].text, u"##복권에 직인이 없으면 무효입니다##"_s);
    // The printed grid is 35 bytes wide; nothing made from the coupon's fields spills over. (Two of the
    // service's fixed notices are 37 bytes and end just past the outline, still inside the slot.)
    for (int k = 2; k < kLines; ++k)
        if (!lines[size_t(k)].text.contains(u"벨트라닷컴"_s))
            EXPECT_LE(ByteLen(lines[size_t(k)].text), 35) << k + 1 << ": " << lines[size_t(k)].text.toStdString();
}

TEST(CouponLines, FewerGamesAndPrizesMoveTheLinesUp)
{
    Content c = FullCoupon();
    c.games = {u"031119243845"_s, u"010203040506"_s};
    c.prizes = {u""_s, u""_s, u""_s, u"음료수"_s, u""_s};
    const Lines lines = Build(c);
    EXPECT_EQ(lines[8].text, QString(35, u'='));
    EXPECT_EQ(lines[9].text, u"[4등] 음료수"_s);
    EXPECT_EQ(lines[10].text, QString(35, u'-'));
    EXPECT_EQ(lines[17].text, u" 서 지급하며 4,5등은 업소에서 지급."_s);
    EXPECT_EQ(lines[19].text.trimmed(), u"SHOP7-0161-0057-000031"_s);
    EXPECT_EQ(lines[23].text.trimmed(), u"http://www.suriball.example"_s);
    for (int k = 25; k <= 31; ++k)
        EXPECT_TRUE(lines[size_t(k - 1)].text.isEmpty()) << k;
    EXPECT_EQ(lines[31].text, u"##복권에 직인이 없으면 무효입니다##"_s);
}

TEST(CouponLines, ABarePreviewHasNoGamesAndNoSerial)
{
    Content c = FullCoupon();
    c.couponNo = 0;
    const Lines lines = Build(c);
    EXPECT_EQ(lines[6].text, QString(35, u'='));
    EXPECT_EQ(lines[7].text, u"[1등] 자전거"_s);
    // The serial's line stays, empty, between its two dashed rules.
    EXPECT_EQ(lines[20].text, QString(35, u'-'));
    EXPECT_TRUE(lines[21].text.isEmpty());
    EXPECT_EQ(lines[22].text, QString(35, u'-'));
}

namespace {

// A coupon painted at a tenth of a pixel per twip (144 dpi), white paper.
QImage Render(const Lines& lines)
{
    QImage image(380, 800, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(0.1, 0.1);
    DrawCoupon(painter, lines);
    return image;
}

bool Dark(const QImage& image, int x, int y) { return qGray(image.pixel(x, y)) < 128; }

int DarkInRows(const QImage& image, int top, int bottom, int left, int right)
{
    int n = 0;
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x)
            n += Dark(image, x, y);
    }
    return n;
}

} // namespace

TEST(CouponPainting, OutlineAndTextRowsLieWhereTheGridPutsThem)
{
    Content c = FullCoupon();
    c.games = {u"031119243845"_s};
    const Lines lines = Build(c);
    const QImage image = Render(lines);
    // The outline: 30 twips wide around (8, 10)–(3500, 7750), so 3 pixels around each edge.
    for (int y = 50; y < 750; y += 50) {
        EXPECT_TRUE(Dark(image, 350, y)) << y;
        EXPECT_TRUE(Dark(image, 1, y)) << y;
    }
    for (int x = 50; x < 340; x += 50) {
        EXPECT_TRUE(Dark(image, x, 1)) << x;
        EXPECT_TRUE(Dark(image, x, 775)) << x;
    }
    EXPECT_FALSE(Dark(image, 360, 400));
    EXPECT_FALSE(Dark(image, 200, 790));
    // Text of line k lies in the band 230k to 230(k + 1) twips, from 180 twips on; empty lines stay white.
    for (int k = 1; k <= kLines; ++k) {
        const int top = 23 * k + 1, bottom = 23 * (k + 1) - 1;
        const int ink = DarkInRows(image, top, bottom, 17, 345);
        // The shop's name is set larger than a line and reaches into line 2, as it always has.
        if (k == 2)
            continue;
        if (lines[size_t(k - 1)].text.trimmed().isEmpty())
            EXPECT_EQ(ink, 0) << "line " << k;
        else
            EXPECT_GT(ink, 0) << "line " << k;
    }
    // Nothing is written left of the text column.
    EXPECT_EQ(DarkInRows(image, 20, 770, 5, 17), 0);
}
