#pragma once

#include "PrintOutcome.h"
#include "TicketStore.h"

#include <QString>

// Prints an order's tickets of a range, six to an A4 sheet at the tickets' pitch, each page a job of
// its own; to a PDF in DATA where the desktop has no printer. Every ticket is read before the first page
// starts. Shows no message: the outcome says what happened. Nothing in the order changes.
PrintOutcome PrintOrderTickets(qint64 orderCode, const TicketStore::Range& range);

// The print form's texts.
namespace TicketPrintPlan {
// "(최대번호: 1,234)"
QString MaxLabel(qint64 highest);
// "선택한 복권수: 13(개)"
QString TicketsLabel(qint64 tickets);
} // namespace TicketPrintPlan
