#pragma once

#include "PrintOutcome.h"

// Prints every coupon of the member's database that is being printed, in coupon number order, six to an
// A4 page, each page a job of its own; to a PDF in DATA where the desktop has no printer. A coupon whose
// draw has lost its Bok2 row leaves its slot blank. Shows no message: the outcome says what happened.
PrintOutcome PrintIssuedCoupons();
