#pragma once

#include <QSizeF>
#include <QWidget>

// A printed slip (a coupon, a ticket) on screen as it will be on paper: white, scaled to fit the box and
// kept in its proportions. Subclasses paint it in twips with the origin at the slip's corner.
class SlipPreview : public QWidget
{
    Q_OBJECT
public:
    // twips: the slip with a little air around; margin: the air before the slip's corner.
    SlipPreview(const QSizeF& twips, double margin, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    virtual bool hasSlip() const = 0;
    virtual void paintSlip(QPainter& painter) const = 0;
    void paintEvent(QPaintEvent* event) override;

private:
    QSizeF m_twips;
    double m_margin;
};
