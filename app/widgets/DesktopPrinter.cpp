#include "DesktopPrinter.h"

#include "PageOutput.h"
#include "PrintJob.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

using namespace Qt::StringLiterals;

namespace {

class PrinterOutput final : public PageOutput
{
public:
    PrinterOutput(const QPrinterInfo& info, const PrintJob& job)
        : m_printer(info, QPrinter::HighResolution)
        , m_jobPerPage(job.jobPerPage)
    {
        m_outcome.target = PrintOutcome::Target::Printer;
        m_outcome.printerName = info.printerName();
        m_printer.setDocName(job.title);
        m_printer.setPageSize(QPageSize(QPageSize::A4));
        m_printer.setPageOrientation(QPageLayout::Portrait);
        // The page's origin is the corner of the printable area, as it always was on these printers;
        // counted from the paper's edge, the first column's text would fall into the margin the printer
        // cannot reach. The margins are the least this printer allows on A4.
        m_printer.setFullPage(false);
        const QPageLayout layout = m_printer.pageLayout();
        m_printer.setPageMargins(layout.minimumMargins(), layout.units());
    }

    // A run dropped half way (the slot painter threw) sends nothing more than it already has.
    ~PrinterOutput() override
    {
        if (m_painter.isActive())
            m_printer.abort();
    }

    QPainter* beginPage() override
    {
        if (m_painter.isActive()) {
            if (!m_printer.newPage())
                return stop();
            return &m_painter;
        }
        if (!m_painter.begin(&m_printer))
            return stop();
        return &m_painter;
    }

    void endPage() override
    {
        if (m_jobPerPage && !m_painter.end()) {
            note(u"프린터가 페이지를 받지 못했습니다: "_s + m_outcome.printerName);
            return;
        }
        ++m_outcome.pages;
    }

    void finish() override
    {
        if (m_painter.isActive() && !m_painter.end())
            note(u"프린터가 인쇄를 마치지 못했습니다: "_s + m_outcome.printerName);
    }

private:
    QPainter* stop()
    {
        note(u"프린터를 사용할 수 없습니다: "_s + m_outcome.printerName);
        if (m_painter.isActive())
            m_printer.abort();
        return nullptr;
    }

    void note(const QString& error)
    {
        if (m_outcome.error.isEmpty())
            m_outcome.error = error;
    }

    QPrinter m_printer;
    QPainter m_painter;
    bool m_jobPerPage;
};

} // namespace

QString DesktopPrinter::defaultPrinterName()
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    return info.isNull() ? QString() : info.printerName();
}

std::unique_ptr<PageOutput> DesktopPrinter::openDefault(const PrintJob& job)
{
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull())
        return nullptr;
    return std::make_unique<PrinterOutput>(info, job);
}
