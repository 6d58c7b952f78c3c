#pragma once

#include "PageOutput.h"

#include <QImage>
#include <QList>
#include <QPainter>

// Pages painted into images at a resolution of the test's choosing, one image per page, white paper.
class PageImages final : public PageOutput
{
public:
    PageImages(int dpiX, int dpiY, QString printerName = QString());

    QPainter* beginPage() override;
    void endPage() override;
    void finish() override { finished = true; }

    // Twips on the page to pixels of the images.
    double toPixelsX(int twips) const { return twips * m_dpiX / 1440.0; }
    double toPixelsY(int twips) const { return twips * m_dpiY / 1440.0; }

    QList<QImage> pages;
    bool finished = false;
    // A printer that cannot be opened refuses the first page.
    bool refuse = false;

private:
    int m_dpiX;
    int m_dpiY;
    QImage m_current;
    QPainter m_painter;
};
