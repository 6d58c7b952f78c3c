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
    for (int page = 0; page < pages; ++page) {
        QPainter* painter = output.beginPage();
        if (!painter)
            return output.outcome();
        paintPage(*painter, page, itemCount, paintSlot);
        output.endPage();
    }
    output.finish();
    return output.outcome();
}
