#include "PrintSlots.h"

#include "Busy.h"
#include "Launcher.h"
#include "PdfOutput.h"
#include "PrinterProvider.h"

#include <QFileInfo>
#include <QUrl>

PrintOutcome PrintSlots(const PrintJob& job, int itemCount, const PageComposer::SlotPainter& paintSlot)
{
    if (itemCount <= 0)
        return {};
    std::unique_ptr<PageOutput> output;
    if (PrinterProvider* printers = PrinterProvider::installed())
        output = printers->openDefault(job);
    if (!output)
        output = std::make_unique<PdfOutput>(PdfOutput::PathFor(job.pdfPrefix), job.title);

    PrintOutcome outcome = PageComposer(job.layout).run(*output, itemCount, paintSlot);
    if (outcome.target == PrintOutcome::Target::Pdf && outcome.ok() && job.openPdf)
        Launcher::instance().openUrl(QUrl::fromLocalFile(QFileInfo(outcome.pdfPath).absoluteFilePath()).toString());
    return outcome;
}

void SlotPages::paintPage(QPainter& painter, int page) const
{
    PageComposer(job.layout).paintPage(painter, page, items, paintSlot);
}

PrintOutcome SlotPages::print() const
{
    BusyGuard busy(job.busyText);
    return PrintSlots(job, items, [this](QPainter& painter, const QRect& slot, int item) {
        BusyGuard::progress(int((item + 1) * 100 / items));
        paintSlot(painter, slot, item);
    });
}
