#pragma once

#include "PrintSlots.h"
#include "TicketStore.h"

#include <QString>

// The ticket serials that did not come out are the run's missed keys.
using TicketPrintRun = KeyedPrint<qint64>;

// An order's tickets of a range read and laid out, six to an A4 sheet at the tickets' pitch, each page a
// job of its own: what the preview shows and the printer gets. Serials beyond the last and tickets
// without games take no slot. A page the printer does not take is passed over and its tickets named in
// the result; to a PDF in DATA where the desktop has no printer. Nothing in the order changes.
using TicketPages = KeyedPages<qint64>;
TicketPages ReadOrderTickets(qint64 orderCode, const TicketStore::Range& range);
// What went wrong, and which serials to print again.
QString PrintFailureText(const TicketPrintRun& run);

// The print form's texts.
namespace TicketPrintPlan {
// "(최대번호: 1,234)"
QString MaxLabel(qint64 highest);
// "선택한 복권수: 13(개)"
QString TicketsLabel(qint64 tickets);
} // namespace TicketPrintPlan
