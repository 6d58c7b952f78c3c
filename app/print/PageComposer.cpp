#include "PageComposer.h"

#include "PageOutput.h"

#include <QPaintDevice>
#include <QPainter>

#include <algorithm>
#include <cmath>

PageComposer::PageComposer(const SlotLayout& layout)
    : m_layout(layout)
{
}

void PageComposer::paintPage(QPainter& painter, int page, int itemCount, const SlotPainter& paintSlot) const
{
    const QPaintDevice* device = painter.device();
    const int first = page * kSlotsPerPage;
    const int last = std::min(itemCount, first + kSlotsPerPage);

    const double scaleX = device->logicalDpiX() / double(kTwipsPerInch);
    const double scaleY = device->logicalDpiY() / double(kTwipsPerInch);
    const QTransform onPage = painter.worldTransform();
    for (int item = first; item < last; ++item) {
        const QRect slot = m_layout.rect(item - first);
        // Each slot starts on a whole device pixel, so that every slot of a page comes out the same, dot
        // for dot, and a line on a slot's edge is not cut by its own clip.
        const QTransform toDevice = QTransform::fromScale(scaleX, scaleY)
            * QTransform::fromTranslate(std::round(slot.left() * scaleX), std::round(slot.top() * scaleY)) * onPage;
        painter.save();
        painter.setWorldTransform(toDevice);
        painter.setClipRect(QRect(QPoint(0, 0), slot.size()), Qt::IntersectClip);
        paintSlot(painter, slot, item);
        painter.restore();
    }
}

PrintOutcome PageComposer::run(PageOutput& output, int itemCount, const SlotPainter& paintSlot) const
{
    const int pages = PagesFor(itemCount);
    QList<int> missedPages;
    bool stopped = false;
    for (int page = 0; page < pages && !stopped; ++page) {
        QPainter* painter = output.beginPage();
        if (!painter) {
            missedPages.append(page);
            stopped = !output.pagesStandAlone();
            continue;
        }
        paintPage(*painter, page, itemCount, paintSlot);
        if (!output.endPage())
            missedPages.append(page);
    }
    if (!stopped)
        output.finish();
    PrintOutcome outcome = output.outcome();
    if (outcome.ok())
        return outcome;
    // Pages that stand alone went out but for those that failed; otherwise nothing of the run is kept.
    for (int item = 0; item < itemCount; ++item) {
        if (!output.pagesStandAlone() || missedPages.contains(item / kSlotsPerPage))
            outcome.missedItems.append(item);
    }
    return outcome;
}
