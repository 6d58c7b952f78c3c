#pragma once

#include "TicketStore.h"

#include <QDialog>

#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Which tickets of an order to print, from its first to its highest serial by default, with the paper
// the run takes and where it goes.
class frmPrintSet2 : public QDialog
{
    Q_OBJECT
public:
    explicit frmPrintSet2(qint64 highestSerial, QWidget* parent = nullptr);

    // Set once "프린트(&P)" accepted the range; nothing when cancelled.
    std::optional<TicketStore::Range> range() const { return m_range; }
    void confirm();
    void recount();

private:
    QLineEdit* txtNo1;
    QLineEdit* txtNo2;
    QComboBox* cboCount2;
    QLabel* lblMax1;
    QLabel* lblMsg1;
    QLabel* lblMsg3;
    QLabel* lblMsg4;
    QLabel* lblMsg2;
    QLabel* Label2;
    QPushButton* cmdCalc1;
    QPushButton* cmdPrint1;
    QPushButton* cmdCancel;
    std::optional<TicketStore::Range> m_range;
};
