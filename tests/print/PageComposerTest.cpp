#include "PageComposer.h"

#include "PageImages.h"
#include "PrintFont.h"
#include "SlotLayout.h"

#include <QFontMetricsF>
#include <QHash>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Saturated and apart from one another, so that neither text nor another slot can pass for a slot's outline.
QRgb SlotColour(int item) { return QColor::fromHsv(item * 27 % 360, 255, 220).rgb(); }

// Each slot draws its outline in its own colour and its item number in black in the middle.
void OutlineSlot(QPainter& painter, const QRect& slot, int item)
{
    painter.setRenderHint(QPainter::TextAntialiasing, false);
    painter.setPen(QPen(QColor(SlotColour(item)), 0));
    painter.drawRect(0, 0, slot.width() - 1, slot.height() - 1);
    painter.setFont(PrintFont(20, true));
    painter.setPen(Qt::black);
    painter.drawText(QRect(QPoint(0, 0), slot.size()), Qt::AlignCenter, QString::number(item));
}

// Where each colour lies on the image: the bounding box of its pixels.
QHash<QRgb, QRect> ColourBoxes(const QImage& image)
{
    QHash<QRgb, QRect> boxes;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb colour = line[x] | 0xff000000u;
            if (colour != 0xffffffffu)
                boxes[colour] |= QRect(x, y, 1, 1);
        }
    }
    return boxes;
}

bool HasInk(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) | 0xff000000u) != 0xffffffffu)
                return true;
    return false;
}

// The slot in pixels of the page images, from its twips.
QRect SlotPixels(const PageImages& pages, const QRect& slot)
{
    return QRect(QPoint(qRound(pages.toPixelsX(slot.left())), qRound(pages.toPixelsY(slot.top()))),
                 QPoint(qRound(pages.toPixelsX(slot.right())), qRound(pages.toPixelsY(slot.bottom()))));
}

// Slots start on whole pixels and a line on a slot's last twip may fall just outside its clip: a pixel
// each way is rounding, anything more is a slot out of place.
void ExpectNear(const QRect& found, const QRect& expected)
{
    EXPECT_NEAR(found.left(), expected.left(), 2) << "left";
    EXPECT_NEAR(found.top(), expected.top(), 2) << "top";
    EXPECT_NEAR(found.right(), expected.right(), 2) << "right";
    EXPECT_NEAR(found.bottom(), expected.bottom(), 2) << "bottom";
}

struct Resolution
{
    int dpiX;
    int dpiY;
    SlotLayout layout;
};

class SlotOutlines : public ::testing::TestWithParam<Resolution>
{
};

} // namespace

TEST(SlotLayout, BothLayoutsKeepTheirSlotsOnTheA4PageApartFromEachOther)
{
    for (const SlotLayout& layout : {kCouponSlots, kTicketSlots}) {
        const QRect page(QPoint(0, 0), kA4Twips);
        for (int i = 0; i < kSlotsPerPage; ++i) {
            EXPECT_TRUE(page.contains(layout.rect(i))) << i;
            for (int j = i + 1; j < kSlotsPerPage; ++j)
                EXPECT_FALSE(layout.rect(i).intersects(layout.rect(j))) << i << " " << j;
        }
    }
    // A coupon (3500 by 7750) and a ticket (37 columns of 90, 29 lines of 260 and the last line's height)
    // fit their slots.
    EXPECT_TRUE(QRect(0, 0, kCouponSlots.slot.width(), kCouponSlots.slot.height()).contains(QRect(8, 10, 3493, 7741)));
    EXPECT_GE(kTicketSlots.slot.width(), 37 * 90);
    EXPECT_GE(kTicketSlots.slot.height(), 30 * 260);
}

TEST(SlotLayout, SheetsForARunOfItems)
{
    EXPECT_EQ(PagesFor(0), 0);
    EXPECT_EQ(PagesFor(-3), 0);
    EXPECT_EQ(PagesFor(1), 1);
    EXPECT_EQ(PagesFor(6), 1);
    EXPECT_EQ(PagesFor(7), 2);
    EXPECT_EQ(PagesFor(12), 2);
    EXPECT_EQ(PagesFor(13), 3);
}

TEST(PrintFont, NinePointsMakeColumnsOf90TwipsAndHangulTakesTwo)
{
    // The layouts count columns of 90 twips in CP949 bytes; another font would run lines off the slot.
    QImage twips(1, 1, QImage::Format_RGB32);
    twips.setDotsPerMeterX(qRound(kTwipsPerInch / 0.0254));
    twips.setDotsPerMeterY(qRound(kTwipsPerInch / 0.0254));
    for (const bool bold : {false, true}) {
        const QFontMetricsF metrics(PrintFont(9, bold), &twips);
        EXPECT_NEAR(metrics.horizontalAdvance(u"[업소복권]    7회 추첨일:2003/01/18"_s), 35 * 90, 1.0) << bold;
        EXPECT_NEAR(metrics.horizontalAdvance(u"0"_s), 90, 0.5) << bold;
    }
    EXPECT_NEAR(QFontMetricsF(PrintFont(10, true), &twips).horizontalAdvance(u"[게임1]"_s), 7 * 100, 1.0);
}

