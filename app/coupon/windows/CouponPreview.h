#pragma once

#include "CouponLayout.h"
#include "SlipPreview.h"

#include <optional>

// The coupon as it will be printed, scaled to fit the box and kept in its proportions.
class CouponPreview : public SlipPreview
{
    Q_OBJECT
public:
    explicit CouponPreview(QWidget* parent = nullptr);

    void showCoupon(const CouponLayout::Lines& lines);
    void clear();
    bool isEmpty() const { return !m_lines.has_value(); }
    const std::optional<CouponLayout::Lines>& lines() const { return m_lines; }

protected:
    bool hasSlip() const override { return m_lines.has_value(); }
    void paintSlip(QPainter& painter) const override;

private:
    std::optional<CouponLayout::Lines> m_lines;
};
