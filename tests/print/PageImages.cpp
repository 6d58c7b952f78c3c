#include "PageImages.h"

#include "SlotLayout.h"

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
    if (refuse) {
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

void PageImages::endPage()
{
    m_painter.end();
    pages.append(m_current);
    ++m_outcome.pages;
}
