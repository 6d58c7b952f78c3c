#include "SlipPreview.h"

#include <QPainter>

#include <algorithm>

SlipPreview::SlipPreview(const QSizeF& twips, double margin, QWidget* parent)
    : QWidget(parent)
    , m_twips(twips)
    , m_margin(margin)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    // Small enough for the smallest main window: the slip is scaled down whole rather than cut.
    setMinimumSize(70, 100);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
}

// 15 twips to a pixel at the desktop's usual resolution.
QSize SlipPreview::sizeHint() const { return {int(m_twips.width() / 15), int(m_twips.height() / 15)}; }

void SlipPreview::paintEvent(QPaintEvent*)
{
    if (!hasSlip())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double scale = std::min(width() / m_twips.width(), height() / m_twips.height());
    painter.translate((width() - m_twips.width() * scale) / 2, (height() - m_twips.height() * scale) / 2);
    painter.scale(scale, scale);
    painter.translate(m_margin, m_margin);
    paintSlip(painter);
}
