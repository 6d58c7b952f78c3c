#include "TicketPrint.h"

#include "Backoffice.h"
#include "Busy.h"
#include "PrintSlots.h"
#include "TextExport.h"
#include "TicketLayout.h"

#include <QPainter>

using namespace Qt::StringLiterals;

TicketPrintRun PrintOrderTickets(qint64 orderCode, const TicketStore::Range& range)
{
    BusyGuard busy(u"벨트라복권 프린트 ..."_s);
    std::vector<TicketLayout::Lines> tickets;
    std::vector<qint64> serials;
    for (const qint64 serial : TicketStore::Serials(orderCode, range)) {
        if (const auto content = TicketLayout::ReadTicket(orderCode, serial)) {
            tickets.push_back(TicketLayout::Build(*content));
            serials.push_back(serial);
        }
    }
    PrintJob job;
    job.layout = kTicketSlots;
    job.title = u"벨트라복권"_s;
    job.pdfPrefix = u"벨트라복권_"_s;
    job.jobPerPage = true;
    const int count = int(tickets.size());
    const PrintOutcome outcome = PrintSlots(job, count, [&](QPainter& painter, const QRect&, int item) {
        BusyGuard::progress(int((item + 1) * 100 / count));
        DrawOrderTicket(painter, tickets[size_t(item)]);
    });
    return TicketPrintRun::of(outcome, serials);
}

QString PrintFailureText(const TicketPrintRun& run)
{
    return PrintFailureText(
        run,
        u"프린트하지 못한 복권(일련번호): "_s,
        u"[복권 프린트]에서 이 일련번호만 다시 프린트하여 주십시오."_s,
        [](qint64 serial) { return QString::number(serial); },
        [](qint64 a, qint64 b) { return b == a + 1; });
}

namespace TicketPrintPlan {

QString MaxLabel(qint64 highest) { return u"(최대번호: "_s + Grouped(highest) + u')'; }

QString TicketsLabel(qint64 tickets) { return u"선택한 복권수: "_s + Grouped(tickets) + u"(개)"_s; }

} // namespace TicketPrintPlan
