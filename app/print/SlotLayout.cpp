#include "SlotLayout.h"

QRect SlotLayout::rect(int position) const
{
    const int column = position % 3;
    const int row = position / 3;
    return {QPoint(column * pitch.width(), row * pitch.height()), slot};
}

int PagesFor(int items) { return items <= 0 ? 0 : (items + kSlotsPerPage - 1) / kSlotsPerPage; }
