#include "PrinterProvider.h"

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
