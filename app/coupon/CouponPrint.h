#pragma once

#include "CouponStore.h"
#include "PrintSlots.h"

#include <vector>

using CouponPrintRun = KeyedPrint<CouponStore::CouponKey>;

// Prints every coupon of the member's database that is being printed, in coupon number order, six to an
// A4 page, each page a job of its own: a page the printer does not take is passed over and its coupons
// named in the result. To a PDF in DATA where the desktop has no printer. A coupon whose draw has lost its
// Bok2 row leaves its slot blank. Shows no message.
CouponPrintRun PrintIssuedCoupons();

// Prints coupons already issued once more, as they were: the same games, numbers and serials. A page
// that never came out of the printer can be had again without numbering new coupons.
CouponPrintRun PrintCoupons(const std::vector<CouponStore::CouponKey>& coupons);

// What went wrong, and which coupons to print again with [다시 인쇄].
QString PrintFailureText(const CouponPrintRun& run);
