#pragma once

#include "OrderStore.h"
#include "TicketPrint.h"
#include "TicketStore.h"

#include <QWidget>

class Grid;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TicketPreview;

// The orders' tickets: the month's orders, the games of one order with their ranks and authentication
// numbers, the order's printed texts and draw, the deletion of a range of tickets or of the order, and
// the printing of its tickets six to a sheet.
class frmA1Job12 : public QWidget
{
    Q_OBJECT
public:
    explicit frmA1Job12(QWidget* parent = nullptr);

    void Refresh();
    void SelectOrder(int row);
    void ShowOrderGames();
    void SaveTexts(); // cmdDo01
    void DeleteTickets(); // cmdDo02
    void DeleteOrder(); // cmdDo04
    void PrintTickets(); // cmdPrint1: the form, then the run
    void PrintRange(const TicketStore::Range& range);
    void gameClicked(int column, int row);

    qint64 selectedOrder() const { return m_order; }
    const PrintOutcome& lastPrint() const { return m_lastPrint.outcome; }
    // The ticket serials whose page of the last print run did not come out.
    const std::vector<qint64>& lastMissed() const { return m_lastPrint.missed; }

private:
    void buildControls();
    void showOrders(qint64 keep);
    void clearOrder();
    bool orderSelected();

    QComboBox* cboYear1;
    QComboBox* cboMonth1;
    QPushButton* cmdRefresh;
    Grid* grdR1;
    QLabel* lblMsg01;
    QLineEdit* txtBokNo;
    QLineEdit* txtComp1;
    QLineEdit* txtTitle1;
    QLineEdit* txtTel1;
    QLineEdit* txtText1;
    QLineEdit* txtText2;
    QLineEdit* txtText3;
    QPushButton* cmdDo01;
    QPushButton* cmdDo03;
    QPushButton* cmdDo04;
    QLineEdit* txtSNo1_1;
    QLineEdit* txtSNo1_2;
    QPushButton* cmdDo02;
    QComboBox* cboCheck1;
    QComboBox* cboSort1;
    Grid* grdR2;
    QPushButton* cmdPrint1;
    TicketPreview* picPad;

    std::vector<OrderStore::Order> m_orders; // the rows of grdR1
    qint64 m_order = 0;
    qint64 m_drawNo = 0; // the order's draw when it was selected
    TicketPrintRun m_lastPrint;
};
