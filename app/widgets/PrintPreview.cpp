#include "PrintPreview.h"

#include "PrinterProvider.h"
#include "UiTools.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

using namespace Qt::StringLiterals;

namespace {

QPushButton* button(const QString& caption, const QString& accessible, const QString& name)
{
    auto* b = Named(new QPushButton(caption), name);
    b->setAccessibleName(accessible);
    b->setAutoDefault(false);
    return b;
}

// The preview's device: the page of the paper the run goes onto, at its resolution. It only records the
// preview's pages; nothing is ever sent through it.
std::unique_ptr<QPrinter> PreviewPrinter(const PaperPage& paper, const QString& title)
{
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setOutputFormat(QPrinter::PdfFormat);
    printer->setDocName(title);
    printer->setResolution(paper.dpi);
    printer->setFullPage(false);
    printer->setPageLayout(paper.layout);
    return printer;
}

} // namespace

PrintPreview::PrintPreview(SlotPages pages, QWidget* parent)
    : QDialog(parent)
    , m_pages(std::move(pages))
    , m_printer(PreviewPrinter(PaperOfRun(), m_pages.job.title))
    , cmdPrint1(button(u"인쇄(&P)"_s, u"인쇄"_s, u"cmdPrint1"_s))
    , cmdClose1(button(u"닫기"_s, u"닫기"_s, u"cmdClose1"_s))
    , cmdPrev1(button(u"◀ 이전 쪽"_s, u"이전 쪽"_s, u"cmdPrev1"_s))
    , cmdNext1(button(u"다음 쪽 ▶"_s, u"다음 쪽"_s, u"cmdNext1"_s))
    , cmdZoomIn1(button(u"확대 (+)"_s, u"확대"_s, u"cmdZoomIn1"_s))
    , cmdZoomOut1(button(u"축소 (-)"_s, u"축소"_s, u"cmdZoomOut1"_s))
    , cmdFit1(button(u"쪽 맞춤"_s, u"쪽 맞춤"_s, u"cmdFit1"_s))
    , lblPage1(Named(new QLabel, u"lblPage1"))
    , lblMsg1(Named(new QLabel, u"lblMsg1"))
{
    setObjectName(u"frmPreview1"_s);
    setWindowTitle(u"인쇄 미리보기 - "_s + m_pages.job.title);
    setAccessibleName(u"인쇄 미리보기"_s);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    setWindowFlag(Qt::WindowMaximizeButtonHint, true);

    picPreview1 = Named(new QPrintPreviewWidget(m_printer.get(), this), u"picPreview1");
    picPreview1->setAccessibleName(u"인쇄될 페이지"_s);
    picPreview1->setViewMode(QPrintPreviewWidget::SinglePageView);
    picPreview1->setZoomMode(QPrintPreviewWidget::FitInView);
    connect(picPreview1, &QPrintPreviewWidget::paintRequested, this, [this](QPrinter* printer) {
        paintPages(printer);
    });
    connect(picPreview1, &QPrintPreviewWidget::previewChanged, this, [this] { showPageNumber(); });

    lblMsg1->setText(PrinterLabel(DefaultPrinterName()) + u"    "_s + QString::number(m_pages.items) + u"개, "_s
                     + QString::number(m_pages.pages()) + u"장"_s);
    lblMsg1->setAccessibleName(lblMsg1->text());
    cmdPrint1->setStyleSheet(u"font-weight: bold; padding: 4px 18px;"_s);
    cmdPrint1->setToolTip(u"보이는 그대로 한 장씩 프린터로 보냅니다 (Ctrl+P)."_s);
    cmdClose1->setToolTip(u"아무것도 인쇄하지 않고 닫습니다 (Esc)."_s);

    auto* tools = new QHBoxLayout;
    for (QWidget* w : std::initializer_list<QWidget*> {cmdPrev1, lblPage1, cmdNext1, cmdZoomOut1, cmdZoomIn1, cmdFit1})
        tools->addWidget(w);
    tools->addStretch(1);
    tools->addWidget(lblMsg1);
    auto* answers = new QHBoxLayout;
    answers->addStretch(1);
    answers->addWidget(cmdPrint1);
    answers->addWidget(cmdClose1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(picPreview1, 1);
    layout->addLayout(answers);

    connect(cmdPrint1, &QPushButton::clicked, this, &PrintPreview::print);
    connect(cmdClose1, &QPushButton::clicked, this, &PrintPreview::cancel);
    connect(cmdPrev1, &QPushButton::clicked, this, [this] { picPreview1->setCurrentPage(currentPage() - 1); });
    connect(cmdNext1, &QPushButton::clicked, this, [this] { picPreview1->setCurrentPage(currentPage() + 1); });
    connect(cmdZoomIn1, &QPushButton::clicked, this, [this] { picPreview1->zoomIn(1.25); });
    connect(cmdZoomOut1, &QPushButton::clicked, this, [this] { picPreview1->zoomOut(1.25); });
    connect(cmdFit1, &QPushButton::clicked, this, [this] { picPreview1->fitInView(); });
    // The keyboard reaches what the buttons do.
    connect(new QShortcut(QKeySequence::Print, this), &QShortcut::activated, this, &PrintPreview::print);
    connect(new QShortcut(QKeySequence::MoveToPreviousPage, this),
            &QShortcut::activated,
            cmdPrev1,
            &QPushButton::click);
    connect(new QShortcut(QKeySequence::MoveToNextPage, this), &QShortcut::activated, cmdNext1, &QPushButton::click);
    connect(new QShortcut(QKeySequence::ZoomIn, this), &QShortcut::activated, cmdZoomIn1, &QPushButton::click);
    connect(new QShortcut(QKeySequence::ZoomOut, this), &QShortcut::activated, cmdZoomOut1, &QPushButton::click);

    // A whole A4 page in view at a readable size, on whatever screen there is.
    QSize size(820, 1000);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        size = size.boundedTo(screen->availableGeometry().size() * 0.9);
    resize(size);
    cmdPrint1->setFocus();
    showPageNumber();
}

PrintPreview::~PrintPreview() = default;

bool PrintPreview::Confirm(const SlotPages& pages, QWidget* parent)
{
    if (pages.items <= 0)
        return false;
    PrintPreview preview(pages, parent);
    preview.exec();
    return preview.printChosen();
}

void PrintPreview::print()
{
    m_print = true;
    accept();
}

void PrintPreview::cancel()
{
    m_print = false;
    reject();
}

int PrintPreview::pageCount() const { return picPreview1->pageCount(); }

int PrintPreview::currentPage() const { return picPreview1->currentPage(); }

void PrintPreview::paintPages(QPrinter* printer) const
{
    QPainter painter;
    if (!painter.begin(printer))
        return;
    // Everything a page shows was read before the preview opened; should painting fail all the same, it is
    // told and the preview stays, with nothing printed.
    RunPrintGuarded([&] {
        for (int page = 0; page < m_pages.pages(); ++page) {
            if (page > 0)
                printer->newPage();
            m_pages.paintPage(painter, page);
        }
    });
    painter.end();
}

void PrintPreview::showPageNumber()
{
    const int pages = picPreview1->pageCount();
    const int page = pages > 0 ? picPreview1->currentPage() : 0;
    lblPage1->setText(QString::number(page) + u" / "_s + QString::number(pages) + u"쪽"_s);
    lblPage1->setAccessibleName(lblPage1->text());
    cmdPrev1->setEnabled(page > 1);
    cmdNext1->setEnabled(page < pages);
}
