#pragma once

#include "CouponStore.h"
#include "PrintSlots.h"

#include <vector>

using CouponPrintRun = KeyedPrint<CouponStore::CouponKey>;
// Coupons read and laid out, six to an A4 page, each page a job of its own: what the preview shows and
// the printer gets. A page the printer does not take is passed over and its coupons named in the result.
// To a PDF in DATA where the desktop has no printer. A coupon whose draw has lost its Bok2 row leaves its
// slot blank.
using CouponPages = KeyedPages<CouponStore::CouponKey>;

// Coupons already issued, as they were: the same games, numbers and serials. A page that never came out
// of the printer can be had again without numbering new coupons.
CouponPages ReadCouponPages(const std::vector<CouponStore::CouponKey>& coupons);
// The coupons a planned issue run will make, with the numbers and serials they will carry once numbered.
CouponPages PlannedCouponPages(const CouponStore::PlannedIssue& plan);

// What went wrong, and which coupons to print again with [다시 인쇄].
QString PrintFailureText(const CouponPrintRun& run);
