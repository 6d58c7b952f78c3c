#include "PrintSlots.h"

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
