#include "PrinterProvider.h"

#include "PdfOutput.h"

using namespace Qt::StringLiterals;

namespace {
PrinterProvider*& current()
{
    static PrinterProvider* provider = nullptr;
    return provider;
}
} // namespace

PrinterProvider* PrinterProvider::installed() { return current(); }

void PrinterProvider::install(PrinterProvider* provider) { current() = provider; }

QString DefaultPrinterName()
{
    PrinterProvider* provider = PrinterProvider::installed();
    return provider ? provider->defaultPrinterName() : QString();
}

PaperPage PaperOfRun()
{
    PrinterProvider* provider = PrinterProvider::installed();
    if (provider && !provider->defaultPrinterName().isEmpty())
        return provider->defaultPage();
    return PdfOutput::Paper();
}

QString PrinterLabel(const QString& printerName)
{
    if (printerName.isEmpty())
        return u"프린터: 없음 (복권은 DATA 폴더에 PDF 화일로 만들어집니다)"_s;
    return u"프린터: "_s + printerName;
}
