#include "PageImages.h"

#include "PrintJob.h"
#include "SlotLayout.h"

#include <QPageSize>

#include <cmath>

using namespace Qt::StringLiterals;

PageImages::PageImages(int dpiX, int dpiY, QString printerName)
    : m_dpiX(dpiX)
    , m_dpiY(dpiY)
{
    m_outcome.target = PrintOutcome::Target::Printer;
    m_outcome.printerName = std::move(printerName);
}

QPainter* PageImages::beginPage()
{
    ++m_page;
    if (refuse || refusePages.contains(m_page)) {
        if (m_outcome.error.isEmpty())
            m_outcome.error = u"프린터를 사용할 수 없습니다"_s;
        return nullptr;
    }
    m_current = QImage(int(std::ceil(toPixelsX(kA4Twips.width()))),
                       int(std::ceil(toPixelsY(kA4Twips.height()))),
                       QImage::Format_RGB32);
    // Dots per metre are whole numbers; rounded, they still give back the same dots per inch.
    m_current.setDotsPerMeterX(qRound(m_dpiX / 0.0254));
    m_current.setDotsPerMeterY(qRound(m_dpiY / 0.0254));
    m_current.fill(Qt::white);
    m_painter.begin(&m_current);
    return &m_painter;
}

bool PageImages::endPage()
{
    m_painter.end();
    pages.append(m_current);
    ++m_outcome.pages;
    return true;
}

namespace {

constexpr int kImageDpi = 48;

// Counts what reached the printer when the run's output is dropped.
class CountedImages final : public PageOutput
{
public:
    CountedImages(std::unique_ptr<PageImages> images, int& printed, QList<QImage>& kept)
        : m_images(std::move(images))
        , m_printed(printed)
        , m_kept(kept)
    {
    }
    ~CountedImages() override
    {
        m_printed += int(m_images->pages.size());
        m_kept = m_images->pages;
    }
    QPainter* beginPage() override
    {
        QPainter* painter = m_images->beginPage();
        m_outcome = m_images->outcome();
        return painter;
    }
    bool endPage() override
    {
        const bool out = m_images->endPage();
        m_outcome = m_images->outcome();
        return out;
    }
    void finish() override { m_images->finish(); }
    bool pagesStandAlone() const override { return m_images->pagesStandAlone(); }

private:
    std::unique_ptr<PageImages> m_images;
    int& m_printed;
    QList<QImage>& m_kept;
};

} // namespace

TestPrinters::TestPrinters(QString name, QSet<int> refusePages)
    : m_name(std::move(name))
    , m_refusePages(std::move(refusePages))
{
    install(this);
}

TestPrinters::~TestPrinters() { install(nullptr); }

std::unique_ptr<PageOutput> TestPrinters::openDefault(const PrintJob& job)
{
    jobs.append(job.title);
    if (m_name.isEmpty())
        return nullptr;
    auto images = std::make_unique<PageImages>(kImageDpi, kImageDpi, m_name);
    images->refusePages = m_refusePages;
    images->standAlone = job.jobPerPage;
    return std::make_unique<CountedImages>(std::move(images), pagesPrinted, lastPages);
}

PaperPage TestPrinters::defaultPage()
{
    return {QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()), kImageDpi};
}
