#pragma once

#include "PageOutput.h"
#include "PrinterProvider.h"

#include <QPainter>
#include <QSaveFile>
#include <QString>

#include <memory>

class QPdfWriter;

// The pages of one run as one PDF file, A4 portrait without margins. The file is written beside its
// name and moved into place when the run finishes, so a run that fails or is dropped leaves no half file.
class PdfOutput final : public PageOutput
{
public:
    // DATA/prefix + "YYYYMMDD_HHmmss.pdf", from the program's clock.
    static QString PathFor(const QString& prefix);
    // The whole A4 sheet, in twips.
    static PaperPage Paper();

    PdfOutput(const QString& path, const QString& title);
    ~PdfOutput() override;

    QPainter* beginPage() override;
    bool endPage() override;
    void finish() override;

private:
    void fail(const QString& reason);

    QString m_title;
    QSaveFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    bool m_failed = false;
};
