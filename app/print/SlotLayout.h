#pragma once

#include <QRect>
#include <QSize>

// Lengths on paper are in twips, 1440 to the inch, as the page layouts were drawn up.
inline constexpr int kTwipsPerInch = 1440;
// A4 portrait, 210 by 297 mm.
inline constexpr QSize kA4Twips {11906, 16838};
inline constexpr int kSlotsPerPage = 6;

// Where the six slots of a page lie: three columns and two rows, filled left to right, then top to bottom,
// starting at the page's top-left corner. The pitch is the step from one slot to the next; the slot can
// be smaller than the pitch, and nothing painted for a slot reaches beyond it.
struct SlotLayout
{
    QSize pitch;
    QSize slot;

    // The slot at a position 0 to 5 of the page, in twips.
    QRect rect(int position) const;
};

// A coupon is 3500 by 7750 twips; its slots tile the page without a gap.
inline constexpr SlotLayout kCouponSlots {{3750, 8060}, {3750, 8060}};
// Tickets step wider and lower than coupons. Their second row starts at 8500 twips, so its slots are cut
// to 8100 twips to stay on the page; a ticket's last line ends well above that.
inline constexpr SlotLayout kTicketSlots {{3900, 8500}, {3900, 8100}};

// Pages for a run of items, six to a page, the last page partly filled.
int PagesFor(int items);
