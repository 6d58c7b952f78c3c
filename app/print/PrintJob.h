#pragma once

#include "SlotLayout.h"

#include <QString>

// One print run of slots, six to an A4 page.
struct PrintJob
{
    SlotLayout layout;
    // The run's name in the printer's queue ("복권쿠폰").
    QString title;
    // What the status line says while the run is read and sent ("복권발행 ...").
    QString busyText;
    // The PDF file, where there is no printer, is DATA/prefix + "YYYYMMDD_HHmmss.pdf".
    QString pdfPrefix;
    // Each page a print job of its own, so that a page the printer refuses does not take the others along.
    bool jobPerPage = false;
    // A PDF is opened for the user once written.
    bool openPdf = true;
};
