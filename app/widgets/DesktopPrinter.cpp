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

std::unique_ptr<QPrinter> PrinterOf(const QPrinterInfo& info, const QString& title)
{
    auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    printer->setDocName(title);
    printer->setPageSize(QPageSize(QPageSize::A4));
    printer->setPageOrientation(QPageLayout::Portrait);
    // The page's origin is the corner of the printable area, as it always was on these printers;
    // counted from the paper's edge, the first column's text would fall into the margin the printer
    // cannot reach. The margins are the least this printer allows on A4.
    printer->setFullPage(false);
    const QPageLayout layout = printer->pageLayout();
    printer->setPageMargins(layout.minimumMargins(), layout.units());
    return printer;
}

class PrinterOutput final : public PageOutput
{
public:
    PrinterOutput(const QPrinterInfo& info, const PrintJob& job)
        : m_info(info)
        , m_title(job.title)
        , m_jobPerPage(job.jobPerPage)
    {
        m_outcome.target = PrintOutcome::Target::Printer;
        m_outcome.printerName = info.printerName();
    }

    // A run dropped half way (the slot painter threw) sends nothing more than it already has.
    ~PrinterOutput() override
    {
        if (m_painter.isActive())
            m_printer->abort();
    }

    QPainter* beginPage() override
    {
        if (m_painter.isActive() && !m_jobPerPage) {
            if (!m_printer->newPage())
                return refuse(true);
            return &m_painter;
        }
        // Each job gets a printer object of its own: one that failed to start leaves nothing behind that
        // could spoil the next page's job.
        m_printer = makePrinter();
        if (!m_painter.begin(m_printer.get()))
            return refuse(!m_jobPerPage);
        return &m_painter;
    }

    bool endPage() override
    {
        if (m_jobPerPage && !m_painter.end()) {
            note(u"프린터가 페이지를 받지 못했습니다: "_s + m_outcome.printerName);
            return false;
        }
        ++m_outcome.pages;
        return true;
    }

    void finish() override
    {
        if (m_painter.isActive() && !m_painter.end())
            note(u"프린터가 인쇄를 마치지 못했습니다: "_s + m_outcome.printerName);
    }

    bool pagesStandAlone() const override { return m_jobPerPage; }

private:
    std::unique_ptr<QPrinter> makePrinter() const { return PrinterOf(m_info, m_title); }

    QPainter* refuse(bool abortJob)
    {
        note(u"프린터를 사용할 수 없습니다: "_s + m_outcome.printerName);
        if (abortJob && m_painter.isActive())
            m_printer->abort();
        return nullptr;
    }

    void note(const QString& error)
    {
        if (m_outcome.error.isEmpty())
            m_outcome.error = error;
    }

    QPrinterInfo m_info;
    QString m_title;
    bool m_jobPerPage;
    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
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

PaperPage DesktopPrinter::defaultPage()
{
    const auto printer = PrinterOf(QPrinterInfo::defaultPrinter(), QString());
    return {printer->pageLayout(), printer->resolution()};
}
