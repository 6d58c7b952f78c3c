#pragma once

#include "PrinterProvider.h"

// The desktop's default printer through Qt Print Support: A4 portrait at the printer's own resolution.
// Where no printer is set up it offers none, and the pages go to a PDF file instead.
class DesktopPrinter final : public PrinterProvider
{
public:
    QString defaultPrinterName() override;
    std::unique_ptr<PageOutput> openDefault(const PrintJob& job) override;
    PaperPage defaultPage() override;
};