TEST_P(SlotOutlines, SixOutlinesLieWhereTheirSlotsAreAtTheDevicesResolution)
{
    const Resolution resolution = GetParam();
    PageImages pages(resolution.dpiX, resolution.dpiY);
    const PrintOutcome outcome = PageComposer(resolution.layout).run(pages, 6, OutlineSlot);

    ASSERT_EQ(pages.pages.size(), 1);
    EXPECT_EQ(outcome.pages, 1);
    const QImage& page = pages.pages.first();
    const QHash<QRgb, QRect> boxes = ColourBoxes(page);
    for (int item = 0; item < 6; ++item) {
        SCOPED_TRACE(item);
        ASSERT_TRUE(boxes.contains(SlotColour(item)));
        const QRect slot = SlotPixels(pages, resolution.layout.rect(item));
        ExpectNear(boxes.value(SlotColour(item)), slot);
        EXPECT_TRUE(
            HasInk(page, slot.adjusted(slot.width() / 4, slot.height() / 4, -slot.width() / 4, -slot.height() / 4)))
            << "the item number in the middle";
    }
}

INSTANTIATE_TEST_SUITE_P(PageComposer,
                         SlotOutlines,
                         ::testing::Values(Resolution {96, 96, kCouponSlots},
                                           Resolution {150, 75, kCouponSlots},
                                           Resolution {300, 300, kTicketSlots}));

TEST(PageComposer, NothingASlotPaintsReachesBeyondIt)
{
    PageImages pages(96, 96);
    PageComposer(kTicketSlots).run(pages, 6, [](QPainter& painter, const QRect&, int item) {
        painter.fillRect(QRect(-20000, -20000, 40000, 40000), QColor(SlotColour(item)));
    });

    ASSERT_EQ(pages.pages.size(), 1);
    const QHash<QRgb, QRect> boxes = ColourBoxes(pages.pages.first());
    for (int item = 0; item < 6; ++item)
        ExpectNear(boxes.value(SlotColour(item)), SlotPixels(pages, kTicketSlots.rect(item)));
}

TEST(PageComposer, ItemsFillPagesInOrderAndTheLastPageOnlyFromItsFirstSlot)
{
    for (const int items : {7, 13}) {
        SCOPED_TRACE(items);
        PageImages pages(48, 48);
        QList<int> painted;
        const PrintOutcome outcome
            = PageComposer(kCouponSlots).run(pages, items, [&](QPainter& p, const QRect& slot, int item) {
                  painted.append(item);
                  OutlineSlot(p, slot, item);
              });

        EXPECT_TRUE(pages.finished);
        EXPECT_EQ(outcome.pages, PagesFor(items));
        ASSERT_EQ(pages.pages.size(), PagesFor(items));
        QList<int> expected;
        for (int i = 0; i < items; ++i)
            expected.append(i);
        EXPECT_EQ(painted, expected);

        // The last page holds one item, top left, and the other five slots stay white.
        const QImage& last = pages.pages.last();
        const QHash<QRgb, QRect> boxes = ColourBoxes(last);
        ExpectNear(boxes.value(SlotColour(items - 1)), SlotPixels(pages, kCouponSlots.rect(0)));
        for (int position = 1; position < kSlotsPerPage; ++position)
            EXPECT_FALSE(HasInk(last, SlotPixels(pages, kCouponSlots.rect(position)))) << position;
        // The page before it is full: its sixth slot holds the item before the last page's.
        const QHash<QRgb, QRect> before = ColourBoxes(pages.pages.at(pages.pages.size() - 2));
        ExpectNear(before.value(SlotColour(items - 2)), SlotPixels(pages, kCouponSlots.rect(5)));
    }
}

TEST(PageComposer, AnOutputThatCannotBeOpenedEndsTheRunBeforeAnythingIsPainted)
{
    PageImages pages(48, 48, u"사무실"_s);
    pages.refuse = true;
    int painted = 0;
    const PrintOutcome outcome
        = PageComposer(kCouponSlots).run(pages, 7, [&](QPainter&, const QRect&, int) { ++painted; });

    EXPECT_EQ(painted, 0);
    EXPECT_FALSE(pages.finished);
    EXPECT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.pages, 0);
    EXPECT_EQ(outcome.missedItems.size(), 7); // one job: nothing of it came out
}

TEST(PageComposer, WherePagesAreJobsOfTheirOwnAFailedPageIsPassedOverAndItsItemsNamed)
{
    PageImages pages(48, 48, u"사무실"_s);
    pages.standAlone = true;
    pages.refusePages = {1};
    QList<int> painted;
    const PrintOutcome outcome
        = PageComposer(kCouponSlots).run(pages, 14, [&](QPainter&, const QRect&, int item) { painted.append(item); });

    EXPECT_FALSE(outcome.ok());
    EXPECT_TRUE(pages.finished);
    EXPECT_EQ(outcome.pages, 2);
    EXPECT_EQ(painted, (QList<int> {0, 1, 2, 3, 4, 5, 12, 13}));
    EXPECT_EQ(outcome.missedItems, (QList<int> {6, 7, 8, 9, 10, 11}));
}
