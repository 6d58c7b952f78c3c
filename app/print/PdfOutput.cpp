#include "PdfOutput.h"

#include "Clock.h"
#include "Paths.h"
#include "SlotLayout.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

using namespace Qt::StringLiterals;

QString PdfOutput::PathFor(const QString& prefix)
{
    return QDir(InstallPaths::dataDir()).filePath(prefix + Clock::now().toString(u"yyyyMMdd_HHmmss"_s) + u".pdf"_s);
}

PaperPage PdfOutput::Paper()
{
    // Twips are the unit of every layout; at 1440 dots to the inch they map one to one.
    return {QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()), kTwipsPerInch};
}

PdfOutput::PdfOutput(const QString& path, const QString& title)
    : m_title(title)
    , m_file(path)
{
    m_outcome.target = PrintOutcome::Target::Pdf;
    m_outcome.pdfPath = path;
}

// Members go in reverse order: the painter ends before the writer, and the file, never committed, is
// removed with its temporary.
PdfOutput::~PdfOutput() = default;

QPainter* PdfOutput::beginPage()
{
    if (m_failed)
        return nullptr;
    if (m_writer) {
        if (!m_writer->newPage()) {
            fail(QString());
            return nullptr;
        }
        return &m_painter;
    }
    if (!m_file.open(QIODevice::WriteOnly)) {
        fail(m_file.errorString());
        return nullptr;
    }
    m_writer = std::make_unique<QPdfWriter>(&m_file);
    m_writer->setTitle(m_title);
    m_writer->setCreator(u"수리볼"_s);
    const PaperPage paper = Paper();
    m_writer->setResolution(paper.dpi);
    m_writer->setPageLayout(paper.layout);
    if (!m_painter.begin(m_writer.get())) {
        fail(QString());
        return nullptr;
    }
    return &m_painter;
}

bool PdfOutput::endPage()
{
    if (!m_failed)
        ++m_outcome.pages;
    return !m_failed;
}

void PdfOutput::finish()
{
    if (m_failed || !m_writer)
        return;
    m_painter.end();
    if (!m_file.commit()) {
        fail(m_file.errorString());
        return;
    }
}

void PdfOutput::fail(const QString& reason)
{
    m_failed = true;
    m_outcome.pages = 0;
    m_outcome.error = u"PDF 화일을 저장할 수 없습니다: "_s + QDir::toNativeSeparators(m_file.fileName());
    if (!reason.isEmpty())
        m_outcome.error += u" ("_s + reason + u')';
    if (m_painter.isActive())
        m_painter.end();
    m_file.cancelWriting();
}
