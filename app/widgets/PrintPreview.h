#pragma once

#include "PrintSlots.h"

#include <QDialog>

#include <memory>

class QLabel;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;

// The pages of a run exactly as they will come out, before anything is printed or numbered. The person
// prints from here or closes it; the printing itself is the caller's, through the printing module, so
// that each page stays a job of its own (Qt's own print would send the document as one job).
class PrintPreview final : public QDialog
{
    Q_OBJECT
public:
    PrintPreview(SlotPages pages, QWidget* parent = nullptr);
    ~PrintPreview() override;

    // Shows the pages modally. True when the person chose to print them; closing the preview is no.
    static bool Confirm(const SlotPages& pages, QWidget* parent);

    // "인쇄(&P)" (cmdPrint1, Ctrl+P) and "닫기" (cmdClose1, Esc).
    void print();
    void cancel();
    bool printChosen() const { return m_print; }

    int pageCount() const;
    // From 1.
    int currentPage() const;
    QPrintPreviewWidget* view() const { return picPreview1; }

private:
    void paintPages(QPrinter* printer) const;
    void showPageNumber();

    SlotPages m_pages;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget* picPreview1;
    QPushButton* cmdPrint1;
    QPushButton* cmdClose1;
    QPushButton* cmdPrev1;
    QPushButton* cmdNext1;
    QPushButton* cmdZoomIn1;
    QPushButton* cmdZoomOut1;
    QPushButton* cmdFit1;
    QLabel* lblPage1;
    QLabel* lblMsg1;
    bool m_print = false;
};
