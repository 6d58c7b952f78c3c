#pragma once

#include "PrintOutcome.h"
#include "SlotLayout.h"

#include <QRect>

#include <functional>

class PageOutput;
class QPainter;

// Lays items out six to a page. The caller paints one slot at a time, in twips with the origin at the
// slot's top-left corner, clipped to the slot; the composer maps twips onto the device at its own
// resolution, the same length on every axis and every device.
class PageComposer
{
public:
    // slotTwips is the slot's place on the page; item counts from 0 across the whole run.
    using SlotPainter = std::function<void(QPainter& painter, const QRect& slotTwips, int item)>;

    explicit PageComposer(const SlotLayout& layout);

    // Paints page `page` (from 0) of a run of itemCount items; the painter's origin is the page's corner.
    void paintPage(QPainter& painter, int page, int itemCount, const SlotPainter& paintSlot) const;
    // Sends a run of itemCount items to the output and finishes it. Where pages stand alone, a page that
    // fails is passed over and the run goes on; the outcome names the items that did not come out. An
    // exception from the slot painter leaves here untouched; the output, dropped unfinished, keeps nothing.
    PrintOutcome run(PageOutput& output, int itemCount, const SlotPainter& paintSlot) const;

private:
    SlotLayout m_layout;
};
