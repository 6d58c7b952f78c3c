#pragma once

#include <QString>

#include <memory>

class PageOutput;
struct PrintJob;

// The desktop's printers, as the program sees them. The program installs the real one; tests and tools
// install none, and their pages go to a PDF file.
class PrinterProvider
{
public:
    virtual ~PrinterProvider() = default;

    // The default printer's name; empty when none is set up.
    virtual QString defaultPrinterName() = 0;
    // An output onto the default printer for one run; nullptr when none is set up.
    virtual std::unique_ptr<PageOutput> openDefault(const PrintJob& job) = 0;

    // nullptr when none is installed.
    static PrinterProvider* installed();
    // Not owned; nullptr removes it.
    static void install(PrinterProvider* provider);
};

// The default printer's name through the installed provider; empty when there is no printer to use.
QString DefaultPrinterName();
