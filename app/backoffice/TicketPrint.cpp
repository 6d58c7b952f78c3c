#include "TicketPrint.h"

#include "Backoffice.h"
#include "Busy.h"
#include "PrintSlots.h"
#include "TextExport.h"
#include "TicketLayout.h"

#include <QPainter>

using namespace Qt::StringLiterals;

PrintOutcome PrintOrderTickets(qint64 orderCode, const TicketStore::Range& range)
{
    BusyGuard busy(u"벨트라복권 프린트 ..."_s);
    std::vector<TicketLayout::Lines> tickets;
    for (const qint64 serial : TicketStore::Serials(orderCode, range)) {
        if (const auto content = TicketLayout::ReadTicket(orderCode, serial))
            tickets.push_back(TicketLayout::Build(*content));
    }
    PrintJob job;
    job.layout = kTicketSlots;
    job.title = u"벨트라복권"_s;
    job.pdfPrefix = u"벨트라복권_"_s;
    job.jobPerPage = true;
    const int count = int(tickets.size());
    return PrintSlots(job, count, [&](QPainter& painter, const QRect&, int item) {
        BusyGuard::progress(int((item + 1) * 100 / count));
        DrawOrderTicket(painter, tickets[size_t(item)]);
    });
}

namespace TicketPrintPlan {

QString MaxLabel(qint64 highest) { return u"(최대번호: "_s + Grouped(highest) + u')'; }

QString TicketsLabel(qint64 tickets)
{
    return u"선택한 복권수: "_s + Grouped(tickets) + u"(개)"_s;
}

} // namespace TicketPrintPlan
