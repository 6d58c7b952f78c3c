#include "CouponPreview.h"

// The outline and its pen, with a little air around.
CouponPreview::CouponPreview(QWidget* parent)
    : SlipPreview({3600, 7850}, 50, parent)
{
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

void CouponPreview::paintSlip(QPainter& painter) const { DrawCoupon(painter, *m_lines); }
