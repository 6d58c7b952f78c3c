#include "TicketPrint.h"

#include "Backoffice.h"
#include "Busy.h"
#include "PrintSlots.h"
#include "TextExport.h"
#include "TicketLayout.h"

#include <QPainter>

#include <memory>

using namespace Qt::StringLiterals;

TicketPages ReadOrderTickets(qint64 orderCode, const TicketStore::Range& range)
{
    TicketPages pages;
    pages.pages.job.layout = kTicketSlots;
    pages.pages.job.title = u"벨트라복권"_s;
    pages.pages.job.busyText = u"벨트라복권 프린트 ..."_s;
    pages.pages.job.pdfPrefix = u"벨트라복권_"_s;
    pages.pages.job.jobPerPage = true;

    BusyGuard busy(pages.pages.job.busyText);
    auto tickets = std::make_shared<std::vector<TicketLayout::Lines>>();
    for (const qint64 serial : TicketStore::Serials(orderCode, range)) {
        if (const auto content = TicketLayout::ReadTicket(orderCode, serial)) {
            tickets->push_back(TicketLayout::Build(*content));
            pages.keys.push_back(serial);
        }
    }
    pages.pages.items = int(tickets->size());
    pages.pages.paintSlot = [tickets = std::shared_ptr<const std::vector<TicketLayout::Lines>>(
                                 std::move(tickets))](QPainter& painter, const QRect&, int item) {
        DrawOrderTicket(painter, (*tickets)[size_t(item)]);
    };
    return pages;
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
