#pragma once

#include "PageOutput.h"
#include "PrinterProvider.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QSet>
#include <QStringList>

// Pages painted into images at a resolution of the test's choosing, one image per page, white paper.
class PageImages final : public PageOutput
{
public:
    PageImages(int dpiX, int dpiY, QString printerName = QString());

    QPainter* beginPage() override;
    bool endPage() override;
    void finish() override { finished = true; }
    bool pagesStandAlone() const override { return standAlone; }

    // Twips on the page to pixels of the images.
    double toPixelsX(int twips) const { return twips * m_dpiX / 1440.0; }
    double toPixelsY(int twips) const { return twips * m_dpiY / 1440.0; }

    QList<QImage> pages;
    bool finished = false;
    // A printer that cannot be opened refuses the first page.
    bool refuse = false;
    // Pages (from 0) whose job the printer does not take; each page is a job of its own.
    QSet<int> refusePages;
    bool standAlone = false;

private:
    int m_dpiX;
    int m_dpiY;
    int m_page = -1;
    QImage m_current;
    QPainter m_painter;
};

// A desktop with or without a default printer, installed while it lives; pages sent to it are painted
// into images (the last run's in `output`'s pages when kept).
class TestPrinters final : public PrinterProvider
{
public:
    explicit TestPrinters(QString name, QSet<int> refusePages = {});
    ~TestPrinters() override;

    QString defaultPrinterName() override { return m_name; }
    std::unique_ptr<PageOutput> openDefault(const PrintJob& job) override;
    // The whole sheet at the images' resolution: the page's corner is the paper's.
    PaperPage defaultPage() override;

    QStringList jobs;
    // Pages that reached the printer, over every run, and the images of the last run.
    int pagesPrinted = 0;
    QList<QImage> lastPages;

private:
    QString m_name;
    QSet<int> m_refusePages;
};
