#include "PrintPreview.h"

#include "PageImages.h"
#include "PreviewPages.h"
#include "WhenShown.h"

#include <QApplication>
#include <QPainter>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Each item a black bar whose length tells its place on the page, so that pages tell apart.
SlotPages Bars(int items)
{
    SlotPages pages;
    pages.job.layout = kCouponSlots;
    pages.job.title = u"복권쿠폰"_s;
    pages.items = items;
    pages.paintSlot = [](QPainter& painter, const QRect&, int item) {
        painter.fillRect(QRect(0, 0, 500 * (item % 6 + 1), 600), Qt::black);
    };
    return pages;
}

} // namespace

TEST(PrintPreview, ShowsThePagesAsPrintedAndAnswersByKeyboardAsByButton)
{
    TestPrinters printers(u"사무실 프린터"_s);
    const SlotPages pages = Bars(7);
    QList<QImage> shown;
    int pageShown = 0;
    WhenShown<PrintPreview>([&](PrintPreview* preview) {
        EXPECT_EQ(preview->objectName(), u"frmPreview1"_s);
        EXPECT_EQ(preview->accessibleName(), u"인쇄 미리보기"_s);
        for (const QPushButton* button : preview->findChildren<QPushButton*>())
            EXPECT_FALSE(button->accessibleName().isEmpty()) << button->objectName().toStdString();
        shown = ShownPages(*preview);
        QApplication::setActiveWindow(preview);
        QTest::keyClick(preview, Qt::Key_PageDown);
        pageShown = preview->currentPage();
        QTest::keyClick(preview, Qt::Key_Escape);
        EXPECT_FALSE(preview->isVisible()) << "Esc did not close the preview";
    });
    EXPECT_FALSE(PrintPreview::Confirm(pages, nullptr));
    EXPECT_EQ(pageShown, 2);
    EXPECT_EQ(printers.pagesPrinted, 0); // the preview itself never prints

    // What it showed is what the printer gets, page for page.
    pages.print();
    ASSERT_EQ(shown.size(), 2);
    ASSERT_EQ(printers.lastPages.size(), 2);
    for (int page = 0; page < 2; ++page)
        EXPECT_LE(DarkDifference(shown[page], printers.lastPages[page]), kSamePageDots) << page;
    EXPECT_GT(DarkDifference(shown[0], printers.lastPages[1]), 10 * kSamePageDots);

    WhenShown<PrintPreview>([](PrintPreview* preview) {
        QApplication::setActiveWindow(preview);
        QTest::keyClick(preview, Qt::Key_P, Qt::ControlModifier);
        EXPECT_FALSE(preview->isVisible()) << "Ctrl+P did not answer the preview";
    });
    EXPECT_TRUE(PrintPreview::Confirm(pages, nullptr));
    EXPECT_FALSE(PrintPreview::Confirm(Bars(0), nullptr)); // nothing to print shows nothing
}
