#include "PreviewPages.h"

#include "PrintPreview.h"
#include "WhenShown.h"

#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPushButton>

#include <algorithm>

using namespace Qt::StringLiterals;

QList<QImage> ShownPages(const PrintPreview& preview)
{
    QList<QImage> pages;
    auto* view = preview.view()->findChild<QGraphicsView*>();
    if (!view || !view->scene())
        return pages;
    QList<QGraphicsItem*> items = view->scene()->items();
    std::sort(items.begin(), items.end(), [](QGraphicsItem* a, QGraphicsItem* b) {
        return a->pos().y() != b->pos().y() ? a->pos().y() < b->pos().y() : a->pos().x() < b->pos().x();
    });
    for (QGraphicsItem* item : items) {
        // A page's item is its sheet with a border of shadow all round.
        const QRectF bounds = item->boundingRect();
        const double border = -bounds.left();
        const QRectF sheet(item->pos(), bounds.size() - QSizeF(2 * border, 2 * border));
        QImage image(sheet.size().toSize(), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        view->scene()->render(&painter, QRectF(QPointF(0, 0), sheet.size()), sheet);
        painter.end();
        pages.append(image);
    }
    return pages;
}

int DarkDifference(const QImage& a, const QImage& b)
{
    const int width = std::min(a.width(), b.width());
    const int height = std::min(a.height(), b.height());
    int differ = 0;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if ((qGray(a.pixel(x, y)) < 128) != (qGray(b.pixel(x, y)) < 128))
                ++differ;
        }
    }
    return differ;
}

void WhenPreviewed(PreviewAnswer answer, QList<QImage>* shown)
{
    WhenShown<PrintPreview>([answer, shown](PrintPreview* preview) {
        if (shown)
            *shown = ShownPages(*preview);
        // Through the buttons the person presses.
        preview->findChild<QPushButton*>(answer == PreviewAnswer::Print ? u"cmdPrint1"_s : u"cmdClose1"_s)->click();
    });
}
