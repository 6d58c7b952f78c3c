#include "CouponPreview.h"

#include <QPainter>

namespace {
// The outline and its pen, with a little air around.
constexpr double kTwipsWide = 3600;
constexpr double kTwipsHigh = 7850;
} // namespace

CouponPreview::CouponPreview(QWidget* parent)
    : QWidget(parent)
{
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    setMinimumSize(120, 260);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
}

void CouponPreview::showCoupon(const CouponLayout::Lines& lines)
{
    m_lines = lines;
    update();
}

void CouponPreview::clear()
{
    m_lines.reset();
    update();
}

QSize CouponPreview::sizeHint() const { return {int(kTwipsWide / 15), int(kTwipsHigh / 15)}; }

void CouponPreview::paintEvent(QPaintEvent*)
{
    if (!m_lines)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    const double scale = std::min(width() / kTwipsWide, height() / kTwipsHigh);
    painter.translate((width() - kTwipsWide * scale) / 2, (height() - kTwipsHigh * scale) / 2);
    painter.scale(scale, scale);
    painter.translate(50, 50);
    DrawCoupon(painter, *m_lines);
}
