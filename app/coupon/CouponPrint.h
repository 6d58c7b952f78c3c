#pragma once

#include "CouponStore.h"
#include "PrintOutcome.h"

#include <vector>

// Prints every coupon of the member's database that is being printed, in coupon number order, six to an
// A4 page, each page a job of its own; to a PDF in DATA where the desktop has no printer. A coupon whose
// draw has lost its Bok2 row leaves its slot blank. Shows no message: the outcome says what happened.
PrintOutcome PrintIssuedCoupons();

// Prints coupons already issued once more, as they were: the same games, numbers and serials. A page
// that never came out of the printer can be had again without numbering new coupons.
PrintOutcome PrintCoupons(const std::vector<CouponStore::CouponKey>& coupons);
