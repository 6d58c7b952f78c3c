#pragma once

#include <QList>
#include <QString>

// What became of a print run, for the caller to report. The printing code shows no message itself.
struct PrintOutcome
{
    // Where the pages went, or were to go when error says they did not: nowhere (nothing to print), the
    // default printer, or a PDF file because the desktop has no printer set up.
    enum class Target { Nothing, Printer, Pdf };

    Target target = Target::Nothing;
    QString printerName;
    QString pdfPath;
    // Pages that reached the printer or the file.
    int pages = 0;
    // Korean, for the user; empty when every page went out.
    QString error;
    // The items (counted from 0 across the run) whose page did not come out, so that exactly those can be
    // printed again. Every item of the run where the output keeps nothing after a failure (a PDF).
    QList<int> missedItems;

    bool ok() const { return error.isEmpty(); }
};
