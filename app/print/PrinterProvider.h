#pragma once

#include <QPageLayout>
#include <QString>

#include <memory>

class PageOutput;
struct PrintJob;

// How a run's pages lie on the paper: A4 portrait, the page's origin at the corner of the area the device
// can reach, at the device's own resolution. The preview lays its pages out the same way.
struct PaperPage
{
    QPageLayout layout;
    int dpi = 0;
};

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
    // The default printer's page; asked only while there is one.
    virtual PaperPage defaultPage() = 0;

    // nullptr when none is installed.
    static PrinterProvider* installed();
    // Not owned; nullptr removes it.
    static void install(PrinterProvider* provider);
};

// The default printer's name through the installed provider; empty when there is no printer to use.
QString DefaultPrinterName();
// The paper a run started now goes onto: the default printer's page, or the PDF's.
PaperPage PaperOfRun();
// "프린터: " and the default printer's name, or where the pages go without one.
QString PrinterLabel(const QString& printerName);
