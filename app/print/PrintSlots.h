#pragma once

#include "PageComposer.h"
#include "PrintJob.h"
#include "PrintOutcome.h"

// Prints itemCount items, six to a page, on the default printer, or into one PDF file in DATA where
// there is none (that file is then opened). Nothing to print sends nothing and writes no file. Exceptions
// of the slot painter pass through; a PDF begun by then is not kept.
PrintOutcome PrintSlots(const PrintJob& job, int itemCount, const PageComposer::SlotPainter& paintSlot);
